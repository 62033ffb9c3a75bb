#include "setup/win32/RunMessages.h"

#include "setup/win32/SetupState.h"

namespace vnt {

namespace {

const char* ButtonName(int button) {
  switch (button) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
    case IDYES: return "Yes";
    case IDNO: return "No";
    default: return "?";
  }
}

bool IsQuestion(UINT flags) { return (flags & MB_TYPEMASK) != MB_OK; }

// A file or pipe the output was sent to, or a console; not the NUL device, where a text
// would be lost.
bool Writable(HANDLE h) {
  if (!h || h == INVALID_HANDLE_VALUE) return false;
  DWORD type = GetFileType(h), mode = 0;
  return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE || (type == FILE_TYPE_CHAR && GetConsoleMode(h, &mode));
}

HANDLE ConsoleHandle(bool error) {
  HANDLE h = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  if (Writable(h)) return h;
  // Started from a console window without redirection: a windows program has no standard
  // handles of its own, but may write to its parent's console. Older systems lack the call.
  using TAttach = BOOL(WINAPI*)(DWORD);
  auto attach = reinterpret_cast<TAttach>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "AttachConsole")));
  if (!attach || !attach(DWORD(-1))) return nullptr;
  h = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

}  // namespace

int DefaultButton(UINT flags) {
  const int def = int((flags & MB_DEFMASK) >> 8);  // 0 first, 1 second, 2 third
  switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL: return def == 1 ? IDCANCEL : IDOK;
    case MB_YESNO: return def == 1 ? IDNO : IDYES;
    case MB_YESNOCANCEL: return def == 1 ? IDNO : def == 2 ? IDCANCEL : IDYES;
    case MB_RETRYCANCEL: return def == 1 ? IDCANCEL : IDRETRY;
    case MB_ABORTRETRYIGNORE: return def == 1 ? IDRETRY : def == 2 ? IDIGNORE : IDABORT;
    default: return IDOK;
  }
}

int RunMessageBox(const TSetupSwitches& switches, TSetupLog& log, HWND owner, const std::string& text,
                  const std::string& caption, UINT flags) {
  // Questions never wait for a person who is not there, nor does news; errors and warnings
  // show when the switches let them.
  UINT icon = flags & MB_ICONMASK;
  bool alarming = icon == MB_ICONERROR || icon == MB_ICONWARNING;
  bool shown = !switches.Unattended() || (!IsQuestion(flags) && alarming && switches.ShowsMessages());
  if (!shown) {
    int answer = DefaultButton(flags);
    log.Line((IsQuestion(flags) ? "question, answered " + std::string(ButtonName(answer)) + " (its default): "
                                : std::string("message (not shown): ")) + text);
    return answer;
  }
  int answer = MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
  log.Line((IsQuestion(flags) ? "question, answered " + std::string(ButtonName(answer)) + ": "
                              : std::string("message: ")) + text);
  return answer;
}

int RunMessageBox(TSetupState& state, HWND owner, const std::string& text, UINT flags) {
  return RunMessageBox(state.Switches, state.Log, owner, text, state.ApplicationTitle, flags);
}

bool WriteToConsole(bool error, const std::string& text) {
  HANDLE h = ConsoleHandle(error);
  if (!h) return false;
  std::string line = text + "\n";
  DWORD written = 0;
  return WriteFile(h, line.data(), DWORD(line.size()), &written, nullptr) && written == line.size();
}

void ReportToAdministrator(const TSetupSwitches& switches, const std::string& text, const std::string& caption,
                           bool error) {
  if (WriteToConsole(error, text)) return;
  if (switches.Quietness == TQuietness::VerySilent || switches.SuppressMsgBoxes) return;
  MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
}

}  // namespace vnt
