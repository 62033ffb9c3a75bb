#include "script/win32/DLLCall.h"

#include <vector>

#include "script/DLLArguments.h"

namespace vnt {

namespace {

// The 32-bit values the function gets. Text arguments pass the address of their own copy,
// which the function may also write into within the text's length.
std::vector<uint32_t> MachineArguments(std::vector<TDLLArgument>& items) {
  std::vector<uint32_t> values;
  values.reserve(items.size());
  for (TDLLArgument& a : items)
    values.push_back(a.Kind == TDLLArgumentKind::Text ? uint32_t(uintptr_t(a.Text.data())) : uint32_t(a.Number));
  return values;
}

}  // namespace

bool TDLLCall::Call(const std::string& library, const std::string& function, const std::string& argumentText,
                    uint32_t& result) {
  LastFailed = true;
  TDLLArgumentList arguments = ParseDLLArguments(argumentText);
  if (arguments.Error != TDLLArgumentError::None || !Invoker.Load(library)) return false;
  if (Invoker.Invoke(function, MachineArguments(arguments.Items), result) != TInvokeStatus::Done) return false;
  LastFailed = false;
  return true;
}

std::string TDLLCall::TextResult(uint32_t address) {
  std::string text;
  if (address == 0) return text;
  if (!TDLLInvoke::CopyForeignText(address, text)) {
    // Not a text: handing it to "freememory" could only do harm.
    LastFailed = true;
    return "";
  }
  uint32_t ignored = 0;
  if (Invoker.Invoke("freememory", {address}, ignored) == TInvokeStatus::Faulted) {
    LastFailed = true;
    return "";
  }
  return text;
}

std::string TDLLCall::CallForText(const std::string& library, const std::string& function,
                                  const std::string& argumentText) {
  uint32_t address = 0;
  std::string text = Call(library, function, argumentText, address) ? TextResult(address) : "";
  Invoker.Unload();
  return text;
}

int32_t TDLLCall::CallForNumber(const std::string& library, const std::string& function,
                                const std::string& argumentText) {
  uint32_t value = 0;
  if (!Call(library, function, argumentText, value)) value = 0;
  Invoker.Unload();
  return int32_t(value);
}

void TDLLCall::Register(TScriptContext& c) {
  // 24 CallLibrary: F1 library, F2 function, F3 result keyword, F4 and F5 the argument text.
  c.SetCommand(OpCallLibrary, [&c, this](const ScriptStatement& s) {
    const std::string library = c.Expand(s.F[0]);
    const std::string function = c.Expand(s.F[1]);
    const std::string arguments = c.Expand(s.F[3] + s.F[4]);
    const std::string result = s.F[2] == "STRING" ? CallForText(library, function, arguments)
                                                  : std::to_string(CallForNumber(library, function, arguments));
    if (Failed()) {
      c.Assign("%ErrorCode%", "2");
      c.Assign("%DLLResult%", "ERROR");
    } else {
      c.Assign("%DLLResult%", result);
    }
  });
}

}  // namespace vnt
