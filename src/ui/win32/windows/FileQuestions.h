// The questions the installation and a removal ask about single files, in the file replace
// question window, answered as the installation's answers.
#pragma once

#include <string>

#include "install/win32/VantryInstall.h"

namespace vnt {

// Whether to replace an existing file: the packaged file's size and date beside the
// existing one's, with Cancel.
TReplaceAnswer AskReplaceFile(TSetupState& state, HWND owner, const TReplaceQuery& query);
// Whether to delete a shared file, a type library or a server: no Cancel, a removal half
// done being worse than one finished.
TReplaceAnswer AskRemoveFile(TSetupState& state, HWND owner, const std::string& text, const std::string& path);

}  // namespace vnt
