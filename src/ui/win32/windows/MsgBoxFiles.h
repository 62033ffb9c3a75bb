// TfrmMsgBoxFiles: the modal question whether an existing file is replaced, showing the
// existing file (and the new one) with the icon of its type, size, date and time.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/win32/ModalLoop.h"
#include "ui/AuxiliaryRules.h"
#include "ui/win32/windows/FixedForms.h"

namespace vnt {

struct TMsgBoxFilesTexts {
  std::string Caption, Message;
  std::string Yes, YesToAll, No, NoToAll, Cancel;
  std::string Existent;     // lblExistent, over the existing file
  std::string Destination;  // lblDestination, over the new file
};

// Size and local date and time of the file that would replace the existing one.
struct TReplaceFileInfo {
  uint64_t Size = 0;
  SYSTEMTIME Time{};
};

class TfrmMsgBoxFiles : public TModalForm {
public:
  TfrmMsgBoxFiles();
  ~TfrmMsgBoxFiles() override;

  TMsgBoxFilesTexts Texts;

  // Asks over owner in a mode of TReplaceMode (the new file's line needs newFile). Answers
  // ModalYes, ModalYesToAll, ModalNo, ModalNoToAll or ModalCancel.
  int Execute(HWND owner, int mode, const std::string& existingFile, const std::optional<TReplaceFileInfo>& newFile);
  // The variant without Cancel, showing the existing file: closing it answers ModalNo.
  int ExecuteWithoutCancel(HWND owner, const std::string& existingFile);

  // Tahoma 8: the layout is drawn for an 8-point face, which larger message fonts would clip.
  static TFontRecord DefaultFont() { return {"Tahoma", 8, int32_t(0x80000008), 0, 1}; }

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool DialogKey(WPARAM key) override;
  HWND InitialFocus() const override { return btnNo ? btnNo->Handle() : nullptr; }

private:
  int Run(HWND owner, int mode, bool withCancel, const std::string& existingFile,
          const std::optional<TReplaceFileInfo>& newFile);
  bool Build(HWND owner);
  void Arrange(const TReplaceLayout& layout);
  void Free();

  TFontRecord FormFont = DefaultFont();
  bool WithCancel = true;
  HICON FileIcon = nullptr;
  std::unique_ptr<TIconPicture> imgInfo, imgFile1, imgFile2;
  std::unique_ptr<TVNLabel> lblMsg, lblExistent, lblFile1, lblDestination, lblFile2;
  std::unique_ptr<TVNButton> btnYes, btnYesToAll, btnNo, btnNoToAll, btnCancel;
};

}  // namespace vnt
