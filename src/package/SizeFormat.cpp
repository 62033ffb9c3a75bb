#include "package/SizeFormat.h"

#include <cstdio>

#include <cmath>

namespace vnt {

namespace {

const char* const UnitNames[] = {" bytes", " KB", " MB", " GB"};

// The general form with 15 significant digits. The program never changes the C locale, so
// the point is a dot; snprintf keeps the stub far smaller than the to_chars tables would.
std::string GeneralText(double value) {
  char buf[512];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  std::string text(buf);
  // Huge amounts come out in exponent form; whole digits read better and round the same way.
  if (text.find('e') != std::string::npos && std::isfinite(value)) {
    std::snprintf(buf, sizeof buf, "%.0f", value);
    text = buf;
  }
  return text;
}

// Adds one to a run of decimal digits, growing it on carry ("99" -> "100").
void IncrementDigits(std::string& digits) {
  size_t i = digits.size();
  while (i > 0) {
    --i;
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
}

// Keeps one decimal digit, rounded half up by the second; a 9 that rounds up carries.
std::string OneDecimal(const std::string& text, char separator) {
  size_t dot = text.find('.');
  if (dot == std::string::npos) return text;
  std::string whole = text.substr(0, dot);
  std::string decimals = text.substr(dot + 1);
  if (decimals.size() >= 2) {
    char first = decimals[0];
    if (decimals[1] >= '5') {
      if (first == '9') {
        first = '0';
        size_t sign = (!whole.empty() && whole[0] == '-') ? 1 : 0;
        std::string digits = whole.substr(sign);
        IncrementDigits(digits);
        whole = whole.substr(0, sign) + digits;
      } else {
        ++first;
      }
    }
    decimals.assign(1, first);
  }
  return whole + separator + decimals;
}

}  // namespace

std::string FormatSize(double amount, int unit, char decimalSeparator) {
  int scale = unit == SizeInBytes ? 0 : 1;
  while (scale < 3 && amount >= 1024) {
    amount /= 1024;
    ++scale;
  }
  return OneDecimal(GeneralText(amount), decimalSeparator) + UnitNames[scale];
}

}  // namespace vnt
