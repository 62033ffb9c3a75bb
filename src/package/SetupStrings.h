// Message tables: the default English texts and the choice of the current table.
#pragma once

#include <string>

#include "package/MessageIds.h"
#include "package/SetupDescription.h"

// <windows.h> maps GetMessage to its message-loop call; here it reads the message table.
// Win32 code includes this header after <windows.h> and calls GetMessageA for the loop.
#ifdef GetMessage
#undef GetMessage
#endif

namespace vnt {

constexpr const char* DefaultApplicationTitle = "Vantry Setup";
// The uninstaller in the Windows folder that the Add/Remove Programs entries run.
constexpr const char* UninstallerProgramName = "vntuninst.exe";
constexpr const char* FatalOpenMessage =
    "ERROR: internal setup error, please contact the technical support.";
constexpr const char* FatalCorruptMessage =
    "ERROR: corrupted setup data, please try to download this software again or contact the "
    "development company.";
// Ours: the system's own text for exhausted memory means nothing to a user.
constexpr const char* OutOfMemoryMessage =
    "Setup ran out of memory and cannot go on. Close other programs and start the setup again.";

const TSetupMessages& DefaultMessages();

// The table for the expanded value of %Language%: the language of that name (ignoring case),
// else the first default language, else the first language; the single table when there are
// no languages.
const TSetupMessage& CurrentMessageTable(const TSetupDescription& desc, const std::string& language);
// Entry index of the current table, not yet expanded; empty for an index out of range.
const std::string& GetMessage(const TSetupDescription& desc, int index, const std::string& language);

bool SameTextIgnoringCase(const std::string& a, const std::string& b);

// The text with every placeholder ("<disk>", "<file>") replaced by the value, as plain text.
std::string ReplacePlaceholder(std::string text, const std::string& placeholder, const std::string& value);

}  // namespace vnt
