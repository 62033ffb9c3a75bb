// Reads one statement line of script source into a statement and its place in the block
// structure; the compiler pairs the blocks afterwards.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "package/ScriptTypes.h"
#include "vntbuild/script/ScriptLexer.h"

namespace vnt {

enum class TLineRole {
  Plain,  // a command by its name
  Raw,    // "@op": the stored statement exactly as written, outside any block structure
  Open,   // If, While, For, ForEachSelected
  Else,
  End     // EndIf, EndWhile, EndFor, EndForEach
};

struct TSourceStatement {
  ScriptStatement St;
  TLineRole Role = TLineRole::Plain;
  std::optional<std::string> Id;  // a block id the source gives an opener with "id"
};

// Raises ELineError with what was expected.
TSourceStatement ParseStatement(const std::vector<TToken>& tokens);

}  // namespace vnt
