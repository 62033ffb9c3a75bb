// Visual styles: the system's theme library, loaded once when present, and the few themed
// drawings the painted page controls make. Without an active theme every call answers false
// and the caller draws the classic look.
#pragma once

#include <windows.h>

#include <string>

namespace vnt {

class TVisualStyles {
public:
  // The program's one instance; the library is loaded on first use.
  static TVisualStyles& Instance();

  // A theme is active for this program's controls.
  bool Active() const;
  // Draws a part of a theme class ("Button", ...) in a state; false when nothing was drawn.
  bool DrawBackground(HWND wnd, const wchar_t* themeClass, int part, int state, HDC dc, const RECT& r) const;
  // Draws text with the theme's text look; false when nothing was drawn.
  bool DrawText(HWND wnd, const wchar_t* themeClass, int part, int state, HDC dc, const std::string& text,
                DWORD format, const RECT& r) const;

  TVisualStyles(const TVisualStyles&) = delete;
  TVisualStyles& operator=(const TVisualStyles&) = delete;

private:
  TVisualStyles();
  ~TVisualStyles();

  using THandle = void*;
  HMODULE Library = nullptr;
  BOOL(WINAPI* IsAppThemed)() = nullptr;
  BOOL(WINAPI* IsThemeActive)() = nullptr;
  THandle(WINAPI* OpenThemeData)(HWND, LPCWSTR) = nullptr;
  HRESULT(WINAPI* CloseThemeData)(THandle) = nullptr;
  HRESULT(WINAPI* DrawThemeBackground)(THandle, HDC, int, int, const RECT*, const RECT*) = nullptr;
  HRESULT(WINAPI* DrawThemeText)(THandle, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*) = nullptr;
};

// Theme parts and states of the "Button" class used here.
constexpr int ThemeGroupBox = 4, ThemeGroupBoxNormal = 1, ThemeGroupBoxDisabled = 2;

}  // namespace vnt
