// One library of a script's library call: loaded by path, a function found by its exact
// export name and called, unloaded again.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vnt {

enum class TInvokeStatus {
  Done,        // the function ran and returned
  NoLibrary,   // nothing is loaded
  NoFunction,  // the library exports no function of exactly that name (case counts)
  Faulted,     // an exception ended the function; its stack has been unwound
};

class TDLLInvoke {
public:
  TDLLInvoke() = default;
  ~TDLLInvoke() { Unload(); }
  TDLLInvoke(const TDLLInvoke&) = delete;
  TDLLInvoke& operator=(const TDLLInvoke&) = delete;

  // Unloads what is loaded, then loads the library; answers whether it is loaded.
  // A path with a folder is used as given (a relative one against the current folder) and
  // the library's own dependencies are looked for beside it first. A bare name is looked for
  // in the system folder only: never beside the setup program or in the current folder,
  // where a planted copy could wait.
  bool Load(const std::string& path);
  void Unload();
  bool Loaded() const { return Library != nullptr; }

  // Calls the function with the 32-bit values args[0], args[1], ... as its parameters.
  TInvokeStatus Invoke(const std::string& function, const std::vector<uint32_t>& args, uint32_t& result);

  // The NUL-terminated text at a foreign address; false (and text left empty) when reading
  // it faults, for example when the function did not return a text at all.
  static bool CopyForeignText(uint32_t address, std::string& text);

private:
  HMODULE Library = nullptr;
};

}  // namespace vnt
