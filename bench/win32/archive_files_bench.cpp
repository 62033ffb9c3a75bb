// Restoring to real files under Wine or Windows: 100 files of 1 MB, 5,000 small files into
// one folder and 5,000 small files in nested folders, under the temporary folder, with the
// files' dates set and the messages pumped, as a setup restores them; and the small files
// once more as the installation writes them: staged, renamed into place, journalled.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "../../tests/fuzz/ArchiveTestKit.h"
#include "archive/ArchiveWriter.h"
#include "archive/win32/ArchiveFiles.h"
#include "install/win32/JournalFile.h"
#include "install/win32/JournalledFiles.h"
#include "platform/win32/Window.h"

using namespace vnt;
using namespace vnt::test;

namespace {

void RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName, path = folder + "\\" + name;
      if (name == "." || name == "..") continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveFolder(path);
      else DeleteFileA(path.c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(folder.c_str());
}

// Folder of a file: the top folder, or one of 100 nested folders two deep.
std::string FileFolder(const std::string& top, size_t i, bool nested) {
  if (!nested) return top;
  return top + "\\d" + std::to_string(i % 10) + "\\e" + std::to_string(i / 10 % 10);
}

void Measure(const char* title, size_t files, size_t (*sizeOf)(size_t), bool nested = false,
             bool journalled = false) {
  std::vector<TArchiveMember> members;
  uint64_t total = 0;
  for (size_t i = 0; i < files; ++i) {
    members.push_back({int32_t(i), 0x30A56B2Au, MixedBytes(sizeOf(i), uint32_t(i))});
    total += members.back().Data.size();
  }
  TMemoryStream archive(WriteArchive(title, members));
  members.clear();

  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "vnt_archive_bench";
  CreateDirectoryA(folder.c_str(), nullptr);
  TJournalFile journal;
  if (journalled) journal.Open(folder + "\\uninst.jnl", {"bench", folder + "\\uninst.dat", false});
  TJournalledFiles staged([&journal](const TJournalEntry& e) { journal.Append(e); });
  TWin32ArchiveFileSystem plain;
  TArchiveFileSystem& fs = journalled ? static_cast<TArchiveFileSystem&>(staged) : plain;
  TSetupVNTZip zip(fs);
  zip.OnFileComplete = [&journal](int32_t, const std::string& name, int32_t) {
    TUninstItem item;
    item.Path = name;
    journal.Append(MadeEntry(item));
  };
  // As the installation's overwrite rule does, each file is looked for first.
  zip.OnRestoreFile = [&](int32_t id, std::string& name, int32_t&, uint32_t, bool&) {
    name = FileFolder(folder, size_t(id), nested) + "\\" + std::to_string(id) + ".bin";
    staged.Expect(name, GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES);
  };
  zip.OnIdle = ProcessMessages;
  auto start = std::chrono::steady_clock::now();
  bool ok = zip.RestoreFromStream(archive, folder + "\\");
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%s: %zu files, %.1f MB: %.1f MB/s, %.0f files/s (%s)\n", title, files, total / 1e6,
              total / 1e6 / seconds, files / seconds, ok ? "ok" : "FAILED");
  journal.Drop();
  RemoveFolder(folder);
}

}  // namespace

int main() {
  Measure("Real files, 1 MB each", 100, [](size_t) { return size_t(1000000); });
  Measure("Real files, small", 5000, [](size_t i) { return 100 + (i * 7919) % 8000; });
  Measure("Real files, small, nested folders", 5000, [](size_t i) { return 100 + (i * 7919) % 8000; }, true);
  Measure("Real files, small, staged and journalled", 5000, [](size_t i) { return 100 + (i * 7919) % 8000; }, false,
          true);
  return 0;
}
