// Runs another program without a shell, so that no argument is ever read as shell syntax.
#pragma once

#include <string>
#include <vector>

namespace vnt {

struct TProgramRun {
  bool Started = false;  // false: the program could not be found or started
  int ExitCode = -1;     // the program's exit status; -1 when it ended by a signal
};

// Runs argv[0] (looked up on the PATH) with the other arguments, feeds it `input` on its
// standard input, and writes its standard output and error to `outputPath`. Waits for its end.
TProgramRun RunProgram(const std::vector<std::string>& argv, const std::string& input,
                       const std::string& outputPath);

// One argument in the form the Windows C runtime splits back into the same text.
std::string WindowsCommandArgument(const std::string& arg);

}  // namespace vnt
