// Pictures: TVNImage (stretch, transparent and border flags) and TVNImageButton (a framed
// button showing the top-left of its bitmap). Bitmap files are found through a resolver.
#pragma once

#include <functional>

#include "ui/win32/controls/VNPaint.h"
#include "ui/win32/controls/VNPainted.h"

namespace vnt {

using TImageResolver = std::function<std::string(const std::string&)>;

class TVNPictureControl : public TVNPaintedControl {
public:
  // Turns a file name into the path to load; without it no picture loads.
  TImageResolver ResolveImageFile;
  // A changed name is remembered and loaded; an unchanged one keeps the picture as it is.
  void SetFile(const std::string& name);
  const std::string& File() const { return FileName; }
  // Loads the remembered name again; empties the picture when it cannot be loaded.
  void Reload();
  // Takes a bitmap made elsewhere (the program's icon); the file name is forgotten.
  void SetBitmap(TBitmapHandle bitmap);
  HBITMAP Bitmap() const { return Picture.get(); }
  bool Empty() const { return !Picture; }
  // The picture's size on the screen: a file's pixels are the package's, at 96 DPI, and grow
  // with the screen's DPI as the page does; a bitmap made here is made at the screen's size.
  SIZE ShownSize() const;
  void SetValue(const std::string& text) override { SetFile(text); }
  std::string Value() const override { return FileName; }

protected:
  bool Clickable() const override { return true; }

private:
  std::string FileName;
  TBitmapHandle Picture;
  bool FromFile = false;
};

class TVNImage : public TVNPictureControl {
public:
  void SetStretch(bool on);
  void SetTransparent(bool on);
  void SetBorder(bool on);
  bool Stretch() const { return Stretched; }
  bool Transparent() const { return IsTransparent; }
  bool Border() const { return HasBorder; }

protected:
  const char* ClassName() const override { return "TVNImage"; }
  SIZE DefaultSize() const override { return {80, 80}; }
  TMinSize MinSize() const override { return PictureMinSize; }
  void Paint(HDC dc, int width, int height) override;

private:
  void Switch(bool& flag, bool on);
  bool Stretched = false, IsTransparent = false, HasBorder = false;
};

// Its click event is OnEvent.
class TVNImageButton : public TVNPictureControl {
protected:
  const char* ClassName() const override { return "TVNImageButton"; }
  SIZE DefaultSize() const override { return {22, 22}; }
  TMinSize MinSize() const override { return PictureMinSize; }
  void Paint(HDC dc, int width, int height) override;
};

}  // namespace vnt
