// The server's answer read as it arrives: status line, header lines, then the body, handed on
// block by block. Whatever a server sends, the parser either understands it or fails with
// EHttpError; it keeps no more than one header's worth of bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vnt {

class THttpResponseParser {
public:
  // Every body byte, in order; a block is never empty.
  std::function<void(std::string_view block)> OnBody;

  // Received bytes, any split. Raises on a response that is not HTTP.
  void Feed(std::string_view bytes);
  // The server closed the connection: the body ends here. Raises when the header is
  // incomplete or fewer bytes came than announced.
  void End();

  bool HeaderDone() const { return Stage == TStage::Body || Stage == TStage::Done; }
  // The announced body has come whole; later bytes are ignored.
  bool Done() const { return Stage == TStage::Done; }

  int StatusCode = 0;
  std::string StatusText;
  std::vector<std::pair<std::string, std::string>> Headers;  // names in lower case
  std::optional<uint64_t> ContentLength;
  std::optional<std::string> Location;
  uint64_t BodyReceived = 0;

  static constexpr size_t MaxHeaderBytes = 64 * 1024;

private:
  enum class TStage { StatusLine, Headers, Body, Done };
  void TakeLine(std::string line);
  void TakeStatusLine(const std::string& line);
  void TakeHeaderLine(const std::string& line);
  void EndOfHeader();
  void TakeBody(std::string_view bytes);

  TStage Stage = TStage::StatusLine;
  std::string Pending;  // the unfinished line
  size_t HeaderBytes = 0;
};

}  // namespace vnt
