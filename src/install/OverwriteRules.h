// Whether a packaged file replaces the one already on the disk: the overwrite modes, the
// replace questions, and the answers for all files that the user gave earlier.
#pragma once

#include <cstdint>
#include <optional>

#include "package/MessageIds.h"

namespace vnt {

// The message each question asks: the file exists; an older one exists; a newer one exists.
enum class TReplaceQuestion : uint8_t {
  Exists = MsgReplaceExisting,
  Older = MsgReplaceWithNewer,
  Newer = MsgReplaceWithOlder,
};

enum class TOverwriteStep : uint8_t { Install, Keep, Ask };
struct TOverwriteDecision {
  TOverwriteStep Step = TOverwriteStep::Install;
  TReplaceQuestion Question = TReplaceQuestion::Exists;  // with Ask
  bool operator==(const TOverwriteDecision&) const = default;
};

// A file's overwrite mode byte: when it replaces a file already there, and whether it is
// installed where none is.
enum TOverwriteMode : uint8_t {
  OverwriteAsk = 0,              // ask; No keeps the file, with one warning
  OverwriteAskMustReplace = 1,   // ask; No is refused
  OverwriteNever = 2,
  OverwriteExistingOnly = 3,     // replace an existing file, never install a new one
  OverwriteIfNewerVersion = 4,
  OverwriteIfNewerDate = 5,
  OverwriteAlways = 6,
  OverwriteAskExistingOnly = 7,  // ask about an existing file, never install a new one
  OverwriteAskByVersion = 8,     // replace an equal version, ask about an older or newer one
  OverwriteAskByDate = 9,
  OverwriteUnknown = 10,         // this and every higher byte: as OverwriteAskExistingOnly
};

// Order of the existing file against the packaged one: negative older, 0 equal, positive newer.
TOverwriteDecision DecideOverwrite(uint8_t mode, bool targetExists, int versionOrder, int dateOrder);

// Buttons of the replace question, as modal results.
enum class TReplaceAnswer : int { Yes = 6, YesToAll = 10, No = 7, NoToAll = 9, Cancel = 2 };

// Answers for all files, per question (0 ask, 1 replace all, 2 replace none), and whether the
// user was warned once about a skipped file.
struct TReplaceMemory {
  uint8_t Exists = 0, Older = 0, Newer = 0;
  bool SkipWarned = false;
};

// The answer an earlier "to all" gives, or nothing: ask. A "none" for the exists question
// does not skip a file that cannot be skipped or, before the warning, one asked about with
// OverwriteAsk.
std::optional<bool> RememberedReplace(const TReplaceMemory& memory, TReplaceQuestion question, uint8_t mode);

enum class TAnswerOutcome : uint8_t {
  Replace,
  Keep,
  KeepAndWarn,   // keep, and warn once that the product may not work (message 14)
  AskAgain,      // the file cannot be skipped (message 15), then the question again
  CloseWizard,   // the user cancels: the wizard's close query decides
};
// A replace question in a run without a person: an existing file that is newer than the
// packaged one stays, and every other is replaced (the product needs its own files, and a
// file that must be replaced is). The file replaced is moved aside until the run stands.
TReplaceAnswer UnattendedReplaceAnswer(TReplaceQuestion question, uint8_t mode);
// "Yes", "Yes to all", "No", "No to all" or "Cancel", for the log.
const char* ReplaceAnswerName(TReplaceAnswer answer);

// What an answer means, remembering a "to all".
TAnswerOutcome ReplaceAnswerOutcome(TReplaceMemory& memory, TReplaceQuestion question, uint8_t mode,
                                    TReplaceAnswer answer);

}  // namespace vnt
