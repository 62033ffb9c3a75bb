// Failure type, exit codes and limits shared by every part of the driver.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace wzd {

enum ExitCode { kExitOk = 0, kExitFailed = 1, kExitTimedOut = 2 };

// Thrown by any command that cannot do its job; main turns it into a message and an exit code.
struct Failure : std::runtime_error {
  int code;
  explicit Failure(std::string message, int exit_code = kExitFailed)
      : std::runtime_error(std::move(message)), code(exit_code) {}
};

[[noreturn]] inline void fail(const std::string& message) { throw Failure(message); }
[[noreturn]] inline void time_out(const std::string& message) { throw Failure(message, kExitTimedOut); }

// Longest a single synchronous message to the target may take before we call it hung.
// Keeps every call into another process bounded, so the driver never hangs.
constexpr unsigned kSendTimeoutMs = 5000;

// How often the waits look again.
constexpr unsigned kPollMs = 50;

}  // namespace wzd
