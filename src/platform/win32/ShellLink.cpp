#include "platform/win32/ShellLink.h"

#include <vector>

namespace vnt {

namespace {

// Defined here rather than taken from the uuid library, which the stub does not link.
constexpr CLSID ShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID ShellLinkAInterface = {0x000214EE, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID PersistFileInterface = {0x0000010B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

std::wstring WidePath(const std::string& path) {
  int size = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  if (size <= 0) return {};
  std::vector<wchar_t> wide(size);
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), size);
  return wide.data();
}

}  // namespace

TShellLink::TShellLink() {
  using TCoCreateInstance = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, void**);
  auto create = Ole.Proc<TCoCreateInstance>("CoCreateInstance");
  if (!create) return;
  void* link = nullptr;
  if (FAILED(create(ShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, ShellLinkAInterface, &link)) || !link)
    return;
  LinkObject = static_cast<IShellLinkA*>(link);
  void* file = nullptr;
  if (SUCCEEDED(LinkObject->QueryInterface(PersistFileInterface, &file))) File = static_cast<IPersistFile*>(file);
}

TShellLink::~TShellLink() {
  if (File) File->Release();
  if (LinkObject) LinkObject->Release();
}

bool TShellLink::Save(const std::string& path) {
  std::wstring wide = WidePath(path);
  return *this && !wide.empty() && SUCCEEDED(File->Save(wide.c_str(), TRUE));
}

bool TShellLink::Load(const std::string& path) {
  std::wstring wide = WidePath(path);
  return *this && !wide.empty() && SUCCEEDED(File->Load(wide.c_str(), STGM_READ));
}

}  // namespace vnt
