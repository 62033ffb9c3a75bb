#include "ui/win32/controls/AdvVNListBox.h"

#include <algorithm>

#include "package/VarList.h"
#include "platform/win32/ScreenDpi.h"

namespace vnt {

namespace {

constexpr TVNItemControl::TMessages ListBoxMessages{LB_ADDSTRING, LB_RESETCONTENT, LB_GETCOUNT, LB_GETTEXTLEN,
                                                    LB_GETTEXT, LB_SETCURSEL, LB_GETCURSEL};
constexpr int SystemCheckBoxes = 32759;  // OBM_CHECKBOXES: 4 by 3 check-box pictures

SIZE SystemCheckCell() {
  SIZE cell{13, 13};
  HBITMAP boxes = LoadBitmapA(nullptr, MAKEINTRESOURCEA(SystemCheckBoxes));
  BITMAP info{};
  if (boxes && GetObjectA(boxes, sizeof info, &info) && info.bmWidth >= 4 && info.bmHeight >= 3)
    cell = {info.bmWidth / 4, info.bmHeight / 3};
  if (boxes) DeleteObject(boxes);
  // The system's pictures may stay at their 96-DPI size on a finer screen: the boxes are
  // drawn as large as the page's own check boxes then.
  return {std::max<LONG>(cell.cx, Scaled(13)), std::max<LONG>(cell.cy, Scaled(13))};
}

}  // namespace

TAdvVNListBox::TAdvVNListBox() : Cell(SystemCheckCell()) {}

// The window goes first: its items point at the objects.
TAdvVNListBox::~TAdvVNListBox() { DestroyHandle(); }

const TVNItemControl::TMessages& TAdvVNListBox::Messages() const { return ListBoxMessages; }

DWORD TAdvVNListBox::Style() const {
  return WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
         ListStyle();
}

void TAdvVNListBox::AfterCreate() { UpdateItemHeight(); }

TItemObject* TAdvVNListBox::ObjectOf(int index) const {
  if (!Handle() || index < 0 || index >= Count()) return nullptr;
  LRESULT data = SendMessageA(Handle(), LB_GETITEMDATA, WPARAM(index), 0);
  auto* object = reinterpret_cast<TItemObject*>(data);
  bool ours = std::any_of(Objects.begin(), Objects.end(), [&](const auto& o) { return o.get() == object; });
  return ours ? object : nullptr;
}

void TAdvVNListBox::AttachObject(LRESULT index) {
  std::unique_ptr<TItemObject> object = Pending ? std::move(Pending) : std::make_unique<TItemObject>();
  DefaultMessage(LB_SETITEMDATA, WPARAM(index), reinterpret_cast<LPARAM>(object.get()));
  Objects.push_back(std::move(object));
}

int TAdvVNListBox::AddItem(const std::string& caption, TCheckState state, bool hasContent, const std::string& key,
                           int32_t size, int32_t imageIndex) {
  if (!Handle()) return -1;
  int at = -1;
  if (Shown.Sorted)
    for (int i = 0, n = Count(); i < n && at < 0; ++i)
      if (CompareTextIgnoringCase(Text(i), caption) > 0) at = i;
  Pending = std::make_unique<TItemObject>();
  LPARAM text = reinterpret_cast<LPARAM>(caption.c_str());
  LRESULT index = at >= 0 ? SendMessageA(Handle(), LB_INSERTSTRING, WPARAM(at), text)
                          : SendMessageA(Handle(), LB_ADDSTRING, 0, text);
  Pending.reset();
  if (index < 0) return -1;
  ChangeState(int(index), state);
  if (TItemObject* item = ObjectOf(int(index))) {
    item->ImageIndex = imageIndex;
    item->Size = size;
    item->Key = key;
    item->HasContent = hasContent;
    item->Locked = false;
  }
  return int(index);
}

TCheckState TAdvVNListBox::State(int index) const {
  const TItemObject* item = ObjectOf(index);
  return item ? item->State : TCheckState::Unchecked;
}

void TAdvVNListBox::SetState(int index, TCheckState state) { ChangeState(index, state); }

void TAdvVNListBox::ChangeState(int index, TCheckState state) {
  TItemObject* item = ObjectOf(index);
  if (!item || item->Locked || item->State == state) return;
  bool cancel = false;
  if (OnStateChange) OnStateChange(index, cancel);
  // The handler may have changed the list.
  if (cancel || ObjectOf(index) != item) return;
  item->State = state;
  if (Shown.ShowFileSize) RepaintItem(index);
  else RepaintChecks(index);
}

void TAdvVNListBox::Toggle(int index) {
  if (TItemObject* item = ObjectOf(index)) ChangeState(index, ToggledState(item->State, AllowGrayed));
  if (Shown.ShowFileSize && OnComponentsChange) OnComponentsChange();
}

int32_t TAdvVNListBox::ImageIndex(int index) const {
  const TItemObject* item = ObjectOf(index);
  return item ? item->ImageIndex : -1;
}

void TAdvVNListBox::SetImageIndex(int index, int32_t image) {
  if (TItemObject* item = ObjectOf(index)) {
    item->ImageIndex = image;
    RepaintItem(index);
  }
}

int32_t TAdvVNListBox::ItemSize(int index) const {
  const TItemObject* item = ObjectOf(index);
  return item ? item->Size : 0;
}

void TAdvVNListBox::SetItemSize(int index, int32_t size) {
  TItemObject* item = ObjectOf(index);
  if (!item || item->Size == size) return;
  item->Size = size;
  if (Shown.ShowFileSize || Shown.ShowChecks) RepaintItem(index);
}

bool TAdvVNListBox::HasContent(int index) const {
  const TItemObject* item = ObjectOf(index);
  return item && item->HasContent;
}

void TAdvVNListBox::SetHasContent(int index, bool on) {
  TItemObject* item = ObjectOf(index);
  if (!item || item->HasContent == on) return;
  item->HasContent = on;
  if (Shown.ShowFileSize || Shown.ShowChecks) RepaintItem(index);
}

std::string TAdvVNListBox::Key(int index) const {
  const TItemObject* item = ObjectOf(index);
  return item ? item->Key : "";
}

void TAdvVNListBox::SetKey(int index, const std::string& key) {
  if (TItemObject* item = ObjectOf(index)) item->Key = key;
}

bool TAdvVNListBox::Locked(int index) const {
  const TItemObject* item = ObjectOf(index);
  return item && item->Locked;
}

void TAdvVNListBox::SetLocked(int index, bool on) {
  if (TItemObject* item = ObjectOf(index)) item->Locked = on;
}

void TAdvVNListBox::SetCheckedKeys(const std::string& list) {
  std::vector<std::string> keys;
  for (int i = 0, n = Count(); i < n; ++i) keys.push_back(Key(i));
  std::vector<bool> checked = ItemsToCheck(keys, list);
  for (size_t i = 0; i < checked.size(); ++i)
    SetState(int(i), checked[i] ? TCheckState::Checked : TCheckState::Unchecked);
}

std::string TAdvVNListBox::CheckedKeys() const {
  std::vector<std::string> keys;
  std::vector<TCheckState> states;
  for (int i = 0, n = Count(); i < n; ++i) {
    keys.push_back(Key(i));
    states.push_back(State(i));
  }
  return CheckedKeysText(keys, states);
}

int64_t TAdvVNListBox::AskedSize(const TItemObject& item) const {
  int64_t size = item.Size;
  if (OnGetComponentSize) OnGetComponentSize(item.Key, size);
  return size;
}

bool TAdvVNListBox::IsItemEnabled(int index) const {
  const TItemObject* item = ObjectOf(index);
  TItemUse use;
  use.ShowsChecksOrSizes = Shown.ShowFileSize || Shown.ShowChecks;
  use.ControlEnabled = Enabled();
  if (use.ShowsChecksOrSizes && item) {
    use.Size = AskedSize(*item);
    use.HasContent = item->HasContent;
  }
  return ItemEnabled(use);
}

void TAdvVNListBox::SetLook(const TListLook& look) {
  Shown = look;
  UpdateItemHeight();
}

std::vector<TAdvVNListBox::TKeptItem> TAdvVNListBox::TakeItems() {
  std::vector<TKeptItem> items;
  for (int i = 0, n = Count(); i < n; ++i) {
    TKeptItem kept{Text(i), nullptr};
    TItemObject* object = ObjectOf(i);
    auto it = std::find_if(Objects.begin(), Objects.end(), [&](const auto& o) { return o.get() == object; });
    if (it != Objects.end()) {
      kept.Object = std::move(*it);
      Objects.erase(it);
    }
    items.push_back(std::move(kept));
  }
  ClearItems();
  return items;
}

void TAdvVNListBox::PutItems(std::vector<TKeptItem> items) {
  for (auto& item : items) {
    Pending = std::move(item.Object);
    if (Handle()) SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.Text.c_str()));
    Pending.reset();
  }
}

void TAdvVNListBox::SortItems() {
  std::vector<TKeptItem> items = TakeItems();
  std::stable_sort(items.begin(), items.end(),
                   [](const TKeptItem& a, const TKeptItem& b) { return CompareTextIgnoringCase(a.Text, b.Text) < 0; });
  PutItems(std::move(items));
}

void TAdvVNListBox::RecreateKeepingItems() {
  std::vector<TKeptItem> items = TakeItems();
  if (Recreate()) PutItems(std::move(items));
}

bool TAdvVNListBox::ToggleByMouse(LPARAM at) {
  POINT p{short(LOWORD(at)), short(HIWORD(at))};
  LRESULT hit = SendMessageA(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(p.x, p.y));
  if (HIWORD(hit)) return false;  // below the last item
  int index = int(LOWORD(hit));
  RECT r;
  if (SendMessageA(Handle(), LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r)) == LB_ERR) return false;
  if (!InCheckColumn(p.x - r.left, CheckColumnWidth()) || !IsItemEnabled(index)) return false;
  Toggle(index);
  return true;
}

void TAdvVNListBox::TellComponentsChange() {
  ChangePosted = false;
  if (Shown.ShowFileSize && OnComponentsChange) OnComponentsChange();
}

LRESULT TAdvVNListBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
      LRESULT index = DefaultMessage(msg, wParam, lParam);
      if (index >= 0) AttachObject(index);
      return index;
    }
    case LB_SETITEMDATA:
      if (lParam == 0) return 0;  // the item keeps its object
      break;
    case LB_DELETESTRING: {
      TItemObject* object = ObjectOf(int(wParam));
      LRESULT left = DefaultMessage(msg, wParam, lParam);
      if (left != LB_ERR)
        std::erase_if(Objects, [&](const auto& o) { return o.get() == object; });
      return left;
    }
    case LB_RESETCONTENT: {
      LRESULT r = DefaultMessage(msg, wParam, lParam);
      Objects.clear();
      return r;
    }
    case WM_SETFONT: {
      LRESULT r = DefaultMessage(msg, wParam, lParam);
      UpdateItemHeight();
      return r;
    }
    case WM_LBUTTONDOWN: {
      LRESULT r = DefaultMessage(msg, wParam, lParam);  // selects, as in any list box
      if (Shown.ShowChecks && ToggleByMouse(lParam) && OnCheckClick) OnCheckClick();
      return r;
    }
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && Shown.ShowChecks) {
        int caret = int(SendMessageA(Handle(), LB_GETCARETINDEX, 0, 0));
        if (caret >= 0 && caret < Count() && IsItemEnabled(caret)) Toggle(caret);
      }
      break;
    case WM_ENABLE: RepaintAll(); break;
    case ComponentsChangeMessage: TellComponentsChange(); return 0;
  }
  if (msg == ItemStateQuery()) return QueryItemState(int(wParam));
  return TVNItemControl::HandleMessage(msg, wParam, lParam);
}

UINT TAdvVNListBox::ItemStateQuery() {
  static const UINT message = RegisterWindowMessageA("VntItemState");
  return message;
}

LRESULT TAdvVNListBox::QueryItemState(int index) const {
  const TItemObject* item = ObjectOf(index);
  if (!item) return -1;
  return LRESULT(item->State) | (IsItemEnabled(index) ? 0x100 : 0) | (Shown.ShowChecks ? 0x200 : 0);
}

}  // namespace vnt
