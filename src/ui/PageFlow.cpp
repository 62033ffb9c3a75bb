#include "ui/PageFlow.h"

#include "package/VarList.h"

namespace vnt {

namespace {

// The page a move starts from. On "INSTALL" that is the page before it, unless "INSTALL" was
// reached without one (it was the first page): then "INSTALL" itself, so that a move never
// starts from nowhere.
std::string StartName(const TPageFlow& flow) {
  if (IsInstallPage(flow.Current) && !flow.BeforeInstall.empty()) return flow.BeforeInstall;
  return flow.Current;
}

bool Named(const TSetupDialog& d, const std::string& name) { return CompareTextIgnoringCase(d.Name, name) == 0; }

}  // namespace

bool IsInstallPage(const std::string& name) { return CompareTextIgnoringCase(name, "INSTALL") == 0; }

bool SameTag(const std::string& a, const std::string& b) { return CompareTextIgnoringCase(a, b) == 0; }

std::string NextPageName(const TPageFlow& flow) {
  if (flow.Current.empty()) return flow.First;
  if (flow.Current == flow.Last) return flow.Last;
  std::string start = StartName(flow);
  bool passed = false;
  for (const auto& d : flow.Dialogs) {
    if (!passed) {
      passed = Named(d, start);
      continue;
    }
    if (!d.IsStyle && !Named(d, start)) return d.Name;
  }
  return start;
}

std::string PreviousPageName(const TPageFlow& flow) {
  if (flow.Current.empty() || flow.Current == flow.First) return flow.First;
  std::string start = StartName(flow);
  const TSetupDialog* before = nullptr;
  for (const auto& d : flow.Dialogs) {
    if (Named(d, start)) return before ? before->Name : start;
    if (!d.IsStyle) before = &d;
  }
  return start;
}

bool SwitchLoopsBack(const std::vector<TPageSwitch>& underWay, const std::string& page, unsigned userActions) {
  for (const TPageSwitch& s : underWay)
    if (s.UserActions == userActions && CompareTextIgnoringCase(s.Page, page) == 0) return true;
  return false;
}

bool StepAbandoned(bool completed, const std::string& canClose) { return !completed && canClose != "0"; }

bool TakesPageFocus(uint8_t kind) {
  switch (kind) {
    case KindLabel:
    case KindImage:
    case KindImageButton:
    case KindFrame:
    case KindShape:
    case KindLine:
    case KindProgress:
    case KindButton:
    case KindRadioBox:
    case KindStyleSpace: return false;
    default: return true;
  }
}

void AddStyleSpace(TStyleSpaces& spaces, const TSetupStyleSpace& space) {
  if (!FindStyleSpace(spaces, space.Name)) spaces.push_back(space);
}

const TSetupStyleSpace* FindStyleSpace(const TStyleSpaces& spaces, const std::string& name) {
  for (const auto& space : spaces)
    if (SameTag(space.Name, name)) return &space;
  return nullptr;
}

std::string StylePanelName(const std::string& styleName) { return "Style_" + CleanDialogName(styleName); }

}  // namespace vnt
