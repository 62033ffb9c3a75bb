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
constexpr char RecordChangedText[] =
    "The uninstall record of <product> was changed after installation and cannot be trusted. It is not used.\n\n<file>";
constexpr char RecordNotOwnText[] =
    "The uninstall record <file> belongs to <other>, not to <product>. It is not used.";
constexpr char RecordNotNamedText[] =
    "The uninstall record <file> is not the one the Add/Remove Programs entry of <product> names. It is not used.";
constexpr char NoRecordNameText[] = "Setup finds no free name for the uninstall record in <file>.";
constexpr char ScheduledText[] = "These items are in use and will be removed when Windows restarts:";

}  // namespace vnt
