// A text of one part written over and over: values that name another variable many times.
#pragma once

#include <string>

namespace vnt::test {

inline std::string Repeated(const std::string& part, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += part;
  return text;
}

}  // namespace vnt::test
