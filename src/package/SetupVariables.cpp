#include "package/SetupVariables.h"

#include <algorithm>
#include <array>
#include <vector>

#include "package/ComponentLists.h"
#include "package/SetupRecords.h"

namespace vnt {

namespace {

const std::array<const char*, 27> ReadOnlyNames = {
    "%ISADMIN%", "%ISNT%", "%OSVERSION%", "%OSMAJORVERSION%", "%OSMINORVERSION%", "%SETUPCOMPONENTS%",
    "%COLORDEPTH%", "%CURRENTDAY%", "%CURRENTHOUR%", "%CURRENTMINUTE%", "%CURRENTMONTH%", "%CURRENTSECOND%",
    "%CURRENTYEAR%", "%DATE%", "%EUROPEANDATE%", "%ISODATE%", "%SCREENHEIGHT%", "%SCREENWIDTH%",
    "%RAMMEMORY%", "%SETUPHANDLE%", "%CMDLINEPARAM%", "%ACTIVEDIALOGHANDLE%", "%ISACTIVESYNCINSTALLED%",
    "%ISHOTSYNCINSTALLED%", "%ISDOTNETINSTALLED%", "%DOTNETVERSION%", "%ACTIVESYNCVERSION%"};

// Names every setup has, after those its scripts and pages use.
const std::array<const char*, 36> FixedNames = {
    "%InstallDir%", "%ProgramGroup%", "%CanClose%", "%SetupType%", "%DLLResult%", "%ErrorCode%",
    "%DoReboot%", "%HotSyncUser%", "%CmdParamNum%", "%Language%", "%IsAdmin%", "%IsNT%", "%OSVersion%",
    "%OSMajorVersion%", "%OSMinorVersion%", "%ColorDepth%", "%CurrentDay%", "%CurrentHour%",
    "%CurrentMinute%", "%CurrentMonth%", "%CurrentSecond%", "%CurrentYear%", "%Date%", "%EuropeanDate%",
    "%ISODate%", "%ScreenHeight%", "%ScreenWidth%", "%RAMMemory%", "%SetupHandle%", "%CmdLineParam%",
    "%ActiveDialogHandle%", "%IsActiveSyncInstalled%", "%IsHotSyncInstalled%", "%IsDotNetInstalled%",
    "%DotNetVersion%", "%ActiveSyncVersion%"};

// Names the run sets when it comes to them: the shell folders' switch, the close script's
// flag, the log's path.
const std::array<const char*, 3> RunNames = {"%CommonShellFolders%", "%IsFinishingSetup%", "%SetupLog%"};

bool SameName(const std::string& a, const char* b) { return CompareTextIgnoringCase(a, b) == 0; }

size_t FindIgnoringCase(const std::string& text, const std::string& upperName, size_t from) {
  if (upperName.empty() || text.size() < upperName.size()) return std::string::npos;
  for (size_t i = from; i + upperName.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < upperName.size() && FoldCase(text[i + k]) == upperName[k]) ++k;
    if (k == upperName.size()) return i;
  }
  return std::string::npos;
}

// Where the percent signs of a text stand: a name with percent signs can only start there.
struct TNameIndex {
  const std::string& Upper;
  std::vector<size_t> Percents;
  explicit TNameIndex(const std::string& upper) : Upper(upper) {
    for (size_t i = upper.find('%'); i != std::string::npos; i = upper.find('%', i + 1)) Percents.push_back(i);
  }
  bool Occurs(const std::string& upperName) const {
    if (upperName.empty() || upperName[0] != '%') return Upper.find(upperName) != std::string::npos;
    return std::any_of(Percents.begin(), Percents.end(),
                       [&](size_t at) { return Upper.compare(at, upperName.size(), upperName) == 0; });
  }
};

std::string EscapeAmpersands(const std::string& text) {
  std::string out;
  for (char c : text) {
    out.push_back(c);
    if (c == '&') out.push_back('&');
  }
  return out;
}

}  // namespace

std::string RemoveTrailingBackslash(std::string text) {
  if (!text.empty() && text.back() == '\\') text.pop_back();
  return text;
}

bool IsReadOnlyVariable(const std::string& name) {
  return std::any_of(ReadOnlyNames.begin(), ReadOnlyNames.end(), [&](const char* n) { return SameName(name, n); });
}

std::vector<std::string> PresetVariableNames() {
  std::vector<std::string> names(FixedNames.begin(), FixedNames.end());
  names.insert(names.end(), ReadOnlyNames.begin(), ReadOnlyNames.end());
  names.insert(names.end(), RunNames.begin(), RunNames.end());
  return names;
}

bool ReplaceIgnoringCase(std::string& text, const std::string& upperName, const std::string& value,
                         size_t limit) {
  size_t at = FindIgnoringCase(text, upperName, 0);
  if (at == std::string::npos) return true;
  // Built in one pass: replacing in place would move the rest of a long text at every name.
  std::string out;
  size_t from = 0;
  for (; at != std::string::npos; at = FindIgnoringCase(text, upperName, from)) {
    out.append(text, from, at - from);
    from = at + upperName.size();
    if (out.size() + value.size() + (text.size() - from) > limit) return false;
    out += value;
  }
  out.append(text, from);
  text = std::move(out);
  return true;
}

std::string TSetupVariables::ComputedValue(TBuiltin id) {
  if (id != TBuiltin::CmdLineParam) return Builtins.Value(id, CommonShellFolders);
  long long n = NumberFromText(Stored("%CmdParamNum%"));
  return n < 0 ? std::string() : Builtins.CommandLineParam(int(std::min<long long>(n, 1 << 30)));
}

std::string TSetupVariables::BuiltinValue(TBuiltin id, bool escape, bool nested) {
  const TSetupProperties& p = Desc.Properties;
  switch (id) {
    case TBuiltin::SoftwareName: return escape ? EscapeAmpersands(p.SoftwareName) : p.SoftwareName;
    case TBuiltin::CompanyName: return escape ? EscapeAmpersands(p.CompanyName) : p.CompanyName;
    case TBuiltin::HelpDir: return RemoveTrailingBackslash(Builtins.Value(TBuiltin::WinDir, false)) + "\\Help";
    case TBuiltin::WinDrive: return Builtins.Value(TBuiltin::WinDir, false).substr(0, 2);
    case TBuiltin::ProgramGroupDir: {
      bool complete = true;
      return RemoveTrailingBackslash(Builtins.Value(TBuiltin::ProgramsDir, CommonShellFolders)) + "\\" +
             Expand("%ProgramGroup%", escape, true, complete);
    }
    case TBuiltin::CmdLineParam: return nested ? std::string() : ComputedValue(id);
    default: break;
  }
  std::string value = ComputedValue(id);
  return IsFolderBuiltin(id) ? RemoveTrailingBackslash(value) : value;
}

std::string TSetupVariables::Expand(const std::string& text, bool escape, bool nested, bool& complete) {
  complete = true;
  // Names stored with percent signs cannot occur in a text without one.
  if (text.find('%') == std::string::npos && !Table.HasBareNames()) return text;
  const std::string upper = UpperCase(text);
  const TNameIndex index(upper);
  const size_t limit = std::max(MaxExpandedSize, text.size());
  std::string result = text;
  auto put = [&](const std::string& upperName, const std::string& name, const std::string& value) {
    if (ReplaceIgnoringCase(result, upperName, value, limit)) return true;
    Overflow = name;
    return complete = false;
  };
  for (const TBuiltinName& b : BuiltinNames()) {
    if (nested && b.Id == TBuiltin::CmdLineParam) continue;
    if (index.Occurs(b.Upper) && !put(b.Upper, b.Name, BuiltinValue(b.Id, escape, nested))) return result;
  }
  for (const TVariableItem& item : Table.All()) {
    const std::string& name = item.UpperName;
    if (!index.Occurs(name)) continue;
    bool folder = name == "%INSTALLDIR%" || IsInFolderList(item.Name);
    if (!put(name, item.Name, folder ? RemoveTrailingBackslash(item.Value) : item.Value)) return result;
  }
  return result;
}

std::string TSetupVariables::ExpandText(const std::string& text, bool escapeAmpersands) {
  bool complete = true;
  return Expand(text, escapeAmpersands, false, complete);
}

std::string TSetupVariables::EvaluateVariable(const std::string& name) {
  for (const TBuiltinName& b : BuiltinNames())
    if (IsComputedBuiltin(b.Id) && SameName(name, b.Upper)) return BuiltinValue(b.Id, false, false);
  return ExpandText(name);
}

std::string TSetupVariables::Stored(const std::string& name) const {
  int i = Table.IndexOf(name);
  return i < 0 ? std::string() : Table.Get(i).Value;
}

void TSetupVariables::SwitchSetupType(std::string& value) {
  auto& lists = Desc.Properties.SetupTypeComponents;
  if (ExpandText("%SetupType%") == "2" && value != "2") lists[2] = SelectedComponents;
  if (value == "1")
    SelectedComponents = lists[1];
  else if (value == "2")
    SelectedComponents = lists[2];
  else {
    value = "0";
    SelectedComponents = lists[0];
  }
}

void TSetupVariables::SetVariable(const std::string& name, const std::string& value, bool stripBackslash) {
  const std::string p = WithPercentSigns(name);
  if (IsReadOnlyVariable(p)) return;
  std::string v = value;
  if (SameName(p, "%SETUPTYPE%")) SwitchSetupType(v);
  if (SameName(p, "%COMMONSHELLFOLDERS%")) {
    CommonShellFolders = v == "1";
    if (!CommonShellFolders) v = "0";
  }
  if (stripBackslash) v = RemoveTrailingBackslash(v);
  bool complete = true;
  std::string expanded = Expand(v, false, false, complete);
  if (!complete) return;
  Table.Set(name, std::move(expanded));
  if (OnChange) OnChange(p, v);
}

void TSetupVariables::InitVariables(const std::vector<std::string>& collectedNames, const std::string& hotSyncUsers) {
  std::vector<std::string> names;
  auto add = [&](const std::string& n) {
    if (n.empty()) return;
    std::string withPercents = WithPercentSigns(n);
    if (std::none_of(names.begin(), names.end(), [&](const std::string& x) { return SameName(x, withPercents.c_str()); }))
      names.push_back(withPercents);
  };
  // The project's own variables keep the value their registry entry or default gave them,
  // though a script or a control names them.
  auto declared = [&](const std::string& n) {
    return std::any_of(Desc.Variables.begin(), Desc.Variables.end(),
                       [&](const TSetupVariable& v) { return SameName(WithPercentSigns(v.Name), n.c_str()); });
  };
  for (const auto& n : collectedNames)
    if (!declared(WithPercentSigns(n))) add(n);
  for (const char* n : FixedNames) add(n);
  for (const auto& n : names) SetVariable(n, "");

  const TSetupProperties& p = Desc.Properties;
  SetVariable("%InstallDir%", ExpandText(p.DefaultInstallDir));
  SetVariable("%ProgramGroup%", ExpandText(p.DefaultProgramGroup));
  SetVariable("%CanClose%", "0");
  SetVariable("%SetupType%", "0");
  SetVariable("%CommonShellFolders%", "0");
  SetVariable("%ErrorCode%", "0");
  SetVariable("%DoReboot%", "0");
  SetVariable("%CmdParamNum%", "0");
  SetVariable("%HotSyncUser%", hotSyncUsers);
  SetVariable("%Language%", Desc.DefaultLanguageName);
}

bool TSetupVariables::NothingToChoose() const { return SelectedComponents.empty() && Desc.Components.empty(); }

bool TSetupVariables::IsComponentSelected(const std::string& list) const {
  if (SplitComponentList(list).empty() || NothingToChoose()) return true;
  return ComponentListsMeet(list, SelectedComponents);
}

bool TSetupVariables::IsComponentSelectedForInstall(const std::string& list) const {
  if (!MaintenanceMode) return IsComponentSelected(list);
  std::string fresh = NewComponents();
  if (fresh.empty() && Desc.Components.empty()) return true;
  return ComponentListsMeet(list, fresh);
}

std::string TSetupVariables::RemovedComponents() const {
  std::vector<std::string> removed;
  for (const auto& c : Desc.Components)
    if (ComponentListContains(InstalledComponents, c.Name) && !ComponentListContains(SelectedComponents, c.Name))
      removed.push_back(c.Name);
  return JoinComponentList(removed);
}

std::string TSetupVariables::NewComponents() const {
  std::string removed = RemovedComponents();
  std::vector<std::string> fresh;
  for (const auto& c : Desc.Components)
    if (!ComponentListContains(InstalledComponents, c.Name) && ComponentListContains(SelectedComponents, c.Name) &&
        !ComponentListContains(removed, c.Name))
      fresh.push_back(c.Name);
  return JoinComponentList(fresh);
}

bool TSetupVariables::IsInFolderList(const std::string& text) const {
  std::string withSlash = text.empty() || text.back() != '\\' ? text + "\\" : text;
  return std::any_of(Desc.FileFolders.begin(), Desc.FileFolders.end(),
                     [&](const std::string& f) { return CompareTextIgnoringCase(f, withSlash) == 0; });
}

}  // namespace vnt
