#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "package/ScriptCodec.h"
#include "vntbuild/script/ScriptBlocks.h"
#include "vntbuild/script/ScriptCompiler.h"
#include "vntbuild/script/ScriptDecompiler.h"
#include "vntbuild/script/ScriptLexer.h"

using namespace vnt;

namespace {

std::string Stored(const TScript& script) {
  TMemoryStream s;
  WriteScript(s, script);
  return s.Bytes();
}

TScript Compile(const std::string& text) { return CompileScriptText(text, "t.vns"); }

// The messages of a source that must not compile.
std::vector<std::string> ErrorsOf(const std::string& text) {
  try {
    CompileScriptText(text, "bad.vns");
  } catch (const EScriptSyntaxError& e) {
    return e.Messages();
  }
  ADD_FAILURE() << "compiled without errors:\n" << text;
  return {};
}

ScriptStatement St(uint8_t op, std::array<std::string, 5> f = {}, std::string condition = "") {
  ScriptStatement st;
  st.Opcode = op;
  st.F = std::move(f);
  st.Condition = std::move(condition);
  return st;
}

// Decompiling must give source that compiles to the very bytes of the list.
void ExpectRoundTrip(const TScript& script) {
  std::string text = DecompileStructured(script);
  TScript back;
  try {
    back = Compile(text);
  } catch (const EScriptSyntaxError& e) {
    FAIL() << e.what() << "\nin:\n" << text;
  }
  EXPECT_EQ(Stored(back), Stored(script)) << text;
  EXPECT_EQ(DecompileStructured(back), text);
  EXPECT_EQ(DecompileScript(script), text);
}

std::filesystem::path ScriptDataDir() {
  if (const char* dir = std::getenv("VNT_SCRIPT_TEST_DATA")) return dir;
  return std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / "scripts";
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TEST(ScriptLanguage, CorpusUsesEveryCommandAndNestsEveryBlock) {
  std::string source = ReadFile(ScriptDataDir() / "every_command.vns");
  ASSERT_FALSE(source.empty()) << "corpus not found in " << ScriptDataDir();
  TScript script = CompileScriptText(source, "every_command.vns");

  std::set<uint8_t> used;
  for (const auto& st : script) used.insert(st.Opcode);
  for (int op = 0; op < 128; ++op)
    if (!OpcodeName(uint8_t(op)).empty()) {
      EXPECT_TRUE(used.count(uint8_t(op))) << OpcodeName(uint8_t(op));
    }

  std::set<std::string> ids;
  TScriptIndex index(script);
  for (size_t i = 0; i < script.size(); ++i) {
    if (!IsBlockOpener(script[i].Opcode)) continue;
    EXPECT_TRUE(ids.insert(BlockIdOf(script[i])).second) << "block id used twice: " << BlockIdOf(script[i]);
    EXPECT_TRUE(index.MatchBlock(i).WellFormed()) << i;
  }
  EXPECT_EQ(ids.size(), 8u);

  // Decompiled, the corpus reads as it was written, without its comments and blank lines.
  std::string expected;
  std::istringstream lines(source);
  for (std::string line; std::getline(lines, line);)
    if (!line.empty() && line[0] != '#' && line.rfind("//", 0) != 0) expected += line + "\n";
  EXPECT_EQ(DecompileScript(script), expected);
  ExpectRoundTrip(script);
}

TEST(ScriptLanguage, StatementsFillTheirFields) {
  TScript s = Compile(
      "fileopen \"%S%\", \"http://x/a#b\" // a comment\n"
      "\n"
      "  # a comment line\n"
      "MessageBox \"Caption\"\r\n"
      "For \"%I%\", \"1\", \"10\" if \"%A% = 1|\"\n"
      "  If \"%B% = 2|\"\n"
      "  Else if \"ignored|\"\n"
      "    ForEachSelected \"%Item%\", \"List\" id \"mine\"\n"
      "    EndForEach\n"
      "  EndIf\n"
      "EndFor\n"
      "While \"%C% < 3|\"\n"
      "EndWhile\n"
      "@op 45 if \"x|\"\n"
      "@op 200 \"a\"\n");
  ASSERT_EQ(s.size(), 13u);
  EXPECT_EQ(s[0], St(OpFileOpen, {"%S%", "http://x/a#b", ""}));
  EXPECT_EQ(s[1], St(OpMessageBox, {"Caption", "", ""}));
  EXPECT_EQ(s[2], St(OpFor, {"%I%", "1", "10", "b1"}, "%A% = 1|"));
  EXPECT_EQ(s[3], St(OpIf, {"b2"}, "%B% = 2|"));
  EXPECT_EQ(s[4], St(OpElse, {"b2"}, "ignored|"));
  EXPECT_EQ(s[5], St(OpForEachSelected, {"%Item%", "List", "mine"}));
  EXPECT_EQ(s[6], St(OpEndForEach, {"mine"}));
  EXPECT_EQ(s[7], St(OpEndIf, {"b2"}));
  EXPECT_EQ(s[8], St(OpEndFor, {"b1"}));
  EXPECT_EQ(s[9], St(OpWhile, {"b4"}, "%C% < 3|"));  // the fourth block, though the third had its own id
  EXPECT_EQ(s[10], St(OpEndWhile, {"b4"}));
  EXPECT_EQ(s[11], St(45, {}, "x|"));
  EXPECT_EQ(s[12], St(200, {"a"}));
  EXPECT_TRUE(Compile("").empty());
  EXPECT_TRUE(Compile("# nothing\n\n").empty());
}

TEST(ScriptLanguage, GeneratedIdsKeepClearOfRawBlockStatements) {
  TScript s = Compile("@op EndIf \"b1\"\nIf \"a|\"\nEndIf\n");
  EXPECT_EQ(s[1].F[0], "b2");
  EXPECT_EQ(TScriptIndex(s).MatchBlock(1).End, 2u);
}

TEST(ScriptLanguage, TextsKeepEveryByteThroughTheirQuotedForm) {
  EXPECT_EQ(QuoteScriptText("a\"b\\c\n\r\t\x01\x7f\xe9"), "\"a\\\"b\\\\c\\n\\r\\t\\x01\\x7F\xe9\"");
  std::string all;
  for (int b = 1; b < 256; ++b) all += char(b);
  auto tokens = TokenizeLine("FileWrite " + QuoteScriptText(all));
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(tokens[1].Text, all);
  EXPECT_EQ(Compile("FileWrite \"\\x41\\x4a\\\"\"")[0].F[0], "AJ\"");
  ExpectRoundTrip({St(OpFileWrite, {all.substr(0, 200)}, all.substr(200))});
}

TEST(ScriptLanguage, MistakesNameTheirLine) {
  struct TCase {
    std::string Source;
    std::string Expected;  // "bad.vns:<line>: <start of the message>"
  };
  std::string longText(1001, 'x');
  const TCase cases[] = {
      {"NextPage\nFoo \"a\"", "bad.vns:2: unknown command \"Foo\""},
      {"FileDelete \"a\", \"b\"", "bad.vns:1: FileDelete takes at most 1 argument"},
      {"FileClose \"a\"", "bad.vns:1: FileClose takes no arguments"},
      {"\nFileOpen \"%S%\", \"a\" \"0\"", "bad.vns:2: expected \",\" or end of line after argument 2 of FileOpen"},
      {"FileOpen \"%S%\",", "bad.vns:1: expected argument 2 of FileOpen in double quotes"},
      {"MessageBox \"a", "bad.vns:1: text not closed"},
      {"FileWrite \"a\\", "bad.vns:1: text not closed"},
      {"FileWrite \"C:\\Program\"", "bad.vns:1: unknown escape \\P"},
      {"FileWrite \"a\\x00\"", "bad.vns:1: a text cannot hold a zero byte"},
      {"FileWrite \"a\\x4\"", "bad.vns:1: \\x in a text needs two hexadecimal digits"},
      {"FileWrite \"a\";", "bad.vns:1: unexpected ';'"},
      {"FileWrite \"" + longText + "\"", "bad.vns:1: argument 1 of FileWrite has 1001 characters; the setup keeps only 1000"},
      {"NextPage if \"" + longText + "\"", "bad.vns:1: the condition of NextPage has 1001"},
      {"If \"a\" id \"" + longText + "\"\nEndIf", "bad.vns:1: the block id of If has 1001"},
      {"\nIf \"a|\"\nNextPage", "bad.vns:2: If is never closed; expected EndIf"},
      {"\n\nEndWhile", "bad.vns:3: EndWhile without While"},
      {"If \"a|\"\nFor \"%I%\", \"1\", \"2\"\nEndIf", "bad.vns:3: expected EndFor for the For of line 2 before EndIf"},
      {"While \"a|\"\nElse\nEndWhile", "bad.vns:2: Else without If; expected EndWhile"},
      {"If \"a|\"\nElse\nElse\nEndIf", "bad.vns:3: second Else for the If of line 1"},
      {"If \"a|\" if \"b|\"\nEndIf", "bad.vns:1: If takes its condition as its argument"},
      {"NextPage id \"x\"", "bad.vns:1: only If, While, For and ForEachSelected take a block id"},
      {"For \"%I%\", \"1\", \"2\" if \"a|\" id \"x\"\nEndFor", "bad.vns:1: expected end of line after the condition of For"},
      {"Label \"a\"\nGoTo \"A\"", "bad.vns:2: GoTo \"A\": there is no Label \"A\""},
      {"Label \"a\"\nNextPage\nLabel \"a\"", "bad.vns:3: Label \"a\" is already defined at line 1"},
      {"If \"a|\" id \"k\"\nIf \"b|\" id \"k\"\nEndIf\nEndIf", "bad.vns:1: block id \"k\" of this If is also used by the EndIf of line 3"},
      {"If \"a|\" id \"k\"\nEndIf\n@op Else \"k\"", "bad.vns:1: block id \"k\" of this If is also used by the Else of line 3"},
      {"@op 256", "bad.vns:1: opcode 256 is out of range"},
      {"@op Foo", "bad.vns:1: unknown command \"Foo\" after @op"},
      {"@op", "bad.vns:1: expected an opcode number or a command name after @op"},
      {"@op 45 \"a\"", "bad.vns:1: @op 45 takes no arguments"},
      {"@op If \"a\", \"b\"", "bad.vns:1: @op If takes at most 1 argument"},
      {"@code 45", "bad.vns:1: unknown directive @code"},
      {"\"a\"", "bad.vns:1: expected a command name"},
      // The compiler works on code page text: a byte order mark is dropped when the file is read.
      {"\xEF\xBB\xBFNextPage", "bad.vns:1: unexpected byte 0xEF"},
  };
  for (const auto& c : cases) {
    auto errors = ErrorsOf(c.Source);
    ASSERT_FALSE(errors.empty()) << c.Source;
    EXPECT_EQ(errors[0].substr(0, c.Expected.size()), c.Expected) << c.Source;
  }
  // Exactly the stub's limit is fine.
  EXPECT_EQ(Compile("FileWrite \"" + std::string(1000, 'y') + "\"")[0].F[0].size(), 1000u);
}

TEST(ScriptLanguage, AllMistakesOfAFileAreReportedInLineOrder) {
  auto errors = ErrorsOf("If \"a|\"\nFoo\nFileClose \"x\"\nGoTo \"nowhere\"\n");
  ASSERT_EQ(errors.size(), 4u);
  EXPECT_EQ(errors[0], "bad.vns:1: If is never closed; expected EndIf");
  EXPECT_EQ(errors[1], "bad.vns:2: unknown command \"Foo\"");
  EXPECT_EQ(errors[2], "bad.vns:3: FileClose takes no arguments");
  EXPECT_EQ(errors[3], "bad.vns:4: GoTo \"nowhere\": there is no Label \"nowhere\" in this script");

  std::string many;
  for (int i = 0; i < 200; ++i) many += "Foo\n";
  errors = ErrorsOf(many);
  ASSERT_EQ(errors.size(), MaxScriptErrors + 1);
  EXPECT_EQ(errors.back(), "bad.vns: too many errors; stopped");
}

TEST(ScriptLanguage, ListsThatDoNotNestAreWrittenRaw) {
  struct TCase {
    TScript Script;
    std::string Expected;
  };
  const TCase cases[] = {
      {{St(OpIf, {"k"}, "c|"), St(OpNextPage)}, "@op If \"k\" if \"c|\"\nNextPage\n"},
      {{St(OpEndIf, {"k"})}, "@op EndIf \"k\"\n"},
      {{St(OpIf, {"k"}), St(OpEndIf, {"k"}), St(OpElse, {"k"})}, "@op If \"k\"\n@op EndIf \"k\"\n@op Else \"k\"\n"},
      {{St(OpIf, {"a"}), St(OpWhile, {"b"}), St(OpEndIf, {"a"}), St(OpEndWhile, {"b"})},
       "If id \"a\"\n  @op While \"b\"\nEndIf\n@op EndWhile \"b\"\n"},
      {{St(OpIf, {"k"}), St(OpIf, {"k"}), St(OpEndIf, {"k"}), St(OpEndIf, {"k"})},
       "If id \"k\"\n  @op If \"k\"\nEndIf\n@op EndIf \"k\"\n"},
      {{St(OpFor, {"%I%", "1", "2", "k"}), St(OpEndFor, {"j"})}, "@op For \"%I%\", \"1\", \"2\", \"k\"\n@op EndFor \"j\"\n"},
      {{St(45, {"dropped"}, "x|"), St(200, {"a", "b"}), St(0x80 | OpIf, {"k"}), St(OpEndIf, {"k"})},
       "@op 45 if \"x|\"\n@op 200 \"a\", \"b\"\n@op 174 \"k\"\n@op EndIf \"k\"\n"},
      {{St(OpGoTo, {"x"}), St(OpLabel, {"y"}), St(OpLabel, {"y"})}, "@op GoTo \"x\"\nLabel \"y\"\n@op Label \"y\"\n"},
      // Blocks one after another may share their id: each finds its own closer first.
      {{St(OpWhile, {"1"}), St(OpEndWhile, {"1"}), St(OpWhile, {"1"}), St(OpEndWhile, {"1"})},
       "While id \"1\"\nEndWhile\nWhile id \"1\"\nEndWhile\n"},
      // The compiler's own ids need no mention, wherever raw statements push them along.
      {{St(OpEndFor, {"b1"}), St(OpIf, {"b2"}), St(OpEndIf, {"b2"}), St(OpIf, {"b4"}), St(OpEndIf, {"b4"})},
       "@op EndFor \"b1\"\nIf\nEndIf\nIf id \"b4\"\nEndIf\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecompileStructured(c.Script), c.Expected);
    ExpectRoundTrip(c.Script);
  }
}

TEST(ScriptLanguage, LongAndDeepListsKeepTheirStructure) {
  TScript script;
  for (int i = 0; i < 1000; ++i) script.push_back(St(OpIf, {"d" + std::to_string(i)}, "a|"));
  for (int i = 999; i >= 0; --i) script.push_back(St(OpEndIf, {"d" + std::to_string(i)}));
  for (int i = 0; i < 1000; ++i) {
    script.push_back(St(OpWhile, {"1"}, "b|"));
    script.push_back(St(OpEndWhile, {"1"}));
  }
  std::string text = DecompileStructured(script);
  EXPECT_EQ(text.find("@op"), std::string::npos);
  EXPECT_NE(text.find(std::string(32, ' ') + "If \"a|\" id \"d16\"\n"), std::string::npos);
  EXPECT_EQ(text.find(std::string(34, ' ')), std::string::npos);  // indentation stops growing
  EXPECT_EQ(Stored(Compile(text)), Stored(script));
  EXPECT_EQ(Stored(Compile("@op 045\n@op 0000255")), Stored({St(45), St(255)}));
}

namespace {

class TRandomLists {
public:
  explicit TRandomLists(uint32_t seed) : Rng(seed) {}

  // Mostly nested blocks with ids from a small pool, then damaged in random places.
  TScript Next() {
    TScript s;
    AddBody(s, 0);
    for (int damage = int(Pick(4)); damage > 0 && !s.empty(); --damage) Damage(s);
    return s;
  }

private:
  std::mt19937 Rng;

  uint32_t Pick(uint32_t n) { return uint32_t(Rng() % n); }

  std::string Text() {
    static const char* pool[] = {"b1", "b2", "b3", "1", "x", "", "%A% = 1|"};
    uint32_t kind = Pick(20);
    if (kind < 6) return "";
    if (kind < 12) return pool[Pick(7)];
    if (kind == 12) return std::string(995 + Pick(20), char('a' + Pick(26)));
    std::string t(Pick(12), '\0');  // any bytes: quotes, backslashes, control bytes, zero bytes
    for (char& c : t) c = char(Pick(256));
    return t;
  }

  ScriptStatement Statement(uint8_t op) {
    ScriptStatement st;
    st.Opcode = op;
    for (auto& f : st.F) f = Text();
    st.Condition = Text();
    return st;
  }

  void AddBody(TScript& s, int depth) {
    for (int n = int(Pick(5)); n > 0; --n) {
      if (depth < 4 && Pick(5) < 2) {
        AddBlock(s, depth);
      } else {
        uint32_t r = Pick(10);
        uint8_t op = r < 7   ? uint8_t(Pick(128))
                     : r < 8 ? uint8_t(128 + Pick(128))
                     : r < 9 ? uint8_t(OpGoTo)
                             : uint8_t(OpLabel);
        s.push_back(Statement(op));
      }
    }
  }

  void AddBlock(TScript& s, int depth) {
    static const uint8_t openers[] = {OpIf, OpWhile, OpFor, OpForEachSelected};
    uint8_t op = openers[Pick(4)];
    ScriptStatement open = Statement(op);
    std::string id = BlockIdOf(open);
    s.push_back(open);
    AddBody(s, depth + 1);
    if (op == OpIf && Pick(2)) {
      s.push_back(Statement(OpElse));
      s.back().F[0] = id;
      AddBody(s, depth + 1);
    }
    s.push_back(Statement(CloserOf(op)));
    s.back().F[0] = id;
  }

  void Damage(TScript& s) {
    size_t a = Pick(uint32_t(s.size())), b = Pick(uint32_t(s.size()));
    switch (Pick(4)) {
      case 0: s.erase(s.begin() + long(a)); break;
      case 1: std::swap(s[a], s[b]); break;
      case 2: { ScriptStatement copy = s[b]; s.insert(s.begin() + long(a), copy); break; }
      default: s[a].F[0] = Text(); break;
    }
  }
};

}  // namespace

TEST(ScriptLanguage, RandomStoredListsSurviveDecompiling) {
  TRandomLists lists(20240611);
  size_t structured = 0, raw = 0;
  for (int n = 0; n < 300; ++n) {
    TScript script = lists.Next();
    std::string text = DecompileStructured(script);
    for (const char* closer : {"EndIf\n", "EndWhile\n", "EndFor\n", "EndForEach\n"})
      for (size_t at = text.find(closer); at != std::string::npos; at = text.find(closer, at + 1))
        (at > 4 && text.compare(at - 4, 4, "@op ") == 0 ? raw : structured) += 1;
    raw += text.find("@op If") != std::string::npos;
    ExpectRoundTrip(script);
    EXPECT_EQ(Stored(Compile(DecompileRaw(script))), Stored(script));
    if (HasFailure()) break;
  }
  // Both forms must have been exercised for the round trip to mean something.
  EXPECT_GT(structured, 200u);
  EXPECT_GT(raw, 40u);
}

TEST(ScriptLanguage, DamagedSourceEndsInMessagesOnly) {
  std::string corpus = ReadFile(ScriptDataDir() / "every_command.vns");
  ASSERT_FALSE(corpus.empty());
  std::mt19937 rng(77);
  size_t refused = 0;
  for (int n = 0; n < 100; ++n) {
    std::string text = corpus;
    for (int k = int(rng() % 4) + 1; k > 0; --k) {
      size_t at = rng() % text.size();
      if (rng() % 2) text[at] = char(rng() % 256);
      else text.erase(at, rng() % 40);
    }
    try {
      CompileScriptText(text, "damaged.vns");
    } catch (const EScriptSyntaxError& e) {
      ++refused;
      EXPECT_FALSE(e.Messages().empty());
      for (const auto& m : e.Messages()) EXPECT_EQ(m.rfind("damaged.vns:", 0), 0u) << m;
    }
  }
  EXPECT_GT(refused, 50u);
}
