// Where the loader window sits: in the lower right corner when a splash picture takes the
// centre of the screen, else centred.
#pragma once

namespace vnt {

struct TPlacement {
  int Left = 0, Top = 0;
  bool operator==(const TPlacement&) const = default;
};

inline TPlacement LoaderPlacement(int screenWidth, int screenHeight, int width, int height, bool splash) {
  if (splash) return {screenWidth - width - 32, screenHeight - height - 48};
  return {(screenWidth - width) / 2, (screenHeight - height) / 2};
}

}  // namespace vnt
