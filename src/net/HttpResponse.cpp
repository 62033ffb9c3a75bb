#include "net/HttpResponse.h"

#include <algorithm>
#include <cctype>

#include "net/HttpErrors.h"

namespace vnt {

namespace {

[[noreturn]] void Garbled() { throw EHttpError(0, HttpFailure::Garbled); }

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool AllDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

// A decimal length that fits; anything else is no length a client may trust.
uint64_t LengthValue(const std::string& text) {
  if (!AllDigits(text) || text.size() > 18) Garbled();
  return std::stoull(text);
}

}  // namespace

void THttpResponseParser::Feed(std::string_view bytes) {
  while (!bytes.empty()) {
    if (Stage == TStage::Done) return;
    if (Stage == TStage::Body) return TakeBody(bytes);
    size_t newline = bytes.find('\n');
    size_t take = newline == std::string_view::npos ? bytes.size() : newline + 1;
    HeaderBytes += take;
    if (HeaderBytes > MaxHeaderBytes) Garbled();
    Pending.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    if (newline == std::string_view::npos) {
      // A server that sends no HTTP at all is told apart at once, not at the size limit.
      if (Stage == TStage::StatusLine && Pending.compare(0, 5, std::string("HTTP/"), 0, Pending.size()) != 0) Garbled();
      return;
    }
    std::string line = std::move(Pending);
    Pending.clear();
    line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
    TakeLine(std::move(line));
  }
}

void THttpResponseParser::End() {
  if (Stage == TStage::StatusLine || Stage == TStage::Headers) throw EHttpError(StatusCode, HttpFailure::Broken);
  if (ContentLength && BodyReceived < *ContentLength) throw EHttpError(StatusCode, HttpFailure::Broken);
  Stage = TStage::Done;
}

void THttpResponseParser::TakeLine(std::string line) {
  if (Stage == TStage::StatusLine) TakeStatusLine(line);
  else TakeHeaderLine(line);
}

// "HTTP/1.0 200 OK" or "HTTP/1.1 404 Not Found": three digits, then the text.
void THttpResponseParser::TakeStatusLine(const std::string& line) {
  if (line.compare(0, 8, "HTTP/1.0") != 0 && line.compare(0, 8, "HTTP/1.1") != 0) Garbled();
  if (line.size() < 12 || line[8] != ' ') Garbled();
  std::string code = line.substr(9, 3);
  if (!AllDigits(code) || (line.size() > 12 && line[12] != ' ')) Garbled();
  StatusCode = std::stoi(code);
  StatusText = line.size() > 13 ? line.substr(13) : "";
  Stage = TStage::Headers;
}

void THttpResponseParser::TakeHeaderLine(const std::string& line) {
  if (line.empty()) return EndOfHeader();
  if (line[0] == ' ' || line[0] == '\t') {  // folded onto the line before
    if (Headers.empty()) Garbled();
    Headers.back().second += " " + Trimmed(line);
    return;
  }
  size_t colon = line.find(':');
  if (colon == std::string::npos || colon == 0) Garbled();
  std::string name = Lower(Trimmed(line.substr(0, colon)));
  std::string value = Trimmed(line.substr(colon + 1));
  if (name == "content-length") {
    uint64_t length = LengthValue(value);
    if (ContentLength && *ContentLength != length) Garbled();
    ContentLength = length;
  } else if (name == "location") {
    Location = value;
  } else if (name == "transfer-encoding" && Lower(value) != "identity") {
    throw EHttpError(StatusCode, HttpFailure::Encoded);
  }
  Headers.emplace_back(name, value);
}

void THttpResponseParser::EndOfHeader() {
  if (StatusCode >= 100 && StatusCode < 200) {  // an interim answer: the real one follows
    Stage = TStage::StatusLine;
    StatusCode = 0;
    Headers.clear();
    ContentLength.reset();
    Location.reset();
    return;
  }
  Stage = TStage::Body;
  if ((ContentLength && *ContentLength == 0) || StatusCode == 204 || StatusCode == 304) Stage = TStage::Done;
}

void THttpResponseParser::TakeBody(std::string_view bytes) {
  if (ContentLength) bytes = bytes.substr(0, size_t(std::min<uint64_t>(bytes.size(), *ContentLength - BodyReceived)));
  BodyReceived += bytes.size();
  if (!bytes.empty() && OnBody) OnBody(bytes);
  if (ContentLength && BodyReceived == *ContentLength) Stage = TStage::Done;
}

}  // namespace vnt
