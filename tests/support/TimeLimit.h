// Runs work that could hang in a child process with an alarm, so that a hang fails its test
// instead of stopping the whole run.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>

namespace vnt::test {

// What fn answers (or the text of what it raised), or nothing when it did not finish within
// seconds.
inline std::optional<std::string> AnswerWithin(unsigned seconds, const std::function<std::string()>& fn) {
  int fds[2];
  if (::pipe(fds) != 0) return "no pipe";
  pid_t child = ::fork();
  if (child == 0) {
    ::close(fds[0]);
    ::alarm(seconds);
    std::string answer;
    try {
      answer = fn();
    } catch (const std::exception& e) {
      answer = e.what();
    }
    for (size_t at = 0; at < answer.size();) {
      ssize_t n = ::write(fds[1], answer.data() + at, answer.size() - at);
      if (n <= 0) break;
      at += size_t(n);
    }
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string answer;
  char buffer[4096];
  for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, size_t(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status)) return std::nullopt;
  return answer;
}

}  // namespace vnt::test
