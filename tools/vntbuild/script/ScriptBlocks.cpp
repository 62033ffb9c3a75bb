#include "vntbuild/script/ScriptBlocks.h"

#include <algorithm>

namespace vnt {

bool IsBlockOpener(uint8_t opcode) {
  return opcode == OpIf || opcode == OpWhile || opcode == OpFor || opcode == OpForEachSelected;
}

bool IsBlockCloser(uint8_t opcode) {
  return opcode == OpElse || opcode == OpEndIf || opcode == OpEndWhile || opcode == OpEndFor ||
         opcode == OpEndForEach;
}

uint8_t CloserOf(uint8_t opener) {
  switch (opener) {
    case OpIf: return OpEndIf;
    case OpWhile: return OpEndWhile;
    case OpFor: return OpEndFor;
    default: return OpEndForEach;
  }
}

int BlockIdField(uint8_t opcode) {
  if (opcode == OpFor) return 3;
  if (opcode == OpForEachSelected) return 2;
  return IsBlockOpener(opcode) || IsBlockCloser(opcode) ? 0 : -1;
}

std::string BlockIdOf(const ScriptStatement& st) {
  int field = BlockIdField(st.Opcode);
  return field < 0 ? std::string() : st.F[size_t(field)];
}

TScriptIndex::TScriptIndex(const TScript& script) : Script(script) {
  for (size_t i = 0; i < script.size(); ++i) {
    if (IsBlockCloser(script[i].Opcode)) Closers[{script[i].Opcode, script[i].F[0]}].push_back(i);
    if (script[i].Opcode == OpLabel) Labels.emplace(script[i].F[0], i);  // keeps the first
  }
}

std::optional<size_t> TScriptIndex::FirstAfter(uint8_t closer, const std::string& id, size_t open) const {
  auto list = Closers.find({closer, id});
  if (list == Closers.end()) return std::nullopt;
  auto next = std::upper_bound(list->second.begin(), list->second.end(), open);
  if (next == list->second.end()) return std::nullopt;
  return *next;
}

TBlockMatch TScriptIndex::MatchBlock(size_t open) const {
  const ScriptStatement& st = Script[open];
  std::string id = BlockIdOf(st);
  TBlockMatch m;
  if (st.Opcode == OpIf) m.Else = FirstAfter(OpElse, id, open);
  m.End = FirstAfter(CloserOf(st.Opcode), id, open);
  return m;
}

std::optional<size_t> TScriptIndex::FindLabel(const std::string& name) const {
  auto label = Labels.find(name);
  if (label == Labels.end()) return std::nullopt;
  return label->second;
}

std::vector<std::string> AutoBlockIds(const std::set<std::string>& taken, size_t count) {
  std::vector<std::string> ids;
  for (size_t n = 1; ids.size() < count; ++n) {
    std::string id = "b" + std::to_string(n);
    if (!taken.count(id)) ids.push_back(id);
  }
  return ids;
}

}  // namespace vnt
