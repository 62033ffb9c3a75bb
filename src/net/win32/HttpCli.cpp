#include "net/win32/HttpCli.h"

#include "net/HttpErrors.h"

namespace vnt {

void THttpCli::Get() { Request("GET"); }

void THttpCli::Post() {
  if (!SendStream) throw EHttpError(0, HttpFailure::NothingToPost);
  Request("POST");
}

void THttpCli::Abort() { Waiting.Aborted = true; }

void THttpCli::Request(std::string method) {
  if (Busy) throw EHttpError(0, HttpFailure::Busy);
  struct TBusy {
    THttpCli& Cli;
    ~TBusy() {
      Cli.Busy = false;
      Cli.Transport.reset();
      Cli.Waiting.PostQuitAgain();
    }
  } busy{*this};
  Busy = true;
  Waiting.Aborted = false;
  std::string url = SpacesAsPercent20(URL);
  try {
    for (int redirects = 0;; ++redirects) {
      std::optional<THttpAddress> address = ParseHttpAddress(url);
      if (!address) throw EHttpError(0, HttpFailure::BadAddress);
      Transport = address->Secure() ? MakeSecureTransport(Waiting, Limits) : MakeSocketTransport(Waiting, Limits);
      THttpHead head = Transport->Start(method, *address, method == "POST" ? &*SendStream : nullptr);
      StatusCode = head.StatusCode;
      ReasonPhrase = head.StatusText;
      if (head.Location && StatusCode >= 300 && StatusCode < 400) {
        if (redirects == MaxRedirects) throw EHttpError(StatusCode, HttpFailure::TooManyRedirects);
        url = ResolveLocation(*address, *head.Location);
        method = "GET";  // a redirected post is fetched, not posted again
        continue;
      }
      if (StatusCode >= 400) throw EHttpError(StatusCode, ReasonPhrase);
      ContentLength = head.ContentLength;
      Transport->ReadBody([this](std::string_view block) {
        if (Waiting.Aborted) throw EHttpError(404, HttpFailure::Aborted);
        if (RcvdStream) RcvdStream(block);
        RcvdCount += block.size();
        if (OnDocData) OnDocData();
      });
      return;
    }
  } catch (const EHttpError& e) {
    StatusCode = e.Status;
    if (Waiting.Aborted) {
      StatusCode = 404;
      throw EHttpError(404, HttpFailure::Aborted);
    }
    throw;
  }
}

}  // namespace vnt
