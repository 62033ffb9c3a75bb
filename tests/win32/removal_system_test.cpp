// Registrations and removal on the real file system and registry: shared counts in their
// stored forms, and a whole product taken away with what it recorded.
#include <gtest/gtest.h>
#include <windows.h>

#include "Win32Fixtures.h"
#include "install/win32/Registrations.h"
#include "install/win32/RemovalSystem.h"
#include "package/SetupStrings.h"

using namespace vnt;
using namespace vnt::test;

namespace {

std::string CountBytes(const std::string& name, DWORD& type) {
  HKEY key;
  std::string bytes(16, '\0');
  DWORD size = DWORD(bytes.size());
  type = REG_NONE;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SharedDllsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "";
  LONG got = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
  RegCloseKey(key);
  if (got != ERROR_SUCCESS) return "missing";
  bytes.resize(size);
  return bytes;
}

void SetCount(const std::string& name, DWORD type, const std::string& bytes) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, SharedDllsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()), DWORD(bytes.size()));
  RegCloseKey(key);
}

}  // namespace

TEST(Registrations, SharedCountsGoUpAndDownInTheirStoredForm) {
  std::string base = "C:\\vnt-test\\" + UniqueName("shared");
  DWORD type = 0;
  ASSERT_TRUE(AddSharedCount(base + "new.dll"));
  EXPECT_EQ(CountBytes(base + "new.dll", type), std::string("\1\0\0\0", 4));
  EXPECT_EQ(type, DWORD(REG_DWORD));
  ReleaseSharedCount(base + "new.dll");
  EXPECT_EQ(CountBytes(base + "new.dll", type), "missing");  // gone at zero

  SetCount(base + "text.dll", REG_SZ, std::string("7\0", 2));
  AddSharedCount(base + "text.dll");
  EXPECT_EQ(CountBytes(base + "text.dll", type), std::string("8\0", 2));
  EXPECT_EQ(type, DWORD(REG_SZ));
  SetCount(base + "bin.dll", REG_BINARY, std::string("\x05", 1));
  ReleaseSharedCount(base + "bin.dll");
  EXPECT_EQ(CountBytes(base + "bin.dll", type), std::string("\x04", 1));
  SetCount(base + "odd.dll", REG_SZ, "many");
  ReleaseSharedCount(base + "odd.dll");  // unreadable: taken as 2
  EXPECT_EQ(CountBytes(base + "odd.dll", type), std::string("\1\0\0\0", 4));
  for (const char* name : {"text.dll", "bin.dll", "odd.dll"}) {
    ReleaseSharedCount(base + name);
    while (CountBytes(base + name, type) != "missing") ReleaseSharedCount(base + name);
  }
}

TEST(Registrations, AMissingServerIsAFailure) {
  EXPECT_FALSE(RegisterServer("C:\\no such folder\\none.dll"));
  EXPECT_FALSE(RegisterServer(std::string(getenv("WINDIR") ? getenv("WINDIR") : "C:\\windows") + "\\notepad.exe"));
  EXPECT_FALSE(RegisterTypeLibrary("C:\\no such folder\\none.tlb"));
}

TEST(RemovalSystem, AWholeProductLeavesNothingOfItsOwn) {
  TTempFolder root;
  std::string app = root / "App", docs = app + "\\Docs";
  CreateDirectoryA(app.c_str(), nullptr);
  CreateDirectoryA(docs.c_str(), nullptr);
  WriteBytes(app + "\\app.exe", "MZ");
  WriteBytes(docs + "\\guide.txt", "read me");
  SetFileAttributesA((docs + "\\guide.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  TTestKey key;
  key.SetText("App", "Version", "1.0");
  key.SetText("App\\Sub", "Path", "x");
  key.SetText("", "Other", "stays");

  auto file = [](const std::string& path) {
    TUninstItem i;
    i.Path = path;
    return i;
  };
  auto folder = [](const std::string& path) {
    TUninstItem i;
    i.Kind = UninstFolder;
    i.Path = path;
    return i;
  };
  auto value = [&](const std::string& sub, const std::string& name) {
    TUninstItem i;
    i.Kind = UninstRegValue;
    TSetupRegChange& r = i.RegChange.Edit();
    r.Root = 1;
    r.Key = key.Sub(sub);
    r.ValueName = name;
    return i;
  };
  std::vector<TUninstItem> items = {folder(app), folder(docs), file(app + "\\app.exe"), file(docs + "\\guide.txt"),
                                    value("App", "Version"), value("App\\Sub", "Path")};
  size_t reports = 0;
  TRemovalRequest request;
  request.WholeProduct = true;
  request.Texts = UninstallerMessages(DefaultMessages());
  TRemovalResult result = RemoveInstalledItems(
      items, request, MachineRemovalSystem(nullptr, [&](size_t, size_t) { return ++reports > 0; }));
  EXPECT_TRUE(result.Completed);
  EXPECT_TRUE(result.NotRemoved.empty());
  EXPECT_FALSE(Exists(app));
  HKEY left;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, key.Sub("App").c_str(), 0, KEY_READ, &left), ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key.Path.c_str(), 0, KEY_READ, &left), ERROR_SUCCESS);  // not empty
  RegCloseKey(left);
  EXPECT_EQ(reports, 1 + 2 + 2 + 2 + 1u);  // start, files, folders, values, end
}

// What the delete itself answers decides: a file held open stays and is listed with its
// folder, a file already gone counts as removed.
TEST(RemovalSystem, AFileHeldOpenIsListedAndAMissingOneIsGone) {
  TTempFolder root;
  std::string app = root / "Held";
  CreateDirectoryA(app.c_str(), nullptr);
  std::string held = app + "\\held.dll";
  WriteBytes(held, "MZ");
  HANDLE open = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(open, INVALID_HANDLE_VALUE);
  std::vector<TUninstItem> items = {{UninstFolder, app, {}, {}},
                                    {UninstFile, held, {}, {}},
                                    {UninstFile, app + "\\never-there.txt", {}, {}}};
  TRemovalRequest request;
  request.WholeProduct = true;
  request.DropFromItems = true;
  TRemovalResult result = RemoveInstalledItems(items, request, MachineRemovalSystem(nullptr, nullptr));
  CloseHandle(open);
  EXPECT_EQ(result.NotRemoved, (std::vector<std::string>{held, app + "\\"}));
  ASSERT_EQ(items.size(), 2u);  // what stays can be tried again
  EXPECT_EQ(items[0].Path, app);
  EXPECT_EQ(items[1].Path, held);
  EXPECT_TRUE(Exists(held));
}
