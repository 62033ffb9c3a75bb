#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>

#include "../fuzz/ArchiveTestKit.h"
#include "Win32Fixtures.h"
#include "archive/ArchiveWriter.h"
#include "archive/win32/ArchiveFiles.h"

using namespace vnt;
using namespace vnt::test;

namespace {

// A folder of its own under the temporary folder, removed with everything in it.
struct TTempFolder {
  std::string Path;
  TTempFolder() {
    static int n = 0;
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    Path = std::string(dir) + "vnt_archive_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++n);
    CreateDirectoryA(Path.c_str(), nullptr);
  }
  ~TTempFolder() { Remove(Path); }
  static void Remove(const std::string& folder) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        std::string name = fd.cFileName, full = folder + "\\" + name;
        if (name == "." || name == "..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Remove(full);
        else {
          SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileA(full.c_str());
        }
      } while (FindNextFileA(h, &fd));
      FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
  }
  std::string operator/(const std::string& name) const { return Path + "\\" + name; }
};

uint32_t DosStamp(int year, int month, int day, int hour, int minute, int second) {
  return uint32_t((year - 1980) << 25 | month << 21 | day << 16 | hour << 11 | minute << 5 | second / 2);
}

uint32_t FileDosStamp(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  FILETIME write{}, local{};
  WORD date = 0, time = 0;
  if (h != INVALID_HANDLE_VALUE) {
    GetFileTime(h, nullptr, nullptr, &write);
    CloseHandle(h);
  }
  FileTimeToLocalFileTime(&write, &local);
  FileTimeToDosDateTime(&local, &date, &time);
  return uint32_t(date) << 16 | time;
}

// A reader on real files: member id goes to <folder>\<id>.bin.
struct TFileRestore {
  TTempFolder Folder;
  TWin32ArchiveFileSystem Fs;
  TSetupVNTZip Zip{Fs};
  TFileRestore() {
    Zip.OnRestoreFile = [this](int32_t id, std::string& name, int32_t&, uint32_t, bool&) { name = Target(id); };
  }
  std::string Target(int32_t id) const { return Folder / (std::to_string(id) + ".bin"); }
  bool Restore(const std::string& archive) {
    TMemoryStream s(archive);
    return Zip.RestoreFromStream(s, Folder.Path + "\\");
  }
};

}  // namespace

TEST(ArchiveWin32, ReadOnlyTargetIsReplacedAndNestedFoldersAreMade) {
  TFileRestore r;
  WriteBytes(r.Target(0), "old contents");
  ASSERT_TRUE(SetFileAttributesA(r.Target(0).c_str(), FILE_ATTRIBUTE_READONLY));
  std::string deep = r.Folder / "a\\b\\c\\deep.txt";
  r.Zip.OnRestoreFile = [&](int32_t id, std::string& name, int32_t&, uint32_t, bool&) {
    name = id == 0 ? r.Target(0) : deep;
  };
  std::string data = MixedBytes(300000, 1);
  EXPECT_TRUE(r.Restore(WriteArchive("", {{0, 0, data}, {1, 0, "deep"}})));
  EXPECT_TRUE(ReadBytes(r.Target(0)) == data);
  EXPECT_FALSE(GetFileAttributesA(r.Target(0).c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(ReadBytes(deep), "deep");
  EXPECT_EQ(r.Zip.RestoredCount, 2);
}

TEST(ArchiveWin32, TargetHeldOpenIsReportedAndTheNextMemberStillRestored) {
  TFileRestore r;
  WriteBytes(r.Target(0), "in use");
  HANDLE held = CreateFileA(r.Target(0).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::vector<std::string> refused;
  r.Zip.OnCannotReplace = [&](int32_t, std::string& name) { refused.push_back(name); };
  EXPECT_TRUE(r.Restore(WriteArchive("", {{0, 0, "new"}, {1, 0, "next"}})));
  CloseHandle(held);
  EXPECT_EQ(refused, std::vector<std::string>{r.Target(0)});
  EXPECT_EQ(ReadBytes(r.Target(0)), "in use");
  EXPECT_EQ(ReadBytes(r.Target(1)), "next");
  EXPECT_EQ(r.Zip.ErrorCode, 0u);
}

TEST(ArchiveWin32, OutputCarriesTheMembersDateAndTime) {
  TFileRestore r;
  uint32_t stamp = DosStamp(2003, 5, 17, 13, 45, 20), winter = DosStamp(1999, 12, 31, 23, 59, 58);
  EXPECT_TRUE(r.Restore(WriteArchive("", {{0, stamp, MixedBytes(100000, 2)}, {1, winter, ""}})));
  EXPECT_EQ(FileDosStamp(r.Target(0)), stamp);
  EXPECT_EQ(FileDosStamp(r.Target(1)), winter);
}

TEST(ArchiveWin32, RestoresAcrossRealVolumeFilesOpeningTheFirstOne) {
  TFileRestore r;
  std::vector<TArchiveMember> members{{0, DosStamp(2004, 1, 2, 3, 4, 6), MixedBytes(500000, 3)},
                                      {1, DosStamp(2004, 1, 2, 3, 4, 8), RandomBytes(120000, 4)}};
  std::vector<std::string> volumes = WriteArchiveVolumes("", members, 150 * 1024);
  ASSERT_GE(volumes.size(), 3u);
  for (size_t i = 0; i < volumes.size(); ++i)
    WriteBytes(r.Folder / ("setup." + VolumeExtension(uint32_t(i + 1))), volumes[i]);
  std::string current = r.Folder / "setup.001";
  bool othersCouldWrite = false;
  r.Zip.OnNeedVolume = [&](uint16_t v, std::string& name, bool&) {
    name = r.Folder / "setup.exe";
    current = r.Folder / ("setup." + VolumeExtension(v));
  };
  r.Zip.OnProgress = [&](int32_t id, int32_t, bool&) {
    if (id < 0) return;
    HANDLE w = CreateFileA(current.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (w != INVALID_HANDLE_VALUE) {
      othersCouldWrite = true;
      CloseHandle(w);
    }
  };
  EXPECT_TRUE(r.Zip.RestoreFromFile(r.Folder / "setup.001", r.Folder.Path + "\\"));
  EXPECT_FALSE(othersCouldWrite);
  for (const auto& m : members) {
    EXPECT_TRUE(ReadBytes(r.Target(m.Id)) == m.Data) << m.Id;
    EXPECT_EQ(FileDosStamp(r.Target(m.Id)), m.DosDateTime) << m.Id;
  }
  // Every volume was closed: nothing holds them any more.
  for (size_t i = 0; i < volumes.size(); ++i)
    EXPECT_TRUE(DeleteFileA((r.Folder / ("setup." + VolumeExtension(uint32_t(i + 1)))).c_str())) << i;
}
