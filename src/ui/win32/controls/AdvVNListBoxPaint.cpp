// How the check list paints its items: the check cell, the picture, the caption and the size.
#include <algorithm>

#include "platform/win32/SystemInfo.h"
#include "platform/win32/VisualStyles.h"
#include "ui/BindingRules.h"
#include "ui/win32/controls/AdvVNListBox.h"

namespace vnt {

namespace {

constexpr int ThemeCheckBox = 3;  // BP_CHECKBOX

int ThemeCheckState(TCheckState state, bool enabled) {
  int first = state == TCheckState::Checked ? 5 : state == TCheckState::Grayed ? 9 : 1;  // ...NORMAL
  return enabled ? first : first + 3;                                                   // ...DISABLED
}

int TextHeight(HDC dc) {
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc, "Wg", 2, &size);
  return size.cy;
}

void DrawLine(HDC dc, const std::string& text, RECT r, UINT align) {
  DrawTextA(dc, text.c_str(), int(text.size()), &r, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace

void TAdvVNListBox::UpdateItemHeight() {
  if (!Handle()) return;
  HDC dc = GetDC(Handle());
  HGDIOBJ old = SelectObject(dc, FontHandle());
  int text = TextHeight(dc);
  SelectObject(dc, old);
  ReleaseDC(Handle(), dc);
  std::optional<int> picture, check;
  int width = 0, height = 0;
  if (Shown.Images && Shown.ShowImages && Shown.CustomDraw && ImageList_GetIconSize(Shown.Images, &width, &height))
    picture = height;
  if (Shown.ShowChecks) check = Cell.cy;
  SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, ItemHeight(text, picture, check));
  RepaintAll();
}

void TAdvVNListBox::MeasureItem(MEASUREITEMSTRUCT& item) {
  if (Handle()) item.itemHeight = UINT(SendMessageA(Handle(), LB_GETITEMHEIGHT, 0, 0));
}

void TAdvVNListBox::RepaintAll() {
  if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

void TAdvVNListBox::RepaintItem(int index) {
  if (!Handle()) return;
  RECT r;
  if (!QuickPaint || SendMessageA(Handle(), LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r)) == LB_ERR) {
    RepaintAll();
    return;
  }
  InvalidateRect(Handle(), &r, TRUE);
  UpdateWindow(Handle());
}

void TAdvVNListBox::RepaintChecks(int index) {
  RECT r;
  if (!Handle() || SendMessageA(Handle(), LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r)) == LB_ERR)
    return;
  r.right = std::min(r.right, r.left + CheckColumnWidth());
  InvalidateRect(Handle(), &r, TRUE);
  UpdateWindow(Handle());
}

void TAdvVNListBox::DrawChecks(HDC dc, const RECT& area, TCheckState state, bool enabled) const {
  int left = area.left + (area.right - area.left - Cell.cx) / 2;
  int top = area.top + (area.bottom - area.top - Cell.cy) / 2;
  RECT cell{left, top, left + Cell.cx, top + Cell.cy};
  if (TVisualStyles::Instance().DrawBackground(Handle(), L"Button", ThemeCheckBox, ThemeCheckState(state, enabled),
                                                dc, cell))
    return;
  UINT look = DFCS_BUTTONCHECK | (enabled ? 0 : DFCS_INACTIVE);
  if (state == TCheckState::Checked) look |= DFCS_CHECKED;
  if (state == TCheckState::Grayed) look |= DFCS_BUTTON3STATE | DFCS_CHECKED;
  if (!Shown.Flat) {
    DrawFrameControl(dc, &cell, DFC_BUTTON, look);
    return;
  }
  // Flat: the sunken edge is cut away and a thin frame drawn in its place.
  int saved = SaveDC(dc);
  IntersectClipRect(dc, cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 2);
  DrawFrameControl(dc, &cell, DFC_BUTTON, look);
  RestoreDC(dc, saved);
  RECT frame{cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1};
  FrameRect(dc, &frame, GetSysColorBrush(COLOR_BTNSHADOW));
}

void TAdvVNListBox::ForceUnchecked(int index) {
  TItemObject* item = ObjectOf(index);
  if (!item || item->State == TCheckState::Unchecked) return;
  bool cancel = false;
  if (OnStateChange) OnStateChange(index, cancel);
  if (cancel || ObjectOf(index) != item) return;
  item->State = TCheckState::Unchecked;
  // Told after the painting: the handler refreshes other controls and may change this list.
  if (Shown.ShowFileSize && OnComponentsChange && !ChangePosted)
    ChangePosted = PostMessageA(Handle(), ComponentsChangeMessage, 0, 0);
}

void TAdvVNListBox::DrawContent(HDC dc, RECT r, const TItemObject& item, int index) {
  HIMAGELIST images = Shown.Images;
  if (images && Shown.ShowImages && item.ImageIndex >= 0 && item.ImageIndex < ImageList_GetImageCount(images)) {
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    ImageList_Draw(images, item.ImageIndex, dc, r.left + 2, r.top + (r.bottom - r.top - height) / 2, ILD_TRANSPARENT);
    r.left += width + 4;
  }
  RECT caption{r.left + 2, r.top, r.right - 2, r.bottom};
  if (Shown.ShowFileSize) {
    int64_t shown = item.State == TCheckState::Checked ? AskedSize(item) : 0;
    if (std::optional<int64_t> size = ShownItemSize(item.State, shown, item.Size)) {
      std::string text = RequiredSpaceText(uint64_t(std::max<int64_t>(*size, 0)), TSystemInfo::DecimalSeparator());
      RECT sizeRect{r.left, r.top, r.right - 2, r.bottom};
      DrawLine(dc, text, sizeRect, DT_RIGHT);
      SIZE extent{0, 0};
      GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &extent);
      caption.right = std::max(caption.left, sizeRect.right - extent.cx - 6);  // the caption never runs into it
    }
  }
  DrawLine(dc, Text(index), caption, DT_LEFT);
}

void TAdvVNListBox::DrawItem(const DRAWITEMSTRUCT& d) {
  HDC dc = d.hDC;
  bool selected = d.itemState & ODS_SELECTED;
  RECT r = d.rcItem;
  int column = CheckColumnWidth();
  if (Shown.CustomDraw && Shown.ShowChecks && !Shown.FullItemSelect) {
    RECT cellArea{r.left, r.top, r.left + column, r.bottom};
    FillRect(dc, &cellArea, GetSysColorBrush(COLOR_WINDOW));
    r.left += column;
  }
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (int(d.itemID) < 0) {  // an empty list with the focus
    if (d.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
    return;
  }
  int index = int(d.itemID);
  TItemObject* item = ObjectOf(index);
  bool enabled = IsItemEnabled(index);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, !enabled ? GetSysColor(COLOR_GRAYTEXT) : selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : TextColor());
  HGDIOBJ oldFont = SelectObject(dc, FontHandle());
  if (!Shown.CustomDraw || !item) {
    RECT caption{r.left + 2, r.top, r.right, r.bottom};
    DrawLine(dc, Text(index), caption, DT_LEFT);
  } else {
    RECT content = r;
    if (Shown.ShowChecks) {
      RECT cell{r.left - column, r.top, r.left, r.bottom};
      if (Shown.FullItemSelect) {
        cell = {d.rcItem.left, r.top, d.rcItem.left + column, r.bottom};
        content.left = cell.right;
      }
      if (Shown.ShowDisabledChecks || enabled) {
        DrawChecks(dc, cell, item->State, enabled);
      } else {
        ForceUnchecked(index);
        DrawChecks(dc, cell, TCheckState::Unchecked, false);
      }
    }
    DrawContent(dc, content, *item, index);
  }
  SelectObject(dc, oldFont);
  if (d.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

}  // namespace vnt
