// Plain HTTP/1.0 over Windows Sockets. Every wait goes through TPumpedWait, so the setup's
// windows stay alive and a script may abort; the name look-up runs on a thread of its own
// because the system offers no wait for it that would let messages through.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <memory>

#include "net/HttpErrors.h"
#include "net/HttpRequest.h"
#include "net/HttpResponse.h"
#include "net/win32/HttpTransport.h"

namespace vnt {

namespace {

// Shared by the look-up thread and the waiting transport; the last of the two frees it, so a
// request given up while the look-up runs leaves nothing behind.
struct TLookUp {
  std::string Host, Port;
  addrinfo* Result = nullptr;
  int Error = 0;
  HANDLE Done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ~TLookUp() {
    if (Result) freeaddrinfo(Result);
    if (Done) CloseHandle(Done);
  }
};

DWORD WINAPI LookUpThread(void* parameter) {
  std::unique_ptr<std::shared_ptr<TLookUp>> holder(static_cast<std::shared_ptr<TLookUp>*>(parameter));
  TLookUp& lookUp = **holder;
  WSADATA data;
  lookUp.Error = WSAStartup(MAKEWORD(2, 2), &data);
  if (lookUp.Error == 0) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    lookUp.Error = getaddrinfo(lookUp.Host.c_str(), lookUp.Port.c_str(), &hints, &lookUp.Result);
    WSACleanup();
  }
  SetEvent(lookUp.Done);
  return 0;
}

std::string BareHost(const std::string& host) {
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') return host.substr(1, host.size() - 2);
  return host;
}

class TSocketTransport : public THttpTransport {
public:
  TSocketTransport(TPumpedWait& wait, const THttpLimits& limits) : Waiting(wait), Limits(limits) {
    WSADATA data;
    Started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  ~TSocketTransport() override {
    if (Socket != INVALID_SOCKET) closesocket(Socket);
    if (Event != WSA_INVALID_EVENT) WSACloseEvent(Event);
    if (Started) WSACleanup();
  }

  THttpHead Start(const std::string& method, const THttpAddress& address, const std::string* body) override {
    if (!Started || Event == WSA_INVALID_EVENT) throw EHttpError(0, HttpFailure::NoConnection);
    std::shared_ptr<TLookUp> found = LookUp(address);
    Connect(found->Result);
    SendAll(RequestHead(method, address, body ? body->size() : 0) + (body ? *body : std::string()));
    Parser.OnBody = [this](std::string_view block) { Early.append(block); };
    while (!Parser.HeaderDone()) {
      std::string_view got = ReceiveSome();
      if (got.empty()) Parser.End();  // raises: the header never ended
      else Parser.Feed(got);
    }
    return {Parser.StatusCode, Parser.StatusText, Parser.ContentLength, Parser.Location};
  }

  void ReadBody(const std::function<void(std::string_view block)>& onBlock) override {
    std::string early = std::move(Early);
    if (!early.empty()) onBlock(early);
    Parser.OnBody = onBlock;
    while (!Parser.Done()) {
      std::string_view got = ReceiveSome();
      if (got.empty()) Parser.End();  // the body's end, or raises when it came short
      else Parser.Feed(got);
    }
  }

private:
  std::shared_ptr<TLookUp> LookUp(const THttpAddress& address) {
    auto lookUp = std::make_shared<TLookUp>();
    lookUp->Host = BareHost(address.Host);
    lookUp->Port = std::to_string(address.Port);
    auto* parameter = new std::shared_ptr<TLookUp>(lookUp);
    HANDLE thread = lookUp->Done ? CreateThread(nullptr, 0, LookUpThread, parameter, 0, nullptr) : nullptr;
    if (!thread) {
      delete parameter;
      throw EHttpError(0, HttpFailure::HostNotFound);
    }
    CloseHandle(thread);
    Ended(Waiting.Wait(lookUp->Done, Limits.ConnectMs));
    if (lookUp->Error != 0 || !lookUp->Result) throw EHttpError(0, HttpFailure::HostNotFound);
    return lookUp;
  }

  // Tries each address the name has until one answers.
  void Connect(addrinfo* addresses) {
    const ULONGLONG deadline = GetTickCount64() + Limits.ConnectMs;
    for (addrinfo* a = addresses; a; a = a->ai_next) {
      Socket = socket(a->ai_family, a->ai_socktype, a->ai_protocol);
      if (Socket == INVALID_SOCKET) continue;
      if (WSAEventSelect(Socket, Event, FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE) == 0 &&
          (connect(Socket, a->ai_addr, int(a->ai_addrlen)) == 0 || WSAGetLastError() == WSAEWOULDBLOCK) &&
          ConnectionMade(deadline))
        return;
      closesocket(Socket);
      Socket = INVALID_SOCKET;
    }
    throw EHttpError(0, HttpFailure::NoConnection);
  }

  bool ConnectionMade(ULONGLONG deadline) {
    for (;;) {
      ULONGLONG now = GetTickCount64();
      Ended(now < deadline ? Waiting.Wait(Event, DWORD(deadline - now)) : TWaitEnd::TimedOut);
      WSANETWORKEVENTS events{};
      if (WSAEnumNetworkEvents(Socket, Event, &events) != 0) return false;
      if (events.lNetworkEvents & FD_CONNECT) return events.iErrorCode[FD_CONNECT_BIT] == 0;
    }
  }

  void SendAll(const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
      int n = send(Socket, bytes.data() + sent, int(std::min<size_t>(bytes.size() - sent, 65536)), 0);
      if (n > 0) sent += size_t(n);
      else if (WSAGetLastError() == WSAEWOULDBLOCK) WaitForSocket();
      else throw EHttpError(0, HttpFailure::Broken);
    }
  }

  // Some bytes, or none at the end of the stream.
  std::string_view ReceiveSome() {
    for (;;) {
      int n = recv(Socket, Buffer, sizeof Buffer, 0);
      if (n >= 0) return {Buffer, size_t(n)};
      if (WSAGetLastError() != WSAEWOULDBLOCK) throw EHttpError(Parser.StatusCode, HttpFailure::Broken);
      WaitForSocket();
    }
  }

  void WaitForSocket() {
    Ended(Waiting.Wait(Event, Limits.StallMs));
    WSANETWORKEVENTS events;
    WSAEnumNetworkEvents(Socket, Event, &events);  // resets the event; the caller tries again
  }

  void Ended(TWaitEnd end) {
    if (end == TWaitEnd::Aborted) throw EHttpError(404, HttpFailure::Aborted);
    if (end == TWaitEnd::TimedOut) throw EHttpError(Parser.StatusCode, HttpFailure::TimedOut);
  }

  TPumpedWait& Waiting;
  THttpLimits Limits;
  bool Started = false;
  WSAEVENT Event = WSACreateEvent();
  SOCKET Socket = INVALID_SOCKET;
  THttpResponseParser Parser;
  std::string Early;  // body bytes that came with the header
  char Buffer[65536];
};

}  // namespace

std::unique_ptr<THttpTransport> MakeSocketTransport(TPumpedWait& wait, const THttpLimits& limits) {
  return std::make_unique<TSocketTransport>(wait, limits);
}

}  // namespace vnt
