#include "ui/win32/controls/ControlBuilder.h"

#include <stdexcept>

#include "package/VarList.h"
#include "platform/win32/ScreenDpi.h"
#include "ui/win32/controls/VNComponents.h"

namespace vnt {

namespace {

struct TFontChoice {
  const TFontRecord& Base;
  bool KeepSetupFace;
};

// The parameter holding the FontSpec, or -1.
int FontParam(uint8_t kind) {
  switch (kind) {
    case KindLabel:
    case KindTextBox:
    case KindButton:
    case KindCheckBox:
    case KindRadioBox:
    case KindFrame: return 1;
    case KindList:
    case KindCombo: return 0;
    default: return -1;
  }
}

bool WiresEvent(uint8_t kind) { return kind >= KindLabel && kind <= KindImageButton; }

// Colours of a shape keep their defaults when the parameter is empty.
template <class TSetter>
void SetColorParam(const std::string& text, TSetter set) {
  if (!text.empty()) set(ParamNumber(text));
}

void ApplyTexts(TVNControl& c, const TControlDef& d) {
  const auto& P = d.P;
  if (auto* label = dynamic_cast<TVNLabel*>(&c)) {
    label->SetCaption(P[0]);
    label->SetTransparent(ParamFlag(P[2]));
  } else if (auto* edit = dynamic_cast<TVNEdit*>(&c)) {
    edit->SetCaption(P[0]);
    edit->SetReadOnly(ParamFlag(P[2]));
  } else if (auto* button = dynamic_cast<TVNButton*>(&c)) {
    button->SetCaption(P[0]);
    button->SetButtonType(ParamNumber(P[2]));
  } else if (auto* check = dynamic_cast<TVNCheckBox*>(&c)) {
    check->SetCaption(P[0]);
    // The values first: the initial value is compared with the package's checked value.
    check->SetCheckedValue(P[3]);
    check->SetUncheckedValue(P[4]);
    check->SetValue(P[2]);
  } else if (auto* radio = dynamic_cast<TVNRadioButton*>(&c)) {
    radio->SetCaption(P[0]);
    radio->SetChecked(ParamFlag(P[2]));
    radio->SetSelectedValue(P[3]);
  } else if (auto* frame = dynamic_cast<TVNFrame*>(&c)) {
    frame->SetCaption(P[0]);
  }
}

void ApplyLists(TVNControl& c, const TControlDef& d) {
  const auto& P = d.P;
  if (auto* list = dynamic_cast<TVNListBox*>(&c)) {
    list->SetMultiSelect(ParamFlag(P[5]));
    list->SetItems(SplitItems(P[1]));
    list->SetValue(P[2]);
  } else if (auto* combo = dynamic_cast<TVNComboBox*>(&c)) {
    combo->SetListOnly(ParamFlag(P[1]));  // before the items: the switch recreates the box
    combo->SetItems(SplitItems(P[2]));
    combo->SetValue(P[3]);
  } else if (auto* memoList = dynamic_cast<TVNMemoList*>(&c)) {
    memoList->SetLines(SplitItems(P[1]));
  } else if (auto* notDeleted = dynamic_cast<TVNNotDeletedList*>(&c)) {
    notDeleted->ClearLines();
  } else if (auto* license = dynamic_cast<TVNLicense*>(&c)) {
    license->ClearLines();
  }
}

void ApplyDrawings(TVNControl& c, const TControlDef& d, const TBuildCallbacks& callbacks) {
  const auto& P = d.P;
  if (auto* picture = dynamic_cast<TVNPictureControl*>(&c)) {
    // The resolver first, so that the picture shows before the first refresh too.
    picture->ResolveImageFile = callbacks.ResolveImageFile;
    if (auto* image = dynamic_cast<TVNImage*>(&c)) {
      image->SetStretch(ParamFlag(P[1]));
      image->SetTransparent(ParamFlag(P[2]));
      image->SetBorder(ParamFlag(P[3]));
    }
    picture->SetFile(P[0]);
  } else if (auto* shape = dynamic_cast<TVNShape*>(&c)) {
    shape->SetShapeType(ParamNumber(P[0]));
    SetColorParam(P[1], [&](int32_t color) { shape->SetPenColor(color); });
    SetColorParam(P[2], [&](int32_t color) { shape->SetBrushColor(color); });
  } else if (auto* progress = dynamic_cast<TVNProgress*>(&c)) {
    progress->SetMax(100);
    progress->SetPosition(0);
  }
}

// Windowed controls stay above the drawings; each keeps creation order within its group,
// later drawings over earlier ones, as a painter would put them.
void PlaceInZOrder(TVNControl& c, HWND& lastWindowed) {
  SetWindowPos(c.Handle(), lastWindowed ? lastWindowed : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (!c.IsGraphic()) lastWindowed = c.Handle();
}

void Configure(TVNControl& c, const TControlDef& d, const TBuildCallbacks& callbacks, const TFontChoice& font) {
  c.SetDefinition(d);
  // A package places its controls in pixels of a 96-DPI screen.
  c.SetBounds(ScaledBounds(d.Left, d.Top, d.Width, d.Height));
  int fontParam = FontParam(d.Kind);
  if (fontParam >= 0) c.SetFont(ControlFont(font.Base, d.P[size_t(fontParam)], font.KeepSetupFace));
  ApplyTexts(c, d);
  ApplyLists(c, d);
  ApplyDrawings(c, d, callbacks);
  // Events last: setting the initial values runs no scripts.
  if (WiresEvent(d.Kind)) c.OnEvent = callbacks.ControlEvent;
}

}  // namespace

std::unique_ptr<TVNControl> NewControl(uint8_t kind, uint8_t role, bool plainLists) {
  switch (kind) {
    case KindLabel: return std::make_unique<TVNLabel>();
    case KindTextBox: return std::make_unique<TVNEdit>();
    case KindButton: return std::make_unique<TVNButton>();
    case KindCheckBox: return std::make_unique<TVNCheckBox>();
    case KindRadioBox: return std::make_unique<TVNRadioButton>();
    case KindList:
      if (plainLists) return std::make_unique<TVNListBox>();
      if (role == RoleAgreement || role == RoleTextFile) return std::make_unique<TVNLicense>();
      if (role == RoleNotDeleted) return std::make_unique<TVNNotDeletedList>();
      if (role == RoleDirList) return std::make_unique<TVNDirList>();
      if (role == RoleMemo) return std::make_unique<TVNMemoList>();
      return std::make_unique<TVNListBox>();
    case KindCombo:
      if (!plainLists && role == RoleDrive) return std::make_unique<TVNDriveCombo>();
      return std::make_unique<TVNComboBox>();
    case KindImage: return std::make_unique<TVNImage>();
    case KindImageButton: return std::make_unique<TVNImageButton>();
    case KindLine: return std::make_unique<TVNLine>();
    case KindShape: return std::make_unique<TVNShape>();
    case KindFrame: return std::make_unique<TVNFrame>();
    case KindProgress: return std::make_unique<TVNProgress>();
    default: return nullptr;
  }
}

// The names the container's children carry already; new controls must not take them.
TComponentNames NamesOnContainer(HWND container) {
  TComponentNames names;
  for (HWND child = GetWindow(container, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    names.Add(ComponentName(child));
  return names;
}

bool BuildControls(const std::string& baseName, HWND container, const std::vector<TControlDef>& controls,
                   const TBuildCallbacks& callbacks, const TFontRecord& baseFont, bool keepSetupFace,
                   bool plainLists, TPageControls& built) {
  HWND lastWindowed = nullptr;
  TFontChoice font{baseFont, keepSetupFace};
  TComponentNames names = NamesOnContainer(container);
  try {
    for (const auto& def : controls) {
      if (def.Kind == KindStyleSpace) {
        RECT space = ScaledBounds(def.Left, def.Top, def.Width, def.Height);
        if (callbacks.RegisterStyleSpace)
          callbacks.RegisterStyleSpace(baseName, space.left, space.right - space.left, space.bottom - space.top,
                                       space.top);
        continue;
      }
      std::unique_ptr<TVNControl> control = NewControl(def.Kind, def.Role, plainLists);
      if (!control) continue;
      if (!control->Create(container)) return false;
      control->SetName(names.Take(baseName + ControlSuffix(def.Kind, def.Role, plainLists)));
      PlaceInZOrder(*control, lastWindowed);
      Configure(*control, def, callbacks, font);
      control->SetVisible(true);
      TVNControl& made = *control;
      built.push_back(std::move(control));
      if (callbacks.ControlCreated) callbacks.ControlCreated(made);
    }
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

}  // namespace vnt
