// Amounts of disk space as the user reads them: "512 bytes", "1.5 KB", "2.5 MB".
#pragma once

#include <string>

namespace vnt {

enum TSizeUnit { SizeInBytes = 0, SizeInKB = 1 };

// amount is in bytes when unit is 0, in kilobytes otherwise. The number keeps at most one
// decimal digit, written with decimalSeparator; whole numbers get no separator.
std::string FormatSize(double amount, int unit, char decimalSeparator);

}  // namespace vnt
