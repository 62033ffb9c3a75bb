#include "install/OverwriteRules.h"

namespace vnt {

namespace {

constexpr TOverwriteDecision Install{TOverwriteStep::Install};
constexpr TOverwriteDecision Keep{TOverwriteStep::Keep};
constexpr TOverwriteDecision Ask(TReplaceQuestion q) { return {TOverwriteStep::Ask, q}; }

// Modes 8 and 9: an older file is asked about as such, an equal one replaced, a newer asked.
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
  bool onlyOverExisting = mode == 3 || mode == 7 || mode >= 10;
  if (!targetExists) return onlyOverExisting ? Keep : Install;
  switch (mode) {
    case 2: return Keep;
    case 3:
    case 6: return Install;
    case 4: return versionOrder < 0 ? Install : Keep;
    case 5: return dateOrder < 0 ? Install : Keep;
    case 8: return ByOrder(versionOrder);
    case 9: return ByOrder(dateOrder);
    default: return Ask(TReplaceQuestion::Exists);  // 0, 1, 7, 10 and above
  }
}

std::optional<bool> RememberedReplace(const TReplaceMemory& memory, TReplaceQuestion question, uint8_t mode) {
  uint8_t remembered = Remembered(memory, question);
  if (remembered == 1) return true;
  if (remembered != 2) return std::nullopt;
  if (question == TReplaceQuestion::Exists && (mode == 1 || (mode == 0 && !memory.SkipWarned))) return std::nullopt;
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
  if (mode == 1) return TAnswerOutcome::AskAgain;
  if (mode == 0 && !memory.SkipWarned) {
    memory.SkipWarned = true;
    return TAnswerOutcome::KeepAndWarn;
  }
  return TAnswerOutcome::Keep;
}

}  // namespace vnt
