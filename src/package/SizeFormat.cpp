#include "SizeFormat.h"

#include <charconv>
#include <cmath>

namespace vnt {

namespace {

const char* const UnitNames[] = {" bytes", " KB", " MB", " GB"};

// The shortest general form with 15 significant digits, independent of the C locale.
std::string GeneralText(double value) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  std::string text(buf, res.ptr);
  // Huge amounts come out in exponent form; whole digits read better and round the same way.
  if (text.find('e') != std::string::npos && std::isfinite(value)) {
    res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 0);
    text.assign(buf, res.ptr);
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
