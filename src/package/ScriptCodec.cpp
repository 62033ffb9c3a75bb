#include "package/ScriptCodec.h"

#include "package/PackagePrimitives.h"

namespace vnt {

namespace {

constexpr char ScriptKey[] = "kwo-ribbon";
constexpr size_t ScriptKeyLength = 10;
// The opcode word and the condition's length: the least a statement takes.
constexpr uint32_t MinStatementBytes = 8;

std::string ReadScriptText(TStream& s) {
  int32_t length = ReadI32(s);
  if (length < 0 || uint64_t(length) > s.Remaining()) throw EPackageError("script text longer than its data");
  std::string bytes(size_t(length), '\0');
  s.ReadExact(bytes.data(), bytes.size());
  // Fields hold at most 1000 characters; the text ends at a zero byte as a field would.
  return FixedField(ScrambleScriptText(std::move(bytes)));
}

void WriteScriptText(TStream& s, const std::string& text) {
  WriteI32(s, int32_t(text.size()));
  std::string bytes = ScrambleScriptText(text);
  s.Write(bytes.data(), bytes.size());
}

}  // namespace

std::string ScrambleScriptText(std::string text) {
  for (size_t i = 0; i < text.size(); ++i) text[i] = char(text[i] ^ ScriptKey[i % ScriptKeyLength]);
  return text;
}

TScript ReadScript(TStream& s) {
  int32_t count = ReadI32(s);
  if (count < 0 || uint64_t(count) * MinStatementBytes > s.Remaining())
    throw EPackageError("script statement count larger than its data");
  TScript script;
  script.reserve(size_t(count));
  for (int32_t i = 0; i < count; ++i) {
    ScriptStatement st;
    st.Opcode = uint8_t(ReadI32(s) & 0xFF);
    for (int f = 0; f < StoredFieldCount(st.Opcode); ++f) st.F[f] = ReadScriptText(s);
    st.Condition = ReadScriptText(s);
    script.push_back(std::move(st));
  }
  return script;
}

void WriteScript(TStream& s, const TScript& script) {
  WriteI32(s, int32_t(script.size()));
  for (const auto& st : script) {
    WriteI32(s, st.Opcode);
    for (int f = 0; f < StoredFieldCount(st.Opcode); ++f) WriteScriptText(s, FixedField(st.F[f]));
    WriteScriptText(s, FixedField(st.Condition));
  }
}

}  // namespace vnt
