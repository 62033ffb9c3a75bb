// The built-in roles that show the setup's own data: the size labels, the program-group list,
// the licence and text viewers, the not-deleted list and the pictures.
#pragma once

#include "ui/win32/controls/VNComponents.h"
#include "ui/win32/controls/VNPaint.h"
#include "ui/win32/wizard/SetupMainBinding.h"

namespace vnt {

// Role 5: the size of the selected files; role 6: the free space on the install drive.
void UpdateSizeLabel(TVNControl& label, TBinding& binding);

// Role 2: the program folders of the Start menu meant by %COMMONSHELLFOLDERS%, refilled when
// the page is shown or that choice changed; picking one sets %ProgramGroup%.
void UpdateProgramGroupList(TVNListBox& list, TBinding& binding, bool initial);

// Role 4: the components with their pictures, sizes and checks; checking one changes the
// selection, picking one shows its description (role 11).
void FillComponentList(TVNListBox& list, TBinding& binding);
// Checks the selected components again, as after a change of the setup type.
void CheckSelectedComponents(TVNListBox& list, TBinding& binding);
// Role 0: a plain list of texts.
void SetPlainListLook(TVNListBox& list);

// Role 1: the setup's agreement file; role 10: the file P3 names. A missing file leaves the
// viewer empty.
void LoadViewerText(TVNLicense& viewer, TBinding& binding);

void ShowNotDeleted(TVNNotDeletedList& list, const TBinding& binding);

// Role 0: the picture P1 names; role 8: the program's icon; role 9 (pictures only): the setup
// picture.
void UpdatePicture(TVNPictureControl& picture, TBinding& binding);

// The program's own icon (the system's application icon when it has none) on the button-face
// colour, at the icon's size.
TBitmapHandle ProgramIconBitmap();

// Sets a value without firing the control's event: the change is the setup's, not the user's.
void SetValueQuietly(TVNControl& control, const std::string& value);

}  // namespace vnt
