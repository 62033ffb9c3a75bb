#include "vntbuild/assemble/Process.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace vnt {

namespace {

// The input is written before the program starts, so it must fit into the pipe at once.
constexpr size_t MaxInput = 4096;

// A pipe whose reading end holds `input`, all of it written and the writing end closed.
int InputPipe(const std::string& input) {
  if (input.size() > MaxInput) throw std::length_error("program input too long");
  int fds[2];
#ifdef _WIN32
  int made = _pipe(fds, unsigned(MaxInput * 2), _O_BINARY);
#else
  int made = pipe(fds);
#endif
  if (made != 0) throw std::runtime_error(std::string("cannot make a pipe: ") + std::strerror(errno));
  bool written = write(fds[1], input.data(), unsigned(input.size())) == int(input.size());
  close(fds[1]);
  if (!written) {
    close(fds[0]);
    throw std::runtime_error("cannot write a program's input");
  }
  return fds[0];
}

#ifdef _WIN32

// The child takes the C runtime's descriptors 0 to 2 as its standard handles: they are
// pointed at the pipe and the output file for the call and put back afterwards.
TProgramRun Spawn(const std::vector<std::string>& argv, int input, const std::string& outputPath) {
  int output = _open(outputPath.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, 0600);
  if (output < 0) return {};
  int saved[3] = {_dup(0), _dup(1), _dup(2)};
  _dup2(input, 0);
  _dup2(output, 1);
  _dup2(output, 2);
  std::vector<std::string> quoted;
  for (const auto& a : argv) quoted.push_back(WindowsCommandArgument(a));
  std::vector<const char*> args;
  for (const auto& a : quoted) args.push_back(a.c_str());
  args.push_back(nullptr);
  intptr_t status = _spawnvp(_P_WAIT, argv[0].c_str(), args.data());
  for (int fd = 0; fd < 3; ++fd) {
    if (saved[fd] >= 0) _dup2(saved[fd], fd), _close(saved[fd]);
  }
  _close(output);
  if (status == -1) return {};
  return {true, int(status)};
}

#else

TProgramRun Spawn(const std::vector<std::string>& argv, int input, const std::string& outputPath) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input, 0);
  posix_spawn_file_actions_addclose(&actions, input);
  posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  // The program takes the signals a build holds back for itself (SignalHold) as usual.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  pid_t pid = 0;
  int failed = posix_spawnp(&pid, argv[0].c_str(), &actions, &attributes, args.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (failed) return {};
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return {true, -1};
  }
  return {true, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

#endif

}  // namespace

TProgramRun RunProgram(const std::vector<std::string>& argv, const std::string& input,
                       const std::string& outputPath) {
  if (argv.empty()) throw std::invalid_argument("no program to run");
  int in = InputPipe(input);
  TProgramRun run = Spawn(argv, in, outputPath);
  close(in);
  return run;
}

std::string WindowsCommandArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos) return arg;
  std::string out = "\"";
  size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count double only before a quote, which itself needs one more.
    out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    out += c;
    backslashes = 0;
  }
  out.append(backslashes * 2, '\\');
  return out + "\"";
}

}  // namespace vnt
