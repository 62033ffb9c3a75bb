// Test helper: writes a small type library through the system's type library writer.
//   mktlb <file.tlb>
// Library "VantryTestTypes" 1.0, {5E1D7A3C-0B2F-4C61-9D8E-7A6B5C4D3E2F}, with one interface.
#include <windows.h>
#include <oleauto.h>

#include <string>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::string path = argv[1];
  std::wstring wide(path.begin(), path.end());
  ICreateTypeLib2* library = nullptr;
  if (FAILED(CreateTypeLib2(SYS_WIN32, wide.c_str(), &library))) return 1;
  const GUID id = {0x5E1D7A3C, 0x0B2F, 0x4C61, {0x9D, 0x8E, 0x7A, 0x6B, 0x5C, 0x4D, 0x3E, 0x2F}};
  library->SetGuid(id);
  library->SetName(const_cast<LPOLESTR>(L"VantryTestTypes"));
  library->SetVersion(1, 0);
  library->SetLcid(LOCALE_NEUTRAL);
  ICreateTypeInfo* info = nullptr;
  if (SUCCEEDED(library->CreateTypeInfo(const_cast<LPOLESTR>(L"IVantryTest"), TKIND_DISPATCH, &info))) {
    const GUID infoId = {0x5E1D7A3D, 0x0B2F, 0x4C61, {0x9D, 0x8E, 0x7A, 0x6B, 0x5C, 0x4D, 0x3E, 0x2F}};
    info->SetGuid(infoId);
    info->Release();
  }
  HRESULT saved = library->SaveAllChanges();
  library->Release();
  return SUCCEEDED(saved) ? 0 : 1;
}
