// Test helper: reads shortcut files back through the shell link interface.
//   lnkread <out file> <link>...
// Per link one line: link|target|arguments|working folder|description|show command.
#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <string>

namespace {

std::string Read(IShellLinkA* link, IPersistFile* file, const std::string& path) {
  std::wstring wide(path.begin(), path.end());
  if (FAILED(file->Load(wide.c_str(), STGM_READ))) return path + "|unreadable";
  char target[MAX_PATH] = "", arguments[1024] = "", folder[MAX_PATH] = "", description[1024] = "";
  int show = 0;
  link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
  link->GetArguments(arguments, sizeof arguments);
  link->GetWorkingDirectory(folder, MAX_PATH);
  link->GetDescription(description, sizeof description);
  link->GetShowCmd(&show);
  return path + "|" + target + "|" + arguments + "|" + folder + "|" + description + "|" + std::to_string(show);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  CoInitialize(nullptr);
  std::ofstream out(argv[1], std::ios::binary);
  for (int i = 2; i < argc; ++i) {
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))) ||
        FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      out << argv[i] << "|no shell link\n";
    } else {
      out << Read(link, file, argv[i]) << "\n";
    }
    if (file) file->Release();
    if (link) link->Release();
  }
  CoUninitialize();
  return 0;
}
