#include "ui/win32/windows/AuxiliaryTexts.h"

#include "package/SetupStrings.h"
#include "setup/win32/SetupProgFuncs.h"
#include "ui/AuxiliaryRules.h"

namespace vnt {

namespace {

// A message expanded with its ampersands doubled, for labels that read them as mnemonics.
std::string CaptionMessage(TSetupState& state, int index) {
  if (!state.Vars) return GetMessage(state.Description, index, "");
  std::string language = state.Vars->ExpandText("%Language%");
  return state.Vars->ExpandText(GetMessage(state.Description, index, language), true);
}

std::string Expanded(TSetupState& state, const std::string& text, bool escapeAmpersands) {
  return state.Vars ? state.Vars->ExpandText(text, escapeAmpersands) : text;
}

}  // namespace

TNeedDiskTexts NeedDiskTexts(TSetupState& state, uint32_t disk) {
  TNeedDiskTexts texts;
  texts.Caption = Message(state, MsgNeedDiskCaption);
  texts.Message = WithDiskNumber(CaptionMessage(state, MsgNeedDisk), disk);
  texts.PathLabel = Message(state, MsgPath);
  texts.Browse = Message(state, MsgBrowse);
  texts.OK = Message(state, MsgOk);
  texts.Cancel = Message(state, MsgCancel);
  texts.NotFound = WithDiskNumber(Message(state, MsgDiskNotFound), disk);
  texts.MessageCaption = state.ApplicationTitle;
  texts.DirectorySel = DirectorySelTexts(state);
  return texts;
}

TDirectorySelTexts DirectorySelTexts(TSetupState& state) {
  TDirectorySelTexts texts;
  texts.Caption = Message(state, MsgDirectorySelection);
  texts.Directory = Message(state, MsgDirectory);
  texts.Directories = Message(state, MsgDirectories);
  texts.Drives = Message(state, MsgDrives);
  texts.OK = Message(state, MsgOk);
  texts.Cancel = Message(state, MsgCancel);
  texts.MessageCaption = state.ApplicationTitle;
  return texts;
}

TMsgBoxFilesTexts MsgBoxFilesTexts(TSetupState& state, int question, const std::string& fileName) {
  TMsgBoxFilesTexts texts;
  texts.Caption = state.ApplicationTitle;
  texts.Message = ReplacePlaceholder(Message(state, question), "<file>", fileName);
  texts.Yes = Message(state, MsgYes);
  texts.YesToAll = Message(state, MsgYesToAll);
  texts.No = Message(state, MsgNo);
  texts.NoToAll = Message(state, MsgNoToAll);
  texts.Cancel = Message(state, MsgCancel);
  texts.Existent = Message(state, MsgExistentFile);
  texts.Destination = Message(state, MsgDestinationFile);
  return texts;
}

TCopyingFilesTexts CopyingFilesTexts(TSetupState& state) { return {state.ApplicationTitle, Message(state, MsgCancel)}; }

TStartCEConnectionTexts StartCEConnectionTexts(TSetupState& state) {
  TStartCEConnectionTexts texts;
  texts.Caption = Expanded(state, "%SoftwareName%", false);
  texts.Message = Expanded(state, state.Description.DeviceConnectionMessage, true);
  if (!state.Package.Option(OptOwnFonts)) texts.Font = state.Description.Properties.SetupFont;
  return texts;
}

}  // namespace vnt
