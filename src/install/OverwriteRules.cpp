#include "install/OverwriteRules.h"

namespace vnt {

namespace {

constexpr TOverwriteDecision Install{TOverwriteStep::Install};
constexpr TOverwriteDecision Keep{TOverwriteStep::Keep};
constexpr TOverwriteDecision Ask(TReplaceQuestion q) { return {TOverwriteStep::Ask, q}; }

// Asking by version or date: an older file is asked about as such, an equal one replaced, a newer asked.
TOverwriteDecision ByOrder(int order) {
  if (order < 0) return Ask(TReplaceQuestion::Older);
  if (order == 0) return Install;
  return Ask(TReplaceQuestion::Newer);
}

template <class M>
auto& Remembered(M& m, TReplaceQuestion q) {
  return q == TReplaceQuestion::Exists ? m.Exists : q == TReplaceQuestion::Older ? m.Older : m.Newer;
}

}  // namespace

TOverwriteDecision DecideOverwrite(uint8_t mode, bool targetExists, int versionOrder, int dateOrder) {
  bool onlyOverExisting = mode == OverwriteExistingOnly || mode == OverwriteAskExistingOnly || mode >= OverwriteUnknown;
  if (!targetExists) return onlyOverExisting ? Keep : Install;
  switch (mode) {
    case OverwriteNever: return Keep;
    case OverwriteExistingOnly:
    case OverwriteAlways: return Install;
    case OverwriteIfNewerVersion: return versionOrder < 0 ? Install : Keep;
    case OverwriteIfNewerDate: return dateOrder < 0 ? Install : Keep;
    case OverwriteAskByVersion: return ByOrder(versionOrder);
    case OverwriteAskByDate: return ByOrder(dateOrder);
    default: return Ask(TReplaceQuestion::Exists);  // the asking modes and the unknown ones
  }
}

std::optional<bool> RememberedReplace(const TReplaceMemory& memory, TReplaceQuestion question, uint8_t mode) {
  uint8_t remembered = Remembered(memory, question);
  if (remembered == 1) return true;
  if (remembered != 2) return std::nullopt;
  if (question == TReplaceQuestion::Exists &&
      (mode == OverwriteAskMustReplace || (mode == OverwriteAsk && !memory.SkipWarned)))
    return std::nullopt;
  return false;
}

TAnswerOutcome ReplaceAnswerOutcome(TReplaceMemory& memory, TReplaceQuestion question, uint8_t mode,
                                    TReplaceAnswer answer) {
  switch (answer) {
    case TReplaceAnswer::YesToAll: Remembered(memory, question) = 1; [[fallthrough]];
    case TReplaceAnswer::Yes: return TAnswerOutcome::Replace;
    case TReplaceAnswer::Cancel: return TAnswerOutcome::CloseWizard;
    case TReplaceAnswer::NoToAll: Remembered(memory, question) = 2; break;
    case TReplaceAnswer::No: break;
  }
  if (question != TReplaceQuestion::Exists) return TAnswerOutcome::Keep;
  if (mode == OverwriteAskMustReplace) return TAnswerOutcome::AskAgain;
  if (mode == OverwriteAsk && !memory.SkipWarned) {
    memory.SkipWarned = true;
    return TAnswerOutcome::KeepAndWarn;
  }
  return TAnswerOutcome::Keep;
}

TReplaceAnswer UnattendedReplaceAnswer(TReplaceQuestion question, uint8_t mode) {
  if (mode == OverwriteAskMustReplace) return TReplaceAnswer::Yes;
  return question == TReplaceQuestion::Newer ? TReplaceAnswer::No : TReplaceAnswer::Yes;
}

const char* ReplaceAnswerName(TReplaceAnswer answer) {
  switch (answer) {
    case TReplaceAnswer::Yes: return "Yes";
    case TReplaceAnswer::YesToAll: return "Yes to all";
    case TReplaceAnswer::No: return "No";
    case TReplaceAnswer::NoToAll: return "No to all";
    case TReplaceAnswer::Cancel: return "Cancel";
  }
  return "?";
}

}  // namespace vnt
