// Shared by the archive tests, the fuzz target and the benchmark: sample data, and a restore
// into the in-memory file system with the handlers a setup would bind.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <zlib.h>

#include "archive/ArchiveFormat.h"
#include "archive/ArchiveWriter.h"
#include "archive/ChunkCodec.h"
#include "archive/MemoryFileSystem.h"
#include "archive/SetupVNTZip.h"
#include "archive/VolumeNames.h"
#include "package/PackagePrimitives.h"

namespace vnt::test {

inline std::string RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (auto& c : s) c = char(rng() & 0xFF);
  return s;
}

// Runs of text, repeated bytes and noise, as real product files mix them.
inline std::string MixedBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  static const std::string words = "setup install device HotSync archive volume chunk Vantry ";
  std::string s;
  s.reserve(n);
  while (s.size() < n) {
    size_t run = 1 + rng() % 5000;
    switch (rng() % 3) {
      case 0:
        for (size_t i = 0; i < run; ++i) s += words[(i + rng() % 7) % words.size()];
        break;
      case 1: s.append(run, char(rng())); break;
      default:
        for (size_t i = 0; i < run; ++i) s += char(rng());
    }
  }
  s.resize(n);
  return s;
}

// Archive bytes laid down record by record, for shapes the writer never makes.
struct TRawArchive {
  TMemoryStream S;
  TRawArchive& Header(uint32_t total, uint32_t count, const std::string& text = "Vantry 2002") {
    WriteU32(S, uint32_t(text.size()));
    return Bytes(text).U32(total).U32(count);
  }
  TRawArchive& I32(int32_t v) {
    WriteI32(S, v);
    return *this;
  }
  TRawArchive& U32(uint32_t v) {
    WriteU32(S, v);
    return *this;
  }
  TRawArchive& Bytes(const std::string& b) {
    if (!b.empty()) S.Write(b.data(), b.size());
    return *this;
  }
  TRawArchive& Comment(const std::string& text) { return I32(TagComment).U32(uint32_t(text.size())).Bytes(text); }
  TRawArchive& Member(int32_t id, uint32_t dosDateTime = 0) { return I32(id).U32(dosDateTime).Bytes("vNTZ"); }
  // Packed even when packing does not pay.
  TRawArchive& Packed(const std::string& plain) {
    std::string z = Zlib(plain);
    return I32(int32_t(z.size())).Bytes(z);
  }
  static std::string Zlib(const std::string& plain) {
    uLongf n = compressBound(uLong(plain.size()));
    std::string z(n, '\0');
    compress2(reinterpret_cast<Bytef*>(z.data()), &n, reinterpret_cast<const Bytef*>(plain.data()),
              uLong(plain.size()), 9);
    z.resize(n);
    return z;
  }
  TRawArchive& Stored(const std::string& plain) { return I32(-int32_t(plain.size())).Bytes(plain); }
  TRawArchive& EndMember() { return I32(ChunkEndMarker); }
  TRawArchive& Switch(uint32_t volume) { return EndMember().I32(TagVolumeSwitch).U32(volume); }
  TRawArchive& End() { return I32(TagEnd); }
  std::string Take() { return S.Bytes(); }
};

inline std::string MemberPath(int32_t id) { return "out\\" + std::to_string(id) + ".bin"; }

// A reader over an in-memory file system: members go to out\<id>.bin, volumes are looked for
// as disk\setup.NNN, and a missing volume ends the run instead of asking forever.
struct TMemoryRestore {
  TMemoryFileSystem Fs;
  TSetupVNTZip Zip{Fs};
  int VolumeAsks = 0;

  TMemoryRestore() {
    Zip.OnRestoreFile = [](int32_t id, std::string& name, int32_t& tag, uint32_t, bool&) {
      name = MemberPath(id);
      tag = id % 1000 + 1000;
    };
    Zip.OnNeedVolume = [this](uint16_t, std::string& name, bool& cont) {
      if (++VolumeAsks > 1000 || (name.size() && !Fs.FileExists(name))) cont = false;
      name = "disk\\setup";
    };
  }
  // Puts volumes 2, 3, ... of a split archive where OnNeedVolume finds them.
  void PutVolumes(const std::vector<std::string>& volumes) {
    for (size_t i = 1; i < volumes.size(); ++i)
      Fs.Put("disk\\setup." + VolumeExtension(uint32_t(i + 1)), volumes[i]);
  }
  bool Restore(const std::string& archive) {
    TMemoryStream s(archive);
    return Zip.RestoreFromStream(s, "dest\\");
  }
};

// Restores damaged or arbitrary bytes; answers whether the reader kept its promises: no
// stream or output left open, not busy, and a raised error leaves the run failed.
inline bool RestoreKeepsPromises(const std::string& archive, const std::vector<std::string>& volumes) {
  TMemoryRestore r;
  r.Fs.MaxFileSize = 8 << 20;  // a crafted chunk stream cannot fill the memory
  r.PutVolumes(volumes);
  bool raised = false;
  try {
    r.Restore(archive);
  } catch (const EArchiveError&) {
    raised = true;
  }
  bool closed = r.Fs.VolumesOpened == r.Fs.VolumesClosed && r.Fs.OutputsOpen == 0;
  bool failed = !raised || (r.Zip.ErrorCode == 2 && !r.Zip.Active);
  return closed && failed && !r.Zip.IsBusy();
}

}  // namespace vnt::test
