// The removal of a whole installed product from its uninstall record, shared by the
// uninstaller and the script command that removes a product. Nothing is forgotten: what is
// in use goes when Windows next starts, and what can neither go now nor then stays in the
// record, written anew, with the Add/Remove Programs entry, so that a later removal finds it.
// The record and the entry go last, and only when nothing else of the product is left.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "install/RemoveItems.h"
#include "install/win32/RecordFiles.h"
#include "package/SetupVariables.h"

namespace vnt {

struct TProductRemovalPrompts {
  // A question about a shared file, a type library or a server.
  std::function<TReplaceAnswer(const std::string& text, const std::string& path)> Ask;
  // Items done of all; false stops.
  std::function<bool(size_t done, size_t total)> Progress;
  // The uninstaller program the removal runs in, if it runs in one.
  std::string RunningUninstaller;
};

struct TProductRemoval {
  bool Completed = false;  // false when stopped through the progress
  std::vector<std::string> NotRemoved;
  std::vector<std::string> Scheduled;  // go when Windows next starts
  std::vector<std::string> Kept;       // left on purpose: other products use them, or the user keeps them
  bool ProductLeft = false;
  // The running uninstaller, once the last product that used it is gone: deleted by its
  // caller when it has ended.
  std::string UninstallerToDelete;            // the record, written anew, and the entry stay
};

// Takes away every item of the record at recordPath, which belongs to entry. The questions
// come from the record's texts, expanded with vars; conduitLabel is the current table's
// "Conduit:". Files and folders that other products' records in the same folder name stay.
TProductRemoval RemoveProduct(TUninstallRecord& record, const std::string& recordPath, const TProductEntry& entry,
                              TSetupVariables& vars, const std::string& conduitLabel, TProductRemovalPrompts prompts);

}  // namespace vnt
