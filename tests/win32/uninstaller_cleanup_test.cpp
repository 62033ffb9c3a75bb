// The copy that deletes the shared uninstaller once the last removal has ended leaves it to
// a product set up in the meantime.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <thread>

#include "Win32Fixtures.h"
#include "app/UninstallerCleanup.h"
#include "install/win32/Registrations.h"

using namespace vnt;
using namespace vnt::test;

namespace {

// The deleting copy's run against an event that stands for the ending uninstaller; during
// the wait, meanwhile() does what a setup would.
int DeleteAfter(const std::string& path, const std::function<void()>& meanwhile) {
  HANDLE ended = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  int result = -1;
  std::thread copy([&] { result = RunDeleteAfter(std::to_string(reinterpret_cast<uintptr_t>(ended)) + ":" + path); });
  Sleep(200);
  meanwhile();
  SetEvent(ended);
  copy.join();
  return result;
}

}  // namespace

TEST(UninstallerCleanup, DeletesTheUninstallerUnlessAProductTookItOver) {
  TTempFolder dir;
  const std::string path = dir.Path + "\\vntuninst.exe";
  WriteBytes(path, "MZ the last removal's");
  EXPECT_EQ(DeleteAfter(path, [] {}), 0);
  EXPECT_FALSE(Exists(path)) << "nobody uses it any more";

  WriteBytes(path, "MZ the last removal's");
  EXPECT_EQ(DeleteAfter(path, [&] { ASSERT_TRUE(AddSharedCount(path)); }), 0);
  EXPECT_EQ(ReadBytes(path), "MZ the last removal's") << "a new product counted itself as its user";
  ReleaseSharedCount(path);
  // A copy written anew is told by its file index, which NTFS does not hand out again at
  // once; Wine on Linux reuses the inode of a file just deleted, so that case is not run here.
}
