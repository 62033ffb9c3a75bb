// Plays the Palm HotSync desktop software's installation for the tests and the demo: writes
// the registry keys and the users file the setup reads, shows what the setup queued and
// registered, and takes it all away again.
//
//   hotsyncfix install [--palm] [--last <name>] <data folder> <name>:<id>:<folder> ...
//   hotsyncfix show
//   hotsyncfix remove
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const Robotics = "Software\\U.S. Robotics";
const char* const Palm = "Software\\Palm Computing";

struct TUser {
  std::string Name, Folder;
  unsigned Id = 0;
};

int Fail(const std::string& text) {
  std::fprintf(stderr, "hotsyncfix: %s\n", text.c_str());
  return 1;
}

bool SetText(const std::string& path, const char* name, const std::string& value) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  bool ok = !name || RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                    DWORD(value.size() + 1)) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}

void DeleteTree(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    char name[256];
    for (DWORD size = sizeof name; RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         size = sizeof name)
      DeleteTree(key, name);
    RegCloseKey(key);
  }
  RegDeleteKeyA(root, path.c_str());
}

// "Ann Lee:3:AnnL" -> name, id, folder; the name may hold colons, the last two fields not.
bool ParseUser(const std::string& text, TUser& user) {
  size_t last = text.rfind(':');
  if (last == std::string::npos || last == 0) return false;
  size_t middle = text.rfind(':', last - 1);
  if (middle == std::string::npos) return false;
  user.Name = text.substr(0, middle);
  user.Folder = text.substr(last + 1);
  char* end = nullptr;
  const std::string id = text.substr(middle + 1, last - middle - 1);
  unsigned long value = std::strtoul(id.c_str(), &end, 10);
  user.Id = unsigned(value);
  return !id.empty() && *end == '\0' && value <= 0xFFFF && !user.Name.empty() && user.Name.size() < 256 &&
         !user.Folder.empty() && user.Folder.size() < 256;
}

// The users file: the count, a header, then one record per user: id (two bytes, low first),
// two bytes the setup does not read, the name and the folder each after its length, a flag
// byte, and before the next record some bytes of the user's own settings ending in 01 80.
std::string UsersFile(const std::vector<TUser>& users) {
  std::string bytes(13, '\0');
  bytes[0] = char(users.size());
  for (size_t k = 0; k < users.size(); ++k) {
    const TUser& u = users[k];
    if (k) bytes += std::string("\x00\x02\x01\x00\x80\x00\x01\x80", 8);
    bytes += char(u.Id & 0xFF);
    bytes += char(u.Id >> 8);
    bytes += std::string("\0\0", 2);
    bytes += char(u.Name.size()) + u.Name + char(u.Folder.size()) + u.Folder + '\0';
  }
  return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
  CloseHandle(file);
  return ok;
}

int Install(int argc, char** argv) {
  int at = 2;
  const char* base = Robotics;
  std::string lastUser;
  bool lastGiven = false;
  for (; at < argc && std::string(argv[at]).rfind("--", 0) == 0; ++at) {
    const std::string option = argv[at];
    if (option == "--palm")
      base = Palm;
    else if (option == "--last" && at + 1 < argc)
      lastUser = argv[++at], lastGiven = true;
    else
      return Fail("unknown option " + option);
  }
  if (at >= argc) return Fail("install needs a data folder");
  std::string data = argv[at++];
  while (data.size() > 3 && data.back() == '\\') data.pop_back();
  std::vector<TUser> users;
  for (; at < argc; ++at) {
    TUser u;
    if (!ParseUser(argv[at], u)) return Fail(std::string("not a user (name:id:folder): ") + argv[at]);
    users.push_back(u);
  }
  if (users.size() > 255) return Fail("at most 255 users");
  CreateDirectoryA(data.c_str(), nullptr);
  for (const TUser& u : users) CreateDirectoryA((data + "\\" + u.Folder).c_str(), nullptr);
  const std::string desktop = std::string(base) + "\\Pilot Desktop";
  bool ok = SetText(desktop + "\\Preferences", "LastUserName", lastGiven || users.empty() ? lastUser : users.front().Name) &&
            SetText(desktop + "\\Core", "Path", data) &&
            SetText(desktop + "\\Core", "HotSyncPath", data + "\\HotSync.exe") &&
            SetText(desktop + "\\HotSync Manager", nullptr, "") &&
            WriteFileBytes(data + "\\users.dat", UsersFile(users));
  return ok ? 0 : Fail("could not write the keys or the users file");
}

std::string ReadText(HKEY key, const char* name) {
  char value[1024];
  DWORD type = 0, size = sizeof value - 1;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  value[size] = '\0';
  return value;
}

std::string CreatorText(DWORD code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8)
    if (char c = char(code >> shift & 0xFF)) text += c;
  return text;
}

void ShowFiles(const std::string& data) {
  WIN32_FIND_DATAA user;
  HANDLE users = FindFirstFileA((data + "\\*").c_str(), &user);
  if (users == INVALID_HANDLE_VALUE) return;
  do {
    if (!(user.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || user.cFileName[0] == '.') continue;
    const std::string install = std::string(user.cFileName) + "\\Install";
    WIN32_FIND_DATAA file;
    HANDLE files = FindFirstFileA((data + "\\" + install + "\\*").c_str(), &file);
    if (files == INVALID_HANDLE_VALUE) continue;
    do
      if (!(file.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) std::printf("file\t%s\\%s\n", install.c_str(), file.cFileName);
    while (FindNextFileA(files, &file));
    FindClose(files);
  } while (FindNextFileA(users, &user));
  FindClose(users);
}

// One line a fact, fields separated by tabs.
int Show() {
  HKEY desktop = nullptr;
  const char* base = nullptr;
  for (const char* b : {Robotics, Palm})
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(b) + "\\Pilot Desktop").c_str(), 0, KEY_READ, &desktop) ==
        ERROR_SUCCESS) {
      base = b;
      break;
    }
  if (!base) return std::printf("none\n"), 0;
  std::printf("base\t%s\n", base);
  HKEY sub;
  std::string data;
  if (RegOpenKeyExA(desktop, "Core", 0, KEY_READ, &sub) == ERROR_SUCCESS) {
    data = ReadText(sub, "Path");
    RegCloseKey(sub);
  }
  std::printf("data\t%s\n", data.c_str());
  if (RegOpenKeyExA(desktop, "HotSync Manager", 0, KEY_READ, &sub) == ERROR_SUCCESS) {
    for (DWORD k = 0;; ++k) {
      char name[256];
      DWORD size = sizeof name, type = 0, value = 0, valueSize = sizeof value;
      LONG got = RegEnumValueA(sub, k, name, &size, nullptr, &type, reinterpret_cast<BYTE*>(&value), &valueSize);
      if (got == ERROR_NO_MORE_ITEMS) break;
      if (got == ERROR_SUCCESS && type == REG_DWORD && std::string(name).rfind("Install", 0) == 0)
        std::printf("flag\t%s\t%lu\n", name, static_cast<unsigned long>(value));
    }
    RegCloseKey(sub);
  }
  if (!data.empty()) ShowFiles(data);
  char key[256];
  for (DWORD k = 0, size = sizeof key; RegEnumKeyExA(desktop, k, key, &size, nullptr, nullptr, nullptr, nullptr) ==
                                       ERROR_SUCCESS;
       ++k, size = sizeof key) {
    const std::string name = key;
    if (name.rfind("Application", 0) != 0 && name.rfind("Component", 0) != 0) continue;
    if (RegOpenKeyExA(desktop, key, 0, KEY_READ, &sub) != ERROR_SUCCESS) continue;
    DWORD creator = 0, creatorSize = sizeof creator;
    RegQueryValueExA(sub, "Creator", nullptr, nullptr, reinterpret_cast<BYTE*>(&creator), &creatorSize);
    std::printf("conduit\t%s\t%s\t%s\t%s\n", key, CreatorText(creator).c_str(), ReadText(sub, "Conduit").c_str(),
                ReadText(sub, "Name").c_str());
    RegCloseKey(sub);
  }
  RegCloseKey(desktop);
  return 0;
}

int Remove() {
  DeleteTree(HKEY_CURRENT_USER, Robotics);
  DeleteTree(HKEY_CURRENT_USER, Palm);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "install") return Install(argc, argv);
  if (command == "show") return Show();
  if (command == "remove") return Remove();
  return Fail("usage: hotsyncfix install [--palm] [--last <name>] <data folder> <name>:<id>:<folder> ... | show | remove");
}
