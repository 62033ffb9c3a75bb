// One request and its answer over one connection; the client chooses the transport by the
// address's scheme and follows redirects itself.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "net/HttpAddress.h"
#include "net/win32/PumpedWait.h"

namespace vnt {

struct THttpHead {
  int StatusCode = 0;
  std::string StatusText;
  std::optional<uint64_t> ContentLength;
  std::optional<std::string> Location;
};

struct THttpLimits {
  DWORD ConnectMs = 30000;  // name look-up and connection
  DWORD StallMs = 30000;    // the longest silence of a server once connected
};

class THttpTransport {
public:
  virtual ~THttpTransport() = default;
  // Sends the request (a post when body is given) and answers the head of the response.
  virtual THttpHead Start(const std::string& method, const THttpAddress& address, const std::string* body) = 0;
  // The body, block by block, until it has come whole; raises when it breaks off.
  virtual void ReadBody(const std::function<void(std::string_view block)>& onBlock) = 0;
};

// Plain HTTP on Windows Sockets, written here; https through the system's HTTP library.
std::unique_ptr<THttpTransport> MakeSocketTransport(TPumpedWait& wait, const THttpLimits& limits);
std::unique_ptr<THttpTransport> MakeSecureTransport(TPumpedWait& wait, const THttpLimits& limits);

}  // namespace vnt
