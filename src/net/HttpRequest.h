// What the client sends: the request line and header lines, in the order servers of the
// setup's day expect, with the client's fixed settings.
#pragma once

#include <cstddef>
#include <string>

#include "net/HttpAddress.h"

namespace vnt {

struct THttpSettings {
  static constexpr char Accept[] = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
  static constexpr char UserAgent[] = "Mozilla/3.0 (compatible)";
  static constexpr char PostContentType[] = "application/x-www-form-urlencoded";
};

std::string Base64(const std::string& bytes);

// "GET /path HTTP/1.0" and the header lines, ended by the empty line. A post names its
// content type and body size. The host carries its port when that is not the scheme's own.
std::string RequestHead(const std::string& method, const THttpAddress& address, size_t postBodySize);

}  // namespace vnt
