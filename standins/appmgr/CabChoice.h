// Which of a group's cabinet files suits the device, by the stand-in's own rule: the real
// Application Manager reads each cabinet's header instead.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace appmgr {

// The processor family a cabinet name would carry: "ARM", "SH3", "SH4", "MIPS", "X86", or
// empty when the architecture and processor type tell nothing known.
std::string ProcessorFamily(uint16_t architecture, uint32_t processorType);

// The first cabinet with a part of its name (split at dots, underscores, hyphens and blanks)
// that begins with the family, ignoring case ("STRONGARM" counts as ARM); else the first
// cabinet; empty for none.
std::string ChooseCabinet(const std::vector<std::string>& cabinets, const std::string& family);

// The CabFiles list split at commas, blanks around each name trimmed, empty names left out.
std::vector<std::string> SplitCabFiles(const std::string& list);

}  // namespace appmgr
