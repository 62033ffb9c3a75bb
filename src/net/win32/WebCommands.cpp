#include "net/win32/WebCommands.h"

#include <memory>

#include "net/CheckAddress.h"
#include "net/DownloadProgress.h"
#include "net/HttpErrors.h"
#include "net/win32/HttpCli.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

namespace {

// What the commands share for the interpreter's lifetime.
struct TWebSession {
  TWebSession(TSetupState& state, std::string checkAddress) : State(state), CheckAddress(std::move(checkAddress)) {}
  TSetupState& State;
  std::string CheckAddress;
  THttpCli* DownloadClient = nullptr;  // the running DownloadFile's, for AbortDownload
  std::optional<int32_t> ShownPosition;  // the screen hears of changes only

  void Log(const std::string& line) { State.Log.Line(line); }

  // The progress of a download, to whichever display is current; block: the client that
  // just received one.
  void HttpDownloadProc(const THttpCli* block) {
    if (!State.ProgressSink) return;
    std::optional<uint64_t> received, length;
    if (block) received = block->RcvdCount, length = block->ContentLength;
    TProgressStep step = DownloadProgressStep(DownloadClient != nullptr, received, length);
    if (step.Kind == ProgressPosition && ShownPosition == step.Value) return;
    ShownPosition = step.Kind == ProgressPosition ? std::optional<int32_t>(step.Value) : std::nullopt;
    State.ProgressSink(step.Kind, "", step.Value);
  }
};

// One request; answers whether it succeeded and logs what became of it.
bool Fetch(TWebSession& web, THttpCli& cli, bool post) {
  try {
    post ? cli.Post() : cli.Get();
    web.Log((post ? "posted to " : "fetched ") + LoggedAddress(cli.URL) + ": " + std::to_string(cli.StatusCode) +
            ", " + std::to_string(cli.RcvdCount) + " bytes");
    return true;
  } catch (const EHttpError& e) {
    web.Log((post ? "posting to " : "fetching ") + LoggedAddress(cli.URL) + " failed: " + e.what() +
            (e.Status ? " (" + std::to_string(e.Status) + ")" : ""));
    return false;
  }
}

// An answer nobody keeps is read no further than a variable could hold: a server that streams
// without end must not hold the setup.
constexpr uint64_t UnkeptAnswerLimit = TSetupVariables::MaxExpandedSize;

struct TEnoughRead {};

void CheckConnection(TWebSession& web, const ScriptStatement& st) {
  THttpCli cli;
  cli.URL = web.CheckAddress;
  cli.RcvdStream = [&cli](std::string_view block) {
    if (cli.RcvdCount + block.size() > UnkeptAnswerLimit) throw TEnoughRead{};
  };
  bool reached;
  try {
    reached = Fetch(web, cli, false);
  } catch (const TEnoughRead&) {
    web.Log("fetched " + LoggedAddress(cli.URL) + ": " + std::to_string(cli.StatusCode) + ", more than the check needs");
    reached = true;  // the server answers well, and more than the check needs
  }
  web.State.Script->Assign(st.F[0], reached ? "1" : "0");
}

// Keeps the running download reachable for AbortDownload, and gives a download that ran
// inside another's wait back its predecessor.
struct TDownloadClientGuard {
  TWebSession& Web;
  THttpCli* Before;
  TDownloadClientGuard(TWebSession& web, THttpCli& cli) : Web(web), Before(web.DownloadClient) { web.DownloadClient = &cli; }
  ~TDownloadClientGuard() { Web.DownloadClient = Before; }
};

bool DownloadInto(TWebSession& web, THttpCli& cli, HANDLE file) {
  TDownloadClientGuard running(web, cli);
  cli.RcvdStream = [file](std::string_view block) {
    DWORD written = 0;
    if (!WriteFile(file, block.data(), DWORD(block.size()), &written, nullptr) || written != block.size())
      throw EHttpError(0, HttpFailure::NotWritten);
  };
  cli.OnDocData = [&web, &cli] { web.HttpDownloadProc(&cli); };
  web.HttpDownloadProc(nullptr);
  return Fetch(web, cli, false);
}

void DownloadFile(TWebSession& web, const ScriptStatement& st) {
  TScriptContext& script = *web.State.Script;
  THttpCli cli;
  cli.URL = script.Expand(st.F[0]);
  const std::string target = script.Expand(st.F[1]);
  HANDLE file = CreateFileA(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    throw EScriptError("The file \"" + target + "\" cannot be created: " + SystemErrorText(GetLastError()));
  bool ok = DownloadInto(web, cli, file);
  CloseHandle(file);
  if (!ok) DeleteFileA(target.c_str());
  web.HttpDownloadProc(nullptr);
}

void PostData(TWebSession& web, const ScriptStatement& st) {
  THttpCli cli;
  cli.URL = web.State.Script->Expand(st.F[0]);
  cli.SendStream = web.State.Script->Expand(st.F[1]);
  cli.RcvdStream = [&cli](std::string_view block) {
    if (cli.RcvdCount + block.size() > UnkeptAnswerLimit) throw EHttpError(cli.StatusCode, HttpFailure::TooLong);
  };
  Fetch(web, cli, true);
}

void GetUrlText(TWebSession& web, const ScriptStatement& st) {
  TScriptContext& script = *web.State.Script;
  THttpCli cli;
  cli.URL = script.Expand(st.F[1]);
  std::string body;
  // A variable holds no more than an expansion may make; a longer answer is no answer.
  cli.RcvdStream = [&body](std::string_view block) {
    if (body.size() + block.size() > TSetupVariables::MaxExpandedSize) throw EHttpError(0, HttpFailure::TooLong);
    body.append(block);
  };
  if (!Fetch(web, cli, false)) body.clear();
  script.Assign(st.F[0], body);
}

}  // namespace

void AttachWebCommands(TSetupState& state) {
  state.AddWebCommands = [&state](TScriptContext& script) {
    char value[2048];
    DWORD n = GetEnvironmentVariableA(CheckAddressVariable, value, sizeof value);
    auto web = std::make_shared<TWebSession>(
        state, CheckConnectionAddress(n > 0 && n < sizeof value ? std::optional<std::string>(value) : std::nullopt));
    script.SetCommand(OpCheckConnection, [web](const ScriptStatement& st) { CheckConnection(*web, st); });
    script.SetCommand(OpDownloadFile, [web](const ScriptStatement& st) { DownloadFile(*web, st); });
    script.SetCommand(OpPostData, [web](const ScriptStatement& st) { PostData(*web, st); });
    script.SetCommand(OpGetUrlText, [web](const ScriptStatement& st) { GetUrlText(*web, st); });
    script.SetCommand(OpAbortDownload, [web](const ScriptStatement&) {
      if (web->DownloadClient) web->DownloadClient->Abort();
    });
  };
}

}  // namespace vnt
