// Variables of a setup run: the table, text expansion with the built-ins, the special names
// that SetVariable knows, and the component selection that the setup types drive.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "package/Builtins.h"
#include "package/SetupDescription.h"
#include "package/VarList.h"

namespace vnt {

class TSetupVariables {
public:
  TSetupVariables(TSetupDescription& desc, TBuiltinSource& builtins) : Desc(desc), Builtins(builtins) {}

  // No expansion makes a text longer than this, or longer than it was when it was longer
  // already. It is far above any caption, path, message or page text, yet values that name
  // each other, which multiply at every level, stop here within milliseconds instead of
  // filling the memory.
  static constexpr size_t MaxExpandedSize = size_t(1) << 20;

  // Stops at the name whose value would take the text past MaxExpandedSize, with the names
  // before it put in, and notes that name for TakeExpansionOverflow.
  std::string ExpandText(const std::string& text, bool escapeAmpersands = false);
  // A computed built-in's value, or the expanded name.
  std::string EvaluateVariable(const std::string& name);
  // The only way a variable changes. The value is expanded now, not when read; a value whose
  // expansion stopped at the size limit is not stored.
  void SetVariable(const std::string& name, const std::string& value, bool stripBackslash = false);
  // Empties the collected names and the fixed list, then sets the initial values.
  void InitVariables(const std::vector<std::string>& collectedNames, const std::string& hotSyncUsers);
  // Value stored in the table for a name, empty when there is none.
  std::string Stored(const std::string& name) const;

  // The name at which an expansion stopped since the last call; empty when none did.
  std::string TakeExpansionOverflow() { return std::exchange(Overflow, std::string()); }

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
  // complete is false when the expansion stopped at the size limit.
  std::string Expand(const std::string& text, bool escape, bool nested, bool& complete);
  std::string BuiltinValue(TBuiltin id, bool escape, bool nested);
  std::string ComputedValue(TBuiltin id);
  void SwitchSetupType(std::string& value);

  TSetupDescription& Desc;
  TBuiltinSource& Builtins;
  std::string Overflow;
};

bool IsReadOnlyVariable(const std::string& name);
// Every name with percent signs that a setup defines before and while it runs, apart from the
// built-ins and the package's own: the fixed and read-only names, and those the run sets
// (%CommonShellFolders%, %IsFinishingSetup%, %SetupLog% when a log is kept).
std::vector<std::string> PresetVariableNames();
// Replaces every occurrence of a name (given in upper case) ignoring case; the search goes on
// after each inserted value, so a value holding its own name cannot loop. False, with the
// text as it was, when the text would grow past limit.
bool ReplaceIgnoringCase(std::string& text, const std::string& upperName, const std::string& value,
                         size_t limit = std::string::npos);
std::string RemoveTrailingBackslash(std::string text);

}  // namespace vnt
