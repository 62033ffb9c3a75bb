#include "ui/win32/controls/VNControl.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/CallbackGuard.h"

namespace vnt {

namespace {
constexpr char ControlProperty[] = "VntControl";
constexpr UINT_PTR ControlSubclass = 0x564E43;    // "VNC"
constexpr UINT_PTR ContainerSubclass = 0x564E50;  // "VNP"
constexpr int FirstControlId = 1000;
// The container's next control id, kept on the container: looking for a free id among its
// children for every new control made a page of many controls slow beyond use.
constexpr char NextIdProperty[] = "VntNextId";

int FreeControlId(HWND container) {
  INT_PTR id = reinterpret_cast<INT_PTR>(GetPropA(container, NextIdProperty));
  if (id < FirstControlId) id = FirstControlId;
  SetPropA(container, NextIdProperty, reinterpret_cast<HANDLE>(id + 1));
  return int(id);
}
}  // namespace

TVNControl::~TVNControl() { DestroyHandle(); }

void TVNControl::DestroyHandle() {
  if (!Wnd) return;
  HWND wnd = Wnd;
  Detach();
  DestroyWindow(wnd);
}

TVNControl* TVNControl::FromHandle(HWND wnd) {
  return wnd ? static_cast<TVNControl*>(GetPropA(wnd, ControlProperty)) : nullptr;
}

bool TVNControl::Create(HWND container) {
  if (Wnd || !container || !PrepareClass()) return false;
  Parent = container;
  Id = FreeControlId(container);
  SIZE size = DefaultSize();
  if (!CreateWindowAt(0, 0, size.cx, size.cy, DefaultText(), 0)) return false;
  SendMessageA(Wnd, WM_SETFONT, SendMessageA(container, WM_GETFONT, 0, 0), FALSE);
  return true;
}

bool TVNControl::CreateWindowAt(int left, int top, int width, int height, const std::string& text,
                                DWORD visibility) {
  HWND wnd = CreateWindowExA(ExStyle(), ClassName(), text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | Style() | visibility,
                             left, top, width, WindowHeight(height), Parent, reinterpret_cast<HMENU>(INT_PTR(Id)),
                             GetModuleHandleA(nullptr), nullptr);
  if (!wnd) return false;
  Wnd = wnd;
  SetPropA(wnd, ControlProperty, this);
  SetWindowSubclass(wnd, SubclassProc, ControlSubclass, reinterpret_cast<DWORD_PTR>(this));
  SetWindowSubclass(Parent, ContainerProc, ContainerSubclass, 0);
  if (!NameText.empty()) SetComponentName(wnd, NameText);
  AfterCreate();
  return true;
}

void TVNControl::Detach() {
  if (!Wnd) return;
  RemoveWindowSubclass(Wnd, SubclassProc, ControlSubclass);
  RemovePropA(Wnd, ControlProperty);
  ReleaseComponentName(Wnd);
  Wnd = nullptr;
}

bool TVNControl::Recreate() {
  if (!Wnd) return false;
  TRectI r = Bounds();
  std::string text = Caption();
  bool enabled = Enabled();
  DWORD visibility = GetWindowLongA(Wnd, GWL_STYLE) & WS_VISIBLE;
  HWND old = Wnd, previous = GetWindow(old, GW_HWNDPREV);
  Detach();
  DestroyWindow(old);
  if (!CreateWindowAt(r.Left, r.Top, r.Width(), r.Height(), text, visibility)) return false;
  SetWindowPos(Wnd, previous ? previous : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageA(Wnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
  EnableWindow(Wnd, enabled);
  return true;
}

void TVNControl::SetDefinition(const TControlDef& def) {
  Def = def;
  int tag = TagParam();
  TagText = tag >= 0 ? Def.P[size_t(tag)] : "";
}

void TVNControl::SetName(const std::string& name) {
  NameText = name;
  if (Wnd) {
    if (name.empty()) ReleaseComponentName(Wnd);
    else SetComponentName(Wnd, name);
  }
}

TRectI TVNControl::Bounds() const {
  if (!Wnd) return {};
  RECT r;
  GetWindowRect(Wnd, &r);
  MapWindowPoints(nullptr, Parent, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

void TVNControl::SetPlace(int left, int top, int width, int height) {
  if (!Wnd) return;
  TMinSize min = MinSize();
  width = std::max(width, min.Width);
  height = std::max(height, min.Height);
  Repaint();  // the old place
  SetWindowPos(Wnd, nullptr, left, top, width, WindowHeight(height), SWP_NOZORDER | SWP_NOACTIVATE);
  Repaint();
}

void TVNControl::SetLeft(int left) {
  TRectI r = Bounds();
  SetPlace(left, r.Top, r.Width(), r.Height());
}

void TVNControl::SetTop(int top) {
  TRectI r = Bounds();
  SetPlace(r.Left, top, r.Width(), r.Height());
}

void TVNControl::SetHeight(int height) {
  TRectI r = Bounds();
  SetPlace(r.Left, r.Top, r.Width(), height);
}

void TVNControl::SetWidth(int width) {
  TRectI r = Bounds();
  SetPlace(r.Left, r.Top, width, r.Height());
}

void TVNControl::SetBounds(const RECT& bounds) {
  SetPlace(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
}

void TVNControl::SetCaption(const std::string& text) {
  // A painted control repaints its place with every sibling over it: not for the same text,
  // which progress displays set again and again. (An edit's text set again also resets its
  // caret and tells of a change, which its users may count on.)
  if (!Wnd || (IsGraphic() && ShowsCaption(text))) return;
  SetWindowTextA(Wnd, text.c_str());
  if (IsGraphic()) Repaint();
}

// One WM_GETTEXT, with room for a character more than the text, tells a longer caption apart.
bool TVNControl::ShowsCaption(const std::string& text) const {
  if (!Wnd) return false;
  std::string shown(text.size() + 2, '\0');
  int length = GetWindowTextA(Wnd, shown.data(), int(shown.size()));
  return length == int(text.size()) && shown.compare(0, text.size(), text) == 0;
}

std::string TVNControl::Caption() const {
  if (!Wnd) return "";
  std::string text(size_t(GetWindowTextLengthA(Wnd)) + 1, '\0');
  text.resize(size_t(GetWindowTextA(Wnd, text.data(), int(text.size()))));
  return text;
}

void TVNControl::SetFont(const TFontRecord& font) {
  FontRec = font;
  auto made = std::make_unique<TFont>(font);
  if (Wnd) SendMessageA(Wnd, WM_SETFONT, reinterpret_cast<WPARAM>(made->Handle()), TRUE);
  OwnFont = std::move(made);  // the old font goes only after the window let go of it
  Repaint();
}

HFONT TVNControl::FontHandle() const {
  if (OwnFont && OwnFont->Handle()) return OwnFont->Handle();
  return reinterpret_cast<HFONT>(SendMessageA(Parent, WM_GETFONT, 0, 0));
}

void TVNControl::Enable(bool on) {
  if (!Wnd) return;
  EnableWindow(Wnd, on);
  Repaint();
}

bool TVNControl::Enabled() const { return Wnd && IsWindowEnabled(Wnd); }

void TVNControl::SetVisible(bool on) {
  if (!Wnd) return;
  ShowWindow(Wnd, on ? SW_SHOWNA : SW_HIDE);
  if (!on) Repaint();
}

bool TVNControl::Visible() const { return Wnd && (GetWindowLongA(Wnd, GWL_STYLE) & WS_VISIBLE); }

void TVNControl::Fire() {
  if (OnEvent) OnEvent(*this);
}

void TVNControl::Repaint() {
  // Nothing of a hidden page is on the screen; showing it paints every control.
  if (!Wnd || !IsWindowVisible(Parent)) return;
  if (!IsGraphic()) {
    InvalidateRect(Wnd, nullptr, TRUE);
    return;
  }
  // Siblings painted over this one (a frame around it, a transparent label) show it too.
  TRectI b = Bounds();
  RECT r{b.Left, b.Top, b.Right, b.Bottom};
  RedrawWindow(Parent, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HBRUSH TVNControl::ControlColor(HDC dc, UINT) {
  SetTextColor(dc, TextColor());
  return nullptr;
}

LRESULT TVNControl::DefaultMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(Wnd, msg, wParam, lParam);
}

LRESULT TVNControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_KEYDOWN:
      if ((wParam == VK_RETURN || wParam == VK_ESCAPE) && RouteDialogKey(Wnd, wParam)) return 0;
      break;
    case WM_CHAR:  // the key went to a button already: no beep of the edit
      if ((wParam == '\r' || wParam == 27) && (GetKeyState(VK_CONTROL) & 0x8000) == 0) return 0;
      break;
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      TMinSize min = MinSize();
      if (!(pos->flags & SWP_NOSIZE)) {
        pos->cx = std::max(pos->cx, min.Width);
        pos->cy = std::max(pos->cy, min.Height);
      }
      break;
    }
  }
  return DefaultMessage(msg, wParam, lParam);
}

LRESULT CALLBACK TVNControl::SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self) {
  return GuardCallback(LRESULT(0), [&] {
    auto* control = reinterpret_cast<TVNControl*>(self);
    if (msg == WM_NCDESTROY) {  // the container went first: the object outlives its window
      control->Detach();
      return DefSubclassProc(wnd, msg, wParam, lParam);
    }
    return control->HandleMessage(msg, wParam, lParam);
  });
}

TVNControl* TVNControl::NotifierOf(HWND container, HWND from) {
  if (TVNControl* c = FromHandle(from)) return c;
  HWND up = from ? GetParent(from) : nullptr;  // the edit or list inside a combo box
  return up && up != container ? FromHandle(up) : nullptr;
}

LRESULT CALLBACK TVNControl::ContainerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  return GuardCallback(LRESULT(0), [&] { return ContainerMessage(wnd, msg, wParam, lParam); });
}

LRESULT TVNControl::ContainerMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      if (TVNControl* c = lParam ? FromHandle(reinterpret_cast<HWND>(lParam)) : nullptr) {
        c->Command(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (TVNControl* c = FromHandle(header->hwndFrom)) return c->Notify(*header);
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (TVNControl* c = NotifierOf(wnd, reinterpret_cast<HWND>(lParam)))
        if (HBRUSH brush = c->ControlColor(reinterpret_cast<HDC>(wParam), msg))
          return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (TVNControl* c = FromHandle(item->hwndItem)) {
        c->DrawItem(*item);
        return TRUE;
      }
      break;
    }
    case WM_MEASUREITEM:
      if (TVNControl* c = FromHandle(GetDlgItem(wnd, int(wParam)))) {
        c->MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
      }
      break;
    case WM_NCDESTROY:
      RemovePropA(wnd, NextIdProperty);
      RemoveWindowSubclass(wnd, ContainerProc, ContainerSubclass);
      break;
  }
  return DefSubclassProc(wnd, msg, wParam, lParam);
}

namespace {

struct TKeySearch {
  WPARAM Key;
  HWND Found = nullptr;
};

BOOL CALLBACK FindKeyButton(HWND wnd, LPARAM lParam) {
  return GuardCallback(FALSE, [&] {
    auto* search = reinterpret_cast<TKeySearch*>(lParam);
    TVNControl* c = TVNControl::FromHandle(wnd);
    if (c && c->AnswersDialogKey(search->Key) && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
      search->Found = wnd;
      return FALSE;
    }
    return TRUE;
  });
}

}  // namespace

bool RouteDialogKey(HWND from, WPARAM key) {
  TVNControl* self = TVNControl::FromHandle(from);
  HWND target = nullptr;
  if (key == VK_RETURN && self && self->IsPushButton()) target = from;  // a focused push button
  if (!target) {
    TKeySearch search{key};
    EnumChildWindows(GetAncestor(from, GA_ROOT), FindKeyButton, reinterpret_cast<LPARAM>(&search));
    target = search.Found;
  }
  // Posted: the click may close the page whose control is handling the key.
  if (target) PostMessageA(target, BM_CLICK, 0, 0);
  return target != nullptr;
}

}  // namespace vnt
