#include "setup/LogRules.h"

#include <cstdio>

namespace vnt {

namespace {

std::string TwoDigits(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02u", value % 100);
  return text;
}

std::string DatePart(const TLogTime& t) {
  return std::to_string(t.Year) + "-" + TwoDigits(t.Month) + "-" + TwoDigits(t.Day);
}

}  // namespace

std::string LogEntryText(const TLogTime& t, const std::string& text) {
  char millis[8];
  std::snprintf(millis, sizeof millis, "%03u", unsigned(t.Milliseconds % 1000));
  const std::string stamp =
      DatePart(t) + " " + TwoDigits(t.Hour) + ":" + TwoDigits(t.Minute) + ":" + TwoDigits(t.Second) + "." + millis;
  std::string entry = stamp + "  ";
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') continue;
    if (c == '\n') {
      entry += "\r\n" + std::string(stamp.size() + 4, ' ');
      continue;
    }
    entry += c;
  }
  return entry + "\r\n";
}

std::string DefaultLogFileName(const std::string& product, const std::string& program, const TLogTime& t) {
  std::string name;
  for (char c : product) {
    bool bad = static_cast<unsigned char>(c) < ' ' || std::string("\\/:*?\"<>|").find(c) != std::string::npos;
    name += bad ? '_' : c;
  }
  // Trailing dots and blanks do not survive in a Windows file name.
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  name += name.empty() ? program : " " + program;
  return name + " Log " + DatePart(t) + " " + TwoDigits(t.Hour) + "." + TwoDigits(t.Minute) + "." +
         TwoDigits(t.Second) + ".txt";
}

}  // namespace vnt
