// The background window's geometry and colours, decided without the system: the gradient, the
// window's place for each size mode, where each corner item goes, and the path an item takes
// when it flies in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/ControlRules.h"

namespace vnt {

struct TPointI {
  int X = 0, Y = 0;
  bool operator==(const TPointI&) const = default;
};

// Colour of gradient step i (0 to 63) between two RGB values (0x00BBGGRR): each part
// first + i × (second − first) / 63, the division truncating toward zero.
uint32_t GradientStepColor(uint32_t first, uint32_t second, int step);
constexpr int GradientSteps = 64;
// Where stripe i runs along an extent: MulDiv(extent, i, 63) to MulDiv(extent, i + 1, 63).
std::pair<int, int> GradientStripe(int extent, int step);

// The window for a size mode: 1 the whole screen without border; 0 maximised (from seven
// eighths of the screen, centred); any other seven eighths of the screen, centred.
struct TBackPlacement {
  TRectI Bounds;
  bool Borderless = false, Maximised = false;
};
TBackPlacement BackWindowPlacement(uint8_t sizeMode, int screenWidth, int screenHeight);

// Where the wizard (or any window) of this size stands centred over the background window.
TPointI CentredOver(const TRectI& back, int width, int height);

// A corner item as the layout sees it.
enum TBackCorner : uint8_t { CornerTopLeft = 0, CornerBottomLeft = 1, CornerTopRight = 2, CornerBottomRight = 3 };
struct TItemBox {
  uint8_t Corner = 0;
  int Width = 0, Height = 0;
};
// Each item's top-left corner, items stacked from their corners in list order: 4 pixels
// between items, 8 from the left edge, 12 from the right edge, 8 from the top and bottom.
// An unknown corner counts as the top left.
std::vector<TPointI> LayOutBackItems(const std::vector<TItemBox>& items, int clientWidth, int clientHeight);

// A text item's size: a shadow shifts by half the width of ".", and a "." wide margin leads.
struct TTextItemSize {
  int Width = 0, Height = 0, ShadowOffset = 0;
};
TTextItemSize TextItemSize(int dotWidth, int textWidth, int textHeight, bool shadow);

// The picture's size from a .bmp file's first bytes (its file and information headers); none
// for anything that is no bitmap.
std::optional<TPointI> BitmapFileSize(const std::string& firstBytes);

// The positions of an item flying in to target, one per frame, the last at the target; motion
// 0 (or an unknown one): the target alone. Motions 1 to 8: from the left, right, top, bottom,
// top left, bottom left, top right, bottom right edge. Frames move about ten pixels along the
// longer axis.
std::vector<TPointI> EntryFrames(uint8_t motion, TPointI target, int itemWidth, int itemHeight, int clientWidth,
                                 int clientHeight);

// Copies of a tiled picture: per row and rows.
TPointI TileCounts(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight);

}  // namespace vnt
