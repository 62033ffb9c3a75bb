// Rules of the small fixed windows around the wizard: the volume file the next-disk prompt
// looks for, and the file lines and layout of the file replace question.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "package/SetupStrings.h"

namespace vnt {

// The file that holds disk n of the program: the folder (a backslash added when missing),
// the program's file name without its extension, "." and n as three digits. Disk 12 of
// "D:\install.exe" looked for in "E:\" is "E:\install.012".
std::string NeedDiskVolumeFile(const std::string& folder, const std::string& programPath, uint32_t disk);
// The text with every "<disk>" replaced by n in decimal.
std::string WithDiskNumber(const std::string& text, uint32_t disk);

// What the replace question shows.
enum TReplaceMode { ReplaceMessageOnly = 0, ReplaceOneFile = 1, ReplaceTwoFiles = 2 };

struct TReplaceLayout {
  int Mode = ReplaceMessageOnly;  // other requested values count as message only
  int ClientHeight = 0;
  int ButtonTop = 0;
  // Yes, Yes To All, No, No To All and, when shown, Cancel.
  std::vector<int> ButtonLefts;
  bool ShowCancel = true;
  bool ShowFile1 = false, ShowFile2 = false;
  // Without a file-type icon the file texts take the picture's place.
  bool ShowIcons = false;
  int FileTextLeft = 0, FileTextWidth = 0;
};

// The question's layout for a mode; the variant without Cancel always shows one file.
TReplaceLayout ReplaceQuestionLayout(int mode, bool withCancel, bool hasFileIcon);

// A file line: the size as the user reads it, a line break, the date, three blanks, the time.
std::string ReplaceFileText(uint64_t size, const std::string& date, const std::string& time, char decimalSeparator);

}  // namespace vnt
