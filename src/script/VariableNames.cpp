#include "script/VariableNames.h"

#include <algorithm>

namespace vnt {

bool WritesVariable(uint8_t op) {
  static constexpr uint8_t Writers[] = {2,  5,  8,  9,  11, 20, 29, 35, 36, 37, 42, 43, 51, 54, 56, 57, 58, 61,
                                        62, 63, 65, 66, 69, 72, 73, 75, 82, 83, 84, 85, 86, 87, 88, 89, 94, 95,
                                        96, 97, 98, 106, 107, 108, 109, 112};
  return std::find(std::begin(Writers), std::end(Writers), op) != std::end(Writers);
}

namespace {

void FromScript(const TScript& script, std::vector<std::string>& names) {
  for (const auto& st : script)
    if (WritesVariable(st.Opcode) && !st.F[0].empty()) names.push_back(st.F[0]);
}

// Labels, buttons, pictures, lines, shapes and frames hold no value.
bool HoldsValue(uint8_t kind) {
  return kind != KindLabel && kind != KindButton && kind != KindImage && kind != KindImageButton &&
         kind != KindLine && kind != KindShape && kind != KindFrame;
}

}  // namespace

std::vector<std::string> CollectVariableNames(const std::array<TScript, PackageScriptCount>& scripts,
                                              const std::vector<TSetupDialog>& dialogs) {
  std::vector<std::string> names;
  for (const auto& script : scripts) FromScript(script, names);
  for (const auto& d : dialogs) {
    for (const TScript* s : {&d.BeforeBuildScript, &d.AfterBuildScript, &d.AfterShowScript, &d.LeaveScript})
      FromScript(*s, names);
    for (const auto& c : d.Controls)
      if (c.Kind != KindLine && c.Kind != KindShape) FromScript(c.Script, names);
  }
  for (const auto& d : dialogs)
    for (const auto& c : d.Controls)
      if (HoldsValue(c.Kind) && !c.Binding.empty()) names.push_back(c.Binding);
  return names;
}

}  // namespace vnt
