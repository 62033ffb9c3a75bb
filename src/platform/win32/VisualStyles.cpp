#include "platform/win32/VisualStyles.h"

#include "platform/win32/SystemServices.h"
#include "platform/win32/WideText.h"

namespace vnt {

namespace {

template <class T>
void Bind(HMODULE library, const char* name, T& function) {
  function = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

TVisualStyles& TVisualStyles::Instance() {
  static TVisualStyles styles;
  return styles;
}

TVisualStyles::TVisualStyles() : Library(LoadSystemLibrary("uxtheme.dll")) {
  if (!Library) return;
  Bind(Library, "IsAppThemed", IsAppThemed);
  Bind(Library, "IsThemeActive", IsThemeActive);
  Bind(Library, "OpenThemeData", OpenThemeData);
  Bind(Library, "CloseThemeData", CloseThemeData);
  Bind(Library, "DrawThemeBackground", DrawThemeBackground);
  Bind(Library, "DrawThemeText", DrawThemeText);
  bool complete = IsAppThemed && IsThemeActive && OpenThemeData && CloseThemeData && DrawThemeBackground &&
                  DrawThemeText;
  if (!complete) {
    FreeLibrary(Library);
    Library = nullptr;
  }
}

TVisualStyles::~TVisualStyles() {
  if (Library) FreeLibrary(Library);
}

bool TVisualStyles::Active() const { return Library && IsAppThemed() && IsThemeActive(); }

bool TVisualStyles::DrawBackground(HWND wnd, const wchar_t* themeClass, int part, int state, HDC dc,
                                   const RECT& r) const {
  if (!Active()) return false;
  THandle theme = OpenThemeData(wnd, themeClass);
  if (!theme) return false;
  bool drawn = SUCCEEDED(DrawThemeBackground(theme, dc, part, state, &r, nullptr));
  CloseThemeData(theme);
  return drawn;
}

bool TVisualStyles::DrawText(HWND wnd, const wchar_t* themeClass, int part, int state, HDC dc,
                             const std::string& text, DWORD format, const RECT& r) const {
  if (!Active()) return false;
  THandle theme = OpenThemeData(wnd, themeClass);
  if (!theme) return false;
  std::wstring wide = WideFromAnsi(text);
  bool drawn = SUCCEEDED(DrawThemeText(theme, dc, part, state, wide.c_str(), int(wide.size()), format, 0, &r));
  CloseThemeData(theme);
  return drawn;
}

}  // namespace vnt
