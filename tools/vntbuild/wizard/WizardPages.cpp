#include "vntbuild/wizard/WizardPages.h"

#include "package/VarList.h"
#include "vntbuild/project/ProjectError.h"
#include "vntbuild/project/ProjectNames.h"
#include "vntbuild/script/ScriptCompiler.h"
#include "vntbuild/wizard/WizardLayout.h"

namespace vnt {

using namespace wizard;

namespace {

bool Same(const std::string& a, const std::string& b) { return CompareTextIgnoringCase(a, b) == 0; }

TScript Code(const std::string& text) { return CompileScriptText(text, "default wizard"); }

bool IsInstallPageName(const std::string& name) { return Same(name, "INSTALL"); }

[[noreturn]] void Fail(const std::string& where, const std::string& what) { throw EProjectError(where + ": " + what); }

// What stands in one default page's place: the pages before it, it or the page replacing it,
// the pages after it.
struct TPlace {
  std::string Default;
  std::vector<const TWizardPage*> Before, After;
  const TWizardPage* Replacement = nullptr;
};

// The default page the placing names, as this wizard spells it; or the error, with the
// names it could have meant.
const std::string& Anchor(const TWizardPage& p, const std::vector<TPlace>& places) {
  std::vector<std::string> names;
  for (const auto& place : places) {
    if (Same(place.Default, p.Anchor)) return place.Default;
    names.push_back(place.Default);
  }
  std::string list;
  for (const auto& n : names) list += (list.empty() ? "" : ", ") + n;
  Fail(p.PlaceWhere, "no default page \"" + p.Anchor + "\" in this wizard" + DidYouMean(p.Anchor, names) +
                         "; its pages: " + list);
}

// The places the wizard cannot lead to: between Ready, whose button starts the installation,
// and "INSTALL", which the installation shows; after Finish, whose button ends the setup; and
// instead of "INSTALL".
void CheckPlace(const TWizardPage& p, const std::string& anchor) {
  if (p.Place == TPagePlace::Replacing && IsInstallPageName(anchor))
    Fail(p.PlaceWhere, "\"INSTALL\" is the installation's own page and cannot be replaced");
  if ((p.Place == TPagePlace::After && anchor == "Ready") || (p.Place == TPagePlace::Before && IsInstallPageName(anchor)))
    Fail(p.PlaceWhere, "no page can stand between Ready and INSTALL: Ready's Install button starts the installation "
                       "(place it before Ready, after INSTALL, or in Ready's place)");
  if (p.Place == TPagePlace::After && anchor == "Finish")
    Fail(p.PlaceWhere, "no page can follow Finish: its button ends the setup");
}

std::vector<TPlace> Places(const TDialogSection& wizard, const std::vector<TWizardPage>& pages) {
  std::vector<TPlace> places;
  for (const auto& d : wizard.Dialogs) places.push_back({d.Name, {}, {}, nullptr});
  for (const auto& p : pages) {
    const std::string& anchor = Anchor(p, places);
    CheckPlace(p, anchor);
    for (auto& place : places) {
      if (place.Default != anchor) continue;
      if (p.Place == TPagePlace::Before) place.Before.push_back(&p);
      if (p.Place == TPagePlace::After) place.After.push_back(&p);
      if (p.Place == TPagePlace::Replacing) {
        if (place.Replacement) Fail(p.PlaceWhere, anchor + " is replaced already, by " + place.Replacement->Where);
        place.Replacement = &p;
      }
    }
  }
  return places;
}

// Every language's texts for the pages: the pages' own, then what the language changes.
TWizardTranslations WithPageTexts(const std::vector<TWizardPage>& pages, const TSetupDescription& d,
                                  const TWizardTranslations& translations) {
  TWizardTexts own;
  for (const auto& p : pages) own.insert(p.Texts.begin(), p.Texts.end());
  std::vector<std::string> names;
  for (const auto& lang : d.Languages) names.push_back(lang.Name);
  if (names.empty()) names.push_back("");
  TWizardTranslations all;
  for (const auto& name : names) {
    TWizardTexts texts = own;
    if (auto it = translations.find(name); it != translations.end())
      for (const auto& [id, text] : it->second) texts[id] = text;
    all[name] = texts;
  }
  return all;
}

// After StartInstallation, what Ready's Install button does next, under the same condition.
TScript WithInstallDone(const TScript& script) {
  TScript out;
  for (const auto& st : script) {
    out.push_back(st);
    if (st.Opcode != OpStartInstallation) continue;
    for (ScriptStatement done : Code(InstallDone)) {
      done.Condition = st.Condition;
      out.push_back(done);
    }
  }
  return out;
}

bool StartsInstallation(const TSetupDialog& page) {
  auto starts = [](const TScript& s) {
    for (const auto& st : s)
      if (st.Opcode == OpStartInstallation) return true;
    return false;
  };
  bool any = starts(page.BeforeBuildScript) || starts(page.AfterBuildScript) || starts(page.AfterShowScript) ||
             starts(page.LeaveScript);
  for (const auto& c : page.Controls) any = any || starts(c.Script);
  return any;
}

// Where a page stands in the finished wizard, which decides its foot.
struct TStanding {
  bool First = false, Last = false, AfterInstall = false, InReadysPlace = false;
};

// The page in the wizard's frame: its header, its own controls, the foot; its texts set before
// every showing, like the default pages'.
TSetupDialog Framed(const TWizardPage& p, const TStanding& at, const TSetupDescription& d,
                    const TWizardTranslations& translations) {
  TSetupDialog page = p.Dialog;
  if (!p.Foot && at.InReadysPlace) {
    if (!StartsInstallation(page))
      Fail(p.Where, "a page in Ready's place starts the installation: give it the foot (its Next is Install) or a "
                    "script with StartInstallation");
    for (auto& c : page.Controls) c.Script = WithInstallDone(c.Script);
    for (TScript* s : {&page.BeforeBuildScript, &page.AfterBuildScript, &page.AfterShowScript, &page.LeaveScript})
      *s = WithInstallDone(*s);
  }
  std::vector<TControlDef> controls;
  if (!p.Heading.empty() || !p.Subheading.empty()) controls = Header(p.Heading, p.Subheading);
  controls.insert(controls.end(), page.Controls.begin(), page.Controls.end());
  std::vector<std::string> ids = {"Caption"};
  TScript disable;
  if (p.Foot) {
    std::string next = "Next", script = "NextPage";
    if (at.InReadysPlace) {
      next = "Install";
      script = std::string("StartInstallation\n") + InstallDone;
    } else if (at.Last) {
      next = "Finish";
      script = "FinishSetup";
    }
    auto foot = Foot(WizardVariable(next), Code(script));
    controls.insert(controls.end(), foot.begin(), foot.end());
    ids.insert(ids.end(), {"Back", next, "Cancel"});
    // No way back before the first page or into a finished installation; nothing to cancel
    // once it is over.
    if (at.First || at.AfterInstall || at.Last) disable.push_back(Code(R"(DisableButton "back")").front());
    if (at.Last) disable.push_back(Code(R"(DisableButton "cancel")").front());
  }
  for (const auto& [id, text] : p.Texts) ids.push_back(id);
  TScript before = AssignWizardTexts(d, ids, translations);
  before.insert(before.end(), page.BeforeBuildScript.begin(), page.BeforeBuildScript.end());
  page.BeforeBuildScript = before;
  disable.insert(disable.end(), page.AfterBuildScript.begin(), page.AfterBuildScript.end());
  page.AfterBuildScript = disable;
  page.Controls = std::move(controls);
  return page;
}

// The default pages that named their neighbours: the welcome page turned Back off as the
// first page, and "INSTALL" led on to Finish.
void Rewire(std::vector<TSetupDialog>& dialogs, const std::vector<const TWizardPage*>& own) {
  for (size_t i = 0; i < dialogs.size(); ++i) {
    if (own[i]) continue;
    TSetupDialog& page = dialogs[i];
    if (page.Name == "Welcome" && i > 0) {
      TScript kept;
      for (const auto& st : page.AfterBuildScript)
        if (!(st.Opcode == OpDisableButton && Same(st.F[0], "back"))) kept.push_back(st);
      page.AfterBuildScript = kept;
    }
    if (IsInstallPageName(page.Name) && i + 1 < dialogs.size())
      for (auto& c : page.Controls)
        for (auto& st : c.Script)
          if (st.Opcode == OpGoToPage && Same(st.F[0], "Finish")) st.F[0] = dialogs[i + 1].Name;
  }
}

void CheckNames(const std::vector<TSetupDialog>& dialogs, const std::vector<const TWizardPage*>& own) {
  for (size_t i = 0; i < dialogs.size(); ++i) {
    if (!own[i]) continue;
    const std::string& name = dialogs[i].Name;
    if (IsInstallPageName(name)) Fail(own[i]->Where + "/name", "\"INSTALL\" is the installation's own page");
    for (size_t j = 0; j < dialogs.size(); ++j)
      if (j != i && Same(dialogs[j].Name, name))
        Fail(own[i]->Where + "/name", "the wizard has a page \"" + dialogs[j].Name + "\" already" +
                                          (own[j] ? " (" + own[j]->Where + ")" : ""));
  }
}

}  // namespace

const char* PlaceKey(TPagePlace place) {
  switch (place) {
    case TPagePlace::After: return "after";
    case TPagePlace::Before: return "before";
    default: return "replacing";
  }
}

void InsertWizardPages(TDialogSection& wizard, const std::vector<TWizardPage>& pages, const TSetupDescription& d,
                       const TWizardTranslations& translations) {
  if (pages.empty()) return;
  std::vector<TPlace> places = Places(wizard, pages);
  // The order first, then each own page framed for where it stands.
  std::vector<TSetupDialog> dialogs;
  std::vector<const TWizardPage*> own;  // null for a default page
  const TWizardPage* inReadysPlace = nullptr;
  for (size_t i = 0; i < places.size(); ++i) {
    const TPlace& place = places[i];
    if (place.Default == "Ready") inReadysPlace = place.Replacement;
    std::vector<const TWizardPage*> here = place.Before;
    here.push_back(place.Replacement);
    here.insert(here.end(), place.After.begin(), place.After.end());
    for (const auto* p : here) {
      own.push_back(p);
      dialogs.push_back(p ? p->Dialog : wizard.Dialogs[i]);
    }
  }
  CheckNames(dialogs, own);
  TWizardTranslations texts = WithPageTexts(pages, d, translations);
  size_t install = dialogs.size();
  for (size_t i = 0; i < dialogs.size(); ++i)
    if (!own[i] && IsInstallPageName(dialogs[i].Name)) install = i;
  for (size_t i = 0; i < dialogs.size(); ++i) {
    if (!own[i]) continue;
    TStanding at{i == 0, i + 1 == dialogs.size(), i > install, own[i] == inReadysPlace};
    dialogs[i] = Framed(*own[i], at, d, texts);
  }
  Rewire(dialogs, own);
  wizard.Dialogs = std::move(dialogs);
  wizard.FirstPage = wizard.Dialogs.front().Name;
  wizard.LastPage = wizard.Dialogs.back().Name;
}

}  // namespace vnt
