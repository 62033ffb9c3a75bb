#include "process.hpp"

#include "common.hpp"

#include <cstring>

namespace wzd {

std::string quote_argument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count double only before a quote.
    out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');  // before the closing quote
  return out + "\"";
}

namespace {

// Our environment with the settings put over it, as CreateProcess takes it.
std::vector<char> environment_with(const std::vector<std::string>& settings) {
  std::vector<char> block;
  auto named = [](const std::string& entry, const std::string& setting) {
    size_t eq = setting.find('=');
    return eq != std::string::npos && _strnicmp(entry.c_str(), setting.c_str(), eq + 1) == 0;
  };
  char* strings = GetEnvironmentStringsA();
  for (const char* p = strings; p && *p; p += std::strlen(p) + 1) {
    std::string entry = p;
    bool replaced = false;
    for (const auto& s : settings) replaced = replaced || named(entry, s);
    if (!replaced) block.insert(block.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
  }
  if (strings) FreeEnvironmentStringsA(strings);
  for (const auto& s : settings) block.insert(block.end(), s.c_str(), s.c_str() + s.size() + 1);
  block.push_back('\0');
  return block;
}

}  // namespace

Process start_process(const std::vector<std::string>& argv, const std::string& folder,
                      const std::vector<std::string>& settings) {
  std::string command_line;
  for (const auto& arg : argv) command_line += (command_line.empty() ? "" : " ") + quote_argument(arg);
  std::vector<char> buffer(command_line.begin(), command_line.end());
  buffer.push_back('\0');  // CreateProcessA may write into the command line

  // Our stdout carries the JSON lines, so the child must not write there; and under Wine a child
  // holding our stdout pipe would keep `$(wizdriver ...)` in a script waiting until it ends. No
  // handle inheritance for the same reason: Wine would hand the child our own stdout handle too.
  // stderr stays shared: the child's complaints are worth seeing.
  UniqueHandle null_device(CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
  if (null_device.get() == INVALID_HANDLE_VALUE) null_device.release();
  if (!null_device) fail("cannot open the NUL device for the child's standard input and output");
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = null_device.get();
  startup.hStdOutput = null_device.get();
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION info{};
  std::vector<char> environment = environment_with(settings);
  if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, settings.empty() ? nullptr : environment.data(),
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    fail("cannot start '" + command_line + "' (error " + std::to_string(GetLastError()) + ")");
  }
  CloseHandle(info.hThread);
  Process process;
  process.handle.reset(info.hProcess);
  process.pid = info.dwProcessId;
  return process;
}

Process attach_process(DWORD pid) {
  HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, pid);
  if (!h) fail("no process with pid " + std::to_string(pid) + " to attach to (error " + std::to_string(GetLastError()) + ")");
  Process process;
  process.handle.reset(h);
  process.pid = pid;
  if (exit_code_if_ended(process)) fail("process " + std::to_string(pid) + " has already ended");
  return process;
}

std::optional<DWORD> exit_code_if_ended(const Process& process) {
  return wait_for_exit(process, 0);
}

std::optional<DWORD> wait_for_exit(const Process& process, DWORD timeout_ms) {
  const DWORD r = WaitForSingleObject(process.handle.get(), timeout_ms);
  if (r == WAIT_TIMEOUT) return std::nullopt;
  if (r != WAIT_OBJECT_0) fail("cannot wait for process " + std::to_string(process.pid));
  DWORD code = 0;
  if (!GetExitCodeProcess(process.handle.get(), &code)) fail("cannot read the exit code of process " + std::to_string(process.pid));
  return code;
}

void kill_process(const Process& process) {
  if (exit_code_if_ended(process)) return;
  if (!TerminateProcess(process.handle.get(), 1)) fail("cannot end process " + std::to_string(process.pid));
  if (!wait_for_exit(process, kSendTimeoutMs)) time_out("process " + std::to_string(process.pid) + " did not end after TerminateProcess");
}

}  // namespace wzd
