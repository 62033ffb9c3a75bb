// Whole setup programs to start the package fuzzing from: the rich test package, an empty
// one, one without languages, and one whose scripts and page use every block, loop and value
// command.
#pragma once

#include <string>
#include <vector>

#include "TestPackages.h"
#include "package/PackageWriter.h"

namespace vnt::test {

inline ScriptStatement FuzzStatement(uint8_t op, std::array<std::string, 5> f, std::string condition = "") {
  ScriptStatement st;
  st.Opcode = op;
  st.F = std::move(f);
  st.Condition = std::move(condition);
  return st;
}

// A value that doubles forty times.
inline TScript GrowingFuzzScript() {
  return {
      FuzzStatement(OpAssignVariable, {"%Grow%", "ab", "0"}),
      FuzzStatement(OpFor, {"%G%", "1", "40", "g1"}),
      FuzzStatement(OpAssignVariable, {"%Grow%", "%Grow%%Grow%", "0"}),
      FuzzStatement(OpEndFor, {"g1"}),
  };
}

// Loops, blocks, jumps and every value and list command.
inline TScript BusyFuzzScript() {
  return {
      FuzzStatement(OpWhile, {"w1"}, "%Count% < 40|"),
      FuzzStatement(OpCalculate, {"%Count%", "%Count%", "ADDITION", "1"}),
      FuzzStatement(OpIf, {"i1"}, "%Count% > 30|"),
      FuzzStatement(OpExitLoop, {}),
      FuzzStatement(OpElse, {"i1"}),
      FuzzStatement(OpListAdd, {"%List%", "v%Count%"}),
      FuzzStatement(OpEndIf, {"i1"}),
      FuzzStatement(OpEndWhile, {"w1"}),
      FuzzStatement(OpFor, {"%I%", "1", "5", "f1"}),
      FuzzStatement(OpPadNumber, {"%I%", "4"}),
      FuzzStatement(OpDecToHex, {"%I%"}),
      FuzzStatement(OpHexToDec, {"%I%"}),
      FuzzStatement(OpRandomNumber, {"%R%", "10", "5"}),
      FuzzStatement(OpEndFor, {"f1"}),
      FuzzStatement(OpForEachSelected, {"%Item%", "VN_List1", "e1"}),
      FuzzStatement(OpListRemove, {"%List%", "%Item%"}),
      FuzzStatement(OpEndForEach, {"e1"}),
      FuzzStatement(OpListItem, {"%Second%", "%List%", "2"}),
      FuzzStatement(OpListCount, {"%N%", "%List%"}),
      FuzzStatement(OpListContains, {"%Has%", "%List%", "v3"}),
      FuzzStatement(OpLabel, {"again"}),
      FuzzStatement(OpCalculate, {"%Jumps%", "%Jumps%", "ADDITION", "1"}),
      FuzzStatement(OpGoTo, {"again"}, "%Jumps% < 3|"),
      FuzzStatement(OpPause, {"5"}),
      FuzzStatement(OpNextPage, {}, "%OSVersion% >= 5.1|%SETUPCOMPONENTS% = A|"),
  };
}

inline TPackageContent BusyFuzzContent() {
  TPackageContent c;
  TSetupDescription& d = c.Description;
  d.Properties.SoftwareName = "Busy";
  d.Properties.DefaultInstallDir = "%ProgramFilesDir%\\%SoftwareName%";
  d.Properties.SetupTypeComponents = {"A", "A|B", ""};
  d.Components.push_back({{"A", "First", ""}, 0, 0, 0});
  d.Scripts[StartScript] = BusyFuzzScript();
  d.Scripts[CloseScript] = {FuzzStatement(OpExitScript, {}), FuzzStatement(OpCancelSetup, {})};
  TSetupDialog page;
  page.Name = "Page";
  page.Controls.push_back(MakeControlDef(KindList, 1, 2, 3, 4, {"", "x|y", "x", "", "", ""}, GrowingFuzzScript(), "%Pick%"));
  page.LeaveScript = {FuzzStatement(OpAssignVariable, {"%Left%", "%Pick% and %List%", "1"}, "%Pick% != |")};
  d.Dialogs.Dialogs = {page};
  return c;
}

inline std::vector<std::string> PackageFuzzSeeds() {
  TPackageContent single = RichContent();
  single.Description.Languages.clear();
  single.Description.SingleTable.Texts[0] = "only %SoftwareName%";
  return {AppendPackage(FakeImage(64), RichContent()), AppendPackage(FakeImage(64), TPackageContent{}),
          AppendPackage(FakeImage(64), single), AppendPackage(FakeImage(64), BusyFuzzContent())};
}

}  // namespace vnt::test
