// The device registry of the stand-in, kept in registry.txt of the device folder: read before
// every call and written after every change, so tests can seed and inspect it.
//
//   key<TAB>HKLM\Software\Apps\Company App
//   value<TAB>Instl<TAB>4<TAB>01000000
//
// Key paths and value names are UTF-8, a value is its registry type and its bytes in hex.
#pragma once

#include <windows.h>

#include <string>

namespace standin {

LONG RegOpen(HKEY root, const wchar_t* subKey, bool create, HKEY* result);
LONG RegClose(HKEY key);
LONG RegDeleteKeyTree(HKEY root, const wchar_t* subKey);
LONG RegDeleteValueOf(HKEY key, const wchar_t* name);
LONG RegQuery(HKEY key, const wchar_t* name, DWORD* type, BYTE* data, DWORD* size);
LONG RegSet(HKEY key, const wchar_t* name, DWORD type, const BYTE* data, DWORD size);
// Sets a value of a key path, making the key ("HKLM\Software\QX\Vantry").
void RegPut(const std::wstring& path, const std::wstring& name, DWORD type, const std::string& bytes);

}  // namespace standin
