// What Windows refuses in the names of files and folders, for the destinations a setup
// writes to; texts may hold %Variables%, of which only the literal parts can be judged.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vnt {

// One name of a path: the setup's file APIs take at most MAX_PATH characters with the zero.
constexpr size_t MaxWindowsName = 255;
constexpr size_t MaxWindowsPath = 259;

// Why name cannot be a file or folder name; "" when it can. The name holds no separators.
std::string WindowsNameProblem(std::string_view name);

// Why a folder (a destination such as "%InstallDir%\bin\", a drive or server first or
// not) cannot hold files, naming the part at fault; "" when it can.
std::string WindowsFolderProblem(std::string_view folder);

// Why folder (a destination such as "%InstallDir%\bin\") joined with name (a file name,
// possibly "sub\a.txt") cannot be a file's path; "" when it can. Variables count as empty,
// so a path is too long only when its literal parts are.
std::string WindowsPathProblem(std::string_view folder, std::string_view name);

}  // namespace vnt
