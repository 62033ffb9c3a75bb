// Pure rules of the page controls: value rules, item lists, geometry of the painted controls
// and the directory list's entries. The Win32 controls only carry them out.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vnt {

// Items of a "|"-separated list: an empty text has none, and a trailing "|" adds no empty
// item (as one line per entry would).
std::vector<std::string> SplitItems(const std::string& text);
std::string JoinItems(const std::vector<std::string>& items);
// Ascending, ignoring case; equal texts keep their order.
void SortItems(std::vector<std::string>& items);
// Index of the first item equal to text (case-sensitive), or -1.
int FindExactItem(const std::vector<std::string>& items, const std::string& text);

// A number parameter: only 0-9 and "-" are kept; 0 when no number is left.
int32_t ParamNumber(const std::string& text);
// A "1" flag parameter.
inline bool ParamFlag(const std::string& text) { return text == "1"; }

// Check box values.
struct TCheckValues {
  std::string Checked = "1", Unchecked = "0";
};
// Whether setting text checks the box (the checked value, ignoring case).
bool CheckBoxChecks(const TCheckValues& values, const std::string& text);
// The value a check box reports: an unchecked box whose current value is still an
// unexpanded reference ("%...%") reports that text.
std::string CheckBoxValue(const TCheckValues& values, bool checked, const std::string& current);

// Button types: 1 cancel (Esc), 2 default (Enter); others neither.
struct TButtonFlags {
  bool Cancel = false, Default = false;
};
TButtonFlags ButtonFlags(int32_t type);

// Combo box: the value after the user's pick; with no item picked an editable box keeps its
// edit text and a list-only box has none.
std::string ComboValueAfterPick(bool listOnly, const std::string& editText, const std::string& pickedItem,
                                bool picked);

struct TRectI {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const TRectI&) const = default;
};

// The smallest size painted controls accept.
struct TMinSize {
  int Width = 0, Height = 0;
};
constexpr TMinSize LineMinSize{10, 4};
constexpr TMinSize PictureMinSize{10, 10};

// The etched line: the shadow line's y; the highlight runs one below it.
inline int EtchedLineShadowY(int height) { return height / 2 - 1; }

// The picture button's image: the part of the bitmap it shows and where, centred; none when
// the bitmap is smaller than 5 by 5.
struct TImagePlacement {
  int X = 0, Y = 0, Width = 0, Height = 0;  // in the control; the source is the bitmap's top-left
  bool operator==(const TImagePlacement&) const = default;
};
std::optional<TImagePlacement> ImageButtonPlacement(int controlWidth, int controlHeight, int bitmapWidth,
                                                    int bitmapHeight);

// Edge styles 0..5 of the painted controls, as the flags of an edge drawing.
struct TEdgeStyle {
  bool RaisedOuter = false, SunkenOuter = false, RaisedInner = false, SunkenInner = false, Soft = false;
};
TEdgeStyle EdgeStyle(int style);

// The group frame: frame and caption rectangles from the text height and caption width
// (0 when there is no caption).
struct TFrameLayout {
  TRectI Frame, Caption;
};
TFrameLayout FrameLayout(int width, int height, int textHeight, int captionWidth);

// Shapes 0..5: rectangle, square, rounded rectangle, rounded square, ellipse, circle.
enum class TShapeForm { Rectangle, RoundRect, Ellipse };
struct TShapeGeometry {
  TShapeForm Form = TShapeForm::Rectangle;
  TRectI Bounds;
  int Corner = 0;  // rounding of RoundRect
};
TShapeGeometry ShapeGeometry(int32_t shapeType, int width, int height);

// The directory list: the path's components from the root (each open), then its subfolders.
struct TDirEntry {
  std::string Text, Path;
  int Indent = 0;
  bool Open = false;
  bool operator==(const TDirEntry&) const = default;
};
// The root of a path: "C:\" for drive paths, "\\server\share\" for network paths; empty
// when the path has neither.
std::string PathRoot(const std::string& path);
// A path without trailing backslash except at its root; "/" counts as "\".
std::string NormalDirectory(const std::string& path);
// Where a folder view starts for a path that may not exist: the path (without trailing
// backslash), else its nearest existing parent, else the fallback (the Windows folder).
// "C:" counts as the drive's root.
std::string NearestExistingFolder(const std::string& path, const std::function<bool(const std::string&)>& isFolder,
                                  const std::string& fallback);
std::vector<TDirEntry> DirectoryEntries(const std::string& directory, std::vector<std::string> subfolders);
// Index of the current directory's entry (the last component), or -1.
int CurrentDirectoryEntry(const std::vector<TDirEntry>& entries);

// Rich text is text that starts with "{\rtf".
bool IsRichText(const std::string& bytes);

}  // namespace vnt
