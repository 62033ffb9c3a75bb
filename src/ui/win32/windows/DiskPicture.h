// The picture of the next disk prompt: a diskette drawn with GDI, so that no picture file
// has to travel with the stub.
#pragma once

#include "ui/win32/controls/VNPaint.h"

namespace vnt {

// A size by size picture (drawn for 48) of a blue diskette on the background colour.
TBitmapHandle DrawDiskPicture(int size, COLORREF background);

}  // namespace vnt
