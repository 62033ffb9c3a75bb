// Every class of page control, for the builder and the binding.
#pragma once

#include "VNButtons.h"
#include "VNControl.h"
#include "VNDriveDir.h"
#include "VNEdit.h"
#include "VNImages.h"
#include "VNLabel.h"
#include "VNLicense.h"
#include "VNLists.h"
#include "VNMemos.h"
#include "VNShapes.h"
