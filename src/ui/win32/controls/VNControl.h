// The base of every page control: a child window on a page or style panel that carries the
// definition it was built from, its binding, role and tag, a value interface and one event.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "package/DialogEditorFuncs.h"
#include "package/PackagePrimitives.h"
#include "platform/win32/Window.h"
#include "ui/ControlRules.h"

namespace vnt {

class TVNControl {
public:
  TVNControl() = default;
  virtual ~TVNControl();
  TVNControl(const TVNControl&) = delete;
  TVNControl& operator=(const TVNControl&) = delete;

  // Creates the hidden child window on the container at the class's default size, with the
  // container's font. The container then passes the control's notifications back to it.
  bool Create(HWND container);
  HWND Handle() const { return Wnd; }
  HWND Container() const { return Parent; }
  // The control behind a window handle; null for other windows.
  static TVNControl* FromHandle(HWND wnd);

  // Keeps a copy of the definition and takes binding, role and tag from it.
  void SetDefinition(const TControlDef& def);
  const TControlDef& Definition() const { return Def; }
  const std::string& Binding() const { return Def.Binding; }
  uint8_t Role() const { return Def.Role; }
  // The name scripts address the control by (empty for classes without one).
  const std::string& Tag() const { return TagText; }

  // The component name, kept as the window's "VntName" property.
  void SetName(const std::string& name);
  const std::string& Name() const { return NameText; }

  // Place in the container's client area.
  void SetLeft(int left);
  void SetTop(int top);
  void SetHeight(int height);
  void SetWidth(int width);
  void SetBounds(const RECT& bounds);
  TRectI Bounds() const;

  // The value interface of the binding: by default the caption.
  virtual void SetValue(const std::string& text) { SetCaption(text); }
  virtual std::string Value() const { return Caption(); }

  virtual void SetCaption(const std::string& text);
  std::string Caption() const;
  // Whether the caption is this text.
  bool ShowsCaption(const std::string& text) const;
  // The font and the colour its text is painted in.
  virtual void SetFont(const TFontRecord& font);
  const TFontRecord& Font() const { return FontRec; }
  void Enable(bool on);
  bool Enabled() const;
  void SetVisible(bool on);
  bool Visible() const;

  // Click, change or selection change, by class.
  std::function<void(TVNControl&)> OnEvent;

  // Painted over its container like a drawing rather than as a window of its own: kept
  // below the windowed controls.
  virtual bool IsGraphic() const { return false; }
  // Whether Enter (VK_RETURN) or Esc (VK_ESCAPE) pressed anywhere on the window activates it.
  virtual bool AnswersDialogKey(WPARAM) const { return false; }
  // A push button: Enter presses it while it has the focus.
  virtual bool IsPushButton() const { return false; }

protected:
  virtual const char* ClassName() const = 0;
  // Styles besides WS_CHILD and WS_CLIPSIBLINGS.
  virtual DWORD Style() const { return 0; }
  virtual DWORD ExStyle() const { return 0; }
  virtual std::string DefaultText() const { return ""; }
  virtual SIZE DefaultSize() const { return {100, 20}; }
  virtual TMinSize MinSize() const { return {0, 0}; }
  // The parameter holding the tag (0-based), or -1.
  virtual int TagParam() const { return -1; }
  // Readies the window class (registration, libraries); false stops the creation.
  virtual bool PrepareClass() { return true; }
  // Settings kept in the window, applied after each creation.
  virtual void AfterCreate() {}
  // A combo box's window is taller than its closed box by its drop-down list.
  virtual int WindowHeight(int height) const { return height; }

  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // Notifications that the container passes on.
  virtual void Command(WORD) {}
  virtual LRESULT Notify(NMHDR&) { return 0; }
  // WM_CTLCOLOR...: a brush, or null for the system's default.
  virtual HBRUSH ControlColor(HDC dc, UINT msg);
  virtual void DrawItem(const DRAWITEMSTRUCT&) {}
  virtual void MeasureItem(MEASUREITEMSTRUCT&) {}

  void Fire();
  // Destroys the window now (classes whose window needs a library they release).
  void DestroyHandle();
  // A new window of the current style in the old one's place, keeping name, font and state;
  // the class puts its content back afterwards.
  bool Recreate();
  // Repaints the control and everything that shows through it.
  void Repaint();
  COLORREF TextColor() const { return TFont::ColorOf(FontRec.Color); }
  HFONT FontHandle() const;
  TFontRecord FontRec{"", 8, int32_t(0x80000008), 0, 1};

private:
  static LRESULT CALLBACK SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
  static LRESULT CALLBACK ContainerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR);
  static LRESULT ContainerMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static TVNControl* NotifierOf(HWND container, HWND from);
  bool CreateWindowAt(int left, int top, int width, int height, const std::string& text, DWORD visibility);
  void Detach();
  void SetPlace(int left, int top, int width, int height);

  HWND Wnd = nullptr;
  HWND Parent = nullptr;
  int Id = 0;
  TControlDef Def;
  std::string TagText, NameText;
  std::unique_ptr<TFont> OwnFont;
};

// Presses the button that answers Enter or Esc on the window of "from" (the focused button
// itself for Enter); answers whether one did.
bool RouteDialogKey(HWND from, WPARAM key);

}  // namespace vnt
