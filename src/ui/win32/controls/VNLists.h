// The page's list box and combo box: items from "|"-separated texts, a remembered value and
// a selection-change event. The list box is also what scripts walk through with
// ForEachSelected.
#pragma once

#include <optional>
#include <vector>

#include "script/ScriptContext.h"
#include "ui/win32/controls/AdvVNListBox.h"

namespace vnt {

class TVNListBox : public TAdvVNListBox, public TScriptList {
public:
  // Multi-select takes effect by recreating the window; the items stay.
  void SetMultiSelect(bool on);
  bool MultiSelect() const { return Multi; }
  // Remembers the text, selects the first item equal to it (or none), fires the event.
  void SetValue(const std::string& text) override;
  std::string Value() const override { return Remembered; }
  void SetItemSelected(int index, bool on);
  // Index of the user's current item (the caret item of a multi-select box), or -1.
  int ItemIndex() const;

  int ItemCount() const override { return Count(); }
  // A program-group list: the Start menu it was last filled from (true for all users).
  std::optional<bool> ProgramGroupsCommon;
  std::string ItemText(int index) const override { return Text(index); }
  bool ItemSelected(int index) const override;

protected:
  DWORD ListStyle() const override { return Multi ? LBS_EXTENDEDSEL : 0; }
  DWORD ExStyle() const override { return WS_EX_CLIENTEDGE; }
  SIZE DefaultSize() const override { return {121, 97}; }
  int TagParam() const override { return 4; }
  void SelectIndex(int index) override;
  void Command(WORD code) override;
  HBRUSH ControlColor(HDC dc, UINT msg) override;

private:
  bool Multi = false;
  std::string Remembered;
};

class TVNComboBox : public TVNItemControl {
public:
  // List-only: only items can be chosen; takes effect by recreating the window.
  void SetListOnly(bool on);
  bool ListOnly() const { return OnlyList; }
  // Remembers the text, selects the first item equal to it (or none), shows it in the edit
  // of an editable box, fires the event.
  void SetValue(const std::string& text) override;
  std::string Value() const override { return Remembered; }
  int ItemIndex() const;

protected:
  const char* ClassName() const override { return "COMBOBOX"; }
  DWORD Style() const override;
  std::string DefaultText() const override { return " "; }
  SIZE DefaultSize() const override { return {145, 21}; }
  int TagParam() const override { return 5; }
  int WindowHeight(int height) const override { return height + 160; }  // the dropped list
  const TMessages& Messages() const override;
  void Command(WORD code) override;
  HBRUSH ControlColor(HDC dc, UINT msg) override;

private:
  bool OnlyList = false;
  std::string Remembered;
};

}  // namespace vnt
