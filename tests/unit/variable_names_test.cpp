#include <gtest/gtest.h>

#include "script/VariableNames.h"

using namespace vnt;

namespace {
ScriptStatement St(uint8_t op, const std::string& f1) {
  ScriptStatement s;
  s.Opcode = op;
  s.F[0] = f1;
  return s;
}
}  // namespace

TEST(VariableNames, WrittenByScriptsAndHeldByControls) {
  std::array<TScript, PackageScriptCount> scripts;
  scripts[StartScript] = {St(OpAskYesNo, "%Answer%"), St(OpMessageBox, "%NotWritten%"), St(OpFor, "%I%"),
                          St(OpAssignVariable, "")};
  scripts[CloseScript] = {St(OpPadNumber, "%Padded%")};
  TSetupDialog page;
  page.BeforeBuildScript = {St(OpAssignVariable, "%D0_1%")};
  TControlDef edit;
  edit.Kind = KindTextBox;
  edit.Binding = "%Name%";
  edit.Script = {St(OpListAdd, "%List%")};
  TControlDef label;
  label.Kind = KindLabel;
  label.Binding = "%Caption%";
  TControlDef shape;
  shape.Kind = KindShape;
  shape.Script = {St(OpAssignVariable, "%FromShape%")};
  page.Controls = {edit, label, shape};
  auto names = CollectVariableNames(scripts, {page});
  EXPECT_EQ(names, (std::vector<std::string>{"%Answer%", "%I%", "%Padded%", "%D0_1%", "%List%", "%Name%"}));
}
