// The setup program written in one pass: the stub, the package's directory and sections, the
// archives copied in from their files a block at a time, the trailer; the checksum in the
// headers is reckoned on the way and set at the end, so the setup is never held whole.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vntbuild/assemble/PeChecksum.h"
#include "vntbuild/assemble/WriteFile.h"

namespace vnt {

class TSetupWriter {
public:
  // The image's checksum field lies at checksumAt of the file.
  TSetupWriter(TWriteFile& to, uint64_t checksumAt) : To(to), Sum(checksumAt), ChecksumAt(checksumAt) {}

  void Put(std::string_view bytes);
  // The whole file at path, which must hold length bytes; EBuildError when it does not.
  void Copy(const std::string& path, uint64_t length);
  // Sets the checksum and closes the file once the disk holds it.
  void Finish();

  uint64_t Length() const { return To.Position(); }

private:
  TWriteFile& To;
  TPeChecksum Sum;
  uint64_t ChecksumAt;
};

}  // namespace vnt
