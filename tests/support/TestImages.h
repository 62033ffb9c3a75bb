// Program images for tests of the builder: resources where Windows looks for them, nothing else.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vnt::test {

struct TPeResource {
  uint16_t Type, Name;
  std::string Data;
};

// A program image of one resource section holding the given resources; 32-bit unless wide.
std::string PeImage(const std::vector<TPeResource>& resources, bool wide = false);
// A setup stub as the builder wants it: with the package-end resource.
std::string StubImage();

}  // namespace vnt::test
