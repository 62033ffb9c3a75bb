// Variables as a project uses them: every %Name% read must be set by something (a built-in,
// the run, a project variable, a binding, a script), and what the user enters must reach a
// variable that something reads.
#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "package/Builtins.h"
#include "package/SetupVariables.h"
#include "package/VarList.h"
#include "script/VariableNames.h"
#include "vntbuild/project/ProjectCheckParts.h"

namespace vnt {

namespace {

// The %Name% of a text: percent signs around letters, digits and "_" (so "50% off" is none).
std::vector<std::string> VariableUses(const std::string& text) {
  std::vector<std::string> names;
  for (size_t i = text.find('%'); i != std::string::npos && i < text.size(); i = text.find('%', i)) {
    size_t j = i + 1;
    while (j < text.size() && (std::isalnum(static_cast<unsigned char>(text[j])) || text[j] == '_')) ++j;
    bool name = j < text.size() && text[j] == '%' && j > i + 1;
    if (name) names.push_back(text.substr(i, j - i + 1));
    i = name ? j + 1 : j;
  }
  return names;
}

bool IsPercentName(const std::string& name) {
  return name.size() > 2 && name.front() == '%' && name.back() == '%' && name.find('%', 1) == name.size() - 1;
}

// Controls whose value the user sets and that keep it only in their variable.
const char* ValueControlName(const TControlDef& c) {
  if (c.Role != RoleNone) return nullptr;
  switch (c.Kind) {
    case KindCheckBox:
      return "check box";
    case KindRadioBox:
      return "radio button";
    case KindCombo:
      return "combo box";
    case KindTextBox:
      return c.P[2] == "1" ? nullptr : "text box";
    default:
      return nullptr;
  }
}

using TReads = std::map<std::string, std::string>;

class TVariables {
 public:
  explicit TVariables(TCheckReport& report) : R(report), D(report.Project.Content.Description) {
    for (const auto& b : BuiltinNames()) Known.push_back(b.Name);
    for (const auto& n : PresetVariableNames()) Known.push_back(n);
    for (const auto& v : D.Variables) Known.push_back(v.Name);
    for (const auto& n : CollectScriptWrites()) Known.push_back(n);
    Defined = Known;
    for (const auto& n : CollectVariableNames(D.Scripts, D.Dialogs.Dialogs)) Defined.push_back(n);
    for (const std::string& n : Defined) DefinedUpper.insert(UpperCase(n));
  }

  void Check() {
    TReads reads;  // by the name in upper case, as first written
    for (const TTextAt& t : ProjectTexts(R))
      for (const std::string& name : VariableUses(t.Text)) {
        reads.emplace(UpperCase(name), name);
        if (!DefinedUpper.count(UpperCase(name)))
          R.Warn(t.Place, name +
                              " is never set (no built-in, variable, binding or script gives it a value), so it "
                              "stays as written" +
                              DidYouMean(name, Defined));
      }
    for (const TSetupMessage* table : MessageTables())
      for (const std::string& text : table->Texts)
        for (const std::string& name : VariableUses(text)) reads.emplace(UpperCase(name), name);
    if (R.Project.DialogsGiven) Bindings(reads);
    ScriptVariables();
  }

 private:
  TCheckReport& R;
  const TSetupDescription& D;
  std::vector<std::string> Known, Defined;
  std::set<std::string> DefinedUpper;

  std::vector<std::string> CollectScriptWrites() const {
    std::vector<std::string> names;
    for (const TScriptAt& s : ProjectScripts(R.Project))
      for (const auto& st : s.Script)
        if (WritesVariable(st.Opcode) && !st.F[0].empty()) names.push_back(st.F[0]);
    // The scripts of dialogs the builder adds are the builder's own, but set names too.
    if (!R.Project.DialogsGiven)
      for (const auto& n : CollectVariableNames({}, D.Dialogs.Dialogs)) names.push_back(n);
    return names;
  }

  std::vector<const TSetupMessage*> MessageTables() const {
    std::vector<const TSetupMessage*> tables{&D.SingleTable};
    for (const auto& l : D.Languages) tables.push_back(&l.Messages);
    return tables;
  }

  void Bindings(const TReads& reads) {
    // The name meant is most likely one the project reads but never sets.
    std::vector<std::string> unset;
    for (const auto& [upper, name] : reads)
      if (!DefinedUpper.count(upper)) unset.push_back(name);
    std::set<std::string> knownUpper;
    for (const auto& n : Known) knownUpper.insert(UpperCase(n));
    const auto& dialogs = D.Dialogs.Dialogs;
    for (size_t i = 0; i < dialogs.size(); ++i)
      for (size_t j = 0; j < dialogs[i].Controls.size(); ++j) {
        const TControlDef& c = dialogs[i].Controls[j];
        std::string at = IndexedPath(IndexedPath("/dialogs", i) + "/controls", j);
        const char* kind = ValueControlName(c);
        if (c.Binding.empty()) {
          if (kind) R.Warn(R.At(at), std::string("a ") + kind + " bound to no variable: what the user enters is lost");
        } else if (!IsPercentName(c.Binding)) {
          R.Error(R.At(at + "/binding"), "\"" + c.Binding + "\" is not a variable name with percent signs (\"%" +
                                             c.Binding + "%\"); a bare name is replaced wherever its text occurs");
        } else if (kind && !knownUpper.count(UpperCase(c.Binding)) && !reads.count(UpperCase(c.Binding))) {
          std::string hint = DidYouMean(c.Binding, unset);
          R.Warn(R.At(at + "/binding"), "nothing reads " + c.Binding + ", so what the user enters here is never used" +
                                            (hint.empty() ? DidYouMean(c.Binding, Known) : hint));
        }
      }
  }

  // A result variable written without percent signs stands for its bare text everywhere.
  void ScriptVariables() {
    for (const TScriptAt& s : ProjectScripts(R.Project))
      for (size_t i = 0; i < s.Script.size(); ++i) {
        const ScriptStatement& st = s.Script[i];
        if (WritesVariable(st.Opcode) && !st.F[0].empty() && st.F[0].find('%') == std::string::npos)
          R.Warn(R.StatementPlace(s.Path, i), "the variable \"" + st.F[0] + "\" is written without percent signs (\"%" +
                                                  st.F[0] + "%\"); its bare text is replaced wherever it occurs");
      }
  }
};

}  // namespace

void CheckVariables(TCheckReport& report) { TVariables(report).Check(); }

}  // namespace vnt
