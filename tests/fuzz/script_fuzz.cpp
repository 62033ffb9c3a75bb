// libFuzzer target: bytes as script source. Promises: only EScriptSyntaxError is raised, with
// at most the error limit (and a last line saying so); a script that compiles keeps its
// statements through the stored form, and its decompiled text compiles to the same statements.
#include <cstdint>
#include <string>

#include "package/PackageStream.h"
#include "package/ScriptCodec.h"
#include "vntbuild/script/ScriptCompiler.h"
#include "vntbuild/script/ScriptDecompiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vnt::TScript script;
  try {
    script = vnt::CompileScriptText(std::string(reinterpret_cast<const char*>(data), size), "fuzz.vns");
  } catch (const vnt::EScriptSyntaxError& e) {
    if (e.Messages().empty() || e.Messages().size() > vnt::MaxScriptErrors + 1) __builtin_trap();
    return 0;
  }
  vnt::TMemoryStream stored;
  vnt::WriteScript(stored, script);
  stored.Seek(0);
  if (!(vnt::ReadScript(stored) == script)) __builtin_trap();
  if (!(vnt::CompileScriptText(vnt::DecompileScript(script), "again.vns") == script)) __builtin_trap();
  return 0;
}
