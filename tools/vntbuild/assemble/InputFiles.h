// The author's files as the builder reads them: regular files only (never a folder, a FIFO
// or a device, which could be read without end), each within the size its use can hold.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace vnt {

// Project, message and script files: texts, far below anything a setup can carry.
constexpr uint64_t MaxTextFileSize = uint64_t(16) << 20;
// Files the setup carries and the stub: the package's sizes and positions are 32-bit.
constexpr uint64_t MaxCarriedFileSize = UINT32_MAX;

// Why path cannot be read as an input, naming it ("file not found: ...", "a FIFO, not a
// file: ..."); "" when it is a regular file of at most limit bytes. Links are followed.
std::string InputProblem(const std::filesystem::path& path, uint64_t limit);

// The whole file; EBuildError with the problem when it is none to read, or grows beyond
// limit while it is read.
std::string ReadInputFile(const std::filesystem::path& path, uint64_t limit);

}  // namespace vnt
