// The script commands that read the PC's HotSync users: their count and a user's name.
#pragma once

#include <functional>
#include <vector>

#include "device/HotSyncUsers.h"
#include "script/ScriptContext.h"

namespace vnt {

// The user list as the HotSync module read it at start-up.
using THotSyncUserSource = std::function<const std::vector<THotSyncUser>&()>;

// GetHotSyncUserCount: F1 := the number of users.
// GetHotSyncUserName: F1 := the name of user number expand(F2), counting from 1; empty when
// there is no such user.
void RegisterHotSyncCommands(TScriptContext& context, THotSyncUserSource users);

// The name of user number position (from 1); empty outside the list.
std::string HotSyncUserNameAt(const std::vector<THotSyncUser>& users, int32_t position);

}  // namespace vnt
