#include "ui/win32/windows/FileQuestions.h"

#include "package/MessageIds.h"
#include "package/SetupQueries.h"
#include "platform/win32/ModalLoop.h"
#include "ui/win32/windows/AuxiliaryTexts.h"

namespace vnt {

namespace {

TReplaceAnswer AnswerOf(int result) {
  switch (result) {
    case ModalYes: return TReplaceAnswer::Yes;
    case ModalYesToAll: return TReplaceAnswer::YesToAll;
    case ModalNoToAll: return TReplaceAnswer::NoToAll;
    case ModalCancel: return TReplaceAnswer::Cancel;
    default: return TReplaceAnswer::No;
  }
}

SYSTEMTIME DosTime(uint32_t dosDateTime) {
  FILETIME local{}, utc{};
  SYSTEMTIME time{};
  DosDateTimeToFileTime(WORD(dosDateTime >> 16), WORD(dosDateTime & 0xFFFF), &local);
  LocalFileTimeToFileTime(&local, &utc);
  FileTimeToSystemTime(&utc, &time);
  return time;
}

}  // namespace

TReplaceAnswer AskReplaceFile(TSetupState& state, HWND owner, const TReplaceQuery& query) {
  MessageBeep(MB_OK);
  TfrmMsgBoxFiles box;
  box.Texts = MsgBoxFilesTexts(state, int(query.Question), FileNamePart(query.OutputPath));
  box.Texts.Message = query.Text;
  TReplaceFileInfo packaged{query.PackagedSize, DosTime(query.PackagedDosDateTime)};
  return AnswerOf(box.Execute(owner, ReplaceTwoFiles, query.OutputPath, packaged));
}

TReplaceAnswer AskRemoveFile(TSetupState& state, HWND owner, const std::string& text, const std::string& path) {
  TfrmMsgBoxFiles box;
  box.Texts = MsgBoxFilesTexts(state, MsgSharedQuestion, FileNamePart(path));
  box.Texts.Message = text;
  return AnswerOf(box.ExecuteWithoutCancel(owner, path));
}

}  // namespace vnt
