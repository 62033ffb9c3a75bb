#include "setup/SetupSwitches.h"

#include <algorithm>

#include "package/VarList.h"

namespace vnt {

namespace {

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsSwitchWord(const std::string& word) {
  return word.size() > 1 && (word[0] == '/' || word[0] == '-') && word != "--";
}

// A switch word taken apart: "/DIR=C:\x" is DIR with the value "C:\x", "/VAR:A=b" is VAR with
// "A=b", "/LOG" is LOG without a value.
struct TSwitchWord {
  std::string Name;  // upper case
  std::optional<std::string> Value;
};

TSwitchWord Split(const std::string& word) {
  std::string body = word.substr(1);
  size_t cut = body.find_first_of("=:");
  if (cut == std::string::npos) return {UpperCase(body), std::nullopt};
  return {UpperCase(body.substr(0, cut)), body.substr(cut + 1)};
}

enum class TTakes : uint8_t { Nothing, Value, MaybeValue, Variable };

enum class TKnownBy : uint8_t { Both, Setup, Uninstaller };

struct TSwitchKind {
  const char* Name;
  TTakes Takes;
  TKnownBy KnownBy;
};

constexpr TSwitchKind Kinds[] = {
    {"SILENT", TTakes::Nothing, TKnownBy::Both},
    {"VERYSILENT", TTakes::Nothing, TKnownBy::Both},
    {"SUPPRESSMSGBOXES", TTakes::Nothing, TKnownBy::Both},
    {"LOG", TTakes::MaybeValue, TKnownBy::Both},
    {"?", TTakes::Nothing, TKnownBy::Both},
    {"HELP", TTakes::Nothing, TKnownBy::Both},
    {"NORESTART", TTakes::Nothing, TKnownBy::Setup},
    {"ALLOWRESTART", TTakes::Nothing, TKnownBy::Setup},
    {"DIR", TTakes::Value, TKnownBy::Setup},
    {"GROUP", TTakes::Value, TKnownBy::Setup},
    {"COMPONENTS", TTakes::Value, TKnownBy::Setup},
    {"TYPE", TTakes::Value, TKnownBy::Setup},
    {"LANG", TTakes::Value, TKnownBy::Setup},
    {"VAR", TTakes::Variable, TKnownBy::Setup},
    // The uninstaller's own copy, started to delete it once it has ended; not for people.
    {"DELETEAFTER", TTakes::Value, TKnownBy::Uninstaller},
};

const TSwitchKind* KindOf(const std::string& name, TSwitchOwner owner) {
  TKnownBy by = owner == TSwitchOwner::Setup ? TKnownBy::Setup : TKnownBy::Uninstaller;
  for (const TSwitchKind& kind : Kinds)
    if (name == kind.Name && (kind.KnownBy == TKnownBy::Both || kind.KnownBy == by)) return &kind;
  return nullptr;
}

// A switch's value is where it was split: "=" for most, ":" for VAR, which has its own "=".
bool SeparatorFits(const std::string& word, const TSwitchKind& kind) {
  size_t cut = word.find_first_of("=:", 1);
  if (cut == std::string::npos) return true;
  return word[cut] == (kind.Takes == TTakes::Variable ? ':' : '=');
}

std::string Malformed(const std::string& word) { return "The switch " + word + " is not written as it must be."; }

std::optional<std::vector<std::string>> ComponentNames(const std::string& value) {
  std::vector<std::string> names;
  size_t start = 0;
  for (;;) {
    size_t comma = value.find(',', start);
    std::string name = Trimmed(value.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (name.empty()) return std::nullopt;
    names.push_back(name);
    if (comma == std::string::npos) return names;
    start = comma + 1;
  }
}

// Takes in one switch with its value; answers the problem, if any.
std::string Take(TSetupSwitches& s, const std::string& word, const TSwitchKind& kind, const std::string& value) {
  const std::string name = kind.Name;
  if (name == "SILENT") s.Quietness = std::max(s.Quietness, TQuietness::Silent);
  else if (name == "VERYSILENT") s.Quietness = TQuietness::VerySilent;
  else if (name == "SUPPRESSMSGBOXES") s.SuppressMsgBoxes = true;
  else if (name == "NORESTART") s.NoRestart = true;
  else if (name == "ALLOWRESTART") s.AllowRestart = true;
  else if (name == "?" || name == "HELP") s.Usage = true;
  else if (name == "DELETEAFTER") s.DeleteAfter = value;
  else if (name == "LOG") {
    s.Log = true;
    s.LogFile = value;
  } else if (name == "DIR") s.Dir = value;
  else if (name == "GROUP") s.Group = value;
  else if (name == "LANG") s.Lang = value;
  else if (name == "TYPE") {
    if (value != "0" && value != "1" && value != "2") return "The switch " + word + " names no setup type: 0, 1 or 2.";
    s.Type = value[0] - '0';
  } else if (name == "COMPONENTS") {
    s.Components = ComponentNames(value);
    if (!s.Components) return Malformed(word);
  } else if (name == "VAR") {
    size_t equals = value.find('=');
    std::string var = Trimmed(value.substr(0, equals));
    if (var.size() > 1 && var.front() == '%' && var.back() == '%') var = var.substr(1, var.size() - 2);
    if (equals == std::string::npos || var.empty() || var.find('%') != std::string::npos) return Malformed(word);
    s.Vars.emplace_back(var, value.substr(equals + 1));
  }
  return {};
}

std::string TakeWord(TSetupSwitches& s, const std::string& word, TSwitchOwner owner) {
  TSwitchWord w = Split(word);
  const TSwitchKind* kind = KindOf(w.Name, owner);
  if (!kind) return "The switch " + word + " is not known.";
  if (!SeparatorFits(word, *kind)) return Malformed(word);
  bool hasValue = w.Value.has_value();
  bool fits = kind->Takes == TTakes::Nothing      ? !hasValue
              : kind->Takes == TTakes::MaybeValue ? !hasValue || !w.Value->empty()
                                                  : hasValue && !w.Value->empty();
  if (!fits) return Malformed(word);
  return Take(s, word, *kind, w.Value.value_or(""));
}

bool NamesASwitch(const std::vector<std::string>& words) {
  for (const std::string& word : words) {
    if (word == "--") return true;
    if (IsSwitchWord(word) && KindOf(Split(word).Name, TSwitchOwner::Setup)) return true;
  }
  return false;
}

}  // namespace

TSwitchReading ReadSetupSwitches(const std::vector<std::string>& words, TSwitchOwner owner) {
  TSwitchReading reading;
  TSetupSwitches& s = reading.Switches;
  if (owner == TSwitchOwner::Setup && !NamesASwitch(words)) return reading;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (owner == TSwitchOwner::Setup && word == "--") {
      s.Words.assign(words.begin() + long(i) + 1, words.end());
      break;
    }
    if (!IsSwitchWord(word)) {
      if (owner == TSwitchOwner::Setup) {
        reading.Problem = "The word " + word + " is not a switch; words for the setup's own scripts follow \"--\".";
        return reading;
      }
      s.Words.push_back(word);
      continue;
    }
    reading.Problem = TakeWord(s, word, owner);
    if (!reading.Problem.empty()) return reading;
  }
  return reading;
}

std::string SetupUsageText(const std::string& program) {
  return "Installs the product without a person when switches say so.\n\n" + program +
         " [/SILENT | /VERYSILENT] [/SUPPRESSMSGBOXES] [/DIR=\"folder\"] [/GROUP=\"name\"] "
         "[/COMPONENTS=\"a,b\"] [/TYPE=n] [/LANG=name] [/VAR:Name=Value] [/LOG[=\"file\"]] "
         "[/NORESTART | /ALLOWRESTART] [-- words for the setup's own scripts]\n\n"
         "/SILENT\tno pages; only the progress window and error messages show\n"
         "/VERYSILENT\tno window at all; no message boxes\n"
         "/SUPPRESSMSGBOXES\tno error message boxes in a silent run either\n"
         "/DIR=\"folder\"\tthe install folder\n"
         "/GROUP=\"name\"\tthe program group\n"
         "/COMPONENTS=\"a,b\"\tthe components to install (setup type 2, custom)\n"
         "/TYPE=n\tthe setup type: 0, 1 or 2\n"
         "/LANG=name\tthe language of the setup's texts\n"
         "/VAR:Name=Value\tany variable of the setup; may be given more than once\n"
         "/LOG[=\"file\"]\ta log of what the setup does; by default in the temporary folder\n"
         "/NORESTART\tnever restart Windows: exit code 3010 says it must be restarted\n"
         "/ALLOWRESTART\ta very silent run may restart Windows when the installation needs it\n\n"
         "Exit codes: 0 installed, 1 a fatal error or a wrong switch, 2 cancelled before the installation, "
         "3 a requirement failed, 4 the installation failed and was undone, 5 it was cancelled and undone, "
         "1641 installed and Windows is restarting, 3010 installed and Windows must be restarted.";
}

std::string UninstallerUsageText() {
  return "Removes a product that a Vantry setup installed.\n\n"
         "vntuninst.exe <uninstall record> [<product>] [/SILENT | /VERYSILENT] [/SUPPRESSMSGBOXES] "
         "[/LOG[=\"file\"]]\n\n"
         "<uninstall record>\tthe product's record (uninst.dat), as its Add/Remove Programs entry names it\n"
         "<product>\tthe entry's name: the company, a blank and the software name\n"
         "/SILENT\tno question; only the progress window and error messages show; shared files are kept\n"
         "/VERYSILENT\tno window at all; no message boxes\n"
         "/SUPPRESSMSGBOXES\tno error message boxes in a silent run either\n"
         "/LOG[=\"file\"]\ta log of what is removed; by default in the temporary folder\n\n"
         "Exit codes: 0 removed, 1 no usable record or a wrong switch, 2 the product was kept, "
         "4 items were left, 3010 items in use go when Windows restarts.";
}

std::string SetupResultText(int code) {
  const char* meaning = code == 0      ? "finished"
                        : code == 1    ? "ended by a fatal error"
                        : code == 2    ? "cancelled before the installation"
                        : code == 3    ? "a requirement was not met"
                        : code == 4    ? "the installation failed and was undone"
                        : code == 5    ? "the installation was cancelled and undone"
                        : code == 1641 ? "installed; Windows is restarting"
                        : code == 3010 ? "installed; Windows must be restarted"
                                       : "ended";
  return std::string("result: ") + meaning + " (exit code " + std::to_string(code) + ")";
}

TRestartStep UnattendedRestartStep(const TSetupSwitches& s, bool needed) {
  if (!needed) return TRestartStep::NotNeeded;
  if (s.NoRestart) return TRestartStep::Leave;
  if (s.Quietness == TQuietness::VerySilent && !s.AllowRestart) return TRestartStep::Leave;
  return TRestartStep::Restart;
}

bool IsSecretName(const std::string& name) {
  std::string upper = UpperCase(name);
  for (const char* part : {"PASS", "PWD", "SECRET", "SERIAL", "KEY"})
    if (upper.find(part) != std::string::npos) return true;
  return false;
}

std::string ElidedCommandLine(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& word : words) {
    std::string shown = word;
    size_t equals = word.find('=');
    if (equals != std::string::npos && IsSecretName(word.substr(0, equals))) shown = word.substr(0, equals + 1) + "***";
    if (!line.empty()) line += ' ';
    line += shown.find(' ') == std::string::npos ? shown : "\"" + shown + "\"";
  }
  return line;
}

}  // namespace vnt
