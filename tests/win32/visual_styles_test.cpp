// The themed drawings draw when a theme is active and leave everything to the classic look
// when none is.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/VisualStyles.h"

using namespace vnt;

namespace {

// A white 60 x 30 bitmap to draw on.
class TCanvas {
public:
  TCanvas() {
    HDC screen = GetDC(nullptr);
    Dc = CreateCompatibleDC(screen);
    Bitmap = CreateCompatibleBitmap(screen, 60, 30);
    ReleaseDC(nullptr, screen);
    Old = SelectObject(Dc, Bitmap);
    FillRect(Dc, &All, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~TCanvas() {
    SelectObject(Dc, Old);
    DeleteObject(Bitmap);
    DeleteDC(Dc);
  }
  int Marked() const {
    int n = 0;
    for (int x = 0; x < 60; ++x)
      for (int y = 0; y < 30; ++y) n += GetPixel(Dc, x, y) != RGB(255, 255, 255);
    return n;
  }
  HDC Dc;
  RECT All{0, 0, 60, 30};

private:
  HBITMAP Bitmap;
  HGDIOBJ Old;
};

}  // namespace

TEST(VisualStyles, ThemedDrawingsDrawOnlyWithAnActiveTheme) {
  const TVisualStyles& styles = TVisualStyles::Instance();
  bool active = styles.Active();
  TCanvas frame, text;
  EXPECT_EQ(styles.DrawBackground(nullptr, L"Button", ThemeGroupBox, ThemeGroupBoxNormal, frame.Dc, frame.All), active);
  EXPECT_EQ(styles.DrawText(nullptr, L"Button", ThemeGroupBox, ThemeGroupBoxNormal, text.Dc, "Options",
                            DT_SINGLELINE, text.All),
            active);
  EXPECT_EQ(frame.Marked() > 0, active) << "the group box frame";
  EXPECT_EQ(text.Marked() > 0, active) << "the caption";
  EXPECT_FALSE(styles.DrawBackground(nullptr, L"NoSuchThemeClass", 1, 1, frame.Dc, frame.All));
}
