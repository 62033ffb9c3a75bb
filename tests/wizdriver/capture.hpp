// Taking a picture of a window, also of another process.
#pragma once

#include <windows.h>

#include <string>

#include "image.hpp"

namespace wzd {

struct Capture {
  Image image;
  std::string method;  // "printwindow" or "screen"
};

// Tries PrintWindow first; a window of another process often cannot paint into our DC (Wine gives
// an empty picture), so then it raises the window and copies it from the screen.
Capture capture_window(HWND hwnd);

}  // namespace wzd
