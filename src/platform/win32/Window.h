// The window toolkit's base: a window object bound to its handle, a font made from a font
// record, the application title, and a message pump for long operations.
#pragma once

#include <windows.h>

#include <string>

#include "package/PackagePrimitives.h"

namespace vnt {

class TWindow {
public:
  TWindow() = default;
  virtual ~TWindow();
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  HWND Handle() const { return Wnd; }
  // Creates the window of a class registered with RegisterWindowClass; answers success.
  bool CreateWindowOf(const char* className, DWORD style, DWORD exStyle, HWND parent, const std::string& text,
                      int left, int top, int width, int height);
  void Destroy();

  // Registers a class whose windows are dispatched to their TWindow object.
  static void RegisterWindowClass(const char* className, HCURSOR cursor, HBRUSH background);

protected:
  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
  static LRESULT CALLBACK Dispatch(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT DispatchTo(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND Wnd = nullptr;
};

// A GDI font made from a font record; the colour stays with the record.
class TFont {
public:
  TFont() = default;
  explicit TFont(const TFontRecord& record);
  ~TFont();
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;
  HFONT Handle() const { return Font; }
  // A system colour (top bit set) or a plain RGB value of the font record.
  static COLORREF ColorOf(int32_t color);

private:
  HFONT Font = nullptr;
};

// Names a window for the end-to-end tests: a "VntName" property holding a global atom.
void SetComponentName(HWND wnd, const std::string& name);
std::string ComponentName(HWND wnd);
void ReleaseComponentName(HWND wnd);

// Handles whatever window messages are waiting; long operations call it between units of
// work so that windows stay alive. A quit request is put back for the main loop.
void ProcessMessages();

// Top-left corner that centres a window of the given size on the screen (halves toward zero).
POINT CentredOnScreen(int width, int height);

}  // namespace vnt
