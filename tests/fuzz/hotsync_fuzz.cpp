// libFuzzer target: bytes as the HotSync users file. Promises: nothing is raised, no more
// users than the file's count, names and folders within their limit, and each user found
// by name at or before its own place.
#include "device/HotSyncUsers.h"

using namespace vnt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<THotSyncUser> users = ParseHotSyncUsers(bytes);
  if (users.size() > (size ? data[0] : 0u)) __builtin_trap();
  for (size_t k = 0; k < users.size(); ++k) {
    if (users[k].Name.size() > MaxHotSyncNameLength || users[k].Folder.size() > MaxHotSyncNameLength)
      __builtin_trap();
    int found = FindHotSyncUser(users, users[k].Name);
    if (found < 0 || size_t(found) > k) __builtin_trap();
  }
  return 0;
}
