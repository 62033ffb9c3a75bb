// The statement loop of the scripts: guard conditions, blocks matched by their ids, loops,
// jumps and early exits. Commands come from the context's table; every other opcode goes to
// the wizard through WizardCommandHandler.
#pragma once

#include "package/ScriptTypes.h"
#include "script/ScriptContext.h"

namespace vnt {

// What a range of statements answers.
enum class TRangeResult {
  Stopped = 0,  // cancel or finish (opcodes 15, 25) ran: the whole script stops
  Completed,    // the range ran to its end
  ExitScript,   // opcode 50 ran: the whole script stops
  JumpPending,  // a GoTo inside a block found its label; the top level goes on there
  ExitLoop      // opcode 55 ran: the innermost loop stops
};

// One interpreter serves the whole program. It is re-entrant: a command may run another
// script through the same interpreter while one is running (a wait that lets the window
// system deliver events). Per-run state lives on the stack; the only shared member is
// PendingJumpTarget, which is set right before JumpPending is answered and read by the top
// level right after, with no command running in between.
//
// Choices made where the language leaves the behaviour open:
// - A block opening statement without its closing statement (If without EndIf, While without
//   EndWhile, For without EndFor, ForEachSelected without EndForEach) treats the block as
//   reaching the end of the script: the body is everything after the opening statement and
//   execution continues after the end of the script (the run ends). An Else only belongs to
//   its If when it comes before that If's EndIf (the first EndIf with the same id); a later
//   Else with the same id belongs to a later block.
// - Closing statements without an opening one (Else, EndIf, EndWhile, ...) do nothing.
// - A command raising EScriptError stops the whole script at that statement; RunScript calls
//   the context's OnScriptError with the text and answers false, like a script stopped by
//   cancel, so that the step the script guards is abandoned unless %CanClose% is "0", as for
//   any script that stops early. ExecuteRange lets the error through to its caller; only
//   RunScript reports it. Other exceptions are not caught.
// - An expansion that stops at the variables' size limit, in a condition, in a command's
//   texts or in what a wizard command expands, raises EScriptError at that statement.
// - For runs exactly end - start + 1 passes counted in 64 bits, so every 32-bit range works
//   without overflow; ExitLoop, ExitScript, cancel, finish and GoTo end it at once.
// - ForEachSelected asks FindListControl again before each item and stops when the list is
//   no longer the same object or has fewer items than the next index, so a body that changes
//   or leaves the page never reaches a freed list or a missing item.
// - Blocks nest at most MaxBlockDepth deep, counted over every run of the interpreter at
//   once (a command may run another script inside a block): a deeper block raises
//   EScriptError, so no script can exhaust the stack.
// - The interpreter itself never loops without running a statement. A While whose condition
//   stays true, a GoTo back to an earlier label, or a For over four billion values is the
//   author's loop and runs as written; window messages are processed by commands that wait,
//   not by the interpreter.
class TScriptInterpreter {
public:
  explicit TScriptInterpreter(TScriptContext& context) : Context(context) {}

  // Runs the whole script at top level. False exactly when it stopped by cancel or finish,
  // or a command raised EScriptError (reported through OnScriptError); true otherwise, also
  // for an empty script. The script is copied first, so a command may replace the stored
  // script while it runs.
  bool RunScript(const TScript& script);

  // The statement loop over statements first..last. Nested block bodies run with
  // topLevel off. The script must not change during the call.
  TRangeResult ExecuteRange(const TScript& script, int first, int last, bool topLevel);

  // Index of the statement before the label that the last GoTo found.
  int PendingJumpTarget = -1;

  static constexpr int MaxBlockDepth = 1000;
  // Statements and loop passes a run may take before EScriptError stops it; 0 is no limit.
  // The setup sets none (scripts may poll for as long as they like); harnesses that run
  // scripts of unknown origin do.
  uint64_t StepLimit = 0;

  TScriptContext& Context;

private:
  // A block statement at `at`: runs it and sets `closing` to its closing statement.
  TRangeResult RunBlock(const TScript& script, int at, int& closing);
  // Where the statement loop goes after a block answered r: false when the range ends with r.
  bool GoOnAfterBlock(uint8_t op, TRangeResult r, int closing, bool topLevel, long long& i) const;
  // A statement that is no block, jump or exit: the command, else the wizard's handler.
  void RunCommand(const ScriptStatement& st);
  // A condition; raises EScriptError when its operands' expansion stopped at the size limit.
  bool Holds(const std::string& condition);
  void ReturnFromUnusedInstallPage();
  // Counts one statement or loop pass against StepLimit.
  void Step();
  TRangeResult RunIf(const TScript& script, int at, int& closing);
  TRangeResult RunWhile(const TScript& script, int at, int& closing);
  TRangeResult RunFor(const TScript& script, int at, int& closing);
  TRangeResult RunForEachSelected(const TScript& script, int at, int& closing);

  int BlockDepth = 0;   // blocks open now, over all runs
  uint64_t Steps = 0;   // since the outermost run began
  int RunDepth = 0;     // runs under way, re-entrant ones included
};

// Index of the first statement after `from` with the opcode and F1 equal to `blockId`
// (compared exactly); the script's size when there is none.
int FindClosing(const TScript& script, int from, uint8_t opcode, const std::string& blockId);

}  // namespace vnt
