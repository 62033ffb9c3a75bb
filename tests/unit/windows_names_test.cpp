// The names Windows cannot hold, so that a setup never carries a file it cannot write.
#include <gtest/gtest.h>

#include "package/WindowsNames.h"

using namespace vnt;

TEST(WindowsNames, EveryNameWindowsRefusesIsToldApart) {
  for (const char* fine : {"a.txt", "Read Me", "100%.txt", ".profile", "console.txt", "COM0", "LPT10.txt", "%Name%.txt",
                           "a%b", "\xE9t\xE9.txt"})
    EXPECT_EQ(WindowsNameProblem(fine), "") << fine;
  const std::pair<std::string, const char*> refused[] = {
      {"what?.txt", "holds \"?\", which Windows does not allow in a name"},
      {"a|b", "holds \"|\", which Windows does not allow in a name"},
      {"x.txt:stream", "holds \":\", which Windows does not allow in a name"},
      {"tab\there", "holds a control character (9)"},
      {std::string("nul\0byte", 8), "holds a control character (0)"},
      {"", "is empty"},
      {"CON", "is the name of a device"},
      {"con.txt", "is the name of a device"},
      {"Lpt9.log", "is the name of a device"},
      {"aux .h", "is the name of a device"},
      {"name.", "ends in a full stop or a blank"},
      {"name ", "ends in a full stop or a blank"},
      {"%Dir%.", "ends in a full stop or a blank"},
      {"%Dir%?", "holds \"?\", which Windows does not allow in a name"},
      {std::string(256, 'n'), "is longer than 255 characters"},
  };
  for (const auto& [name, problem] : refused) EXPECT_EQ(WindowsNameProblem(name), problem) << name;
  EXPECT_EQ(WindowsNameProblem(std::string(255, 'n')), "");
}

// Folders may start with a drive or a server and hold variables; the whole path counts only
// its literal parts against the setup's path buffers.
TEST(WindowsNames, PathsAreJudgedPartByPartAndAsAWhole) {
  EXPECT_EQ(WindowsFolderProblem("%InstallDir%\\bin\\"), "");
  EXPECT_EQ(WindowsFolderProblem("C:\\Program Files\\A\\"), "");
  EXPECT_EQ(WindowsFolderProblem("\\\\server\\share\\..\\x\\"), "");
  EXPECT_EQ(WindowsFolderProblem("%InstallDir%\\CON\\"), "\"CON\" is the name of a device");
  EXPECT_EQ(WindowsFolderProblem("C:x:y\\"), "\"C:x:y\" holds \":\" after its drive letter");
  EXPECT_EQ(WindowsFolderProblem("%InstallDir%\\a*\\"), "\"a*\" holds \"*\", which Windows does not allow in a name");

  EXPECT_EQ(WindowsPathProblem("%InstallDir%\\", "sub\\a.txt"), "");
  EXPECT_EQ(WindowsPathProblem("%InstallDir%\\", ""), "the file name is empty");
  EXPECT_EQ(WindowsPathProblem("%InstallDir%\\", "sub\\\\a.txt"), "the file name has an empty part");
  EXPECT_EQ(WindowsPathProblem("%InstallDir%\\", "sub\\prn"), "\"prn\" is the name of a device");
  const std::string deep = std::string(200, 'd') + "\\";
  EXPECT_EQ(WindowsPathProblem("C:\\" + deep, std::string(55, 'f')), "");  // 259 characters
  EXPECT_EQ(WindowsPathProblem("C:\\" + deep, std::string(56, 'f')),
            "the path is 260 characters long; Windows takes at most 259");
  EXPECT_EQ(WindowsPathProblem("%InstallDir%\\" + deep, std::string(57, 'f')), "");
  EXPECT_EQ(WindowsPathProblem("%InstallDir%\\" + deep, std::string(58, 'f')),
            "the path is at least 260 characters long; Windows takes at most 259");
}
