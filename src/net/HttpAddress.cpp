#include "net/HttpAddress.h"

#include <algorithm>
#include <cctype>

namespace vnt {

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = char(std::tolower(static_cast<unsigned char>(c)));
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// User names and passwords may carry reserved characters as %hh.
std::string PercentDecoded(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out += char(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool HasControlCharacters(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; });
}

std::optional<uint16_t> PortNumber(const std::string& digits) {
  if (digits.empty() || digits.size() > 5) return std::nullopt;
  if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); })) return std::nullopt;
  unsigned long port = std::stoul(digits);
  if (port == 0 || port > 65535) return std::nullopt;
  return uint16_t(port);
}

// "host", "host:port", "[v6]" or "[v6]:port" into the address.
bool TakeHostAndPort(const std::string& text, THttpAddress& a) {
  size_t colon = text.rfind(':');
  if (colon != std::string::npos && text.find(']', colon) != std::string::npos) colon = std::string::npos;
  a.Host = text.substr(0, colon);
  a.Port = a.DefaultPort();
  if (colon != std::string::npos) {
    std::optional<uint16_t> port = PortNumber(text.substr(colon + 1));
    if (!port) return false;
    a.Port = *port;
  }
  return !a.Host.empty() && a.Host.find_first_of(" /\\?#@") == std::string::npos;
}

}  // namespace

std::string THttpAddress::Text() const {
  std::string text = Scheme + "://" + Host;
  if (Port != DefaultPort()) text += ":" + std::to_string(Port);
  return text + PathAndQuery;
}

std::string SpacesAsPercent20(const std::string& address) {
  std::string out;
  for (char c : address) {
    if (c == ' ') out += "%20";
    else out += c;
  }
  return out;
}

std::optional<THttpAddress> ParseHttpAddress(const std::string& address) {
  if (HasControlCharacters(address)) return std::nullopt;
  size_t schemeEnd = address.find("://");
  if (schemeEnd == std::string::npos) return std::nullopt;
  THttpAddress a;
  a.Scheme = Lower(address.substr(0, schemeEnd));
  if (a.Scheme != "http" && a.Scheme != "https") return std::nullopt;
  std::string rest = address.substr(schemeEnd + 3);
  rest = rest.substr(0, rest.find('#'));
  size_t pathStart = rest.find_first_of("/?");
  std::string authority = rest.substr(0, pathStart);
  if (pathStart != std::string::npos) a.PathAndQuery = rest[pathStart] == '/' ? rest.substr(pathStart) : "/" + rest.substr(pathStart);
  size_t at = authority.rfind('@');
  if (at != std::string::npos) {
    std::string user = authority.substr(0, at);
    size_t colon = user.find(':');
    a.HasUser = true;
    a.User = PercentDecoded(user.substr(0, colon));
    if (colon != std::string::npos) a.Password = PercentDecoded(user.substr(colon + 1));
    authority = authority.substr(at + 1);
  }
  if (!TakeHostAndPort(authority, a)) return std::nullopt;
  return a;
}

std::string ResolveLocation(const THttpAddress& base, const std::string& location) {
  std::string target = SpacesAsPercent20(location);
  if (target.find("://") != std::string::npos) return target;  // absolute, or of a scheme that fails later
  if (target.rfind("//", 0) == 0) return base.Scheme + ":" + target;
  THttpAddress next = base;
  if (target.rfind("/", 0) == 0) {
    next.PathAndQuery = target;
  } else {
    std::string path = base.PathAndQuery.substr(0, base.PathAndQuery.find('?'));
    next.PathAndQuery = path.substr(0, path.rfind('/') + 1) + target;
  }
  return next.Text();
}

}  // namespace vnt
