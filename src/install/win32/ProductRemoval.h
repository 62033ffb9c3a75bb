// The removal of a whole installed product from its uninstall record, shared by the
// uninstaller and the script command that removes a product.
#pragma once

#include <functional>
#include <string>

#include "install/RemoveItems.h"
#include "package/SetupVariables.h"

namespace vnt {

struct TProductRemovalPrompts {
  // A question about a shared file, a type library or a server.
  std::function<TReplaceAnswer(const std::string& text, const std::string& path)> Ask;
  // Items done of all; false stops.
  std::function<bool(size_t done, size_t total)> Progress;
};

// Takes away every item of the record. The questions come from the record's texts, expanded
// with vars; conduitLabel is the current table's "Conduit:".
TRemovalResult RemoveProduct(TUninstallRecord& record, TSetupVariables& vars, const std::string& conduitLabel,
                             TProductRemovalPrompts prompts);

}  // namespace vnt
