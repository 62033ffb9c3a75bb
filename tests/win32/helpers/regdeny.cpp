// Test helper: takes every right on a key of the current user away, or gives them back, as
// a policy or another program may lock a key.
//   regdeny <subkey of HKEY_CURRENT_USER> deny|allow
#include <windows.h>
#include <sddl.h>

#include <cstring>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  bool deny = std::strcmp(argv[2], "deny") == 0;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, argv[1], 0, WRITE_DAC, &key) != ERROR_SUCCESS) return 1;
  const char* dacl = deny ? "D:(D;;KA;;;WD)" : "D:(A;;KA;;;WD)";
  PSECURITY_DESCRIPTOR sd = nullptr;
  bool done = ConvertStringSecurityDescriptorToSecurityDescriptorA(dacl, SDDL_REVISION_1, &sd, nullptr) &&
              RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
  LocalFree(sd);
  RegCloseKey(key);
  return done ? 0 : 1;
}
