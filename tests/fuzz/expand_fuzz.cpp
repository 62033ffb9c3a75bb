// libFuzzer target: a text expanded over variables the input sets, with and without the
// ampersand escape. Promises: nothing is raised, and no expansion gives a text longer than
// the limit or than the text was already.
#include <algorithm>

#include "VariablesFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vnt::test::TVariablesFuzzRun run(data, size);
  const size_t limit = std::max(vnt::TSetupVariables::MaxExpandedSize, run.Text.size());
  for (bool escape : {false, true})
    if (run.Vars.ExpandText(run.Text, escape).size() > limit) __builtin_trap();
  return 0;
}
