// The one error a bad project file gives: where (file and line:column or JSON path) and what
// was expected, in a single message.
#pragma once

#include <stdexcept>
#include <string>

namespace vnt {

class EProjectError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

}  // namespace vnt
