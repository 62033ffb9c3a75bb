// TfrmDirectorySel: the modal window in which the user picks or types a folder; a directory
// list with its drive combo, and an edit that holds the answer.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/win32/ModalLoop.h"
#include "ui/win32/controls/VNButtons.h"
#include "ui/win32/controls/VNDriveDir.h"
#include "ui/win32/controls/VNEdit.h"
#include "ui/win32/controls/VNLabel.h"
#include "ui/win32/windows/FixedForms.h"

namespace vnt {

struct TDirectorySelTexts {
  std::string Caption = "Select Directory";
  std::string Directory = "Directory:";      // lblDirectory
  std::string Directories = "Directories:";  // lblDirectories
  std::string Drives = "Drives:";            // lblDrives
  std::string OK = "OK";
  std::string Cancel = "Cancel";
  // Caption of its message box: the application title.
  std::string MessageCaption;
};

class TfrmDirectorySel : public TModalForm {
public:
  // The font of the window and its controls: Arial 8 points unless the caller gives one.
  explicit TfrmDirectorySel(const TFontRecord& font = DefaultFont());
  ~TfrmDirectorySel() override;

  TDirectorySelTexts Texts;

  // Shows the window modally over owner. The list starts at startFolder when it is an
  // existing folder (and the edit shows it); an empty start leaves the list where it is,
  // a start that is no existing folder is reported in a message box first. Either way the
  // edit then shows the list's folder, unless editText is given: then the edit shows that.
  // Answers ModalOk or ModalCancel; after ModalOk Directory() is the edit's text.
  int Execute(HWND owner, const std::string& startFolder, const std::optional<std::string>& editText = std::nullopt);
  // The folder chosen by the last confirmed Execute; unchanged by a cancelled one.
  const std::string& Directory() const { return Chosen; }

  static TFontRecord DefaultFont() { return FixedFormFont(); }

protected:
  bool DialogKey(WPARAM key) override;
  HWND InitialFocus() const override { return txtDirectory ? txtDirectory->Handle() : nullptr; }

private:
  bool Build(HWND owner);
  void Open(HWND owner, const std::string& startFolder);
  void btnOKClick();

  TFontRecord FormFont;
  std::string Chosen;
  std::unique_ptr<TVNLabel> lblDirectory, lblDirectories, lblDrives;
  std::unique_ptr<TVNEdit> txtDirectory;
  std::unique_ptr<TVNDirList> lstDirectories;
  std::unique_ptr<TVNDriveCombo> cmbDrives;
  std::unique_ptr<TVNButton> btnOK, btnCancel;
};

}  // namespace vnt
