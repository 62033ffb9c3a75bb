#include "ui/AuxiliaryRules.h"

#include "archive/VolumeNames.h"
#include "package/SizeFormat.h"
#include "package/SystemRules.h"
#include "script/DesktopRules.h"

namespace vnt {

namespace {

// The window heights 133, 204 and 296 of a dialog frame 27 pixels high, as client heights:
// the buttons keep their distance from the bottom edge whatever the frame's size.
constexpr int MessageOnlyHeight = 106, OneFileHeight = 177, TwoFilesHeight = 269;
constexpr int MessageOnlyButtons = 64, OneFileButtons = 139, TwoFilesButtons = 231;

}  // namespace

std::string NeedDiskVolumeFile(const std::string& folder, const std::string& programPath, uint32_t disk) {
  std::string name = ChangeFileExtension(FileNameOf(programPath), "." + VolumeExtension(disk));
  return WithFolderBackslash(folder) + name;
}

std::string WithDiskNumber(const std::string& text, uint32_t disk) {
  return ReplacePlaceholder(text, "<disk>", std::to_string(disk));
}

TReplaceLayout ReplaceQuestionLayout(int mode, bool withCancel, bool hasFileIcon) {
  TReplaceLayout layout;
  layout.Mode = !withCancel ? ReplaceOneFile : (mode == ReplaceOneFile || mode == ReplaceTwoFiles ? mode : 0);
  layout.ShowCancel = withCancel;
  layout.ButtonLefts = withCancel ? std::vector<int>{12, 92, 172, 251, 331} : std::vector<int>{51, 131, 211, 291};
  switch (layout.Mode) {
    case ReplaceOneFile:
      layout.ClientHeight = OneFileHeight;
      layout.ButtonTop = OneFileButtons;
      break;
    case ReplaceTwoFiles:
      layout.ClientHeight = TwoFilesHeight;
      layout.ButtonTop = TwoFilesButtons;
      break;
    default:
      layout.ClientHeight = MessageOnlyHeight;
      layout.ButtonTop = MessageOnlyButtons;
  }
  layout.ShowFile1 = layout.Mode != ReplaceMessageOnly;
  layout.ShowFile2 = layout.Mode == ReplaceTwoFiles;
  layout.ShowIcons = layout.ShowFile1 && hasFileIcon;
  layout.FileTextLeft = layout.ShowIcons ? 120 : 76;
  layout.FileTextWidth = layout.ShowIcons ? 285 : 329;
  return layout;
}

std::string ReplaceFileText(uint64_t size, const std::string& date, const std::string& time, char decimalSeparator) {
  return FormatSize(double(size), SizeInBytes, decimalSeparator) + "\r\n" + date + "   " + time;
}

}  // namespace vnt
