// The sample product's wizard: a welcome page, a folder page and a last page.
#pragma once

#include "package/DialogEditorFuncs.h"

namespace vnt {

TDialogSection SamplePages();

}  // namespace vnt
