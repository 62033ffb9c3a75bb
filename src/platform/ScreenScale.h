// Lengths given at 96 dots per inch (a package's pages, the fixed windows' layouts, the
// loader) put on a screen of another resolution, as the system scales dialog units.
#pragma once

namespace vnt {

// The resolution the given lengths are meant for.
constexpr int DesignDpi = 96;

// value * dpi / 96, rounded half away from zero, as MulDiv rounds.
int ScaleLength(int value, int dpi);

// A span (a position and a length) scaled by its edges, so that controls that touch at 96
// DPI still touch and edges that line up still line up, whatever the rounding.
struct TScaledSpan {
  int Start = 0, Length = 0;
  bool operator==(const TScaledSpan&) const = default;
};
TScaledSpan ScaleSpan(int start, int length, int dpi);

}  // namespace vnt
