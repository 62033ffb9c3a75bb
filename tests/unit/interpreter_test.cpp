#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "FakeBuiltins.h"
#include "RepeatedText.h"
#include "script/CommandsNotYet.h"
#include "script/ListCommands.h"
#include "script/ScriptInterpretor.h"
#include "script/ValueCommands.h"

using namespace vnt;
using namespace vnt::test;

namespace {

ScriptStatement St(uint8_t op, std::vector<std::string> fields = {}, std::string condition = "") {
  ScriptStatement s;
  s.Opcode = op;
  for (size_t k = 0; k < fields.size() && k < s.F.size(); ++k) s.F[k] = fields[k];
  s.Condition = std::move(condition);
  return s;
}

// The test's trace command: appends expand(F1) to the log (it stands in opcode 6's place).
constexpr uint8_t OpLog = OpFileWrite;

ScriptStatement Log(const std::string& text, const std::string& cond = "") { return St(OpLog, {text}, cond); }
ScriptStatement If(const std::string& id, const std::string& cond) { return St(OpIf, {id}, cond); }
ScriptStatement Else(const std::string& id) { return St(OpElse, {id}); }
ScriptStatement EndIf(const std::string& id) { return St(OpEndIf, {id}); }
ScriptStatement While(const std::string& id, const std::string& cond) { return St(OpWhile, {id}, cond); }
ScriptStatement EndWhile(const std::string& id) { return St(OpEndWhile, {id}); }
ScriptStatement For(const std::string& var, const std::string& from, const std::string& to, const std::string& id,
                    const std::string& cond = "") {
  return St(OpFor, {var, from, to, id}, cond);
}
ScriptStatement EndFor(const std::string& id) { return St(OpEndFor, {id}); }
ScriptStatement ForEach(const std::string& var, const std::string& list, const std::string& id) {
  return St(OpForEachSelected, {var, list, id});
}
ScriptStatement EndForEach(const std::string& id) { return St(OpEndForEach, {id}); }
ScriptStatement Label(const std::string& name) { return St(OpLabel, {name}); }
ScriptStatement GoTo(const std::string& name, const std::string& cond = "") { return St(OpGoTo, {name}, cond); }
ScriptStatement ExitLoop(const std::string& cond = "") { return St(OpExitLoop, {}, cond); }
ScriptStatement ExitScript(const std::string& cond = "") { return St(OpExitScript, {}, cond); }
ScriptStatement Set(const std::string& var, const std::string& value) { return St(OpAssignVariable, {var, value}); }
ScriptStatement Inc(const std::string& var) { return St(OpCalculate, {var, var, "ADDITION", "1"}); }

class TFakeList : public TScriptList {
public:
  std::vector<std::pair<std::string, bool>> Items;
  int ItemCount() const override { return int(Items.size()); }
  std::string ItemText(int index) const override { return Items.at(size_t(index)).first; }
  bool ItemSelected(int index) const override { return Items.at(size_t(index)).second; }
};

struct WizardCall {
  uint8_t Opcode;
  std::string F1, F3, F2;
  bool operator==(const WizardCall&) const = default;
};

struct Interp : ::testing::Test {
  TSetupDescription Desc;
  TFakeBuiltins Builtins;
  TSetupVariables V{Desc, Builtins};
  TScriptContext Ctx{V};
  TScriptInterpreter I{Ctx};
  TValueCommands Values{1234};
  std::vector<std::string> Trace;

  Interp() {
    Values.Register(Ctx);
    RegisterListCommands(Ctx);
    // A regression that loops for ever must fail, not hang: the trace is bounded.
    Ctx.SetCommand(OpLog, [this](const ScriptStatement& s) {
      if (Trace.size() >= 1000) throw EScriptError("runaway test script");
      Trace.push_back(Ctx.Expand(s.F[0]));
    });
  }
  std::string Var(const std::string& name) { return V.Stored(name); }
  bool Run(const TScript& s) { return I.RunScript(s); }
  using Lines = std::vector<std::string>;
};

}  // namespace

TEST_F(Interp, EmptyScriptAndAllFalseConditionsAnswerTrue) {
  EXPECT_TRUE(Run({}));
  EXPECT_EQ(I.ExecuteRange({}, 0, -1, true), TRangeResult::Completed);
  V.SetVariable("%A%", "1");
  const std::string no = "%A% = 2|";
  EXPECT_TRUE(Run({Log("x", no), St(OpCancelSetup, {}, no), St(OpFinishSetup, {}, no), ExitScript(no),
                   GoTo("L", no), Label("L"), Set("%A%", "9")}));
  EXPECT_EQ(Trace, Lines{});
  EXPECT_EQ(Var("%A%"), "9");  // only the unguarded statement ran
}

TEST_F(Interp, RangesOutsideTheScriptAreSafe) {
  TScript s = {Log("a"), Log("b")};
  EXPECT_EQ(I.ExecuteRange(s, -5, 10, false), TRangeResult::Completed);
  EXPECT_EQ(I.ExecuteRange(s, 1, INT_MAX, false), TRangeResult::Completed);
  EXPECT_EQ(I.ExecuteRange(s, 5, 9, true), TRangeResult::Completed);
  EXPECT_EQ(Trace, (Lines{"b"}));
}

TEST_F(Interp, ForCountsFromStartToEnd) {
  V.SetVariable("%I%", "untouched");
  EXPECT_TRUE(Run({For("%I%", "3", "1", "f"), Log("in %I%"), EndFor("f"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"after"}));
  EXPECT_EQ(Var("%I%"), "untouched");

  Trace.clear();
  V.SetVariable("%FROM%", "1");
  EXPECT_TRUE(Run({For("%I%", "%FROM%", "3", "f"), Log("in %I%"), EndFor("f"), Log("after %I%")}));
  EXPECT_EQ(Trace, (Lines{"in 1", "in 2", "in 3", "after 3"}));
  EXPECT_EQ(Var("%I%"), "3");
}

TEST_F(Interp, ChangingTheLoopVariableDoesNotChangeThePasses) {
  EXPECT_TRUE(Run({For("%I%", "1", "3", "f"), Log("%I%"), Set("%I%", "100"), EndFor("f")}));
  EXPECT_EQ(Trace, (Lines{"1", "2", "3"}));
  EXPECT_EQ(Var("%I%"), "100");
}

TEST_F(Interp, ForOverTheWholeIntegerRangeStopsOnExit) {
  // Four billion passes would be the author's loop; exit-loop ends it after three.
  EXPECT_TRUE(Run({For("%I%", "-2147483648", "2147483647", "f"), Log("%I%"),
                   If("x", "%I% = -2147483646|"), ExitLoop(), EndIf("x"), EndFor("f"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"-2147483648", "-2147483647", "-2147483646", "after"}));

  Trace.clear();
  EXPECT_TRUE(Run({For("%I%", "2147483646", "2147483647", "f"), Log("%I%"), EndFor("f")}));
  EXPECT_EQ(Trace, (Lines{"2147483646", "2147483647"}));  // no overflow past the last value

  Trace.clear();
  EXPECT_FALSE(Run({For("%I%", "-2147483648", "2147483647", "f"), Log("%I%"),
                    St(OpCancelSetup, {}, "%I% = -2147483647|"), EndFor("f"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"-2147483648", "-2147483647"}));

  Trace.clear();
  EXPECT_TRUE(Run({For("%I%", "0", "2147483647", "f"), Log("%I%"), ExitScript("%I% = 1|"), EndFor("f"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"0", "1"}));
}

TEST_F(Interp, ForWithAFalseConditionRunsItsBodyOnceInSequence) {
  V.SetVariable("%I%", "x");
  EXPECT_TRUE(Run({For("%I%", "1", "3", "f", "1 = 2|"), Log("body %I%"), EndFor("f"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"body x", "after"}));
}

TEST_F(Interp, WhileWithACounter) {
  V.SetVariable("%N%", "0");
  EXPECT_TRUE(Run({While("w", "%N% < 3|"), Log("%N%"), Inc("%N%"), EndWhile("w"), Log("after %N%")}));
  EXPECT_EQ(Trace, (Lines{"0", "1", "2", "after 3"}));

  Trace.clear();  // a false While runs nothing
  EXPECT_TRUE(Run({While("w", "%N% < 3|"), Log("in"), EndWhile("w"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"after"}));
}

TEST_F(Interp, ExitLoopInsideAnIfInsideAWhile) {
  V.SetVariable("%N%", "0");
  EXPECT_TRUE(Run({While("w", "%N% < 10|"), Inc("%N%"), If("i", "%N% = 2|"), ExitLoop(), EndIf("i"),
                   Log("%N%"), EndWhile("w"), Log("after %N%")}));
  EXPECT_EQ(Trace, (Lines{"1", "after 2"}));
}

TEST_F(Interp, ExitLoopOutsideALoopEndsTheScript) {
  // At top level, inside an If: the range answers ExitLoop and RunScript still answers true.
  EXPECT_TRUE(Run({If("i", ""), Log("a"), ExitLoop(), Log("b"), EndIf("i"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"a"}));
  TScript s = {Log("c"), ExitLoop(), Log("d")};
  EXPECT_EQ(I.ExecuteRange(s, 0, 2, true), TRangeResult::ExitLoop);
  EXPECT_EQ(Trace, (Lines{"a", "c"}));
}

TEST_F(Interp, ExitScriptAnswersTrueAndStopsEverything) {
  EXPECT_TRUE(Run({For("%I%", "1", "3", "f"), While("w", ""), If("i", ""), Log("%I%"), ExitScript(), EndIf("i"),
                   EndWhile("w"), EndFor("f"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"1"}));
}

TEST_F(Interp, GoToOutOfALoopAndToAMissingLabel) {
  EXPECT_TRUE(Run({For("%I%", "1", "5", "f"), Log("%I%"), If("i", "%I% = 2|"), GoTo("out"), EndIf("i"), EndFor("f"),
                   Log("skipped"), Label("out"), GoTo("nowhere"), Log("end %I%")}));
  EXPECT_EQ(Trace, (Lines{"1", "2", "end 2"}));
  EXPECT_EQ(I.PendingJumpTarget, 6);  // the statement before the label
}

TEST_F(Interp, GoToAtTopLevelThenAFalseIfWithoutElse) {
  EXPECT_TRUE(Run({GoTo("L"), Log("skipped"), Label("L"), If("i", "1 = 2|"), Log("in"), EndIf("i"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"after"}));
}

TEST_F(Interp, GoToBackwardsIsTheAuthorsLoop) {
  V.SetVariable("%N%", "0");
  EXPECT_TRUE(Run({Label("top"), Inc("%N%"), Log("%N%"), GoTo("top", "%N% < 3|"), Log("done")}));
  EXPECT_EQ(Trace, (Lines{"1", "2", "3", "done"}));
}

TEST_F(Interp, GoToFromDeepInsideNestedBlocks) {
  // The jump passes up through every block, ending the loops, to the top level.
  V.SetVariable("%N%", "0");
  EXPECT_TRUE(Run({While("w", "%N% < 100|"), Inc("%N%"), For("%I%", "1", "3", "f"), If("i", "%I% = 2|"),
                   GoTo("out"), EndIf("i"), Log("%N%.%I%"), EndFor("f"), EndWhile("w"), Label("out"),
                   Log("out %N%")}));
  EXPECT_EQ(Trace, (Lines{"1.1", "out 1"}));
}

TEST_F(Interp, IfAndElse) {
  V.SetVariable("%A%", "1");
  TScript s = {If("i", "%A% = 1|"), Log("then"), Else("i"), Log("else"), EndIf("i"), Log("after")};
  EXPECT_TRUE(Run(s));
  V.SetVariable("%A%", "2");
  EXPECT_TRUE(Run(s));
  EXPECT_EQ(Trace, (Lines{"then", "after", "else", "after"}));
}

TEST_F(Interp, AnElseAfterTheEndIfBelongsToALaterBlock) {
  // Two blocks reuse the id "i": the first If has no Else of its own.
  TScript s = {If("i", "1 = 2|"), Log("a"), EndIf("i"), Log("b"), If("i", "1 = 2|"), Log("c"), Else("i"), Log("d"),
               EndIf("i")};
  EXPECT_TRUE(Run(s));
  EXPECT_EQ(Trace, (Lines{"b", "d"}));
}

TEST_F(Interp, NestedBlocksWithDifferentIds) {
  EXPECT_TRUE(Run({For("%I%", "1", "2", "a"), For("%J%", "1", "2", "b"), Log("%I%%J%"), EndFor("b"), EndFor("a"),
                   Log("tail")}));
  EXPECT_EQ(Trace, (Lines{"11", "12", "21", "22", "tail"}));

  Trace.clear();
  EXPECT_TRUE(Run({If("outer", "1 = 2|"), If("inner", ""), Log("inner"), EndIf("inner"), Log("rest"),
                   EndIf("outer"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"after"}));
}

TEST_F(Interp, NestedBlocksWithTheSameIdMatchTheFirstClosingStatement) {
  // Blocks are matched by id, not by position: the outer For's body ends before the inner
  // EndFor, and what follows it runs once after the loop.
  EXPECT_TRUE(Run({For("%I%", "1", "2", "x"), For("%J%", "1", "2", "x"), Log("%I%%J%"), EndFor("x"), Log("tail"),
                   EndFor("x"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"11", "12", "21", "22", "tail", "after"}));

  Trace.clear();  // a false outer If continues after the first EndIf with its id
  EXPECT_TRUE(Run({If("x", "1 = 2|"), If("x", ""), Log("inner"), EndIf("x"), Log("rest"), EndIf("x"),
                   Log("after")}));
  EXPECT_EQ(Trace, (Lines{"rest", "after"}));
}

TEST_F(Interp, BlockIdsMatchTheWholeFieldExactly) {
  EXPECT_TRUE(Run({If("id", "1 = 2|"), Log("a"), EndIf("ID"), EndIf("id "), Log("b"), EndIf("id"), Log("c")}));
  EXPECT_EQ(Trace, (Lines{"c"}));
}

TEST_F(Interp, ForEachSelectedRunsOverSelectedItems) {
  TFakeList list;
  list.Items = {{"a", true}, {"b", false}, {"c", true}};
  std::vector<std::string> asked;
  Ctx.FindListControl = [&](const std::string& name) -> TScriptList* {
    asked.push_back(name);
    return CompareTextIgnoringCase(name, "%LIST%") == 0 ? &list : nullptr;
  };
  EXPECT_TRUE(Run({ForEach("%ITEM%", "%List%", "e"), Log("%ITEM%"), EndForEach("e"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"a", "c", "after"}));
  EXPECT_EQ(asked.front(), "%List%");  // F2 as stored, not expanded

  Trace.clear();  // no such list
  EXPECT_TRUE(Run({ForEach("%ITEM%", "other", "e"), Log("%ITEM%"), EndForEach("e"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"after"}));

  Trace.clear();  // no selected items, then no items
  list.Items = {{"a", false}};
  EXPECT_TRUE(Run({ForEach("%ITEM%", "%List%", "e"), Log("%ITEM%"), EndForEach("e"), Log("after")}));
  list.Items.clear();
  EXPECT_TRUE(Run({ForEach("%ITEM%", "%List%", "e"), Log("%ITEM%"), EndForEach("e"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"after", "after"}));

  Trace.clear();  // no hook
  list.Items = {{"a", true}};
  Ctx.FindListControl = nullptr;
  EXPECT_TRUE(Run({ForEach("%ITEM%", "%List%", "e"), Log("%ITEM%"), EndForEach("e"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"after"}));
}

TEST_F(Interp, ForEachSelectedSurvivesABodyThatChangesTheList) {
  TFakeList list, other;
  list.Items = {{"a", true}, {"b", true}, {"c", true}};
  other.Items = {{"x", true}};
  TScriptList* shown = &list;
  Ctx.FindListControl = [&](const std::string&) { return shown; };
  // The body empties the list after the first item.
  Ctx.SetCommand(OpClearList, [&](const ScriptStatement&) { list.Items.clear(); });
  EXPECT_TRUE(Run({ForEach("%ITEM%", "L", "e"), Log("%ITEM%"), St(OpClearList, {"L"}), EndForEach("e"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"a", "after"}));

  // The body leaves the page: the list on screen is another one, the loop ends.
  Trace.clear();
  list.Items = {{"a", true}, {"b", true}};
  Ctx.SetCommand(OpClearList, [&](const ScriptStatement&) { shown = &other; });
  EXPECT_TRUE(Run({ForEach("%ITEM%", "L", "e"), Log("%ITEM%"), St(OpClearList, {"L"}), EndForEach("e"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"a", "after"}));

  // Exit loop and GoTo end it like a For.
  Trace.clear();
  shown = &list;
  EXPECT_TRUE(Run({ForEach("%ITEM%", "L", "e"), Log("%ITEM%"), ExitLoop(), EndForEach("e"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"a", "after"}));
}

TEST_F(Interp, CancelAndFinishStopAfterHandingOffToTheWizard) {
  std::vector<WizardCall> calls;
  Ctx.WizardCommandHandler = [&](uint8_t op, const std::string& f1, const std::string& f3, const std::string& f2) {
    calls.push_back({op, f1, f3, f2});
  };
  EXPECT_FALSE(Run({Log("a"), St(OpCancelSetup, {"%one%", "%two%", "%three%"}), Log("b")}));
  EXPECT_FALSE(Run({While("w", ""), If("i", ""), St(OpFinishSetup), EndIf("i"), Log("looped"), EndWhile("w"),
                    Log("c")}));
  EXPECT_EQ(Trace, (Lines{"a"}));
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0], (WizardCall{OpCancelSetup, "%one%", "%three%", "%two%"}));  // raw F1, F3, F2
  EXPECT_EQ(calls[1].Opcode, OpFinishSetup);

  // Before the wizard exists (StartScript) the script still stops and answers false.
  Ctx.WizardCommandHandler = nullptr;
  EXPECT_FALSE(Run({St(OpCancelSetup), Log("x")}));
  EXPECT_FALSE(Run({St(OpFinishSetup), Log("x")}));
  EXPECT_EQ(Trace, (Lines{"a"}));
}

TEST_F(Interp, WizardOpcodesGoToTheHookAndDoNothingWithoutIt) {
  std::vector<WizardCall> calls;
  EXPECT_TRUE(Run({St(OpGoToPage, {"Welcome"}), St(OpAddListItem, {"L", "x"}), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"after"}));
  Ctx.WizardCommandHandler = [&](uint8_t op, const std::string& f1, const std::string& f3, const std::string& f2) {
    calls.push_back({op, f1, f3, f2});
  };
  EXPECT_TRUE(Run({St(OpGoToPage, {"Welcome"}), St(OpAddListItem, {"%L%", "%X%"}), St(120, {"a", "b", "c"})}));
  EXPECT_EQ(calls, (std::vector<WizardCall>{{OpGoToPage, "Welcome", "", ""},
                                            {OpAddListItem, "%L%", "", "%X%"},
                                            {120, "a", "c", "b"}}));
}

TEST_F(Interp, OpcodesThatDoNothing) {
  int calls = 0;
  Ctx.WizardCommandHandler = [&](uint8_t, const std::string&, const std::string&, const std::string&) { ++calls; };
  EXPECT_TRUE(Run({St(0, {"a", "b", "c", "d", "e"}), St(3, {"a"}), St(14, {"a"}), St(45), St(103), St(104),
                   EndIf("x"), Else("x"), EndWhile("x"), EndFor("x"), EndForEach("x"), Label("x"), Log("after")}));
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(Trace, (Lines{"after"}));
}

TEST_F(Interp, ReturnFromTheInstallPage) {
  int returns = 0;
  bool installing = false;
  Ctx.ReturnFromInstallPage = [&] { ++returns; };
  Ctx.IsInstalling = [&] { return installing; };
  Ctx.WizardCommandHandler = [&](uint8_t op, const std::string& f1, const std::string&, const std::string&) {
    if (op == OpGoToPage) Ctx.LastPageRequested = f1;
  };
  const TScript toInstall = {St(OpGoToPage, {"install"}), Log("shown")};

  EXPECT_TRUE(Run(toInstall));
  EXPECT_EQ(returns, 1);
  EXPECT_EQ(Ctx.LastPageRequested, "");

  installing = true;  // not while installing
  EXPECT_TRUE(Run(toInstall));
  EXPECT_EQ(returns, 1);
  EXPECT_EQ(Ctx.LastPageRequested, "install");

  installing = false;  // not when nested
  EXPECT_EQ(I.ExecuteRange(toInstall, 0, 1, false), TRangeResult::Completed);
  EXPECT_EQ(returns, 1);
  EXPECT_EQ(Ctx.LastPageRequested, "install");

  // Not when the script ends by a return (exit script); but an empty script ends its loop.
  EXPECT_TRUE(Run({ExitScript()}));
  EXPECT_EQ(returns, 1);
  EXPECT_TRUE(Run({}));
  EXPECT_EQ(returns, 2);
  EXPECT_EQ(Ctx.LastPageRequested, "");

  // Another page: nothing.
  EXPECT_TRUE(Run({St(OpGoToPage, {"Finish"})}));
  EXPECT_EQ(returns, 2);

  // Without the hook the name is still cleared.
  Ctx.ReturnFromInstallPage = nullptr;
  EXPECT_TRUE(Run(toInstall));
  EXPECT_EQ(Ctx.LastPageRequested, "");
}

TEST_F(Interp, ACommandMayRunAnotherScriptMeanwhile) {
  // A waiting command (like a message box) lets an event run another script through the same
  // interpreter; that script uses loops, a jump across a block and its own cancel.
  const TScript inner = {For("%J%", "1", "3", "f"), If("i", "%J% = 2|"), GoTo("done"), EndIf("i"), Log("inner %J%"),
                         EndFor("f"), Label("done"), St(OpCancelSetup), Log("never")};
  int waits = 0;
  bool innerAnswer = true;
  Ctx.SetCommand(OpMessageBox, [&](const ScriptStatement&) {
    ++waits;
    innerAnswer = I.RunScript(inner);
  });
  V.SetVariable("%N%", "0");
  EXPECT_TRUE(Run({While("w", "%N% < 2|"), Inc("%N%"), For("%I%", "1", "2", "f"), St(OpMessageBox),
                   If("i", "%I% = 2|"), GoTo("next"), EndIf("i"), Log("outer %N%.%I%"), EndFor("f"),
                   Label("next"), EndWhile("w"), Log("after %N% %I%")}));
  EXPECT_EQ(waits, 2);  // the GoTo ends the While after its first pass
  EXPECT_FALSE(innerAnswer);
  EXPECT_EQ(Trace, (Lines{"inner 1", "outer 1.1", "inner 1", "after 1 2"}));
}

TEST_F(Interp, AScriptCommandMayReplaceTheRunningScript) {
  TScript stored = {Log("a"), St(OpMessageBox), Log("b"), Log("c")};
  Ctx.SetCommand(OpMessageBox, [&](const ScriptStatement&) { stored.clear(); });
  EXPECT_TRUE(Run(stored));
  EXPECT_EQ(Trace, (Lines{"a", "b", "c"}));
}

TEST_F(Interp, MalformedBlocksReachTheEndOfTheScript) {
  // If without EndIf: true runs to the end, false runs nothing more.
  EXPECT_TRUE(Run({Log("a"), If("i", ""), Log("b"), Log("c")}));
  EXPECT_TRUE(Run({Log("d"), If("i", "1 = 2|"), Log("e")}));
  EXPECT_EQ(Trace, (Lines{"a", "b", "c", "d"}));

  // If with Else but without EndIf.
  Trace.clear();
  EXPECT_TRUE(Run({If("i", "1 = 2|"), Log("then"), Else("i"), Log("else")}));
  EXPECT_EQ(Trace, (Lines{"else"}));

  // For without EndFor: every pass runs to the end of the script, then the script ends.
  Trace.clear();
  EXPECT_TRUE(Run({For("%I%", "1", "2", "f"), Log("%I%"), EndFor("other")}));
  EXPECT_EQ(Trace, (Lines{"1", "2"}));

  // While without EndWhile.
  Trace.clear();
  V.SetVariable("%N%", "0");
  EXPECT_TRUE(Run({While("w", "%N% < 2|"), Inc("%N%"), Log("%N%")}));
  EXPECT_EQ(Trace, (Lines{"1", "2"}));

  // ForEachSelected without EndForEach.
  Trace.clear();
  TFakeList list;
  list.Items = {{"a", true}, {"b", true}};
  Ctx.FindListControl = [&](const std::string&) { return &list; };
  EXPECT_TRUE(Run({ForEach("%IT%", "L", "e"), Log("%IT%")}));
  EXPECT_EQ(Trace, (Lines{"a", "b"}));

  // A block opening as the very last statement.
  Trace.clear();
  EXPECT_TRUE(Run({Log("x"), For("%I%", "1", "1000", "f")}));
  EXPECT_TRUE(Run({Log("y"), If("i", "")}));
  EXPECT_TRUE(Run({Log("z"), ForEach("%IT%", "L", "e")}));
  EXPECT_EQ(Trace, (Lines{"x", "y", "z"}));
  EXPECT_EQ(Var("%I%"), "1000");
}

TEST_F(Interp, MalformedClosingStatementsAreIgnored) {
  EXPECT_TRUE(Run({Log("a"), Else("i"), Log("b"), EndIf("i"), EndWhile("w"), EndFor("f"), Log("c")}));
  EXPECT_EQ(Trace, (Lines{"a", "b", "c"}));

  // A second Else of the same If belongs to the else branch and does nothing there.
  Trace.clear();
  EXPECT_TRUE(Run({If("i", "1 = 2|"), Log("then"), Else("i"), Log("else1"), Else("i"), Log("else2"), EndIf("i")}));
  EXPECT_EQ(Trace, (Lines{"else1", "else2"}));
}

TEST_F(Interp, GoToALabelInsideALoopBody) {
  // From the top level: execution goes on at the label, the rest of the body runs once and the
  // closing statement does nothing.
  V.SetVariable("%N%", "0");
  EXPECT_TRUE(Run({GoTo("in"), While("w", "%N% < 5|"), Label("in"), Inc("%N%"), Log("%N%"), EndWhile("w"),
                   Log("end")}));
  EXPECT_EQ(Trace, (Lines{"1", "end"}));

  // From inside the same loop's body: the loop ends and the top level goes on at the label.
  Trace.clear();
  EXPECT_TRUE(Run({For("%I%", "1", "3", "f"), If("i", "%I% = 2|"), GoTo("inside"), EndIf("i"), Log("a%I%"),
                   Label("inside"), Log("b%I%"), EndFor("f"), Log("end")}));
  EXPECT_EQ(Trace, (Lines{"a1", "b1", "b2", "end"}));
}

TEST_F(Interp, ACommandErrorStopsTheScript) {
  std::vector<std::string> reported;
  Ctx.OnScriptError = [&](const std::string& text) { reported.push_back(text); };
  Ctx.SetCommand(OpRegWrite, [](const ScriptStatement& s) {
    if (s.F[0] == "fail") throw EScriptError("cannot convert");
  });
  EXPECT_FALSE(Run({Log("a"), St(OpRegWrite, {"ok"}), For("%I%", "1", "3", "f"), Log("%I%"),
                    St(OpRegWrite, {"fail"}, "%I% = 2|"), EndFor("f"), Log("after")}));
  EXPECT_EQ(Trace, (Lines{"a", "1", "2"}));
  EXPECT_EQ(reported, (std::vector<std::string>{"cannot convert"}));

  // ExecuteRange itself lets the error through to its caller.
  EXPECT_THROW(I.ExecuteRange({St(OpRegWrite, {"fail"})}, 0, 0, true), EScriptError);

  // No report hook: still stops.
  Ctx.OnScriptError = nullptr;
  Trace.clear();
  EXPECT_FALSE(Run({St(OpRegWrite, {"fail"}), Log("never")}));
  EXPECT_EQ(Trace, Lines{});
}

TEST_F(Interp, AnExpansionPastTheSizeLimitStopsTheScriptNamingTheVariable) {
  std::vector<std::string> reported;
  Ctx.OnScriptError = [&](const std::string& text) { reported.push_back(text); };
  // Stored unexpanded, each naming the next: %C% would take the text to 1,132,500 bytes.
  V.Table.Set("%A%", Repeated("%B%", 150));
  V.Table.Set("%B%", Repeated("%C%", 50));
  V.Table.Set("%C%", Repeated("c", 150));
  const std::string fine = "%B%%C%", tooLong = "%A%%B%%C%";

  // In a command's text, in a condition, in a value assigned, in what the wizard expands.
  Ctx.WizardCommandHandler = [&](uint8_t, const std::string& f1, const std::string&, const std::string&) {
    Trace.push_back(V.ExpandText(f1));
  };
  const TScript scripts[] = {{Log(fine), Log(tooLong), Log("never")},
                             {Log(fine), Log("never", tooLong + " = 1|")},
                             {Log(fine), Set("%Copy%", tooLong), Log("never")},
                             {Log(fine), St(OpNextPage, {tooLong}), Log("never")}};
  for (const TScript& script : scripts) {
    Trace.clear();
    EXPECT_FALSE(Run(script));
    ASSERT_FALSE(Trace.empty());
    EXPECT_TRUE(Trace[0] == Repeated("c", 51 * 150));
    EXPECT_TRUE(Trace.back() != "never");
  }
  EXPECT_EQ(V.Table.IndexOf("%Copy%"), -1);
  ASSERT_EQ(reported.size(), 4u);
  for (const std::string& text : reported) EXPECT_NE(text.find("Expanding %C% would"), std::string::npos) << text;
}

TEST_F(Interp, AnErrorInANestedRunStopsOnlyThatRun) {
  std::vector<std::string> reported;
  Ctx.OnScriptError = [&](const std::string& text) { reported.push_back(text); };
  Ctx.SetCommand(OpRegWrite, [](const ScriptStatement&) { throw EScriptError("inner"); });
  bool inner = true;
  Ctx.SetCommand(OpMessageBox, [&](const ScriptStatement&) { inner = I.RunScript({St(OpRegWrite), Log("never")}); });
  EXPECT_TRUE(Run({Log("a"), St(OpMessageBox), Log("b")}));
  EXPECT_FALSE(inner);
  EXPECT_EQ(Trace, (Lines{"a", "b"}));
  EXPECT_EQ(reported, (std::vector<std::string>{"inner"}));
}

TEST_F(Interp, ValueAndListCommandsThroughTheInterpreter) {
  EXPECT_TRUE(Run({Set("%L%", ""), For("%I%", "1", "3", "f"), St(OpListAdd, {"%L%", "item%I%"}), EndFor("f"),
                   St(OpListAdd, {"%L%", "ITEM2"}), St(OpListCount, {"%C%", "%L%"}),
                   St(OpCalculate, {"%P%", "%C%", "multiplication", "7"}), St(OpPadNumber, {"%P%", "4"})}));
  EXPECT_EQ(Var("%L%"), "item1, item2, item3");
  EXPECT_EQ(Var("%C%"), "3");
  EXPECT_EQ(Var("%P%"), "0021");
}

TEST_F(Interp, NestingPastTheBoundIsAScriptErrorNotAStackOverflow) {
  std::vector<std::string> reported;
  Ctx.OnScriptError = [&](const std::string& text) { reported.push_back(text); };
  // Within the bound, every level runs.
  TScript fits;
  for (int k = 0; k < TScriptInterpreter::MaxBlockDepth; ++k) fits.push_back(If("b" + std::to_string(k), ""));
  fits.push_back(Log("deepest"));
  for (int k = TScriptInterpreter::MaxBlockDepth - 1; k >= 0; --k) fits.push_back(EndIf("b" + std::to_string(k)));
  fits.push_back(Log("after"));
  EXPECT_TRUE(Run(fits));
  EXPECT_EQ(Trace, (Lines{"deepest", "after"}));
  // 20,000 Ifs without EndIf nest as deep as the script is long.
  Trace.clear();
  TScript unclosed(20000, If("x", ""));
  unclosed.push_back(Log("never"));
  EXPECT_FALSE(Run(unclosed));
  EXPECT_EQ(Trace, Lines{});
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0], "Script blocks are nested more than 1000 deep.");
  // A run from inside a block counts the blocks around it; the error stops only that run.
  bool inner = true;
  Ctx.SetCommand(OpMessageBox, [&](const ScriptStatement&) { inner = I.RunScript(fits); });
  EXPECT_TRUE(Run({If("outer", ""), St(OpMessageBox), EndIf("outer")}));
  EXPECT_FALSE(inner);
  EXPECT_EQ(reported.size(), 2u);
  // The count went back down: the same script nests as deep as before.
  Trace.clear();
  EXPECT_TRUE(Run(fits));
  EXPECT_EQ(Trace, (Lines{"deepest", "after"}));
}

TEST_F(Interp, AStepLimitEndsLoopsThatRunNoStatement) {
  std::vector<std::string> reported;
  Ctx.OnScriptError = [&](const std::string& text) { reported.push_back(text); };
  I.StepLimit = 500;
  EXPECT_FALSE(Run({While("w", ""), EndWhile("w"), Log("never")}));
  EXPECT_EQ(reported, (std::vector<std::string>{"The script ran more than 500 steps."}));
  // Every run starts its count afresh.
  EXPECT_TRUE(Run({For("%I%", "1", "100", "f"), EndFor("f"), Log("done")}));
  EXPECT_EQ(Trace, (Lines{"done"}));
}

TEST_F(Interp, CommandsNotYetCarriedOutReachNoHandler) {
  std::vector<uint8_t> reached;
  Ctx.WizardCommandHandler = [&](uint8_t op, const std::string&, const std::string&, const std::string&) {
    reached.push_back(op);
  };
  // A command set before for one of them (a family that grew one) is replaced too.
  Ctx.SetCommand(OpDownloadFile, [&](const ScriptStatement&) { reached.push_back(OpDownloadFile); });
  RegisterCommandsNotYetCarriedOut(Ctx);
  V.SetVariable("%Out%", "kept");
  V.SetVariable("%ErrorCode%", "0");
  TScript script;
  for (uint8_t op : CommandsNotYetCarriedOut()) script.push_back(St(op, {"%Out%", "1", "2", "3", "4"}));
  script.push_back(St(OpNextPage));
  EXPECT_TRUE(Run(script));
  EXPECT_EQ(reached, std::vector<uint8_t>{OpNextPage});  // only the wizard's own command
  EXPECT_EQ(Var("%Out%"), "kept");
  EXPECT_EQ(Var("%ErrorCode%"), "0");
}
