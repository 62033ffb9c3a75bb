#include "ui/BackWindowRules.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vnt {

namespace {

// MulDiv for the non-negative values of a layout: the quotient rounded half up.
int MulDivRounded(int value, int numerator, int denominator) {
  return int((int64_t(value) * numerator * 2 + denominator) / (int64_t(denominator) * 2));
}

int32_t LittleEndian32(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (size_t k = 0; k < 4; ++k) v |= uint32_t(uint8_t(bytes[at + k])) << (8 * k);
  return int32_t(v);
}

}  // namespace

uint32_t GradientStepColor(uint32_t first, uint32_t second, int step) {
  uint32_t color = 0;
  for (int shift : {0, 8, 16}) {
    int a = int(first >> shift & 0xFF), b = int(second >> shift & 0xFF);
    color |= uint32_t(a + step * (b - a) / (GradientSteps - 1)) << shift;
  }
  return color;
}

std::pair<int, int> GradientStripe(int extent, int step) {
  return {MulDivRounded(extent, step, GradientSteps - 1), MulDivRounded(extent, step + 1, GradientSteps - 1)};
}

TBackPlacement BackWindowPlacement(uint8_t sizeMode, int screenWidth, int screenHeight) {
  TBackPlacement p;
  if (sizeMode == 1) {
    p.Bounds = {0, 0, screenWidth, screenHeight};
    p.Borderless = true;
    return p;
  }
  int width = screenWidth - screenWidth / 8, height = screenHeight - screenHeight / 8;
  int left = (screenWidth - width) / 2, top = (screenHeight - height) / 2;
  p.Bounds = {left, top, left + width, top + height};
  p.Maximised = sizeMode == 0;
  return p;
}

TPointI CentredOver(const TRectI& back, int width, int height) {
  return {back.Left + back.Width() / 2 - width / 2, back.Top + back.Height() / 2 - height / 2};
}

std::vector<TPointI> LayOutBackItems(const std::vector<TItemBox>& items, int clientWidth, int clientHeight) {
  int topLeft = 4, bottomLeft = clientHeight - 4, topRight = 4, bottomRight = clientHeight - 4;
  std::vector<TPointI> at;
  for (const TItemBox& item : items) {
    switch (item.Corner) {
      case CornerBottomLeft:
        bottomLeft -= item.Height + 4;
        at.push_back({8, bottomLeft});
        break;
      case CornerTopRight:
        topRight += 4;
        at.push_back({clientWidth - item.Width - 12, topRight});
        topRight += item.Height;
        break;
      case CornerBottomRight:
        bottomRight -= item.Height + 4;
        at.push_back({clientWidth - item.Width - 12, bottomRight});
        break;
      default:
        topLeft += 4;
        at.push_back({8, topLeft});
        topLeft += item.Height;
    }
  }
  return at;
}

TTextItemSize TextItemSize(int dotWidth, int textWidth, int textHeight, bool shadow) {
  int s = shadow ? dotWidth / 2 : 0;
  return {dotWidth + textWidth + s, textHeight + s, s};
}

std::optional<TPointI> BitmapFileSize(const std::string& firstBytes) {
  if (firstBytes.size() < 26 || firstBytes.compare(0, 2, "BM") != 0) return std::nullopt;
  int32_t headerSize = LittleEndian32(firstBytes, 14);
  if (headerSize == 12) {  // the old core header: 16-bit sizes
    int w = uint8_t(firstBytes[18]) | uint8_t(firstBytes[19]) << 8, h = uint8_t(firstBytes[20]) | uint8_t(firstBytes[21]) << 8;
    return TPointI{w, h};
  }
  int32_t width = LittleEndian32(firstBytes, 18), height = LittleEndian32(firstBytes, 22);
  if (headerSize < 40 || width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
  return TPointI{width, std::abs(height)};  // a negative height is a top-down picture
}

std::vector<TPointI> EntryFrames(uint8_t motion, TPointI target, int itemWidth, int itemHeight, int clientWidth,
                                 int clientHeight) {
  if (motion < 1 || motion > 8) return {target};
  const bool fromLeft = motion == 1 || motion == 5 || motion == 6;
  const bool fromRight = motion == 2 || motion == 7 || motion == 8;
  const bool fromTop = motion == 3 || motion == 5 || motion == 7;
  const bool fromBottom = motion == 4 || motion == 6 || motion == 8;
  TPointI start = target;
  if (fromLeft) start.X = -itemWidth;
  if (fromRight) start.X = clientWidth;
  if (fromTop) start.Y = -itemHeight;
  if (fromBottom) start.Y = clientHeight;
  const int dx = std::abs(target.X - start.X), dy = std::abs(target.Y - start.Y);
  const int n = std::max(dx, dy) / 10 + 1, sx = dx / n, sy = dy / n;
  std::vector<TPointI> frames;
  for (int k = 0; k <= n; ++k) {
    TPointI p = target;
    if (fromLeft) p.X = target.X - (n - k) * sx;
    if (fromRight) p.X = target.X + (n - k) * sx;
    if (fromTop) p.Y = target.Y - (n - k) * sy;
    if (fromBottom) p.Y = target.Y + (n - k) * sy;
    frames.push_back(p);
  }
  return frames;
}

TPointI TileCounts(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight) {
  if (pictureWidth <= 0 || pictureHeight <= 0) return {0, 0};
  return {clientWidth / pictureWidth + 1, clientHeight / pictureHeight + 1};
}

}  // namespace vnt
