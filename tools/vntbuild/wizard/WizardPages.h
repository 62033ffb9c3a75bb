// Pages of the project's own inside the default wizard: each stands after or before a default
// page, or in its place, in the wizard's frame and with its texts, and the pages around it
// lead to and from it.
#pragma once

#include <string>
#include <vector>

#include "package/DialogEditorFuncs.h"
#include "package/SetupDescription.h"
#include "vntbuild/wizard/WizardTexts.h"

namespace vnt {

enum class TPagePlace { After, Before, Replacing };

struct TWizardPage {
  // The page as the project gives it: name, caption, scripts and its own controls.
  TSetupDialog Dialog;
  TPagePlace Place = TPagePlace::After;
  std::string Anchor;  // the default page it stands by
  // The white band of the inner pages, when either is given.
  std::string Heading, Subheading;
  // The line and the Back, Next and Cancel buttons of the default pages, after its own controls.
  bool Foot = true;
  // Its texts by id, shown through %Wizard<Id>% like the wizard's own; languages translate them.
  TWizardTexts Texts;
  // Where the project gives the page and its placing, for messages ("p.json: /pages/0/after").
  std::string Where, PlaceWhere;
};

// The key that places a page: "after", "before", "replacing".
const char* PlaceKey(TPagePlace place);

// Puts the pages into the wizard in their places (pages by one anchor in the order given) and
// rewires the pages around them: the first and last page, Back on the first, the way from
// "INSTALL" on, and the foot's Next on a page taking Ready's or Finish's place. A page naming
// no page of this wizard, standing where the wizard cannot lead to it, or clashing in name
// fails with EProjectError at its place.
void InsertWizardPages(TDialogSection& wizard, const std::vector<TWizardPage>& pages, const TSetupDescription& d,
                       const TWizardTranslations& translations);

}  // namespace vnt
