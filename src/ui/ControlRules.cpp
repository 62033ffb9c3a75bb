#include "ui/ControlRules.h"

#include <algorithm>
#include <cctype>

#include "package/VarList.h"
#include "script/DesktopRules.h"
#include "script/ScriptContext.h"

namespace vnt {

std::vector<std::string> SplitItems(const std::string& text) {
  std::vector<std::string> items;
  size_t start = 0;
  while (start < text.size()) {
    size_t bar = text.find('|', start);
    if (bar == std::string::npos) bar = text.size();
    items.push_back(text.substr(start, bar - start));
    start = bar + 1;
  }
  return items;
}

std::string JoinItems(const std::vector<std::string>& items) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) text += (i ? "|" : "") + items[i];
  return text;
}

void SortItems(std::vector<std::string>& items) {
  std::stable_sort(items.begin(), items.end(),
                   [](const std::string& a, const std::string& b) { return CompareTextIgnoringCase(a, b) < 0; });
}

int FindExactItem(const std::vector<std::string>& items, const std::string& text) {
  auto it = std::find(items.begin(), items.end(), text);
  return it == items.end() ? -1 : int(it - items.begin());
}

int32_t ParamNumber(const std::string& text) { return TScriptContext::AsInteger(text); }

bool CheckBoxChecks(const TCheckValues& values, const std::string& text) {
  return CompareTextIgnoringCase(text, values.Checked) == 0;
}

std::string CheckBoxValue(const TCheckValues& values, bool checked, const std::string& current) {
  if (checked) return values.Checked;
  if (!current.empty() && current.front() == '%' && current.back() == '%') return current;
  return values.Unchecked;
}

TButtonFlags ButtonFlags(int32_t type) {
  return {type == 1, type == 2};
}

std::string ComboValueAfterPick(bool listOnly, const std::string& editText, const std::string& pickedItem,
                                bool picked) {
  if (picked) return pickedItem;  // an editable box shows the picked item in its edit
  return listOnly ? "" : editText;
}

std::optional<TImagePlacement> ImageButtonPlacement(int controlWidth, int controlHeight, int bitmapWidth,
                                                    int bitmapHeight) {
  if (bitmapWidth < 5 || bitmapHeight < 5) return std::nullopt;
  int w = std::max(0, std::min(bitmapWidth, controlWidth - 4));
  int h = std::max(0, std::min(bitmapHeight, controlHeight - 4));
  if (w == 0 || h == 0) return std::nullopt;
  return TImagePlacement{controlWidth / 2 - w / 2, controlHeight / 2 - h / 2, w, h};
}

TEdgeStyle EdgeStyle(int style) {
  switch (style) {
    case 0: return {true, false, true, false, false};
    case 1: return {false, true, false, true, false};
    case 2: return {true, false, true, false, true};
    case 3: return {false, true, false, true, true};
    case 4: return {false, false, true, false, false};
    case 5: return {false, true, false, false, false};
    default: return {};
  }
}

TFrameLayout FrameLayout(int width, int height, int textHeight, int captionWidth) {
  TFrameLayout l;
  l.Frame = {0, textHeight / 2, width, height};
  int captionRight = l.Frame.Left + 7 + (captionWidth > 0 ? captionWidth + 2 : 0);
  l.Caption = {l.Frame.Left + 7, 0, captionRight, textHeight};
  return l;
}

TShapeGeometry ShapeGeometry(int32_t shapeType, int width, int height) {
  TShapeGeometry g;
  g.Bounds = {0, 0, std::max(0, width), std::max(0, height)};
  bool square = shapeType == 1 || shapeType == 3 || shapeType == 5;
  if (square) {
    int side = std::min(g.Bounds.Width(), g.Bounds.Height());
    int x = (g.Bounds.Width() - side) / 2, y = (g.Bounds.Height() - side) / 2;
    g.Bounds = {x, y, x + side, y + side};
  }
  if (shapeType == 2 || shapeType == 3) {
    g.Form = TShapeForm::RoundRect;
    g.Corner = std::min(g.Bounds.Width(), g.Bounds.Height()) / 4;
  } else if (shapeType == 4 || shapeType == 5) {
    g.Form = TShapeForm::Ellipse;
  }
  return g;
}

namespace {

std::string Slashed(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::vector<std::string> Components(const std::string& rest) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t slash = rest.find('\\', start);
    if (slash == std::string::npos) slash = rest.size();
    if (slash > start) parts.push_back(rest.substr(start, slash - start));
    start = slash + 1;
  }
  return parts;
}

}  // namespace

std::string PathRoot(const std::string& path) {
  std::string p = Slashed(path);
  if (p.size() >= 2 && p[1] == ':' && std::isalpha(static_cast<unsigned char>(p[0])))
    return p.substr(0, 2) + "\\";
  if (p.rfind("\\\\", 0) == 0) {
    size_t server = p.find('\\', 2);
    if (server == std::string::npos || server == 2) return "";
    size_t share = p.find('\\', server + 1);
    if (share == server + 1) return "";
    return (share == std::string::npos ? p : p.substr(0, share)) + "\\";
  }
  return "";
}

std::string NormalDirectory(const std::string& path) {
  std::string root = PathRoot(path);
  if (root.empty()) return "";
  std::string p = Slashed(path);
  std::string normal = root;
  for (const auto& part : Components(p.substr(std::min(p.size(), root.size()))))
    normal += (normal.back() == '\\' ? "" : "\\") + part;
  return normal;
}

namespace {

// The parent folder without trailing backslash: "C:\a\b" -> "C:\a", "C:\a" -> "C:".
std::string ParentFolder(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? "" : WithoutTrailingBackslash(path.substr(0, cut));
}

}  // namespace

std::string NearestExistingFolder(const std::string& path, const std::function<bool(const std::string&)>& isFolder,
                                  const std::string& fallback) {
  auto exists = [&](const std::string& d) {
    return isFolder(d.size() == 2 && d[1] == ':' ? d + "\\" : d);
  };
  std::string dir = WithoutTrailingBackslash(path);
  while (!dir.empty() && !exists(dir)) {
    std::string parent = ParentFolder(dir);
    if (parent.empty() || parent == dir) return fallback;
    dir = parent;
  }
  return dir.empty() ? fallback : dir;
}

std::vector<TDirEntry> DirectoryEntries(const std::string& directory, std::vector<std::string> subfolders) {
  std::vector<TDirEntry> entries;
  std::string dir = NormalDirectory(directory);
  if (dir.empty()) return entries;
  std::string root = PathRoot(dir);
  entries.push_back({root, root, 0, true});
  std::string path = root;
  for (const auto& part : Components(dir.substr(root.size()))) {
    path += (path.back() == '\\' ? "" : "\\") + part;
    entries.push_back({part, path, int(entries.size()), true});
  }
  SortItems(subfolders);
  int indent = int(entries.size());
  for (const auto& sub : subfolders) {
    if (sub.empty() || sub == "." || sub == "..") continue;
    entries.push_back({sub, path + (path.back() == '\\' ? "" : "\\") + sub, indent, false});
  }
  return entries;
}

int CurrentDirectoryEntry(const std::vector<TDirEntry>& entries) {
  int current = -1;
  for (size_t i = 0; i < entries.size() && entries[i].Open; ++i) current = int(i);
  return current;
}

bool IsRichText(const std::string& bytes) { return bytes.rfind("{\\rtf", 0) == 0; }

}  // namespace vnt
