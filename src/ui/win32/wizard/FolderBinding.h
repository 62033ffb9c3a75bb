// The install-folder and program-group controls of a page: the text boxes with roles 3 and
// 7, the directory list and the drive combo, each shown from its variable and each passing
// the user's choice on to the others.
#pragma once

#include "ui/win32/controls/VNComponents.h"
#include "ui/win32/wizard/SetupMainBinding.h"

namespace vnt {

// Roles 3 and 7: the text from %ProgramGroup% or %InstallDir%; the box then writes the user's
// typing back.
void UpdateFolderEdit(TVNEdit& edit, TBinding& binding);
// The user changed the text of a role 3 or 7 box: its variable takes the text, then the box's
// own script runs.
void ProgramGroupEditChanged(TVNControl& edit, TBinding& binding);

// Shows the folder of the list's variable, or its nearest existing parent.
void BindDirList(TVNDirList& list, TBinding& binding);
// Shows the drive of the combo's variable when that drive is there.
void BindDriveCombo(TVNDriveCombo& combo, TBinding& binding);

// The user moved the list or picked a drive: the text boxes, lists and combos tied to the
// same variable follow.
void DirListChanged(TVNDirList& list, TBinding& binding);
void DriveComboChanged(TVNDriveCombo& combo, TBinding& binding);

}  // namespace vnt
