// The wizard's panels: style panels on the form, pages on the form or in their style's
// space, each built once and found again by its component name.
#include "ui/win32/wizard/SetupMain.h"

#include "package/VarList.h"
#include "platform/win32/ScreenDpi.h"

namespace vnt {

namespace {

constexpr char PanelClass[] = "TVntPagePanel";

class TPagePanel : public TWindow {};

}  // namespace

TSetupPanel* TfrmSetupMain::FindPanel(HWND container, const std::string& name) {
  for (auto& panel : Panels)
    if (panel->Container == container && SameTag(panel->Name, name)) return panel.get();
  return nullptr;
}

void TfrmSetupMain::HidePanelsOn(HWND container, const TSetupPanel* except) {
  for (auto& panel : Panels)
    if (panel->Container == container && panel.get() != except) ShowWindow(panel->Panel->Handle(), SW_HIDE);
}

TBuildCallbacks TfrmSetupMain::PanelCallbacks(bool styleSpaces) {
  TBuildCallbacks callbacks;
  if (styleSpaces)
    callbacks.RegisterStyleSpace = [this](const std::string& base, int left, int width, int height, int top) {
      AddStyleSpace(StyleSpaces, {base, left, top, width, height});
    };
  callbacks.ResolveImageFile = [this](const std::string& name) {
    std::string file = Vars().ExpandText(name);
    bool absolute = file.find(':') != std::string::npos || file.rfind("\\\\", 0) == 0;
    return absolute ? file : State.TempSetupDir + "\\" + file;
  };
  callbacks.ControlEvent = [this](TVNControl& c) { ControlEvent(c); };
  callbacks.ControlCreated = [this](TVNControl& c) { UpdateControl(c, Binding, PageRefresh(Vars(), true, "", 0)); };
  return callbacks;
}

TSetupPanel* TfrmSetupMain::MakePanel(HWND container, const std::string& name, const TRectI& place,
                                      const TSetupDialog& dialog, bool style) {
  RegisterWindowClass(PanelClass, LoadCursor(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
  auto panel = std::make_unique<TSetupPanel>();
  panel->Name = name;
  panel->Container = container;
  panel->Panel = std::make_unique<TPagePanel>();
  if (!panel->Panel->CreateWindowOf(PanelClass, WS_CHILD | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, container, "",
                                    place.Left, place.Top, place.Width(), place.Height()))
    return nullptr;
  SetComponentName(panel->Panel->Handle(), name);
  Panels.push_back(std::move(panel));
  TSetupPanel& made = *Panels.back();
  // Every control takes its font from the setup's font and its own font text, so the panel
  // needs none. A panel built in part still shows what could be built.
  TFlagGuard refreshing(Binding.Refreshing);
  BuildControls(name, made.Panel->Handle(), dialog.Controls, PanelCallbacks(style), State.Description.Properties.SetupFont,
                State.Package.Option(OptOwnFonts), false, made.Controls);
  return &made;
}

// The style panel framing the page, made when first needed; null for a page without style.
TSetupPanel* TfrmSetupMain::StylePanelFor(const TSetupDialog& page, bool& failed) {
  failed = false;
  const TSetupDialog* style = page.StyleName.empty() ? nullptr : FindDialog(Dialogs(), page.StyleName);
  if (!style) return nullptr;
  std::string name = StylePanelName(style->Name);
  TSetupPanel* panel = FindPanel(Handle(), name);
  if (panel) {
    TFlagGuard refreshing(Binding.Refreshing);
    UpdateControls(panel->Controls, Binding, PageRefresh(Vars(), false, "", 0));
  } else {
    panel = MakePanel(Handle(), name, {0, 0, Scaled(style->ClientWidth), Scaled(style->ClientHeight)}, *style, true);
    failed = panel == nullptr;
  }
  return panel;
}

// The page's panel on its container, made and built when first shown, refreshed after.
TSetupPanel* TfrmSetupMain::PagePanelFor(const TSetupDialog& page, TSetupPanel* container) {
  HWND on = container ? container->Panel->Handle() : Handle();
  std::string name = CleanDialogName(page.Name);
  if (TSetupPanel* panel = FindPanel(on, name)) {
    TFlagGuard refreshing(Binding.Refreshing);
    UpdateControls(panel->Controls, Binding, PageRefresh(Vars(), true, "", 0));
    return panel;
  }
  TRectI place{0, 0, Scaled(page.ClientWidth), Scaled(page.ClientHeight)};
  if (container) {
    RECT whole;
    GetClientRect(on, &whole);
    // A style without a page space gives its pages the whole style panel.
    place = {0, 0, int(whole.right), int(whole.bottom)};
    if (const TSetupStyleSpace* space = FindStyleSpace(StyleSpaces, container->Name))
      place = {space->Left, space->Top, space->Left + space->Width, space->Top + space->Height};
  }
  return MakePanel(on, name, place, page, false);
}

// Shows the page in its container and hides every other panel of the form and container.
void TfrmSetupMain::ShowPlace(TSetupPanel* container, TSetupPanel* panel) {
  HidePanelsOn(Handle(), container ? container : panel);
  if (container) {
    HidePanelsOn(container->Panel->Handle(), panel);
    ShowWindow(container->Panel->Handle(), SW_SHOW);
  }
  if (panel) ShowWindow(panel->Panel->Handle(), SW_SHOW);
}

}  // namespace vnt
