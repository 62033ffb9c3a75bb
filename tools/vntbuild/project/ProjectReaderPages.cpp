// Pages of the project's own inside the default wizard ("pages"): the keys of a page of
// "dialogs", where it stands, its header, its foot and its texts. Whether the default page it
// names exists is known only with the wizard (InsertWizardPages).

#include <cctype>

#include "vntbuild/project/ProjectReaderParts.h"
#include "vntbuild/wizard/WizardLayout.h"

namespace vnt {

namespace {

// Exactly one of "after", "before" and "replacing".
void ReadPlace(TObject& o, TWizardPage& page) {
  bool found = false;
  for (TPagePlace place : {TPagePlace::After, TPagePlace::Before, TPagePlace::Replacing}) {
    auto node = o.Get(PlaceKey(place));
    if (!node) continue;
    if (found) node->Fail("a page stands in one place: give one of \"after\", \"before\" and \"replacing\"");
    found = true;
    page.Place = place;
    page.Anchor = node->Text();
    page.PlaceWhere = node->Where();
  }
  if (!found)
    o.Self().Fail("a page in the default wizard needs its place: \"after\", \"before\" or \"replacing\" a default page");
}

bool IsTextId(const std::string& id) {
  if (id.empty()) return false;
  for (char c : id)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  return true;
}

// A page's texts by id; an id is the page's alone, and not one of the wizard's own.
void ReadTexts(TObject& o, TWizardPage& page, const std::vector<TWizardPage>& earlier) {
  auto node = o.Get("texts");
  if (!node) return;
  if (!node->Json().is_object()) node->Fail("expected an object of texts by id: {\"OptionsTitle\": \"Options\"}");
  for (const auto& [id, value] : node->Json().items()) {
    TNode text(value, ChildPath(node->JsonPath(), id), node->Context());
    if (!IsTextId(id)) text.Fail("a text id is made of letters, digits and \"_\" (it is shown as %Wizard<id>%)");
    if (EnglishWizardTexts().count(id)) text.Fail("\"" + id + "\" is one of the default wizard's own texts");
    for (const auto& other : earlier)
      if (other.Texts.count(id)) text.Fail("the id \"" + id + "\" is given by " + other.Where + " already");
    page.Texts[id] = text.Text();
  }
}

// A page of the wizard has its size; a page of another size would make the window jump.
void CheckSize(TObject& o, const TSetupDialog& d) {
  for (auto [key, given, wanted] : {std::tuple{"width", d.ClientWidth, wizard::Width},
                                    std::tuple{"height", d.ClientHeight, wizard::Height}})
    if (o.Has(key) && given != wanted)
      o.Get(key)->Fail("a page in the default wizard has the wizard's size, " + std::to_string(wizard::Width) +
                       " by " + std::to_string(wizard::Height) + "; leave out \"width\" and \"height\"");
}

TWizardPage ReadPage(const TNode& node, const std::vector<TWizardPage>& earlier) {
  TObject o(node);
  TWizardPage page;
  page.Where = node.Where();
  ReadPlace(o, page);
  page.Dialog = ReadDialogKeys(o, wizard::PageFont());
  CheckSize(o, page.Dialog);
  page.Dialog.ClientWidth = wizard::Width;
  page.Dialog.ClientHeight = wizard::Height;
  if (!o.Has("title")) page.Dialog.Title = WizardVariable("Caption");
  page.Heading = o.Text("heading");
  page.Subheading = o.Text("subheading");
  page.Foot = o.Flag("foot", 1) != 0;
  ReadTexts(o, page, earlier);
  o.Done();
  return page;
}

}  // namespace

void ReadWizardPages(TObject& root, TProject& project) {
  auto list = root.Get("pages");
  if (!list) return;
  if (root.Has("dialogs"))
    list->Fail("\"pages\" go into the default wizard, which a project with \"dialogs\" does not have: give one "
               "or the other");
  if (!list->Json().is_array()) list->Fail("expected an array of pages");
  for (size_t i = 0; i < list->Size(); ++i) project.WizardPages.push_back(ReadPage((*list)[i], project.WizardPages));
}

}  // namespace vnt
