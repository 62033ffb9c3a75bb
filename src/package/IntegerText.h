// Numbers from texts the way commands and stored fields read them: digits and minus signs
// kept, read as a signed decimal; 0 when that fails (12a3 -> 123, 1-2 -> 0).
#pragma once

#include <cstdint>
#include <string>

namespace vnt {

int32_t AsInteger(const std::string& text);

}  // namespace vnt
