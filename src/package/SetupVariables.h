// Variables of a setup run: the table, text expansion with the built-ins, the special names
// that SetVariable knows, and the component selection that the setup types drive.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "package/Builtins.h"
#include "package/SetupDescription.h"
#include "package/VarList.h"

namespace vnt {

class TSetupVariables {
public:
  TSetupVariables(TSetupDescription& desc, TBuiltinSource& builtins) : Desc(desc), Builtins(builtins) {}

  std::string ExpandText(const std::string& text, bool escapeAmpersands = false);
  // A computed built-in's value, or the expanded name.
  std::string EvaluateVariable(const std::string& name);
  // The only way a variable changes. The value is expanded now, not when read.
  void SetVariable(const std::string& name, const std::string& value, bool stripBackslash = false);
  // Empties the collected names and the fixed list, then sets the initial values.
  void InitVariables(const std::vector<std::string>& collectedNames, const std::string& hotSyncUsers);
  // Value stored in the table for a name, empty when there is none.
  std::string Stored(const std::string& name) const;

  bool IsComponentSelected(const std::string& list) const;
  bool IsComponentSelectedForInstall(const std::string& list) const;
  std::string NewComponents() const;
  std::string RemovedComponents() const;
  bool IsInFolderList(const std::string& text) const;
  // The setup defines no components and none are selected: everything counts as selected.
  bool NothingToChoose() const;

  TVariableList Table;
  std::string SelectedComponents;
  bool CommonShellFolders = false;
  bool MaintenanceMode = false;
  std::string InstalledComponents;
  // Called after every change with the name (with percent signs) and the value as given.
  std::function<void(const std::string& name, const std::string& value)> OnChange;

private:
  std::string Expand(const std::string& text, bool escape, bool nested);
  std::string BuiltinValue(TBuiltin id, bool escape, bool nested);
  std::string ComputedValue(TBuiltin id);
  void SwitchSetupType(std::string& value);

  TSetupDescription& Desc;
  TBuiltinSource& Builtins;
};

bool IsReadOnlyVariable(const std::string& name);
// Replaces every occurrence of a name (given in upper case) ignoring case; the search goes on
// after each inserted value, so a value holding its own name cannot loop.
void ReplaceIgnoringCase(std::string& text, const std::string& upperName, const std::string& value);
std::string RemoveTrailingBackslash(std::string text);

}  // namespace vnt
