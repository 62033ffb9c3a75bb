// Test library for the library-call tests: functions in both calling conventions, texts in
// and out with a "freememory" export, and functions that fault. Exported without name
// decoration (the build links with --kill-at), as helper libraries of setups are.
// Plain C library calls only: the C++ runtime would take a thread-local slot on every load
// and never give it back, and the tests load this library thousands of times.
#include <windows.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#define VNT_EXPORT extern "C" __declspec(dllexport)

namespace {

// Each argument is one decimal digit of the answer, the first argument the leading one, so
// that any change of order or a missing argument shows.
int Digits(std::initializer_list<int> digits) {
  int r = 0;
  for (int d : digits) r = r * 10 + d;
  return r;
}

// What "freememory" saw; readable while the test keeps the library loaded.
const void* LastGiven = nullptr;
const void* LastFreed = nullptr;
int FreedCount = 0;

// A new malloc'd text from a format, for "freememory".
char* Give(const char* format, ...) {
  va_list list;
  va_start(list, format);
  const int length = std::vsnprintf(nullptr, 0, format, list);
  va_end(list);
  char* p = static_cast<char*>(std::malloc(size_t(length) + 1));
  va_start(list, format);
  std::vsnprintf(p, size_t(length) + 1, format, list);
  va_end(list);
  LastGiven = p;
  return p;
}

}  // namespace

// Without arguments the answer is 7.
VNT_EXPORT int __stdcall StdDigits0() { return 7; }
VNT_EXPORT int __stdcall StdDigits1(int a) { return Digits({a}); }
VNT_EXPORT int __stdcall StdDigits2(int a, int b) { return Digits({a, b}); }
VNT_EXPORT int __stdcall StdDigits3(int a, int b, int c) { return Digits({a, b, c}); }
VNT_EXPORT int __stdcall StdDigits4(int a, int b, int c, int d) { return Digits({a, b, c, d}); }
VNT_EXPORT int __stdcall StdDigits5(int a, int b, int c, int d, int e) { return Digits({a, b, c, d, e}); }
VNT_EXPORT int __stdcall StdDigits6(int a, int b, int c, int d, int e, int f) { return Digits({a, b, c, d, e, f}); }
VNT_EXPORT int __stdcall StdDigits7(int a, int b, int c, int d, int e, int f, int g) {
  return Digits({a, b, c, d, e, f, g});
}
VNT_EXPORT int __stdcall StdDigits8(int a, int b, int c, int d, int e, int f, int g, int h) {
  return Digits({a, b, c, d, e, f, g, h});
}

VNT_EXPORT int __cdecl CDigits0() { return 7; }
VNT_EXPORT int __cdecl CDigits1(int a) { return Digits({a}); }
VNT_EXPORT int __cdecl CDigits2(int a, int b) { return Digits({a, b}); }
VNT_EXPORT int __cdecl CDigits3(int a, int b, int c) { return Digits({a, b, c}); }
VNT_EXPORT int __cdecl CDigits4(int a, int b, int c, int d) { return Digits({a, b, c, d}); }
VNT_EXPORT int __cdecl CDigits5(int a, int b, int c, int d, int e) { return Digits({a, b, c, d, e}); }
VNT_EXPORT int __cdecl CDigits6(int a, int b, int c, int d, int e, int f) { return Digits({a, b, c, d, e, f}); }
VNT_EXPORT int __cdecl CDigits7(int a, int b, int c, int d, int e, int f, int g) {
  return Digits({a, b, c, d, e, f, g});
}
VNT_EXPORT int __cdecl CDigits8(int a, int b, int c, int d, int e, int f, int g, int h) {
  return Digits({a, b, c, d, e, f, g, h});
}

// count, then count numbers: the sum of position (from 1) times number.
VNT_EXPORT int __cdecl WeightedSum(int count, ...) {
  va_list list;
  va_start(list, count);
  int sum = 0;
  for (int i = 1; i <= count; ++i) sum += i * va_arg(list, int);
  va_end(list);
  return sum;
}

// The stack pointer's remainder modulo 16 just before the call (the first parameter's slot).
VNT_EXPORT int __cdecl StackRemainder(int first, ...) {
  return int(reinterpret_cast<uintptr_t>(&first) % 16);
}

// Leaves the FPU at 24-bit precision, as some libraries do.
VNT_EXPORT int __stdcall LowerFpuPrecision() {
  const unsigned short control = 0x007F;
  asm volatile("fldcw %0" : : "m"(control));
  return 1;
}

VNT_EXPORT int __stdcall Subtract(int a, int b) { return a - b; }
VNT_EXPORT int __stdcall Negative() { return -2147483647 - 1; }

// Texts out: each is a new malloc'd copy for "freememory".
VNT_EXPORT char* __stdcall Greet(const char* name) { return Give("Hello, %s!", name); }
VNT_EXPORT char* __cdecl Describe(const char* a, int n, const char* b) { return Give("[%s|%d|%s]", a, n, b); }
VNT_EXPORT char* __stdcall NullText() { return nullptr; }
// Not a text at all, whatever the script says.
VNT_EXPORT int __stdcall NotAText() { return 7; }
VNT_EXPORT int __stdcall TextLength(const char* text) { return int(std::strlen(text)); }

VNT_EXPORT void __stdcall freememory(void* p) {
  LastFreed = p;
  ++FreedCount;
  std::free(p);
}
VNT_EXPORT int __stdcall FreedCalls() { return FreedCount; }
VNT_EXPORT int __stdcall FreedWhatWasGiven() { return LastFreed != nullptr && LastFreed == LastGiven; }

// Faults.
VNT_EXPORT int __stdcall WriteNull() {
  volatile int* volatile p = nullptr;
  *p = 1;
  return 0;
}
VNT_EXPORT int __stdcall DivideByZero(int a) {
  volatile int zero = 0;
  return a / zero;
}
// How a C++ exception of another compiler leaves a function: a raised exception that cannot
// be continued.
VNT_EXPORT int __stdcall RaiseNoncontinuable() {
  RaiseException(0xE0564E54, EXCEPTION_NONCONTINUABLE, 0, nullptr);
  return 0;
}
// A fault the system catches itself: never reaches the caller's guard.
VNT_EXPORT int __stdcall HandledFault() { return IsBadReadPtr(reinterpret_cast<const void*>(16), 4) ? 1 : 0; }

// Self-registration, as a server's: the key says where the library registered from.
namespace {
constexpr char RegisteredKey[] = "Software\\VantryTests\\SelfRegistered";
}

VNT_EXPORT HRESULT __stdcall DllRegisterServer() {
  char path[MAX_PATH] = "";
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&DllRegisterServer), &self);
  GetModuleFileNameA(self, path, MAX_PATH);
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, RegisteredKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return E_FAIL;
  RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path), DWORD(std::strlen(path) + 1));
  RegCloseKey(key);
  return S_OK;
}

// Takes its key away, and the parent when nothing else is left in it, as a library that
// cleans up after itself does.
VNT_EXPORT HRESULT __stdcall DllUnregisterServer() {
  if (RegDeleteKeyA(HKEY_CURRENT_USER, RegisteredKey) != ERROR_SUCCESS) return E_FAIL;
  HKEY parent;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\VantryTests", 0, KEY_READ, &parent) == ERROR_SUCCESS) {
    DWORD subkeys = 1, values = 1;
    RegQueryInfoKeyA(parent, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(parent);
    if (subkeys == 0 && values == 0) RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VantryTests");
  }
  return S_OK;
}
