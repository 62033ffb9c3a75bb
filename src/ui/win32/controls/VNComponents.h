// Every class of page control, for the builder and the binding.
#pragma once

#include "ui/win32/controls/VNButtons.h"
#include "ui/win32/controls/VNControl.h"
#include "ui/win32/controls/VNDriveDir.h"
#include "ui/win32/controls/VNEdit.h"
#include "ui/win32/controls/VNImages.h"
#include "ui/win32/controls/VNLabel.h"
#include "ui/win32/controls/VNLicense.h"
#include "ui/win32/controls/VNLists.h"
#include "ui/win32/controls/VNMemos.h"
#include "ui/win32/controls/VNShapes.h"
