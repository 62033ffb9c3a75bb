// https through the system's HTTP library, which brings the system's TLS and its trusted
// certificates. Its calls block, so they run on a thread of their own; this side waits with
// TPumpedWait like the plain transport, and takes the body a block at a time. Redirects are
// left to the client, so both schemes follow the same rules.
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <memory>

#include "net/HttpErrors.h"
#include "net/HttpRequest.h"
#include "net/win32/HttpTransport.h"
#include "platform/win32/WideText.h"

namespace vnt {

namespace {

// What the two threads share. They take turns: the worker fills it and sets Ready, then waits
// for Go; the waiting side reads it, then sets Go. Whichever lets go last frees it.
struct TExchange {
  // Set before the worker starts.
  std::wstring Host, Method, Path, Headers;
  INTERNET_PORT Port = 0;
  std::string Body;
  THttpLimits Limits;
  // Filled by the worker.
  THttpHead Head;
  std::string Block;  // empty once the body has ended
  DWORD Error = 0;
  // Set by the waiting side when it gives up; the worker stops at its next turn.
  volatile LONG Cancelled = 0;
  HANDLE Ready = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HANDLE Go = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HINTERNET Session = nullptr, Connection = nullptr;
  HINTERNET volatile Request = nullptr;
  ~TExchange() {
    if (Ready) CloseHandle(Ready);
    if (Go) CloseHandle(Go);
  }
};

std::optional<std::wstring> HeaderText(HINTERNET request, DWORD query) {
  DWORD size = 0;
  WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &size, WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return std::nullopt;
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (!WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &size, WINHTTP_NO_HEADER_INDEX))
    return std::nullopt;
  text.resize(size / sizeof(wchar_t));
  return text;
}

THttpHead ReadHead(HINTERNET request) {
  THttpHead head;
  DWORD status = 0, size = sizeof status;
  WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                      &status, &size, WINHTTP_NO_HEADER_INDEX);
  head.StatusCode = int(status);
  head.StatusText = AnsiFromWide(HeaderText(request, WINHTTP_QUERY_STATUS_TEXT).value_or(L""));
  if (auto length = HeaderText(request, WINHTTP_QUERY_CONTENT_LENGTH)) {
    std::string digits = AnsiFromWide(*length);
    if (!digits.empty() && digits.size() <= 18 && digits.find_first_not_of("0123456789") == std::string::npos)
      head.ContentLength = std::stoull(digits);
  }
  if (auto location = HeaderText(request, WINHTTP_QUERY_LOCATION)) head.Location = AnsiFromWide(*location);
  return head;
}

bool SendRequest(TExchange& x) {
  x.Session = WinHttpOpen(WideFromAnsi(THttpSettings::UserAgent).c_str(), WINHTTP_ACCESS_TYPE_NO_PROXY,
                          WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
  if (!x.Session) return false;
  WinHttpSetTimeouts(x.Session, int(x.Limits.ConnectMs), int(x.Limits.ConnectMs), int(x.Limits.StallMs),
                     int(x.Limits.StallMs));
  x.Connection = WinHttpConnect(x.Session, x.Host.c_str(), x.Port, 0);
  if (!x.Connection) return false;
  x.Request = WinHttpOpenRequest(x.Connection, x.Method.c_str(), x.Path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                 WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_SECURE);
  if (!x.Request) return false;
  DWORD noRedirects = WINHTTP_DISABLE_REDIRECTS;
  WinHttpSetOption(x.Request, WINHTTP_OPTION_DISABLE_FEATURE, &noRedirects, sizeof noRedirects);
  // The wait for the answer's head has a time-out of its own.
  DWORD headWait = x.Limits.StallMs;
  WinHttpSetOption(x.Request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headWait, sizeof headWait);
  void* body = x.Body.empty() ? WINHTTP_NO_REQUEST_DATA : x.Body.data();
  return WinHttpSendRequest(x.Request, x.Headers.c_str(), DWORD(-1L), body, DWORD(x.Body.size()),
                            DWORD(x.Body.size()), 0) &&
         WinHttpReceiveResponse(x.Request, nullptr);
}

// Hands the filled exchange over and waits for the other side's turn.
bool TakeTurns(TExchange& x) {
  SetEvent(x.Ready);
  WaitForSingleObject(x.Go, INFINITE);
  return !x.Cancelled;
}

void RunExchange(TExchange& x) {
  if (!SendRequest(x)) {
    x.Error = GetLastError();
  } else {
    x.Head = ReadHead(x.Request);
    char buffer[65536];
    while (TakeTurns(x)) {
      // Asked for more than has come, Wine's library waits until its buffer is full: read
      // what is there, so that blocks (and the progress) come as the bytes do.
      DWORD available = 0, got = 0;
      if (!WinHttpQueryDataAvailable(x.Request, &available) ||
          (available && !WinHttpReadData(x.Request, buffer, std::min<DWORD>(available, sizeof buffer), &got))) {
        x.Error = GetLastError();
        break;
      }
      x.Block.assign(buffer, got);
      if (got == 0) break;
    }
  }
  if (HINTERNET request = InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&x.Request), nullptr))
    WinHttpCloseHandle(request);
  if (x.Connection) WinHttpCloseHandle(x.Connection);
  if (x.Session) WinHttpCloseHandle(x.Session);
  if (!x.Cancelled) SetEvent(x.Ready);
}

DWORD WINAPI ExchangeThread(void* parameter) {
  std::unique_ptr<std::shared_ptr<TExchange>> holder(static_cast<std::shared_ptr<TExchange>*>(parameter));
  RunExchange(**holder);
  return 0;
}

EHttpError ErrorOf(DWORD error, int status) {
  switch (error) {
    case ERROR_WINHTTP_NAME_NOT_RESOLVED: return EHttpError(status, HttpFailure::HostNotFound);
    case ERROR_WINHTTP_CANNOT_CONNECT: return EHttpError(status, HttpFailure::NoConnection);
    case ERROR_WINHTTP_TIMEOUT:
    case WSAETIMEDOUT:  // what Wine's library reports instead
      return EHttpError(status, HttpFailure::TimedOut);
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
      return EHttpError(status, HttpFailure::Untrusted);
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR: return EHttpError(status, HttpFailure::NoSecureChannel);
    default: return EHttpError(status, std::string(HttpFailure::Broken) + " (error " + std::to_string(error) + ")");
  }
}

class TSecureTransport : public THttpTransport {
public:
  TSecureTransport(TPumpedWait& wait, const THttpLimits& limits) : Waiting(wait), Limits(limits) {}
  ~TSecureTransport() override {
    if (Running) GiveUp();
  }

  THttpHead Start(const std::string& method, const THttpAddress& address, const std::string* body) override {
    Exchange = std::make_shared<TExchange>();
    TExchange& x = *Exchange;
    x.Host = WideFromAnsi(address.Host.front() == '[' ? address.Host.substr(1, address.Host.size() - 2) : address.Host);
    x.Port = address.Port;
    x.Method = WideFromAnsi(method);
    x.Path = WideFromAnsi(address.PathAndQuery);
    x.Headers = WideFromAnsi(std::string("Accept: ") + THttpSettings::Accept + "\r\n");
    if (body) x.Headers += WideFromAnsi(std::string("Content-Type: ") + THttpSettings::PostContentType + "\r\n");
    if (address.HasUser) x.Headers += WideFromAnsi("Authorization: Basic " + Base64(address.User + ":" + address.Password) + "\r\n");
    if (body) x.Body = *body;
    x.Limits = Limits;
    StartWorker();
    WaitForTurn(Limits.ConnectMs + Limits.StallMs);
    if (x.Error) throw ErrorOf(x.Error, 0);
    return x.Head;
  }

  void ReadBody(const std::function<void(std::string_view block)>& onBlock) override {
    TExchange& x = *Exchange;
    uint64_t received = 0;
    for (;;) {
      SetEvent(x.Go);
      WaitForTurn(Limits.StallMs);
      if (x.Error) throw ErrorOf(x.Error, x.Head.StatusCode);
      if (x.Block.empty()) break;
      received += x.Block.size();
      onBlock(x.Block);
    }
    Running = false;
    if (x.Head.ContentLength && received < *x.Head.ContentLength) throw EHttpError(x.Head.StatusCode, HttpFailure::Broken);
  }

private:
  void StartWorker() {
    auto* parameter = new std::shared_ptr<TExchange>(Exchange);
    HANDLE thread = Exchange->Ready && Exchange->Go ? CreateThread(nullptr, 0, ExchangeThread, parameter, 0, nullptr) : nullptr;
    if (!thread) {
      delete parameter;
      throw EHttpError(0, HttpFailure::NoConnection);
    }
    CloseHandle(thread);
    Running = true;
  }

  // The system's own time-outs end a silent server first; ours is only the last guard.
  void WaitForTurn(DWORD timeoutMs) {
    TWaitEnd end = Waiting.Wait(Exchange->Ready, timeoutMs + 5000);
    if (end == TWaitEnd::Signalled) return;
    GiveUp();
    if (end == TWaitEnd::Aborted) throw EHttpError(404, HttpFailure::Aborted);
    throw EHttpError(Exchange->Head.StatusCode, HttpFailure::TimedOut);
  }

  // On Windows closing the request ends a call that blocks on it at once; where it does not
  // (Wine), the call ends at its own time-out. The setup does not wait for either: the worker
  // lets go of the exchange on its own.
  void GiveUp() {
    Running = false;
    InterlockedExchange(&Exchange->Cancelled, 1);
    if (HINTERNET request = InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&Exchange->Request), nullptr))
      WinHttpCloseHandle(request);
    SetEvent(Exchange->Go);
  }

  TPumpedWait& Waiting;
  THttpLimits Limits;
  std::shared_ptr<TExchange> Exchange;
  bool Running = false;
};

}  // namespace

std::unique_ptr<THttpTransport> MakeSecureTransport(TPumpedWait& wait, const THttpLimits& limits) {
  return std::make_unique<TSecureTransport>(wait, limits);
}

}  // namespace vnt
