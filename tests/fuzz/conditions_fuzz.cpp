// libFuzzer target: a guard condition evaluated over variables the input sets. Promises:
// nothing is raised, the same condition over the same values gives the same answer, and no
// clause is found that the text does not end with "|".
#include <algorithm>

#include "VariablesFuzzTarget.h"
#include "package/Conditions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vnt::test::TVariablesFuzzRun run(data, size);
  bool first = vnt::EvaluateCondition(run.Text, run.Vars);
  if (vnt::EvaluateCondition(run.Text, run.Vars) != first) __builtin_trap();
  size_t bars = size_t(std::count(run.Text.begin(), run.Text.end(), '|'));
  if (vnt::ConditionClauses(run.Text).size() > bars) __builtin_trap();
  return 0;
}
