// The archive's byte layout: record tags, chunk limits and the errors a damaged archive raises.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vnt {

constexpr char ArchiveHeaderText[] = "Vantry 2002";
constexpr char MemberMagic[4] = {'v', 'N', 'T', 'Z'};

// Record tags; 0 and above open a file member whose tag is the file id.
constexpr int32_t TagVolumeSwitch = -1;
constexpr int32_t TagEnd = -2;
constexpr int32_t TagComment = -3;
// Chunk size that closes a member data block.
constexpr int32_t ChunkEndMarker = -4;

// Uncompressed bytes per chunk at most; also the output buffer of one inflate.
constexpr size_t ChunkSize = 65536;
// No zlib stream of ChunkSize bytes comes near this; a larger packed chunk is damage, and the
// limit bounds the input buffer a damaged size could ask for.
constexpr size_t MaxPackedChunk = 2 * ChunkSize;

constexpr char CannotReadArchiveText[] = "Setup cannot read the archive";
constexpr char InvalidMemberText[] = "Invalid Vantry zip file type.";

enum class TArchiveDamage {
  Header,     // header length beyond the data, or header cut short
  Magic,      // a member data block without "vNTZ"
  ChunkSize,  // a chunk size the data cannot hold or no chunk can have
  Comment,    // comment length beyond the data
  Tag,        // a record tag that no record has
  Truncated,  // the data ends inside a record
  Volume,     // a volume switch backwards, or a volume that cannot be found or opened
};

// Raised when archive data cannot be trusted; what() is the text shown to the user.
class EArchiveError : public std::runtime_error {
public:
  EArchiveError(TArchiveDamage kind, const char* text) : std::runtime_error(text), Kind(kind) {}
  TArchiveDamage Kind;
};

// Raised by output files when creating or writing fails, so the reader can tell a full disk
// from a damaged archive.
class EOutputError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

}  // namespace vnt
