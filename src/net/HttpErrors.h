// How a request fails. The web commands catch every one; none of these texts reaches the user,
// but the log keeps them.
#pragma once

#include <stdexcept>
#include <string>

namespace vnt {

class EHttpError : public std::runtime_error {
public:
  EHttpError(int status, const std::string& text) : std::runtime_error(text), Status(status) {}
  int Status;  // the server's status, or 0 when none came
};

namespace HttpFailure {
constexpr char Aborted[] = "Connection aborted on request";  // with status 404
constexpr char Busy[] = "HTTP component is busy";
constexpr char NothingToPost[] = "HTTP component has nothing to post";
constexpr char BadAddress[] = "Not an http or https address";
constexpr char HostNotFound[] = "Host name not found";
constexpr char NoConnection[] = "Connection failed";
constexpr char Broken[] = "Connection broken";
constexpr char TimedOut[] = "No answer in time";
constexpr char TooManyRedirects[] = "Too many redirects";
constexpr char Garbled[] = "Not an HTTP response";
constexpr char Encoded[] = "Transfer coding not supported";
constexpr char NotWritten[] = "The received data could not be stored";
constexpr char TooLong[] = "The answer is longer than a variable may hold";
constexpr char Untrusted[] = "The server's certificate is not trusted";
constexpr char NoSecureChannel[] = "No secure connection could be made";
}  // namespace HttpFailure

}  // namespace vnt
