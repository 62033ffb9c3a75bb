#include "vntbuild/script/ScriptCompiler.h"

#include <algorithm>
#include <optional>
#include <set>

#include "vntbuild/script/ScriptBlocks.h"
#include "vntbuild/script/ScriptLexer.h"
#include "vntbuild/script/ScriptParser.h"

namespace vnt {

namespace {

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string all;
  for (const auto& line : lines) all += (all.empty() ? "" : "\n") + line;
  return all;
}

struct TBlock {
  uint8_t Opcode;
  size_t Open;
  std::optional<size_t> Else;
  std::optional<size_t> End;
  std::optional<std::string> Id;
};

struct TError {
  int Line;
  std::string Message;
};

class TCompiler {
public:
  explicit TCompiler(std::string fileName) : FileName(std::move(fileName)) {}

  TScript Compile(const std::string& text, std::vector<int>* lines = nullptr) {
    ReadLines(text);
    for (size_t b : Stack)
      Error(LineOf(Blocks[b].Open),
            OpcodeName(Blocks[b].Opcode) + " is never closed; expected " + OpcodeName(CloserOf(Blocks[b].Opcode)));
    if (Errors.empty()) {
      AssignIds();
      CheckBlockIds();
    }
    CheckLabels();
    if (!Errors.empty()) throw EScriptSyntaxError(Messages());
    if (lines) *lines = Lines;
    return std::move(Script);
  }

private:
  std::string FileName;
  TScript Script;
  std::vector<int> Lines;  // the source line of each statement
  std::vector<TLineRole> Roles;
  std::vector<TBlock> Blocks;  // in opening order
  std::vector<size_t> Stack;   // open blocks, innermost last
  std::vector<TError> Errors;

  int LineOf(size_t statement) const { return Lines[statement]; }
  void Error(int line, std::string message) { Errors.push_back({line, std::move(message)}); }

  std::string Where(size_t block) const {
    return "the " + OpcodeName(Blocks[block].Opcode) + " of line " + std::to_string(LineOf(Blocks[block].Open));
  }

  void ReadLines(const std::string& text) {
    size_t start = 0;
    for (int line = 1; start <= text.size() && Errors.size() <= MaxScriptErrors; ++line) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string source = text.substr(start, end - start);
      if (!source.empty() && source.back() == '\r') source.pop_back();
      ReadLine(source, line);
      start = end + 1;
    }
  }

  void ReadLine(const std::string& source, int line) {
    try {
      std::vector<TToken> tokens = TokenizeLine(source);
      if (!tokens.empty()) Add(ParseStatement(tokens), line);
    } catch (const ELineError& e) {
      Error(line, e.what());
    }
  }

  void Add(TSourceStatement&& s, int line) {
    size_t index = Script.size();
    uint8_t op = s.St.Opcode;
    Script.push_back(std::move(s.St));
    Lines.push_back(line);
    Roles.push_back(s.Role);
    if (s.Role == TLineRole::Open) {
      Stack.push_back(Blocks.size());
      Blocks.push_back({op, index, std::nullopt, std::nullopt, std::move(s.Id)});
    } else if (s.Role == TLineRole::Else) {
      AddElse(index, line);
    } else if (s.Role == TLineRole::End) {
      AddEnd(op, index, line);
    }
  }

  void AddElse(size_t index, int line) {
    if (Stack.empty()) return Error(line, "Else without If");
    TBlock& top = Blocks[Stack.back()];
    if (top.Opcode != OpIf)
      return Error(line, "Else without If; expected " + OpcodeName(CloserOf(top.Opcode)) + " for " +
                             Where(Stack.back()) + " first");
    if (top.Else) return Error(line, "second Else for " + Where(Stack.back()));
    top.Else = index;
  }

  void AddEnd(uint8_t closer, size_t index, int line) {
    std::string opener = OpenerName(closer);
    auto closes = [&](size_t b) { return CloserOf(Blocks[b].Opcode) == closer; };
    auto match = std::find_if(Stack.rbegin(), Stack.rend(), closes);
    if (match == Stack.rend()) {
      std::string innermost = Stack.empty() ? "" : " (the innermost open block is " + Where(Stack.back()) + ")";
      return Error(line, OpcodeName(closer) + " without " + opener + innermost);
    }
    if (match != Stack.rbegin())
      Error(line, "expected " + OpcodeName(CloserOf(Blocks[Stack.back()].Opcode)) + " for " + Where(Stack.back()) +
                      " before " + OpcodeName(closer));
    Blocks[*match].End = index;
    Stack.erase(std::prev(match.base()), Stack.end());
  }

  static std::string OpenerName(uint8_t closer) {
    for (uint8_t op : {OpIf, OpWhile, OpFor, OpForEachSelected})
      if (CloserOf(op) == closer) return OpcodeName(op);
    return "";
  }

  // Blocks without an id of their own get "b1", "b2", ... by opening order, passing over ids
  // that raw block statements use so that those cannot pair with them.
  void AssignIds() {
    std::set<std::string> taken;
    for (size_t i = 0; i < Script.size(); ++i)
      if (Roles[i] == TLineRole::Raw && BlockIdField(Script[i].Opcode) >= 0) taken.insert(BlockIdOf(Script[i]));
    std::vector<std::string> autoIds = AutoBlockIds(taken, Blocks.size());
    for (size_t b = 0; b < Blocks.size(); ++b) {
      const TBlock& block = Blocks[b];
      std::string id = block.Id ? *block.Id : autoIds[b];
      Script[block.Open].F[size_t(BlockIdField(block.Opcode))] = id;
      if (block.Else) Script[*block.Else].F[0] = id;
      Script[*block.End].F[0] = id;
    }
  }

  // The setup pairs blocks by id, not by position: make sure it finds the statements written.
  void CheckBlockIds() {
    TScriptIndex index(Script);
    for (size_t b = 0; b < Blocks.size(); ++b) {
      const TBlock& block = Blocks[b];
      TBlockMatch found = index.MatchBlock(block.Open);
      if (found.End == block.End && found.Else == block.Else) continue;
      // The statement found instead comes before the written one, or is an Else the If lacks.
      size_t wrong = found.End != block.End ? found.End.value_or(block.Open) : found.Else.value_or(block.Open);
      Error(LineOf(block.Open),
            "block id \"" + BlockIdOf(Script[block.Open]) + "\" of this " + OpcodeName(block.Opcode) +
                " is also used by the " + OpcodeName(Script[wrong].Opcode) + " of line " + std::to_string(LineOf(wrong)) +
                ", which the setup would pair with it; choose another id");
    }
  }

  void CheckLabels() {
    TScriptIndex index(Script);
    for (size_t i = 0; i < Script.size(); ++i) {
      if (Roles[i] != TLineRole::Plain) continue;
      const std::string& name = Script[i].F[0];
      auto label = index.FindLabel(name);
      if (Script[i].Opcode == OpGoTo && !label)
        Error(LineOf(i), "GoTo \"" + name + "\": there is no Label \"" + name + "\" in this script");
      if (Script[i].Opcode == OpLabel && label != i)
        Error(LineOf(i), "Label \"" + name + "\" is already defined at line " + std::to_string(LineOf(*label)) +
                             "; GoTo goes to the first");
    }
  }

  std::vector<std::string> Messages() {
    std::stable_sort(Errors.begin(), Errors.end(), [](const TError& a, const TError& b) { return a.Line < b.Line; });
    std::vector<std::string> out;
    for (const auto& e : Errors) {
      if (out.size() == MaxScriptErrors) {
        out.push_back(FileName + ": too many errors; stopped");
        break;
      }
      out.push_back(FileName + ":" + std::to_string(e.Line) + ": " + e.Message);
    }
    return out;
  }
};

}  // namespace

EScriptSyntaxError::EScriptSyntaxError(std::vector<std::string> messages)
    : std::runtime_error(JoinLines(messages)), Lines(std::move(messages)) {}

TScript CompileScriptText(const std::string& text, const std::string& fileName) {
  return TCompiler(fileName).Compile(text);
}

TScript CompileScriptText(const std::string& text, const std::string& fileName, std::vector<int>& lines) {
  return TCompiler(fileName).Compile(text, &lines);
}

}  // namespace vnt
