#include "install/win32/ProductRemoval.h"

#include "install/win32/RemovalSystem.h"
#include "package/SetupStrings.h"

namespace vnt {

TRemovalResult RemoveProduct(TUninstallRecord& record, TSetupVariables& vars, const std::string& conduitLabel,
                             TProductRemovalPrompts prompts) {
  TRemovalRequest request;
  request.Removed = record.InstalledComponents;
  request.WholeProduct = true;
  request.Texts = record.Messages;
  request.ConduitLabel = conduitLabel;
  auto ask = [&](int position, const std::string& path) {
    std::string text = ReplacePlaceholder(vars.ExpandText(record.Messages[size_t(position - 1)]), "<file>", path);
    return prompts.Ask ? prompts.Ask(text, path) : TReplaceAnswer::No;
  };
  return RemoveInstalledItems(record.Items, request, MachineRemovalSystem(ask, prompts.Progress));
}

}  // namespace vnt
