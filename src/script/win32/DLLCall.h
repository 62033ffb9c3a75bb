// Library calls of the scripts: CallLibrary's argument text turned into machine arguments,
// the call made through a TDLLInvoke, and its result turned into text.
#pragma once

#include <cstdint>
#include <string>

#include "script/ScriptContext.h"
#include "script/win32/DLLInvoke.h"

namespace vnt {

class TDLLCall {
public:
  // The function's result is the address of a NUL-terminated text, which is copied; the
  // library's "freememory" export, when it has one, then gets the address back to release
  // it. A null address is the empty text.
  std::string CallForText(const std::string& library, const std::string& function, const std::string& argumentText);
  // The function's 32-bit result read as a signed number.
  int32_t CallForNumber(const std::string& library, const std::string& function, const std::string& argumentText);
  // The last call failed: a refused argument text, a library that did not load, no such
  // export, an exception inside the function (or inside "freememory"), or a text result whose
  // address could not be read. A failed call answers the empty text or 0.
  bool Failed() const { return LastFailed; }

  // Sets CallLibrary (24) on the context; it refers to this object.
  void Register(TScriptContext& context);

private:
  // Loads the library and calls; the library stays loaded for the caller to finish with.
  bool Call(const std::string& library, const std::string& function, const std::string& argumentText,
            uint32_t& result);
  std::string TextResult(uint32_t address);

  TDLLInvoke Invoker;
  bool LastFailed = false;
};

}  // namespace vnt
