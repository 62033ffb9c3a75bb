#include "install/win32/VantryInstall.h"

#include "install/InstallRules.h"

namespace vnt {

TVantryInstall::TVantryInstall(TSetupState& state, TInstallPrompts prompts, TUninstallRecord* earlier)
    : State(state), Prompts(std::move(prompts)), Earlier(earlier) {}

TVantryInstall::~TVantryInstall() {
  if (Prompts.ShowPicture && BitmapIndex >= 0) Prompts.ShowPicture("");
}

void TVantryInstall::Abort() {
  IsAborted = true;
  Zip.Cancel();
}

void TVantryInstall::Status(uint8_t kind, const std::string& text, int32_t value) {
  if (!Prompts.Status) return;
  Prompts.Status(kind, text, value);
  if (Prompts.Pump) Prompts.Pump();
}

void TVantryInstall::Show(TBoxKind kind, const std::string& text) {
  Log(text);
  if (Prompts.Show) Prompts.Show(kind, text);
}

void TVantryInstall::Log(const std::string& line) {
  if (Prompts.Log) Prompts.Log(line);
}

void TVantryInstall::Record(uint8_t kind, const std::string& path, const TSetupFile* file) {
  TUninstItem item;
  item.Kind = kind;
  item.Path = path;
  if (file) item.File = *file;
  Items.push_back(std::move(item));
  static const char* const kinds[] = {"file", "device file", "file", "uninstaller", "folder", "value", "conduit"};
  Log(std::string(kind < 7 ? kinds[kind] : "item") + " " + path);
}

void TVantryInstall::RecordValue(const TSetupRegChange& change) {
  TUninstItem item;
  item.Kind = UninstRegValue;
  item.RegChange = change;
  Items.push_back(std::move(item));
  Log("value " + change.Key + "\\" + change.ValueName);
}

void TVantryInstall::ShowProgressBitmap(int percent) {
  const auto& pictures = State.Description.ProgressBitmaps;
  std::optional<int> index = ProgressBitmapIndex(percent, int(pictures.size()));
  if (!index || *index == BitmapIndex) return;
  BitmapIndex = *index;
  std::string path = State.TempSetupDir + "\\" + Vars().ExpandText(pictures[size_t(*index)]);
  if (Prompts.ShowPicture && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) Prompts.ShowPicture(path);
}

}  // namespace vnt
