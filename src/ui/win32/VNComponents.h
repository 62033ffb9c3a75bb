// Every class of page control, for the builder and the binding.
#pragma once

#include "ui/win32/VNButtons.h"
#include "ui/win32/VNControl.h"
#include "ui/win32/VNDriveDir.h"
#include "ui/win32/VNEdit.h"
#include "ui/win32/VNImages.h"
#include "ui/win32/VNLabel.h"
#include "ui/win32/VNLicense.h"
#include "ui/win32/VNLists.h"
#include "ui/win32/VNMemos.h"
#include "ui/win32/VNShapes.h"
