// The installation's own texts, for what the package's message table has no entry for. They
// are expanded like messages, so "%SoftwareName%" names the product.
#pragma once

namespace vnt {

constexpr char RollingBackText[] = "Rolling back...";
constexpr char InterruptedRunText[] =
    "The last setup of <product> on this computer did not finish. Everything it had changed has been undone.";
constexpr char JournalErrorText[] = "Setup cannot write its journal <file>.";
constexpr char RestartQuestionText[] =
    "Windows must be restarted to finish the installation of %SoftwareName%. Do you want to restart Windows now?";
constexpr char RollbackLeftText[] = "These items could not be put back as they were:";

}  // namespace vnt
