// What every script command works with: the variables, the commands the interpreter runs
// itself, and the hooks through which the wizard takes the rest.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "package/IntegerText.h"
#include "package/ScriptTypes.h"
#include "package/SetupVariables.h"

namespace vnt {

// Raised by a command whose failure stops the script; the text goes to the general error
// report and the rest of the script does not run.
class EScriptError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A list control of a page, as the script commands see it.
class TScriptList {
public:
  virtual ~TScriptList() = default;
  virtual int ItemCount() const = 0;
  virtual std::string ItemText(int index) const = 0;
  virtual bool ItemSelected(int index) const = 0;
};

class TScriptContext {
public:
  explicit TScriptContext(TSetupVariables& vars) : Vars(vars) {}

  // expand(F): the variables' expansion without ampersand escaping.
  std::string Expand(const std::string& text) {
    std::string expanded = Vars.ExpandText(text);
    CheckExpansion();
    return expanded;
  }
  // F1 := value.
  void Assign(const std::string& name, const std::string& value, bool stripBackslash = false) {
    Vars.SetVariable(name, value, stripBackslash);
    CheckExpansion();
  }
  // A text cut at the size limit must not be used: the script stops with the name at which
  // the expansion stopped.
  void CheckExpansion() {
    const std::string name = Vars.TakeExpansionOverflow();
    if (!name.empty())
      throw EScriptError("Expanding " + name + " would make the text longer than " +
                         std::to_string(TSetupVariables::MaxExpandedSize) + " bytes (1 MiB).");
  }
  // Digits and minus signs kept, read as a signed decimal; 0 when that fails (12a3 -> 123).
  static int32_t AsInteger(const std::string& text) { return vnt::AsInteger(text); }

  using TCommand = std::function<void(const ScriptStatement&)>;
  // A command the interpreter runs itself; opcodes without one go to WizardCommandHandler.
  void SetCommand(uint8_t opcode, TCommand command) { Commands[opcode] = std::move(command); }
  const TCommand& Command(uint8_t opcode) const { return Commands[opcode]; }

  TSetupVariables& Vars;

  // Hooks the wizard main form sets when it exists; unset, wizard commands do nothing.
  std::function<void(uint8_t opcode, const std::string& f1, const std::string& f3, const std::string& f2)>
      WizardCommandHandler;
  std::function<void()> ReturnFromInstallPage;
  std::function<TScriptList*(const std::string& name)> FindListControl;
  // Whether an installation is running (the return-from-"INSTALL" rule waits for it).
  std::function<bool()> IsInstalling;
  // The general error report (a message box in the program).
  std::function<void(const std::string& text)> OnScriptError;

  // Name of the page the wizard most recently switched to.
  std::string LastPageRequested;

private:
  std::array<TCommand, 256> Commands;
};

}  // namespace vnt
