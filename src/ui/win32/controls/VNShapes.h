// Drawings on a page: the etched line, the shape and the group frame that leaves its
// inside unpainted. None of them takes clicks.
#pragma once

#include "ui/win32/controls/VNPainted.h"

namespace vnt {

class TVNLine : public TVNPaintedControl {
protected:
  const char* ClassName() const override { return "TVNLine"; }
  SIZE DefaultSize() const override { return {100, 4}; }
  TMinSize MinSize() const override { return LineMinSize; }
  void Paint(HDC dc, int width, int height) override;
};

class TVNShape : public TVNPaintedControl {
public:
  // 0 rectangle, 1 square, 2 rounded rectangle, 3 rounded square, 4 ellipse, 5 circle.
  void SetShapeType(int32_t type);
  // Colour values of the font record kind.
  void SetPenColor(int32_t color);
  void SetBrushColor(int32_t color);
  int32_t ShapeType() const { return Type; }

protected:
  const char* ClassName() const override { return "TVNShape"; }
  SIZE DefaultSize() const override { return {65, 65}; }
  void Paint(HDC dc, int width, int height) override;

private:
  int32_t Type = 0;
  int32_t Pen = 0, Brush = 0xFFFFFF;
};

// The group frame: a caption in the frame's line; the inside shows what lies behind.
class TVNFrame : public TVNPaintedControl {
public:
  void SetCtl3D(bool on);
  bool Ctl3D() const { return Is3D; }

protected:
  const char* ClassName() const override { return "TVNFrame"; }
  std::string DefaultText() const override { return "Frame"; }
  SIZE DefaultSize() const override { return {100, 100}; }
  void Paint(HDC dc, int width, int height) override;

private:
  void PaintCaption(HDC dc, RECT caption);
  bool PaintThemed(HDC dc, const RECT& frame, const RECT& caption);
  bool Is3D = true;
};

// The progress bar: smooth, 0 to 100 unless set otherwise; its value is the position.
class TVNProgress : public TVNControl {
public:
  void SetMax(int max);
  void SetPosition(int position);
  int Position() const;
  void SetValue(const std::string& text) override { SetPosition(ParamNumber(text)); }
  std::string Value() const override { return std::to_string(Position()); }

protected:
  const char* ClassName() const override;
  DWORD Style() const override;
  SIZE DefaultSize() const override { return {150, 16}; }
  bool PrepareClass() override;
  void AfterCreate() override;

private:
  // What the bar was last told: telling it again costs a message and a repaint.
  int ShownMax = 100, ShownPosition = 0;
};

}  // namespace vnt
