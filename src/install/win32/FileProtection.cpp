#include "install/win32/FileProtection.h"

namespace vnt {

bool TFileProtection::Guards(const std::string& path) {
  if (!Loaded) {
    Loaded = true;
    // sfc.dll only forwards to sfc_os.dll where that exists, and a forwarded library would be
    // looked for the plain way: the check is taken from sfc_os.dll itself when it can be.
    Check = Own.emplace("sfc_os.dll").Proc<TCheck>("SfcIsFileProtected");
    if (!Check) Check = Older.emplace("sfc.dll").Proc<TCheck>("SfcIsFileProtected");
  }
  if (!Check) return false;
  int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  std::wstring wide(size_t(n > 0 ? n : 1), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n);
  return Check(nullptr, wide.c_str()) != FALSE;
}

}  // namespace vnt
