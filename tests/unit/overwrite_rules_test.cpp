#include <gtest/gtest.h>

#include "install/OverwriteRules.h"

using namespace vnt;

namespace {
using Q = TReplaceQuestion;
using A = TReplaceAnswer;
using O = TAnswerOutcome;
const TOverwriteDecision Install{TOverwriteStep::Install}, Keep{TOverwriteStep::Keep};
TOverwriteDecision Ask(Q q) { return {TOverwriteStep::Ask, q}; }
}  // namespace

TEST(OverwriteRules, EveryModeAgainstMissingOlderEqualAndNewerTargets) {
  // Per mode: missing, then existing older / equal / newer (by version for 4 and 8, by date for 5 and 9).
  struct TRow {
    uint8_t Mode;
    TOverwriteDecision Missing, Older, Equal, Newer;
  };
  const TRow rows[] = {
      {0, Install, Ask(Q::Exists), Ask(Q::Exists), Ask(Q::Exists)},
      {1, Install, Ask(Q::Exists), Ask(Q::Exists), Ask(Q::Exists)},
      {2, Install, Keep, Keep, Keep},
      {3, Keep, Install, Install, Install},
      {4, Install, Install, Keep, Keep},
      {5, Install, Install, Keep, Keep},
      {6, Install, Install, Install, Install},
      {7, Keep, Ask(Q::Exists), Ask(Q::Exists), Ask(Q::Exists)},
      {8, Install, Ask(Q::Older), Install, Ask(Q::Newer)},
      {9, Install, Ask(Q::Older), Install, Ask(Q::Newer)},
      {10, Keep, Ask(Q::Exists), Ask(Q::Exists), Ask(Q::Exists)},
      {255, Keep, Ask(Q::Exists), Ask(Q::Exists), Ask(Q::Exists)},
  };
  for (const TRow& r : rows) {
    SCOPED_TRACE(int(r.Mode));
    bool byDate = r.Mode == 5 || r.Mode == 9;
    auto at = [&](int order) { return DecideOverwrite(r.Mode, true, byDate ? 0 : order, byDate ? order : 0); };
    EXPECT_EQ(DecideOverwrite(r.Mode, false, 0, 0), r.Missing);
    EXPECT_EQ(at(-1), r.Older);
    EXPECT_EQ(at(0), r.Equal);
    EXPECT_EQ(at(1), r.Newer);
  }
  // The other measure does not count.
  EXPECT_EQ(DecideOverwrite(4, true, 0, -1), Keep);
  EXPECT_EQ(DecideOverwrite(9, true, -1, 1), Ask(Q::Newer));
}

TEST(OverwriteRules, AnswersToAllAreRememberedPerQuestion) {
  TReplaceMemory m;
  EXPECT_EQ(ReplaceAnswerOutcome(m, Q::Older, 8, A::YesToAll), O::Replace);
  EXPECT_EQ(RememberedReplace(m, Q::Older, 9), true);
  EXPECT_EQ(RememberedReplace(m, Q::Newer, 8), std::nullopt);  // other questions still ask
  EXPECT_EQ(RememberedReplace(m, Q::Exists, 0), std::nullopt);
  EXPECT_EQ(ReplaceAnswerOutcome(m, Q::Newer, 8, A::NoToAll), O::Keep);
  EXPECT_EQ(RememberedReplace(m, Q::Newer, 9), false);
  EXPECT_EQ(ReplaceAnswerOutcome(m, Q::Exists, 7, A::No), O::Keep);
  EXPECT_EQ(ReplaceAnswerOutcome(m, Q::Exists, 7, A::Cancel), O::CloseWizard);
}

TEST(OverwriteRules, FilesThatMustNotBeSkippedAreAskedAgain) {
  TReplaceMemory m;
  EXPECT_EQ(ReplaceAnswerOutcome(m, Q::Exists, 1, A::No), O::AskAgain);
  EXPECT_EQ(ReplaceAnswerOutcome(m, Q::Exists, 1, A::NoToAll), O::AskAgain);
  EXPECT_EQ(m.Exists, 2);
  EXPECT_EQ(RememberedReplace(m, Q::Exists, 1), std::nullopt);  // "none" never skips a mode 1 file
  EXPECT_EQ(RememberedReplace(m, Q::Exists, 0), std::nullopt);  // nor a mode 0 file before the warning
  EXPECT_EQ(RememberedReplace(m, Q::Exists, 7), false);
  EXPECT_EQ(ReplaceAnswerOutcome(m, Q::Exists, 0, A::No), O::KeepAndWarn);
  EXPECT_EQ(ReplaceAnswerOutcome(m, Q::Exists, 0, A::No), O::Keep);  // warned once only
  EXPECT_EQ(RememberedReplace(m, Q::Exists, 0), false);
}
