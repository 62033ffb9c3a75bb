// TAdvVNListBox: the owner-drawn list box with a three-state check box, a picture, a caption
// and a size text per item, and the data of each item in a TItemObject that stays with it.
// The page list box derives from it; the wizard sets it up as the component list, the
// program-group list or a plain list.
#pragma once

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/CheckListRules.h"
#include "ui/win32/controls/VNItemControl.h"

namespace vnt {

struct TItemObject {
  TCheckState State = TCheckState::Unchecked;
  int32_t ImageIndex = 0;  // in the image list; negative: none
  int32_t Size = 0;        // bytes, as given when added
  bool HasContent = false;
  std::string Key;
  bool Locked = false;
};

// How a list is set up for its use; see TAdvVNListBox's settings.
struct TListLook {
  HIMAGELIST Images = nullptr;  // the form's; not owned
  bool CustomDraw = false, ShowChecks = false, ShowFileSize = false, ShowImages = false, FullItemSelect = false,
       ShowDisabledChecks = true, Sorted = false;
  bool Flat = true;  // check boxes with a thin frame instead of the sunken 3-D box
};

class TAdvVNListBox : public TVNItemControl {
public:
  TAdvVNListBox();
  ~TAdvVNListBox() override;

  // Appends (or, sorted, inserts) an item; its state goes through the state change.
  int AddItem(const std::string& caption, TCheckState state, bool hasContent, const std::string& key, int32_t size,
              int32_t imageIndex);

  TCheckState State(int index) const;
  void SetState(int index, TCheckState state);
  bool IsChecked(int index) const { return State(index) == TCheckState::Checked; }
  void SetChecked(int index, bool on) { SetState(index, on ? TCheckState::Checked : TCheckState::Unchecked); }
  // The user's click or space bar on an item.
  void Toggle(int index);

  int32_t ImageIndex(int index) const;
  void SetImageIndex(int index, int32_t image);
  int32_t ItemSize(int index) const;
  void SetItemSize(int index, int32_t size);
  bool HasContent(int index) const;
  void SetHasContent(int index, bool on);
  std::string Key(int index) const;
  void SetKey(int index, const std::string& key);
  bool Locked(int index) const;
  void SetLocked(int index, bool on);

  // Unchecks every item, then checks the first item for each "|"-separated key (ignoring case).
  void SetCheckedKeys(const std::string& list);
  // The keys of the checked items in item order, "|"-separated.
  std::string CheckedKeys() const;
  bool IsItemEnabled(int index) const;

  bool AllowGrayed = false;
  bool QuickPaint = true;
  // The look, taken at once with one repaint. Sorted: new items go to their place in
  // ascending order (ignoring case).
  void SetLook(const TListLook& look);
  const TListLook& Look() const { return Shown; }

  // Asked before a check state changes; setting the flag keeps the state.
  std::function<void(int index, bool& cancel)> OnStateChange;
  // After the user changed a check with the mouse.
  std::function<void()> OnCheckClick;
  // After a toggle or a forced uncheck, while sizes are shown.
  std::function<void()> OnComponentsChange;
  // Supplies an item's size by its key.
  std::function<void(const std::string& key, int64_t& size)> OnGetComponentSize;

  // Plain items: unchecked, no key, size or content, the image list's first picture.
  void AddItem(const std::string& text) override { AddItem(text, TCheckState::Unchecked, false, "", 0, 0); }
  void SortItems() override;

  // The check cell, from the system's check-box bitmap.
  SIZE CheckCellSize() const { return Cell; }
  // The registered message a list answers with an item's check state (low byte), 0x100 when
  // the item is enabled and 0x200 when checks are shown; -1 for no item. The UI driver of
  // the tests reads the checks through it.
  static UINT ItemStateQuery();
  int CheckColumnWidth() const { return Cell.cx + 2; }

protected:
  const char* ClassName() const override { return "LISTBOX"; }
  DWORD Style() const override;
  void AfterCreate() override;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void DrawItem(const DRAWITEMSTRUCT& item) override;
  void MeasureItem(MEASUREITEMSTRUCT& item) override;
  void RecreateKeepingItems() override;
  const TMessages& Messages() const override;
  // The base list box's own styles (selection kind).
  virtual DWORD ListStyle() const { return 0; }

private:
  struct TKeptItem {
    std::string Text;
    std::unique_ptr<TItemObject> Object;
  };

  TItemObject* ObjectOf(int index) const;
  void ChangeState(int index, TCheckState state);
  void AttachObject(LRESULT index);
  std::vector<TKeptItem> TakeItems();
  void PutItems(std::vector<TKeptItem> items);
  void UpdateItemHeight();
  void RepaintItem(int index);
  void RepaintChecks(int index);
  void RepaintAll();
  int64_t AskedSize(const TItemObject& item) const;
  void DrawChecks(HDC dc, const RECT& cell, TCheckState state, bool enabled) const;
  void DrawContent(HDC dc, RECT content, const TItemObject& item, int index);
  void ForceUnchecked(int index);
  void TellComponentsChange();
  LRESULT QueryItemState(int index) const;
  bool ToggleByMouse(LPARAM at);

  static constexpr UINT ComponentsChangeMessage = WM_APP + 0x56;

  TListLook Shown;
  // Objects of the items, each attached to its item as its data.
  std::vector<std::unique_ptr<TItemObject>> Objects;
  // The object the next added item takes.
  std::unique_ptr<TItemObject> Pending;
  SIZE Cell{13, 13};
  // A forced uncheck found while painting is told once the painting is over.
  bool ChangePosted = false;
};

}  // namespace vnt
