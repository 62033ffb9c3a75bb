#include "install/win32/RollbackSystem.h"

#include <windows.h>

#include "archive/VolumeNames.h"
#include "install/InstallRules.h"
#include "install/win32/Registrations.h"
#include "install/win32/RemovalSystem.h"
#include "platform/win32/RegistryKeys.h"
#include "platform/win32/RegistryText.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MoveBack(const std::string& aside, const std::string& path) {
  if (!Exists(aside)) return;  // never moved, or already back
  if (MoveFileExA(aside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return;
  // The file's folder stood before the run: when it went too, it comes back with the file.
  ForceFolder(FolderPart(path));
  DeleteFileForce(path);
  MoveFileExA(aside.c_str(), path.c_str(), 0);
}

void RestoreValue(const TJournalEntry& e, const TRemovalSystem& removal) {
  HKEY root = RootKey(e.Root);
  if (!root) return;
  if (e.Existed) {
    TRegKeyHandle key = OpenKey(root, e.Key, KEY_SET_VALUE, true);
    if (key)
      RegSetValueExA(key.Get(), e.Name.c_str(), 0, e.Type, reinterpret_cast<const BYTE*>(e.Data.data()),
                     DWORD(e.Data.size()));
    return;
  }
  {
    TRegKeyHandle key = OpenKey(root, e.Key, KEY_SET_VALUE);
    if (!key) return;
    RegDeleteValueA(key.Get(), e.Name.c_str());
  }
  for (const std::string& k : KeyAndParents(e.Key))
    if (!IsSharedSystemKey(k)) removal.DeleteKeyIfEmpty(e.Root, k);
}

void Register(TRegistration op, const TUninstItem& item, const std::string& fontsFolder) {
  switch (op) {
    case TRegistration::SharedCount: AddSharedCount(item.Path); break;
    case TRegistration::TypeLibrary: RegisterTypeLibrary(item.Path); break;
    case TRegistration::Server: RegisterServer(item.Path); break;
    case TRegistration::Font: RegisterFont(item.File->FontFaceName, item.Path, fontsFolder); break;
  }
}

}  // namespace

TRollbackSystem MachineRollbackSystem(const std::string& fontsFolder,
                                      std::function<void(size_t done, size_t total)> progress,
                                      std::function<void()> dropJournal) {
  TRollbackSystem s;
  s.Removal = MachineRemovalSystem(nullptr, [progress](size_t done, size_t total) {
    if (progress) progress(done, total);
    return true;
  });
  s.DeleteIfThere = [](const std::string& path) { DeleteFileForce(path); };
  s.MoveBack = MoveBack;
  s.RestoreValue = [removal = s.Removal](const TJournalEntry& e) { RestoreValue(e, removal); };
  s.Register = [fontsFolder](TRegistration op, const TUninstItem& item) { Register(op, item, fontsFolder); };
  s.MakeFolder = [](const std::string& folder) { CreateDirectoryA(folder.c_str(), nullptr); };
  s.DropJournal = std::move(dropJournal);
  return s;
}

}  // namespace vnt
