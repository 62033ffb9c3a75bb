// Fuzz inputs for the variables: lines "name=value" set variables one by one, up to a line
// "--"; what follows is the text (a condition, or a text to expand).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "FakeBuiltins.h"
#include "package/SetupVariables.h"

namespace vnt::test {

struct TVariablesFuzzRun {
  TSetupDescription Desc;
  TFakeBuiltins Builtins;
  TSetupVariables Vars{Desc, Builtins};
  std::string Text;

  TVariablesFuzzRun(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    Desc.Properties.SetupTypeComponents = {"A|B", "A", ""};
    Desc.Components.resize(2);
    Desc.Components[0].Name = "A";
    Desc.Components[1].Name = "B";
    for (;;) {
      size_t end = input.find('\n');
      std::string_view line = input.substr(0, end);
      if (line == "--" || end == std::string_view::npos) {
        Text = end == std::string_view::npos ? input : input.substr(end + 1);
        return;
      }
      size_t eq = line.find('=');
      Vars.SetVariable(std::string(line.substr(0, eq)), eq == line.npos ? "" : std::string(line.substr(eq + 1)));
      input.remove_prefix(end + 1);
    }
  }
};

}  // namespace vnt::test
