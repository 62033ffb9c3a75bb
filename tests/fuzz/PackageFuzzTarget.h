// One fuzz input: the bytes of a whole setup program, a program image followed by its package.
// The package is opened and read, its variables made, every condition evaluated, every record
// text expanded and every script run, as start-up and the wizard would do with it.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "package/Conditions.h"
#include "package/CustomVarFuncs.h"
#include "package/PackageWriter.h"
#include "package/SectionLayouts.h"
#include "package/SetupSections.h"
#include "script/ListCommands.h"
#include "script/ScriptInterpretor.h"
#include "script/ValueCommands.h"
#include "script/VariableNames.h"
#include "FakeBuiltins.h"

namespace vnt::test {

// Statements and loop passes one script run may take: enough for every loop of the seeds, few
// enough that a mutated loop without end costs little time.
constexpr uint64_t FuzzStepLimit = 5000;
// An expansion makes a text at most the product, over the variables, of max(1, value / name
// length) times longer; chained variables could make that astronomical. Scripts may grow it
// to 2^FuzzGrowthBits at most: the change past it empties the grown values and stops the script.
constexpr double FuzzGrowthBits = 7;

class TFuzzGrowthGuard {
public:
  explicit TFuzzGrowthGuard(TSetupVariables& vars) : Vars(vars) {
    vars.OnChange = [this](const std::string&, const std::string&) { Check(); };
  }
  bool StopScripts = false;  // off while start-up seeds the values

private:
  void Check() {
    if (GrowthBits() <= FuzzGrowthBits) return;
    std::vector<std::string> grown;
    for (const TVariableItem& item : Vars.Table.All())
      if (item.Value.size() > item.UpperName.size()) grown.push_back(item.Name);
    for (const std::string& name : grown) Vars.Table.Set(name, "");
    if (StopScripts) throw EScriptError("fuzz bound: variable values grew too large");
  }
  double GrowthBits() const {
    double bits = 0;
    for (const TVariableItem& item : Vars.Table.All())
      if (!item.UpperName.empty() && item.Value.size() > item.UpperName.size())
        bits += std::log2(double(item.Value.size()) / double(item.UpperName.size()));
    return bits;
  }
  TSetupVariables& Vars;
};

// Hands every text field of a record, in stored order, to a function (the writer's walk).
class TFuzzTextVisitor {
public:
  explicit TFuzzTextVisitor(std::function<void(const std::string&)> f) : F(std::move(f)) {}
  void U8(const uint8_t&) {}
  void U16(const uint16_t&) {}
  void Reserved16(const uint16_t&) {}
  void I32(const int32_t&) {}
  void U32(const uint32_t&) {}
  void Dbl(const double&) {}
  void Str(const std::string& v) { F(v); }
  void Font(const TFontRecord& v) { F(v.Name); }
  void Version(const TVersionLimit&, bool) {}
  TStream& Stream() {
    Sink.Seek(0);  // list counts go here and are dropped
    return Sink;
  }
  static constexpr bool Reading = false;

private:
  std::function<void(const std::string&)> F;
  TMemoryStream Sink;
};

inline void VisitScriptTexts(const TScript& script, const std::function<void(const std::string&)>& f) {
  for (const ScriptStatement& st : script) {
    for (const std::string& field : st.F) f(field);
    f(st.Condition);
  }
}

inline void VisitRecordTexts(const TSetupDescription& d, const std::function<void(const std::string&)>& f) {
  TFuzzTextVisitor v(f);
  TransferProperties(v, d.Properties, d.Requirements, d.VersionBounds);
  TransferProperties2(v, d.Properties);
  f(d.Properties.MainGroupDesktopFolder);
  f(d.Properties.MainGroupCabinetFiles);
  TransferMessageTable(v, d.SingleTable);
  for (const auto& lang : d.Languages) TransferLanguage(v, lang);
  for (const auto& var : d.Variables) {
    f(var.Name);
    TransferRegChange(v, var.Reg);
  }
  for (const auto& b : d.BackItems) TransferBackItem(v, b);
  for (const auto& c : d.Components) TransferComponent(v, c);
  for (const auto& c : d.Conduits) TransferConduit(v, c);
  for (const auto* list : {&d.ProgressBitmaps, &d.FileFolders, &d.ShortcutFolders})
    for (const auto& text : *list) f(text);
  for (const auto* list : {&d.SupportFiles, &d.ProductFiles})
    for (const auto& file : *list) TransferSetupFile(v, file.File);
  for (const auto& g : d.DeviceGroups) TransferDeviceFileGroup(v, g);
  for (const auto& s : d.Shortcuts) TransferShortcut(v, s);
  for (const auto& r : d.RegChanges) TransferRegChange(v, r);
  for (const auto& dev : d.DeviceTable)
    for (const auto* text : {&dev.Name, &dev.PlatformName, &dev.ExcludedPlatforms}) f(*text);
  for (const auto& dialog : d.Dialogs.Dialogs) {
    for (const auto* text : {&dialog.Name, &dialog.Title, &dialog.StyleName, &dialog.DialogFont.Name}) f(*text);
    for (const auto& c : dialog.Controls) {
      f(c.Binding);
      for (const auto& p : c.P) f(p);
    }
  }
}

// Every condition of the records and of the statements of every script.
inline std::vector<std::string> AllConditions(const TSetupDescription& d, const std::vector<const TScript*>& scripts) {
  std::vector<std::string> all;
  for (const auto& var : d.Variables) all.push_back(var.Reg.Condition);
  for (const auto* list : {&d.SupportFiles, &d.ProductFiles})
    for (const auto& file : *list) all.push_back(file.File.Condition);
  for (const auto& s : d.Shortcuts) all.push_back(s.Condition);
  for (const auto& r : d.RegChanges) all.push_back(r.Condition);
  for (const TScript* script : scripts)
    for (const auto& st : *script) all.push_back(st.Condition);
  return all;
}

inline std::vector<const TScript*> AllScripts(const TSetupDescription& d) {
  std::vector<const TScript*> all;
  for (const auto& s : d.Scripts) all.push_back(&s);
  for (const auto& dialog : d.Dialogs.Dialogs) {
    for (const auto* s : {&dialog.BeforeBuildScript, &dialog.AfterBuildScript, &dialog.AfterShowScript, &dialog.LeaveScript})
      all.push_back(s);
    for (const auto& c : dialog.Controls) all.push_back(&c.Script);
  }
  return all;
}

// The reader never makes more list items than the bytes could hold, and no stored script text
// longer than a field.
inline bool ListsFitTheBytes(const TSetupDescription& d, uint64_t bytes) {
  auto fits = [bytes](size_t count, uint64_t itemBytes) { return uint64_t(count) * itemBytes <= bytes; };
  uint64_t statements = 0, controls = 0;
  for (const TScript* script : AllScripts(d)) {
    statements += script->size();
    for (const auto& st : *script) {
      if (st.Condition.size() > 1000) return false;
      for (const auto& field : st.F)
        if (field.size() > 1000) return false;
    }
  }
  for (const auto& dialog : d.Dialogs.Dialogs) controls += dialog.Controls.size();
  return fits(d.Languages.size(), MinLanguageSize()) && fits(d.Variables.size(), MinVariableSize()) &&
         fits(d.BackItems.size(), MinBackItemSize()) && fits(d.SupportFiles.size(), MinSupportFileSize()) &&
         fits(d.ProductFiles.size(), MinProductFileSize()) && fits(d.Shortcuts.size(), MinShortcutSize()) &&
         fits(d.RegChanges.size(), MinRegChangeSize()) && fits(d.DeviceTable.size(), MinRapiDeviceSize()) &&
         fits(d.DeviceGroups.size(), MinDeviceGroupSize()) && fits(d.Components.size(), 1) &&
         fits(d.Conduits.size(), 1) && fits(d.ProgressBitmaps.size() + d.FileFolders.size() + d.ShortcutFolders.size(), 1) &&
         fits(d.Dialogs.Dialogs.size() + controls, 1) && fits(statements, 8);
}

// Reads a whole description; none when the package is refused as damaged. Only EPackageError
// reports damage: anything else escapes to the caller.
inline bool ReadFuzzPackage(const std::string& file, TSetupDescription& d, std::string& language,
                            std::array<uint8_t, OptionCount>* options = nullptr) {
  TPackage pkg;
  OpenPackage(pkg, "fuzz.exe", std::make_unique<TMemoryStream>(file), 0);
  if (!PackageIsValid(pkg)) return false;
  if (options) *options = pkg.Options;
  try {
    ReadDescription(pkg, d, language, true);
  } catch (const EPackageError&) {
    return false;
  }
  return true;
}

// What was read, written again and read back, is the same description.
inline bool RewriteReadsTheSame(const TSetupDescription& d, const std::array<uint8_t, OptionCount>& options) {
  TPackageContent c;
  c.Description = d;
  c.Options = options;
  TSetupDescription back;
  std::string language;
  if (!ReadFuzzPackage(AppendPackage("MZ", c), back, language)) return false;
  TSetupDescription first = d;
  if (std::isnan(first.ProgressScale) && std::isnan(back.ProgressScale)) first.ProgressScale = back.ProgressScale = 0;
  return back == first;
}

class TFuzzList : public TScriptList {
public:
  int ItemCount() const override { return 3; }
  std::string ItemText(int index) const override { return "item" + std::to_string(index); }
  bool ItemSelected(int index) const override { return index != 1; }
};

// Runs what the package holds over the variables that start-up makes; answers the errors the
// scripts reported.
inline std::vector<std::string> RunFuzzDescription(TSetupDescription& d) {
  TFakeBuiltins builtins;
  TSetupVariables vars(d, builtins);
  TFuzzGrowthGuard guard(vars);
  vars.SelectedComponents = d.Properties.SetupTypeComponents[0];
  SetCustomVariables(vars, d.Variables, [](uint8_t root, const std::string&, const std::string& name) {
    return root == RootCurrentUser ? std::optional<std::string>("reg " + name) : std::nullopt;
  });
  vars.InitVariables(CollectVariableNames(d.Scripts, d.Dialogs.Dialogs), "Alice|Bob");
  guard.StopScripts = true;

  std::vector<const TScript*> scripts = AllScripts(d);
  for (const std::string& condition : AllConditions(d, scripts)) EvaluateCondition(condition, vars);
  VisitRecordTexts(d, [&vars](const std::string& text) { vars.ExpandText(text, true); });

  TScriptContext context(vars);
  TValueCommands values(7);
  values.Sleep = [](int32_t) {};
  values.Register(context);
  RegisterListCommands(context);
  TFuzzList list;
  context.FindListControl = [&list](const std::string& name) { return name.empty() ? nullptr : &list; };
  context.WizardCommandHandler = [](uint8_t, const std::string&, const std::string&, const std::string&) {};
  std::vector<std::string> errors;
  context.OnScriptError = [&errors](const std::string& text) { errors.push_back(text); };
  TScriptInterpreter interpreter(context);
  interpreter.StepLimit = FuzzStepLimit;
  for (const TScript* script : scripts) interpreter.RunScript(*script);
  return errors;
}

// Answers false when the reader broke a promise; crashes, leaks, hangs and exceptions other
// than the expected ones speak for themselves.
inline bool PackageFuzzOne(const uint8_t* data, size_t size) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  TSetupDescription d;
  std::string language;
  std::array<uint8_t, OptionCount> options{};
  if (!ReadFuzzPackage(file, d, language, &options)) return true;
  if (!ListsFitTheBytes(d, size) || !RewriteReadsTheSame(d, options)) return false;
  RunFuzzDescription(d);
  return true;
}

}  // namespace vnt::test
