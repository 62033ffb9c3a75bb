// The web client of the script commands: one request at a time, redirects followed, the body
// streamed to where the caller says, the setup's windows alive while it waits.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "net/win32/HttpTransport.h"
#include "net/win32/PumpedWait.h"

namespace vnt {

class THttpCli {
public:
  std::string URL;
  // The body of a post; none: a post has nothing to send and fails.
  std::optional<std::string> SendStream;
  // Receives the body block by block; raising stops the request.
  std::function<void(std::string_view block)> RcvdStream;
  // After each block of the body.
  std::function<void()> OnDocData;
  THttpLimits Limits;
  int MaxRedirects = 10;

  // Raise EHttpError when the request fails; a status of 400 or more fails it.
  void Get();
  void Post();
  // From a script run while the request waits: the request fails with status 404.
  void Abort();

  int StatusCode = 0;
  std::string ReasonPhrase;
  std::optional<uint64_t> ContentLength;  // announced by the final answer
  uint64_t RcvdCount = 0;

private:
  void Request(std::string method);

  TPumpedWait Waiting;
  std::unique_ptr<THttpTransport> Transport;
  bool Busy = false;
};

}  // namespace vnt
