#include "winmsg.hpp"

#include <cctype>
#include <vector>

#include "common.hpp"

namespace wzd {

namespace {

LRESULT send_bounded(bool wide, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  const UINT flags = SMTO_ABORTIFHUNG | SMTO_NORMAL;
  const bool sent = wide ? SendMessageTimeoutW(hwnd, msg, wparam, lparam, flags, kSendTimeoutMs, &result)
                         : SendMessageTimeoutA(hwnd, msg, wparam, lparam, flags, kSendTimeoutMs, &result);
  if (!sent) {
    if (!IsWindow(hwnd)) fail("window " + std::to_string(reinterpret_cast<UINT_PTR>(hwnd)) + " is gone");
    fail("window " + std::to_string(reinterpret_cast<UINT_PTR>(hwnd)) + " did not answer message " +
         std::to_string(msg) + " within " + std::to_string(kSendTimeoutMs) + " ms (hung?)");
  }
  return static_cast<LRESULT>(result);
}

}  // namespace

LRESULT send_sync(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) { return send_bounded(false, hwnd, msg, wparam, lparam); }

LRESULT send_sync_wide(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) { return send_bounded(true, hwnd, msg, wparam, lparam); }

std::string to_ansi(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, wide.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

void send_and_settle(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (!SendNotifyMessageA(hwnd, msg, wparam, lparam)) fail("could not deliver a message to the window");
  DWORD_PTR ignored = 0;
  if (SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &ignored)) return;
  if (!IsWindow(hwnd)) return;  // the action closed its own window (a Quit or OK button): done
  fail("the target did not handle the message within " + std::to_string(kSendTimeoutMs) + " ms");
}

std::string class_name(HWND hwnd) {
  char buf[256] = {};
  const int n = GetClassNameA(hwnd, buf, sizeof buf);
  return std::string(buf, n > 0 ? n : 0);
}

std::string window_text(HWND hwnd) {
  const auto length = static_cast<size_t>(send_sync(hwnd, WM_GETTEXTLENGTH, 0, 0));
  std::vector<char> buf(length + 1, '\0');
  const auto got = static_cast<size_t>(send_sync(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data())));
  return std::string(buf.data(), got < buf.size() ? got : length);
}

std::string caption(HWND hwnd) {
  char buf[1024] = {};
  const int n = GetWindowTextA(hwnd, buf, sizeof buf);
  return std::string(buf, n > 0 ? n : 0);
}

std::string strip_mnemonic(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == '&') {
      out += '&';
      ++i;
    }
  }
  return out;
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

int text_match_level(std::string_view wanted, std::string_view actual) {
  if (wanted == actual) return 1;
  const std::string w = strip_mnemonic(wanted);
  const std::string a = strip_mnemonic(actual);
  if (w == a) return 2;
  if (equals_ignoring_case(w, a)) return 3;
  return 0;
}

}  // namespace wzd
