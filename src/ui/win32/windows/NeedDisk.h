// TfrmNeedDisk: the modal prompt for the next disk of a setup spread over volume files. It
// stays until the volume file is found in the folder shown or the user cancels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/win32/ModalLoop.h"
#include "ui/win32/controls/VNButtons.h"
#include "ui/win32/controls/VNEdit.h"
#include "ui/win32/controls/VNImages.h"
#include "ui/win32/controls/VNLabel.h"
#include "ui/win32/windows/DirectorySel.h"

namespace vnt {

struct TNeedDiskTexts {
  std::string Caption;
  std::string Message;    // lblMsg, the disk number already in it
  std::string PathLabel;  // lblPath
  std::string Browse, OK, Cancel;
  std::string NotFound;        // the error when the folder lacks the volume file
  std::string MessageCaption;  // of the error box: the application title
  // The folder choice behind Browse; its OK and Cancel are this window's.
  TDirectorySelTexts DirectorySel;
};

class TfrmNeedDisk : public TModalForm {
public:
  explicit TfrmNeedDisk(const TFontRecord& font = FixedFormFont());
  ~TfrmNeedDisk() override;

  TNeedDiskTexts Texts;

  // Asks for disk over owner, showing folder; programPath names the setup program, whose
  // name the volume files share. Answers ModalOk once the volume file is in the folder
  // shown (Folder() is that folder, with trailing backslash), else ModalCancel.
  int Execute(HWND owner, uint32_t disk, const std::string& folder, const std::string& programPath);
  const std::string& Folder() const { return Chosen; }

protected:
  bool DialogKey(WPARAM key) override;
  HWND InitialFocus() const override { return btnOk ? btnOk->Handle() : nullptr; }

private:
  bool Build(HWND owner);
  void Free();
  void btnOkClick();
  void btnBrowseClick();

  TFontRecord FormFont;
  uint32_t Disk = 0;
  std::string ProgramPath, Chosen;
  std::unique_ptr<TVNImage> imgDisks;
  std::unique_ptr<TVNLabel> lblMsg, lblPath;
  std::unique_ptr<TVNEdit> txtPath;
  std::unique_ptr<TVNButton> btnBrowse, btnOk, btnCancel;
};

}  // namespace vnt
