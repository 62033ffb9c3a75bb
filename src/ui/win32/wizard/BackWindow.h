// TfrmBackWindow: the large window the setup runs in front of when the package asks for one.
// A gradient or a picture fills it; texts and small pictures stand in its corners, flying in
// from the edges when it first shows. It hosts the wizard: closing it asks the wizard's close
// question, and activating it keeps the wizard (or the copying window) in front.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/Window.h"
#include "setup/win32/SetupState.h"
#include "ui/BackWindowRules.h"
#include "ui/win32/controls/VNPaint.h"

namespace vnt {

class TfrmSetupMain;

class TfrmBackWindow : public TWindow {
public:
  explicit TfrmBackWindow(TSetupState& state);
  ~TfrmBackWindow() override;

  // Makes and shows the window and plays the items' entry; false when it cannot be made.
  bool Create();
  // The wizard it hosts from now on.
  void Host(TfrmSetupMain& wizard);
  // Its texts expanded again and painted anew (a page refresh asks for it).
  void Refresh();

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
  struct TItem {
    const TSetupBackItem* Definition = nullptr;
    std::string Text;  // expanded at the last activation
    TBitmapHandle Picture;
    TPointI PictureSize;
    bool Shown = false;  // its entry is over
  };

  std::vector<TItemBox> Boxes(HDC dc) const;
  void Paint(HDC dc);
  void PaintBackground(HDC dc, const RECT& client) const;
  void DrawItem(HDC dc, const TItem& item, TPointI at) const;
  void PlayEntry();
  void FlyIn(HDC window, HDC scene, TItem& item, const TItemBox& box, TPointI target, const RECT& client);
  bool RefreshItemTexts();
  void Activated();
  std::string SupportFile(const std::string& name) const;
  COLORREF GradientColor(int step) const;

  TSetupState& State;
  TfrmSetupMain* Wizard = nullptr;
  std::vector<TItem> Items;
  HPALETTE Palette = nullptr;  // only when the two colours differ
  TBitmapHandle Picture;
  bool Ready = false;
};

}  // namespace vnt
