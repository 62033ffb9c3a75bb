// The stand-in rapi.dll in the system folder, where the device tool looks for it, and an
// emulated device in a temporary folder of the test's own (device.ini, fs\, registry.txt,
// rapi.log). Shared by the device tool's and the device commands' tests.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "package/SystemRules.h"
#include "platform/win32/FileStream.h"
#include "platform/win32/SystemServices.h"

namespace vnt::test {

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline size_t CountLines(const std::string& text, const std::string& line) {
  size_t n = 0;
  std::stringstream s(text);
  for (std::string l; std::getline(s, l);) n += l == line;
  return n;
}

inline std::string InstalledLibrary() { return WithFolderBackslash(SystemSystemFolder()) + "rapi.dll"; }

// Bytes that differ from block to block, so a block copied twice or left out shows.
inline std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = char(i * 7 + i / 251);
  return bytes;
}

class TRapiDeviceFixture : public ::testing::Test {
protected:
  void SetUp() override {
    // The stand-in goes where the synchronisation software puts the real one.
    ASSERT_TRUE(CopyFileA((FolderOfFile(ProgramPath()) + "\\rapi.dll").c_str(), InstalledLibrary().c_str(), FALSE));
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    Folder = std::string(temp) + "vnt-rapi-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(GetTickCount());
    ASSERT_TRUE(CreateDirectoryA(Folder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((Folder + "\\fs").c_str(), nullptr));
    SetEnvironmentVariableA("VNT_DEVICE_DIR", Folder.c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableA("VNT_DEVICE_DIR", nullptr);
    RemoveFolderTree(Folder);
  }

  void Set(const char* name, const std::string& value) {
    WritePrivateProfileStringA("Device", name, value.c_str(), (Folder + "\\device.ini").c_str());
  }
  std::string Log() { return ReadAll(Folder + "\\rapi.log"); }
  std::string Registry() { return ReadAll(Folder + "\\registry.txt"); }
  std::string DeviceFile(const std::string& devicePath) { return Folder + "\\fs" + devicePath; }

  std::string Folder;
};

// The library moved out of the system folder for the object's life, as when the
// synchronisation software is not installed.
class TLibraryAway {
public:
  TLibraryAway() {
    EXPECT_TRUE(MoveFileExA(InstalledLibrary().c_str(), Away.c_str(), MOVEFILE_REPLACE_EXISTING));
  }
  ~TLibraryAway() { MoveFileExA(Away.c_str(), InstalledLibrary().c_str(), MOVEFILE_REPLACE_EXISTING); }
  TLibraryAway(const TLibraryAway&) = delete;
  TLibraryAway& operator=(const TLibraryAway&) = delete;

private:
  std::string Away = InstalledLibrary() + ".away";
};

}  // namespace vnt::test
