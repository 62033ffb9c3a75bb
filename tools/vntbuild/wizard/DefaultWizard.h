// The wizard the builder gives a package whose project defines no dialogs: welcome, licence
// (with an agreement file), install folder, components (with components), program group
// (with shortcuts), ready, the "INSTALL" progress page and a finish page. Every caption is a
// variable that the page's scripts set for the current %Language% (see WizardTexts.h).
#pragma once

#include "package/PackageWriter.h"
#include "vntbuild/wizard/WizardPages.h"
#include "vntbuild/wizard/WizardTexts.h"

namespace vnt {

// launch: the program the finish page offers to start (a check box, checked), as the setup
// expands it; empty: no such box.
TDialogSection DefaultWizard(const TSetupDescription& d, const TWizardTranslations& translations = {},
                             const std::string& launch = "");

// What the builder calls: a package without dialogs gets the default wizard; one with
// dialogs is left alone. Answers whether it added the wizard. The pages follow the
// description as it is at the call (agreement file, components, setup types, shortcuts,
// languages and their messages), so the call comes once those are in place. The project's own
// pages go in where they say (InsertWizardPages).
bool AddDefaultWizardIfNone(TPackageContent& content, const TWizardTranslations& translations = {},
                            const std::vector<TWizardPage>& pages = {}, const std::string& launch = "");

}  // namespace vnt
