// The desktop commands over a variable table of their own, run one statement at a time, with
// a folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "FakeBuiltins.h"
#include "Win32Fixtures.h"
#include "script/win32/DesktopCommands.h"

namespace vnt::test {

class TDesktopFixture {
public:
  explicit TDesktopFixture(TDesktopSources sources = {}) : Desktop(Ctx, std::move(sources)) { Desktop.Install(); }

  void Run(uint8_t op, std::array<std::string, 5> f = {}) {
    ScriptStatement s;
    s.Opcode = op;
    s.F = std::move(f);
    ASSERT_TRUE(Ctx.Command(op)) << "no command for opcode " << int(op);
    Ctx.Command(op)(s);
  }
  std::string Var(const std::string& name) { return Vars.ExpandText(name); }
  // Runs a command that answers in its first field, given as %R%, and reads the answer.
  std::string Answer(uint8_t op, const std::string& f2, const std::string& f3 = "") {
    Run(op, {"%R%", f2, f3});
    return Var("%R%");
  }

  TFakeBuiltins Builtins;
  TSetupDescription Desc;
  TSetupVariables Vars{Desc, Builtins};
  TScriptContext Ctx{Vars};
  TDesktopCommands Desktop;
  TTempFolder Dir;
};

}  // namespace vnt::test
