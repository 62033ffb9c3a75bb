#include "vntbuild/script/ScriptParser.h"

#include "package/PackagePrimitives.h"
#include "package/VarList.h"
#include "vntbuild/script/ScriptBlocks.h"

namespace vnt {

namespace {

// What a statement line accepts after its command.
struct TShape {
  std::string Name;            // for messages: "FileOpen", "@op 45"
  int MaxArgs = 0;
  bool ArgIsCondition = false;  // If and While take their condition as the argument
  int FirstField = 0;
  bool TakesId = false;
};

TShape ShapeOfCommand(uint8_t op) {
  TShape shape{OpcodeName(op), StoredFieldCount(op)};
  if (op == OpIf || op == OpWhile) {
    shape.MaxArgs = 1;
    shape.ArgIsCondition = true;
  } else if (IsBlockCloser(op)) {
    shape.MaxArgs = 0;
  } else if (IsBlockOpener(op)) {
    shape.MaxArgs = BlockIdField(op);  // the arguments before the id field
  }
  shape.TakesId = IsBlockOpener(op);
  return shape;
}

TLineRole RoleOf(uint8_t op) {
  if (IsBlockOpener(op)) return TLineRole::Open;
  if (op == OpElse) return TLineRole::Else;
  if (IsBlockCloser(op)) return TLineRole::End;
  return TLineRole::Plain;
}

class TLineParser {
public:
  explicit TLineParser(const std::vector<TToken>& tokens) : Tokens(tokens) {}

  TSourceStatement Parse() {
    TSourceStatement out;
    TShape shape = ReadCommand(out);
    std::vector<std::string> args = ReadArguments(shape);
    for (size_t k = 0; k < args.size(); ++k) {
      CheckLength(args[k], "argument " + std::to_string(k + 1) + " of " + shape.Name);
      if (shape.ArgIsCondition) out.St.Condition = args[k];
      else out.St.F[size_t(shape.FirstField) + k] = args[k];
    }
    ReadClauses(shape, args.size(), out);
    return out;
  }

private:
  const std::vector<TToken>& Tokens;
  size_t Pos = 0;

  const TToken* Peek() const { return Pos < Tokens.size() ? &Tokens[Pos] : nullptr; }
  bool PeekIs(TTokenKind kind) const { return Peek() && Peek()->Kind == kind; }
  bool PeekWord(const char* word) const {
    return PeekIs(TTokenKind::Word) && CompareTextIgnoringCase(Peek()->Text, word) == 0;
  }

  std::string TakeText(const std::string& what) {
    if (!PeekIs(TTokenKind::Text)) throw ELineError("expected " + what + " in double quotes");
    return Tokens[Pos++].Text;
  }

  TShape ReadCommand(TSourceStatement& out) {
    const TToken* first = Peek();
    if (!first) throw ELineError("expected a statement");
    if (first->Kind == TTokenKind::Directive) {
      ++Pos;
      if (CompareTextIgnoringCase(first->Text, "op") != 0)
        throw ELineError("unknown directive @" + first->Text + "; the only one is @op");
      out.St.Opcode = ReadRawOpcode();
      out.Role = TLineRole::Raw;
      std::string name = OpcodeName(out.St.Opcode);
      return TShape{"@op " + (name.empty() ? std::to_string(out.St.Opcode) : name), StoredFieldCount(out.St.Opcode)};
    }
    if (first->Kind != TTokenKind::Word) throw ELineError("expected a command name at the start of the line");
    ++Pos;
    auto op = OpcodeByName(first->Text);
    if (!op) throw ELineError("unknown command \"" + first->Text + "\"");
    out.St.Opcode = *op;
    out.Role = RoleOf(*op);
    return ShapeOfCommand(*op);
  }

  uint8_t ReadRawOpcode() {
    const TToken* t = Peek();
    if (t && t->Kind == TTokenKind::Number) {
      ++Pos;
      unsigned value = 0;
      for (char c : t->Text) {
        value = value * 10 + unsigned(c - '0');
        if (value > 255) throw ELineError("opcode " + t->Text + " is out of range; opcodes are 0 to 255");
      }
      return uint8_t(value);
    }
    if (t && t->Kind == TTokenKind::Word) {
      ++Pos;
      if (auto op = OpcodeByName(t->Text)) return *op;
      throw ELineError("unknown command \"" + t->Text + "\" after @op");
    }
    throw ELineError("expected an opcode number or a command name after @op");
  }

  std::vector<std::string> ReadArguments(const TShape& shape) {
    std::vector<std::string> args;
    if (!PeekIs(TTokenKind::Text)) return args;
    while (true) {
      if (int(args.size()) == shape.MaxArgs) throw ELineError(TooMany(shape));
      args.push_back(Tokens[Pos++].Text);
      if (!PeekIs(TTokenKind::Comma)) return args;
      ++Pos;
      if (!PeekIs(TTokenKind::Text))
        throw ELineError("expected argument " + std::to_string(args.size() + 1) + " of " + shape.Name +
                         " in double quotes after \",\"");
    }
  }

  static std::string TooMany(const TShape& shape) {
    if (shape.MaxArgs == 0) return shape.Name + " takes no arguments";
    return shape.Name + " takes at most " + std::to_string(shape.MaxArgs) +
           (shape.MaxArgs == 1 ? " argument" : " arguments");
  }

  void ReadClauses(const TShape& shape, size_t argCount, TSourceStatement& out) {
    std::string after = argCount ? "argument " + std::to_string(argCount) + " of " + shape.Name : shape.Name;
    std::string expected = argCount         ? "\",\" or end of line"
                           : shape.MaxArgs ? "an argument in double quotes or end of line"
                                           : "end of line";
    if (PeekWord("id")) {
      if (!shape.TakesId)
        throw ELineError("only If, While, For and ForEachSelected take a block id; " + shape.Name + " does not");
      ++Pos;
      out.Id = TakeText("the block id");
      CheckLength(*out.Id, "the block id of " + shape.Name);
      after = "the block id of " + shape.Name;
      expected = "end of line";
    }
    if (PeekWord("if")) {
      if (shape.ArgIsCondition)
        throw ELineError(shape.Name + " takes its condition as its argument, not after \"if\"");
      ++Pos;
      out.St.Condition = TakeText("the condition");
      CheckLength(out.St.Condition, "the condition of " + shape.Name);
      after = "the condition of " + shape.Name;
      expected = "end of line";
    }
    if (Peek()) throw ELineError("expected " + expected + " after " + after);
  }

  static void CheckLength(const std::string& text, const std::string& what) {
    if (text.size() > FixedFieldLength)
      throw ELineError(what + " has " + std::to_string(text.size()) + " characters; the setup keeps only " +
                       std::to_string(FixedFieldLength));
  }
};

}  // namespace

TSourceStatement ParseStatement(const std::vector<TToken>& tokens) {
  return TLineParser(tokens).Parse();
}

}  // namespace vnt
