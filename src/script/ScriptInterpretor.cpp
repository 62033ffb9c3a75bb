#include "script/ScriptInterpretor.h"

#include <climits>
#include <cstdint>
#include <string>

#include "package/Conditions.h"
#include "package/VarList.h"

namespace vnt {

namespace {

// The statement count as an int; a list longer than INT_MAX cannot be stored anyway.
int Size(const TScript& script) { return script.size() > size_t(INT_MAX) ? INT_MAX : int(script.size()); }

// Index of the first Label with this F1, searching from statement 0; -1 when there is none.
int FindLabel(const TScript& script, const std::string& name) {
  const int n = Size(script);
  for (int j = 0; j < n; ++j)
    if (script[j].Opcode == OpLabel && script[j].F[0] == name) return j;
  return -1;
}

// Opcodes that no command has: stored scripts may hold them, and they do nothing.
constexpr uint8_t OpcodesWithoutCommand[] = {0, 3, 14, 45, 103, 104};

// Opcodes the interpreter accepts and ignores: those without a command, the closing
// statements and Label.
bool DoesNothing(uint8_t op) {
  for (uint8_t none : OpcodesWithoutCommand)
    if (op == none) return true;
  switch (op) {
    case OpEndFor: case OpEndWhile: case OpEndIf: case OpEndForEach: case OpElse: case OpLabel:
      return true;
    default:
      return false;
  }
}

// Counts one more for its lifetime.
struct TDepthGuard {
  int& Depth;
  explicit TDepthGuard(int& depth) : Depth(++depth) {}
  ~TDepthGuard() { --Depth; }
  TDepthGuard(const TDepthGuard&) = delete;
  TDepthGuard& operator=(const TDepthGuard&) = delete;
};

bool IsBlock(uint8_t op) { return op == OpIf || op == OpWhile || op == OpFor || op == OpForEachSelected; }
bool IsLoop(uint8_t op) { return op == OpWhile || op == OpFor || op == OpForEachSelected; }

}  // namespace

int FindClosing(const TScript& script, int from, uint8_t opcode, const std::string& blockId) {
  const int n = Size(script);
  for (int j = from < 0 ? 0 : from + 1; j < n; ++j)
    if (script[j].Opcode == opcode && script[j].F[0] == blockId) return j;
  return n;
}

bool TScriptInterpreter::RunScript(const TScript& script) {
  // A command may replace the stored script (a record loaded, a page rebuilt) while this run
  // still walks it: run a copy of its own.
  const TScript copy = script;
  if (RunDepth == 0) {
    Steps = 0;
    Context.Vars.TakeExpansionOverflow();  // one of the pages' texts, not of this script
  }
  TDepthGuard run(RunDepth);
  TRangeResult r;
  try {
    r = ExecuteRange(copy, 0, Size(copy) - 1, true);
  } catch (const EScriptError& e) {
    auto report = Context.OnScriptError;
    if (report) report(e.what());
    return false;
  }
  return r != TRangeResult::Stopped;
}

TRangeResult TScriptInterpreter::ExecuteRange(const TScript& script, int first, int last, bool topLevel) {
  const long long count = Size(script);
  long long i = first;  // 64 bits: "after the block" may step past an INT_MAX-sized end
  while (i <= last) {
    if (i < 0 || i >= count) return TRangeResult::Completed;
    const ScriptStatement& st = script[size_t(i)];
    const uint8_t op = st.Opcode;
    Step();
    if (op != OpWhile && op != OpIf && !Holds(st.Condition)) {
      ++i;
      continue;
    }
    if (IsBlock(op)) {
      int closing = 0;
      const TRangeResult r = RunBlock(script, int(i), closing);
      if (!GoOnAfterBlock(op, r, closing, topLevel, i)) return r;
      continue;
    }
    switch (op) {
      case OpGoTo: {
        const int label = FindLabel(script, st.F[0]);
        if (label < 0) break;  // no such label: no action
        PendingJumpTarget = label - 1;
        if (!topLevel) return TRangeResult::JumpPending;
        i = label;
        continue;
      }
      case OpExitScript:
        return TRangeResult::ExitScript;
      case OpExitLoop:
        return TRangeResult::ExitLoop;
      case OpCancelSetup:
      case OpFinishSetup:
        RunCommand(st);
        return TRangeResult::Stopped;
      default:
        RunCommand(st);
        break;
    }
    ++i;
  }
  if (topLevel) ReturnFromUnusedInstallPage();
  return TRangeResult::Completed;
}

TRangeResult TScriptInterpreter::RunBlock(const TScript& script, int at, int& closing) {
  if (BlockDepth >= MaxBlockDepth)
    throw EScriptError("Script blocks are nested more than " + std::to_string(MaxBlockDepth) + " deep.");
  TDepthGuard block(BlockDepth);
  switch (script[at].Opcode) {
    case OpIf: return RunIf(script, at, closing);
    case OpWhile: return RunWhile(script, at, closing);
    case OpFor: return RunFor(script, at, closing);
    default: return RunForEachSelected(script, at, closing);
  }
}

bool TScriptInterpreter::GoOnAfterBlock(uint8_t op, TRangeResult r, int closing, bool topLevel, long long& i) const {
  switch (r) {
    case TRangeResult::Completed:
      i = closing + 1LL;
      return true;
    case TRangeResult::ExitLoop:
      if (!IsLoop(op)) return false;  // an exit-loop inside an If ends the enclosing range too
      i = closing + 1LL;
      return true;
    case TRangeResult::JumpPending:
      if (!topLevel) return false;
      i = (long long)PendingJumpTarget + 1;
      return true;
    default:  // Stopped, ExitScript
      return false;
  }
}

void TScriptInterpreter::RunCommand(const ScriptStatement& st) {
  if (DoesNothing(st.Opcode)) return;
  // Copies: the command or hook may replace itself (or the wizard its hooks) while it runs.
  if (TScriptContext::TCommand command = Context.Command(st.Opcode)) {
    command(st);
  } else if (auto wizard = Context.WizardCommandHandler) {
    wizard(st.Opcode, st.F[0], st.F[2], st.F[1]);
  }
  Context.CheckExpansion();  // the wizard's commands expand without the context
}

bool TScriptInterpreter::Holds(const std::string& condition) {
  const bool holds = EvaluateCondition(condition, Context.Vars);
  Context.CheckExpansion();
  return holds;
}

void TScriptInterpreter::Step() {
  if (StepLimit != 0 && ++Steps > StepLimit)
    throw EScriptError("The script ran more than " + std::to_string(StepLimit) + " steps.");
}

// A script that switched to the "INSTALL" page and ended without starting the installation
// takes the wizard back to the page before it.
void TScriptInterpreter::ReturnFromUnusedInstallPage() {
  if (Context.IsInstalling && Context.IsInstalling()) return;
  if (CompareTextIgnoringCase(Context.LastPageRequested, "INSTALL") != 0) return;
  Context.LastPageRequested.clear();
  auto back = Context.ReturnFromInstallPage;
  if (back) back();
}

TRangeResult TScriptInterpreter::RunIf(const TScript& script, int at, int& closing) {
  const ScriptStatement& st = script[at];
  const int n = Size(script);
  int endIf = n, elseAt = -1;
  for (int j = at + 1; j < n; ++j) {
    const ScriptStatement& s = script[j];
    if (s.F[0] != st.F[0]) continue;
    if (s.Opcode == OpEndIf) {
      endIf = j;
      break;
    }
    if (s.Opcode == OpElse && elseAt < 0) elseAt = j;
  }
  closing = endIf;
  if (Holds(st.Condition))
    return ExecuteRange(script, at + 1, (elseAt >= 0 ? elseAt : endIf) - 1, false);
  if (elseAt >= 0) return ExecuteRange(script, elseAt + 1, endIf - 1, false);
  return TRangeResult::Completed;
}

TRangeResult TScriptInterpreter::RunWhile(const TScript& script, int at, int& closing) {
  const ScriptStatement& st = script[at];
  closing = FindClosing(script, at, OpEndWhile, st.F[0]);
  TRangeResult r = TRangeResult::Completed;
  while (Holds(st.Condition)) {
    Step();
    r = ExecuteRange(script, at + 1, closing - 1, false);
    if (r != TRangeResult::Completed) break;
  }
  return r;
}

TRangeResult TScriptInterpreter::RunFor(const TScript& script, int at, int& closing) {
  const ScriptStatement& st = script[at];
  closing = FindClosing(script, at, OpEndFor, st.F[3]);
  const int32_t start = TScriptContext::AsInteger(Context.Expand(st.F[1]));
  const int32_t end = TScriptContext::AsInteger(Context.Expand(st.F[2]));
  TRangeResult r = TRangeResult::Completed;
  // The pass counter is not the variable: changing the variable does not change the passes.
  for (int64_t n = start; n <= end; ++n) {
    Step();
    Context.Assign(st.F[0], std::to_string(n));
    r = ExecuteRange(script, at + 1, closing - 1, false);
    if (r != TRangeResult::Completed) break;
  }
  return r;
}

TRangeResult TScriptInterpreter::RunForEachSelected(const TScript& script, int at, int& closing) {
  const ScriptStatement& st = script[at];
  closing = FindClosing(script, at, OpEndForEach, st.F[2]);
  auto find = Context.FindListControl;
  if (!find) return TRangeResult::Completed;
  TScriptList* list = find(st.F[1]);
  TRangeResult r = TRangeResult::Completed;
  bool bodyRan = false;
  for (int k = 0; list; ++k) {
    if (bodyRan) {
      // The body may have changed the page: go on only with the very list still on screen.
      find = Context.FindListControl;
      if (!find || find(st.F[1]) != list) break;
      bodyRan = false;
    }
    if (k >= list->ItemCount()) break;
    Step();
    if (!list->ItemSelected(k)) continue;
    Context.Assign(st.F[0], list->ItemText(k));
    bodyRan = true;
    r = ExecuteRange(script, at + 1, closing - 1, false);
    if (r != TRangeResult::Completed) break;
  }
  return r;
}

}  // namespace vnt
