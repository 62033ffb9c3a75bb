// How the setup pairs block statements and finds labels in a stored list. The compiler checks
// its output against these rules and the decompiler uses them to recover the structure, so
// both agree with what the setup will run.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "package/ScriptTypes.h"

namespace vnt {

bool IsBlockOpener(uint8_t opcode);  // If, While, For, ForEachSelected
bool IsBlockCloser(uint8_t opcode);  // Else, EndIf, EndWhile, EndFor, EndForEach
// The closing opcode of an opener (EndIf for If, ...).
uint8_t CloserOf(uint8_t opener);
// The field index (0 for F1) that holds the block id of an opener or closer; -1 otherwise.
int BlockIdField(uint8_t opcode);
std::string BlockIdOf(const ScriptStatement& st);

struct TBlockMatch {
  std::optional<size_t> Else;  // If only
  std::optional<size_t> End;
  // The body runs as its statements suggest: a closer exists and an Else comes before it.
  bool WellFormed() const { return End && (!Else || *Else < *End); }
};

// Closers and labels of one list by id, so that long lists are matched without searching
// them once per block. The list must outlive the index and stay unchanged.
class TScriptIndex {
public:
  explicit TScriptIndex(const TScript& script);

  // The Else and closing statement the setup finds for the opener at index open: the first
  // ones after it whose F1 equals the opener's block id.
  TBlockMatch MatchBlock(size_t open) const;
  // The Label a GoTo to name reaches: the first one in the list.
  std::optional<size_t> FindLabel(const std::string& name) const;

private:
  const TScript& Script;
  std::map<std::pair<uint8_t, std::string>, std::vector<size_t>> Closers;  // in list order
  std::map<std::string, size_t> Labels;
  std::optional<size_t> FirstAfter(uint8_t closer, const std::string& id, size_t open) const;
};

// Block ids the compiler gives its blocks in opening order: "b1", "b2", ... leaving out
// the ids in taken.
std::vector<std::string> AutoBlockIds(const std::set<std::string>& taken, size_t count);

}  // namespace vnt
