// Files and folders on the device, and copies between PC and device.
#include "device/win32/RapiTool.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace vnt {

bool TRapiTool::RunProgram(const std::string& program, const std::string& arguments) {
  auto create = Entry<PCeCreateProcess>(TRapiEntry::CeCreateProcess);
  if (!Connected || !create) return false;
  std::wstring wideProgram = DeviceText(program), wideArguments = DeviceText(arguments);
  PROCESS_INFORMATION info{};
  if (!create(wideProgram.c_str(), arguments.empty() ? nullptr : wideArguments.c_str(), nullptr, nullptr, FALSE, 0,
              nullptr, nullptr, nullptr, &info))
    return false;
  CloseDeviceHandle(info.hThread);
  CloseDeviceHandle(info.hProcess);
  return true;
}

bool TRapiTool::CloseDeviceHandle(HANDLE& handle) {
  auto close = Entry<PCeCloseHandle>(TRapiEntry::CeCloseHandle);
  bool closed = handle && handle != INVALID_HANDLE_VALUE && close && close(handle);
  handle = INVALID_HANDLE_VALUE;
  return closed;
}

HANDLE TRapiTool::OpenForReading(const std::string& devicePath) {
  auto create = Entry<PCeCreateFile>(TRapiEntry::CeCreateFile);
  if (!create) return INVALID_HANDLE_VALUE;
  return create(DeviceText(devicePath).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool TRapiTool::GetFileInfo(const std::string& path, int which, std::string& text, uint64_t& size) {
  text.clear();
  size = 0;
  if (!Connected) return false;
  if (which >= 1 && which <= 3) {
    text = DevicePathPart(path, TDevicePathPart(which));
    return true;
  }
  if (which != 0 && which != 4) return false;
  HANDLE file = OpenForReading(path);
  if (file == INVALID_HANDLE_VALUE) {
    if (which == 0) text = "0";
    return which == 0;
  }
  bool ok = true;
  if (which == 4) {
    auto getSize = Entry<PCeGetFileSize>(TRapiEntry::CeGetFileSize);
    DWORD high = 0, low = getSize ? getSize(file, &high) : INVALID_FILE_SIZE;
    ok = getSize && low != INVALID_FILE_SIZE;
    size = ok ? uint64_t(high) << 32 | low : 0;
    text = ok ? std::to_string(size) : "";
  } else {
    text = "1";
  }
  CloseDeviceHandle(file);
  return ok;
}

bool TRapiTool::FileExists(const std::string& path) {
  auto findFirst = Entry<PCeFindFirstFile>(TRapiEntry::CeFindFirstFile);
  auto findClose = Entry<PCeFindClose>(TRapiEntry::CeFindClose);
  if (!Connected || !findFirst) return false;
  TCeFindData data{};
  HANDLE find = findFirst(DeviceText(path).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  if (findClose) findClose(find);
  return true;
}

bool TRapiTool::CreateDir(const std::string& path) {
  auto create = Entry<PCeCreateDirectory>(TRapiEntry::CeCreateDirectory);
  return Connected && create && create(DeviceText(path).c_str(), nullptr);
}

bool TRapiTool::RemoveDir(const std::string& path) {
  auto remove = Entry<PCeRemoveDirectory>(TRapiEntry::CeRemoveDirectory);
  return Connected && remove && remove(DeviceText(path).c_str());
}

bool TRapiTool::OpenFile(const std::string& path, uint32_t signature) {
  auto create = Entry<PCeCreateFile>(TRapiEntry::CeCreateFile);
  if (!Connected || !create) return false;
  CloseFile();
  FileHandle = create(DeviceText(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (FileHandle == INVALID_HANDLE_VALUE) return false;
  if (signature == 0) return true;
  uint8_t first[4];
  if (!ReadFile(first, 4)) return false;
  return (uint32_t(first[0]) | uint32_t(first[1]) << 8 | uint32_t(first[2]) << 16 | uint32_t(first[3]) << 24) ==
         signature;
}

bool TRapiTool::CloseFile() {
  if (!Connected || FileHandle == INVALID_HANDLE_VALUE) return false;
  return CloseDeviceHandle(FileHandle);
}

bool TRapiTool::ReadFile(void* buffer, uint32_t count) {
  uint32_t moved = 0;
  return ReadFilePart(buffer, count, moved) && moved == count;
}

bool TRapiTool::ReadFilePart(void* buffer, uint32_t count, uint32_t& moved) {
  auto read = Entry<PCeReadFile>(TRapiEntry::CeReadFile);
  DWORD got = 0;
  bool ok = Connected && read && FileHandle != INVALID_HANDLE_VALUE && read(FileHandle, buffer, count, &got, nullptr);
  moved = ok && got <= count ? uint32_t(got) : 0;
  return ok && got <= count;
}

bool TRapiTool::WriteFile(const void* buffer, uint32_t count) {
  auto write = Entry<PCeWriteFile>(TRapiEntry::CeWriteFile);
  DWORD moved = 0;
  return Connected && write && FileHandle != INVALID_HANDLE_VALUE &&
         write(FileHandle, buffer, count, &moved, nullptr) && moved == count;
}

int64_t TRapiTool::GetFilePos() {
  auto setPointer = Entry<PCeSetFilePointer>(TRapiEntry::CeSetFilePointer);
  if (!Connected || !setPointer || FileHandle == INVALID_HANDLE_VALUE) return -1;
  DWORD pos = setPointer(FileHandle, 0, nullptr, FILE_CURRENT);
  return pos == INVALID_SET_FILE_POINTER ? -1 : int64_t(pos);
}

bool TRapiTool::SeekFile(int32_t offset, int origin) {
  static const DWORD methods[] = {FILE_BEGIN, FILE_END, FILE_CURRENT};
  auto setPointer = Entry<PCeSetFilePointer>(TRapiEntry::CeSetFilePointer);
  if (!Connected || !setPointer || FileHandle == INVALID_HANDLE_VALUE || origin < 0 || origin > 2) return false;
  return setPointer(FileHandle, offset, nullptr, methods[origin]) != INVALID_SET_FILE_POINTER;
}

bool TRapiTool::CopyOnDevice(const std::string& from, const std::string& to) {
  auto copy = Entry<PCeCopyFile>(TRapiEntry::CeCopyFile);
  return Connected && copy && copy(DeviceText(from).c_str(), DeviceText(to).c_str(), FALSE);
}

bool TRapiTool::MoveOnDevice(const std::string& from, const std::string& to) {
  auto move = Entry<PCeMoveFile>(TRapiEntry::CeMoveFile);
  return Connected && move && move(DeviceText(from).c_str(), DeviceText(to).c_str());
}

bool TRapiTool::DeleteFile(const std::string& path) {
  auto remove = Entry<PCeDeleteFile>(TRapiEntry::CeDeleteFile);
  return Connected && remove && remove(DeviceText(path).c_str());
}

namespace {

// One side of a block copy: reads up to a block, answering how much moved; writes all it gets.
using TBlockRead = std::function<bool(void* buffer, DWORD count, DWORD& moved)>;
using TBlockWrite = std::function<bool(const void* buffer, DWORD count)>;

// The blocks go one by one, with the windows working between them. A source that runs out
// early or a target that takes less than it was given ends the copy as failed.
bool CopyBlocks(uint64_t size, const TBlockRead& read, const TBlockWrite& write, const std::function<void()>& pump) {
  std::vector<char> buffer(TRapiTool::CopyBlockBytes);
  uint64_t written = 0;
  while (written < size) {
    DWORD want = DWORD(std::min<uint64_t>(TRapiTool::CopyBlockBytes, size - written)), got = 0;
    if (!read(buffer.data(), want, got) || got == 0 || got > want) return false;
    if (!write(buffer.data(), got)) return false;
    written += got;
    pump();
  }
  return true;
}

}  // namespace

bool TRapiTool::CopyToDevice(const std::string& pcPath, const std::string& devicePath) {
  auto create = Entry<PCeCreateFile>(TRapiEntry::CeCreateFile);
  auto write = Entry<PCeWriteFile>(TRapiEntry::CeWriteFile);
  if (!Connected || !create || !write) return false;
  HANDLE source = CreateFileA(pcPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (source == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  HANDLE target = INVALID_HANDLE_VALUE;
  bool ok = GetFileSizeEx(source, &size);
  if (ok) {
    target = create(DeviceText(devicePath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                    nullptr);
    ok = target != INVALID_HANDLE_VALUE;
  }
  if (ok)
    ok = CopyBlocks(
        uint64_t(size.QuadPart),
        [&](void* b, DWORD n, DWORD& moved) { return ::ReadFile(source, b, n, &moved, nullptr) != FALSE; },
        [&](const void* b, DWORD n) {
          DWORD moved = 0;
          return write(target, b, n, &moved, nullptr) && moved == n;
        },
        [this] { PumpMessages(); });
  CloseHandle(source);
  CloseDeviceHandle(target);
  if (QuitCode) PostQuitMessage(*QuitCode);
  QuitCode.reset();
  return ok;
}

bool TRapiTool::CopyFromDevice(const std::string& devicePath, const std::string& pcPath) {
  auto read = Entry<PCeReadFile>(TRapiEntry::CeReadFile);
  auto getSize = Entry<PCeGetFileSize>(TRapiEntry::CeGetFileSize);
  if (!Connected || !read || !getSize) return false;
  HANDLE source = OpenForReading(devicePath);
  if (source == INVALID_HANDLE_VALUE) return false;
  DWORD high = 0, low = getSize(source, &high);
  HANDLE target = INVALID_HANDLE_VALUE;
  bool ok = low != INVALID_FILE_SIZE;
  if (ok) {
    target = CreateFileA(pcPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ok = target != INVALID_HANDLE_VALUE;
  }
  if (ok)
    ok = CopyBlocks(
        uint64_t(high) << 32 | low,
        [&](void* b, DWORD n, DWORD& moved) { return read(source, b, n, &moved, nullptr) != FALSE; },
        [&](const void* b, DWORD n) {
          DWORD moved = 0;
          return ::WriteFile(target, b, n, &moved, nullptr) && moved == n;
        },
        [this] { PumpMessages(); });
  CloseDeviceHandle(source);
  if (target != INVALID_HANDLE_VALUE) CloseHandle(target);
  if (QuitCode) PostQuitMessage(*QuitCode);
  QuitCode.reset();
  return ok;
}

}  // namespace vnt
