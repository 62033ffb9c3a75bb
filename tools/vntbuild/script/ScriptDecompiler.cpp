#include "vntbuild/script/ScriptDecompiler.h"

#include <algorithm>
#include <limits>
#include <set>

#include "package/PackagePrimitives.h"
#include "package/ScriptCodec.h"
#include "vntbuild/script/ScriptBlocks.h"
#include "vntbuild/script/ScriptCompiler.h"
#include "vntbuild/script/ScriptLexer.h"
#include "vntbuild/script/ScriptParser.h"

namespace vnt {

namespace {

// Deeper blocks are not indented further: a damaged list could nest thousands deep.
constexpr size_t MaxIndentDepth = 16;

// The list as the setup loads it: stored fields cut as the stored form keeps them, the rest empty.
TScript AsStored(const TScript& script) {
  TScript out;
  out.reserve(script.size());
  for (const auto& st : script) {
    ScriptStatement s;
    s.Opcode = st.Opcode;
    for (int f = 0; f < StoredFieldCount(st.Opcode); ++f) s.F[size_t(f)] = FixedField(st.F[size_t(f)]);
    s.Condition = FixedField(st.Condition);
    out.push_back(std::move(s));
  }
  return out;
}

struct TLayout {
  std::vector<TLineRole> Roles;
  std::vector<size_t> Depth;
};

struct TOpenBlock {
  std::optional<size_t> Else;
  size_t End;
  // The index before which a block opened now must close.
  size_t LimitAt(size_t i) const { return Else && i < *Else ? *Else : End; }
};

// A command written by name must compile back to this very statement.
TLineRole RoleOfOther(const TScript& s, const TScriptIndex& index, size_t i) {
  const ScriptStatement& st = s[i];
  if (OpcodeName(st.Opcode).empty() || IsBlockCloser(st.Opcode)) return TLineRole::Raw;
  if (st.Opcode == OpGoTo && !index.FindLabel(st.F[0])) return TLineRole::Raw;
  if (st.Opcode == OpLabel && index.FindLabel(st.F[0]) != i) return TLineRole::Raw;
  return TLineRole::Plain;
}

// Takes the blocks the setup pairs as they nest, outermost first; the rest stays raw.
TLayout Analyse(const TScript& s) {
  TLayout layout;
  TScriptIndex index(s);
  std::vector<TOpenBlock> stack;
  for (size_t i = 0; i < s.size(); ++i) {
    if (!stack.empty() && (stack.back().Else == i || stack.back().End == i)) {
      bool isEnd = stack.back().End == i;
      layout.Roles.push_back(isEnd ? TLineRole::End : TLineRole::Else);
      layout.Depth.push_back(stack.size() - 1);
      if (isEnd) stack.pop_back();
      continue;
    }
    layout.Depth.push_back(stack.size());
    TLineRole role = RoleOfOther(s, index, i);
    if (IsBlockOpener(s[i].Opcode)) {
      TBlockMatch m = index.MatchBlock(i);
      size_t limit = stack.empty() ? std::numeric_limits<size_t>::max() : stack.back().LimitAt(i);
      role = m.WellFormed() && *m.End < limit ? TLineRole::Open : TLineRole::Raw;
      if (role == TLineRole::Open) stack.push_back({m.Else, *m.End});
    }
    layout.Roles.push_back(role);
  }
  return layout;
}

// Arguments up to the last non-empty one: missing arguments compile as empty texts.
std::string Arguments(const std::vector<std::string>& args) {
  size_t count = args.size();
  while (count > 0 && args[count - 1].empty()) --count;
  std::string out;
  for (size_t k = 0; k < count; ++k) out += (k ? ", " : " ") + QuoteScriptText(args[k]);
  return out;
}

std::vector<std::string> Fields(const ScriptStatement& st, int count) {
  return std::vector<std::string>(st.F.begin(), st.F.begin() + count);
}

std::string Guard(const ScriptStatement& st) {
  return st.Condition.empty() ? "" : " if " + QuoteScriptText(st.Condition);
}

std::string RawLine(const ScriptStatement& st) {
  std::string name = OpcodeName(st.Opcode);
  return "@op " + (name.empty() ? std::to_string(st.Opcode) : name) +
         Arguments(Fields(st, StoredFieldCount(st.Opcode))) + Guard(st);
}

std::string OpenLine(const ScriptStatement& st, const std::string& autoId) {
  std::string line = OpcodeName(st.Opcode);
  std::string id = BlockIdOf(st);
  if (st.Opcode == OpIf || st.Opcode == OpWhile) line += Arguments({st.Condition});
  else line += Arguments(Fields(st, BlockIdField(st.Opcode)));
  if (id != autoId) line += " id " + QuoteScriptText(id);
  if (st.Opcode != OpIf && st.Opcode != OpWhile) line += Guard(st);
  return line;
}

std::string Line(const ScriptStatement& st, TLineRole role) {
  switch (role) {
    case TLineRole::Raw: return RawLine(st);
    case TLineRole::Else:
    case TLineRole::End: return OpcodeName(st.Opcode) + Guard(st);
    default: return OpcodeName(st.Opcode) + Arguments(Fields(st, StoredFieldCount(st.Opcode))) + Guard(st);
  }
}

// The ids the compiler will give blocks written without one, as it chooses them.
std::vector<std::string> CompilerIds(const TScript& s, const TLayout& layout) {
  std::set<std::string> taken;
  size_t blocks = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (layout.Roles[i] == TLineRole::Open) ++blocks;
    if (layout.Roles[i] == TLineRole::Raw && BlockIdField(s[i].Opcode) >= 0) taken.insert(BlockIdOf(s[i]));
  }
  return AutoBlockIds(taken, blocks);
}

std::string StoredBytes(const TScript& script) {
  TMemoryStream s;
  WriteScript(s, script);
  return s.Bytes();
}

}  // namespace

std::string DecompileStructured(const TScript& script) {
  TScript s = AsStored(script);
  TLayout layout = Analyse(s);
  std::vector<std::string> autoIds = CompilerIds(s, layout);
  std::string out;
  size_t block = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    out += std::string(2 * std::min(layout.Depth[i], MaxIndentDepth), ' ');
    out += layout.Roles[i] == TLineRole::Open ? OpenLine(s[i], autoIds[block++]) : Line(s[i], layout.Roles[i]);
    out += "\n";
  }
  return out;
}

std::string DecompileRaw(const TScript& script) {
  std::string out;
  for (const auto& st : AsStored(script)) out += RawLine(st) + "\n";
  return out;
}

std::string DecompileScript(const TScript& script) {
  std::string text = DecompileStructured(script);
  try {
    if (StoredBytes(CompileScriptText(text, "decompiled")) == StoredBytes(script)) return text;
  } catch (const EScriptSyntaxError&) {
  }
  return DecompileRaw(script);
}

}  // namespace vnt
