// Names of archive volume files: the setup's name with the extensions .001, .002, ...
#pragma once

#include <cstdint>
#include <string>

namespace vnt {

// The last three decimal digits of the volume number, zero-padded: 7 gives "007", 1234 "234".
std::string VolumeExtension(uint32_t volume);

// The name with its extension (after the last full stop of the file-name part) replaced by
// extension, which carries its own leading full stop; a name without one gets it appended.
std::string ChangeFileExtension(const std::string& name, const std::string& extension);

// The folder part of a path including its last backslash, slash or drive colon; empty when
// the path has none.
std::string FolderPart(const std::string& path);

}  // namespace vnt
