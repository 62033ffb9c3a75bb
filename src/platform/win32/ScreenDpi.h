// The screen's resolution and the one place that turns 96-DPI lengths into its pixels.
#pragma once

#include <windows.h>

namespace vnt {

// The dots per inch of the screen (LOGPIXELSX). The process is DPI-aware for the whole
// system, so the value stays the same for the life of the run.
int ScreenDpi();

// A length given at 96 DPI in the screen's pixels.
int Scaled(int value);

// A rectangle given at 96 DPI (left, top, width, height) in the screen's pixels, scaled by its
// edges: neighbours stay neighbours.
RECT ScaledBounds(int left, int top, int width, int height);

// A new bitmap of the size given showing the whole source, smoothed; null when it cannot be
// made. A picture drawn for 96 DPI keeps its place in a window that grew with the DPI.
HBITMAP StretchedCopy(HBITMAP source, int width, int height);

}  // namespace vnt
