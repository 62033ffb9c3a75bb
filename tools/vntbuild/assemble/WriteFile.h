// A new file written through a small buffer under a name nobody can foresee beside its place,
// so that the builder's large parts go straight to the disk; the file goes with the object
// unless it was kept.
#pragma once

#include <cstdint>
#include <string>

#include "package/PackageStream.h"

namespace vnt {

class TWriteFile : public TStream {
public:
  // Makes "<place>.vnt<random>"; EWriteError naming place when it cannot be made.
  explicit TWriteFile(const std::string& place);
  // Closes the file and removes it unless it was kept.
  ~TWriteFile() override;
  TWriteFile(const TWriteFile&) = delete;
  TWriteFile& operator=(const TWriteFile&) = delete;

  size_t Read(void*, size_t) override { throw EPackageError("file opened for writing"); }
  void Write(const void* bytes, size_t count) override;
  void Seek(uint64_t position) override;
  uint64_t Position() const override { return Pos; }
  uint64_t Size() const override { return End; }

  // Writes what is buffered and closes the file; with sync it returns once the disk holds
  // it, so that a full disk shows here and not after a rename. EWriteError naming the place.
  void Close(bool sync);
  bool Closed() const { return Fd < 0; }
  // The file stays when the object goes (it was renamed into its place).
  void Keep() { Kept = true; }
  const std::string& Path() const { return Name; }
  const std::string& Place() const { return Target; }

private:
  void Flush();
  [[noreturn]] void Fail(int error);

  std::string Name, Target;
  int Fd = -1;
  std::string Buffer;  // written bytes that end at Pos, not yet in the file
  uint64_t Pos = 0, End = 0;
  bool Kept = false;
};

// 16 hex digits nobody can foresee, for names of temporary files and folders.
std::string RandomSuffix();

}  // namespace vnt
