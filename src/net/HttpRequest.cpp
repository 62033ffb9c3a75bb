#include "net/HttpRequest.h"

#include <algorithm>
#include <cstdint>

namespace vnt {

std::string Base64(const std::string& bytes) {
  static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    size_t n = std::min<size_t>(3, bytes.size() - i);
    uint32_t group = 0;
    for (size_t k = 0; k < 3; ++k) group = group << 8 | (k < n ? uint8_t(bytes[i + k]) : 0);
    for (size_t k = 0; k < 4; ++k) out += k <= n ? digits[group >> (18 - 6 * k) & 63] : '=';
  }
  return out;
}

std::string RequestHead(const std::string& method, const THttpAddress& address, size_t postBodySize) {
  const bool post = method == "POST";
  std::string head = method + " " + address.PathAndQuery + " HTTP/1.0\r\n";
  head += std::string("Accept: ") + THttpSettings::Accept + "\r\n";
  if (post) head += std::string("Content-Type: ") + THttpSettings::PostContentType + "\r\n";
  head += std::string("User-Agent: ") + THttpSettings::UserAgent + "\r\n";
  head += "Host: " + address.Host;
  if (address.Port != address.DefaultPort()) head += ":" + std::to_string(address.Port);
  head += "\r\n";
  if (post) head += "Content-Length: " + std::to_string(postBodySize) + "\r\n";
  if (address.HasUser) head += "Authorization: Basic " + Base64(address.User + ":" + address.Password) + "\r\n";
  return head + "\r\n";
}

}  // namespace vnt
