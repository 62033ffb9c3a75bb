// The directory list (the path's folders from the root, then the subfolders) and the drive
// combo box, both owner-drawn with the shell's icons. Linked, each follows the other.
#pragma once

#include <functional>
#include <vector>

#include "ui/win32/controls/VNControl.h"

namespace vnt {

class TVNDriveCombo;

// Small icons of the shell, destroyed with their owner.
class TShellIcons {
public:
  TShellIcons() = default;
  ~TShellIcons() { Clear(); }
  TShellIcons(const TShellIcons&) = delete;
  TShellIcons& operator=(const TShellIcons&) = delete;
  // The icon of a file or folder; with useAttributes only the kind counts, not the item.
  HICON Get(const std::string& path, bool useAttributes, bool open = false);
  void Clear();

private:
  std::vector<HICON> Icons;
};

class TVNDirList : public TVNControl {
public:
  ~TVNDirList() override;
  // Shows an existing folder (switching the linked drive combo first when the drive
  // changes); false, and nothing changes, for a path that is no existing folder.
  bool SetDirectory(const std::string& path);
  const std::string& Directory() const { return Dir; }
  const std::vector<TDirEntry>& Entries() const { return Shown; }
  // Opens an entry as Enter or a double click does.
  void OpenEntry(int index);
  // Links this list and the combo to each other; null unlinks.
  void SetDriveCombo(TVNDriveCombo* combo);
  // After the directory changed.
  std::function<void(TVNDirList&)> OnChange;
  // The folder the binding last showed or passed on (with trailing backslash), to tell the
  // user's moves from repeats.
  const std::string& RememberedDirectory() const { return Remembered; }
  void SetRememberedDirectory(const std::string& dir) { Remembered = dir; }

  void SetValue(const std::string& text) override { SetDirectory(text); }
  std::string Value() const override { return Dir; }
  void SetFont(const TFontRecord& font) override;

protected:
  const char* ClassName() const override { return "LISTBOX"; }
  DWORD Style() const override {
    return WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
  }
  DWORD ExStyle() const override { return WS_EX_CLIENTEDGE; }
  SIZE DefaultSize() const override { return {145, 97}; }
  void AfterCreate() override;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Command(WORD code) override;
  void DrawItem(const DRAWITEMSTRUCT& item) override;

private:
  friend class TVNDriveCombo;
  void Fill();
  std::string Dir, Remembered;
  std::vector<TDirEntry> Shown;
  TVNDriveCombo* Drives = nullptr;
  TShellIcons Icons;
};

class TVNDriveCombo : public TVNControl {
public:
  ~TVNDriveCombo() override;
  // Upper-cases the letter and selects its drive; a linked directory list moves to that
  // drive's current folder. False when the drive is not in the list.
  bool SetDrive(char letter);
  char Drive() const { return Current; }
  // The drive the binding last accepted; the drive shown at creation to begin with.
  char RememberedDrive() const { return Remembered; }
  void SetRememberedDrive(char letter) { Remembered = letter; }
  // Reads the drives again.
  void Refresh();
  void SetDirList(TVNDirList* list);
  // After the user picked a readable drive.
  std::function<void(TVNDriveCombo&)> OnChange;

  void SetValue(const std::string& text) override {
    if (!text.empty()) SetDrive(text[0]);
  }
  std::string Value() const override { return Current ? std::string(1, Current) : ""; }
  void SetFont(const TFontRecord& font) override;

protected:
  const char* ClassName() const override { return "COMBOBOX"; }
  DWORD Style() const override {
    return WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
  }
  SIZE DefaultSize() const override { return {145, 21}; }
  int WindowHeight(int height) const override { return height + 200; }
  void AfterCreate() override;
  void Command(WORD code) override;
  void DrawItem(const DRAWITEMSTRUCT& item) override;

private:
  friend class TVNDirList;
  void SelectCurrent();
  std::vector<char> Letters;
  std::vector<HICON> ItemIcons;
  char Current = 0, Remembered = 0;
  TVNDirList* List = nullptr;
  TShellIcons Icons;
};

// The folder a drive is at: the process's current folder there, or its root.
std::string DriveDirectory(char letter);

}  // namespace vnt
