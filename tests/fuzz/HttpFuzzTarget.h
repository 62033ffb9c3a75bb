// One fuzz input is a server's whole answer. It is parsed three times, in one piece, byte by
// byte and in pieces of seven; the promises: nothing but EHttpError is raised, the three
// readings agree, and an answer taken whole carries exactly the body it announced.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "net/HttpErrors.h"
#include "net/HttpResponse.h"

namespace vnt::test {

struct THttpReading {
  bool Failed = false;
  std::string Error;
  int Status = 0;
  std::optional<uint64_t> Length;
  std::string Body;
  bool operator==(const THttpReading&) const = default;
};

inline THttpReading ReadResponse(std::string_view input, size_t piece) {
  THttpReading reading;
  THttpResponseParser parser;
  parser.OnBody = [&reading](std::string_view block) { reading.Body.append(block); };
  try {
    for (size_t at = 0; at < input.size(); at += piece) parser.Feed(input.substr(at, piece));
    parser.End();
  } catch (const EHttpError& e) {
    reading.Failed = true;
    reading.Error = e.what();
  }
  reading.Status = parser.StatusCode;
  reading.Length = parser.ContentLength;
  return reading;
}

inline bool HttpFuzzOne(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  THttpReading whole = ReadResponse(input, input.size() ? input.size() : 1);
  if (!(ReadResponse(input, 1) == whole) || !(ReadResponse(input, 7) == whole)) return false;
  if (whole.Failed) return true;
  if (whole.Length && whole.Body.size() != *whole.Length) return false;
  return whole.Body.size() <= input.size();
}

}  // namespace vnt::test
