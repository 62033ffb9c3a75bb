#include "ui/win32/controls/VNLabel.h"

namespace vnt {

void TVNLabel::SetTransparent(bool on) {
  if (on == IsTransparent) return;
  IsTransparent = on;
  Repaint();
}

LRESULT TVNLabel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == BM_CLICK) {  // what a click by program means for a label
    if (IsWindowEnabled(Handle())) Fire();
    return 0;
  }
  return TVNBackdropControl::HandleMessage(msg, wParam, lParam);
}

void TVNLabel::Command(WORD code) {
  if (code == STN_CLICKED) Fire();
}

}  // namespace vnt
