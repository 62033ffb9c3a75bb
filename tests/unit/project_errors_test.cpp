#include <gtest/gtest.h>

#include "TestFolder.h"
#include "vntbuild/project/ProjectReader.h"

using namespace vnt;
using namespace vnt::test;

namespace {

// The message a project gives, with "DIR" for the test folder; empty when it reads fine.
std::string ErrorOf(const TTestFolder& dir, const std::string& body) {
  dir.Write("app.exe", "MZ");
  dir.Write("bad.vns", "MessageBox \"a\"\n\nFrobnicate \"x\"\n");
  std::string path = dir.Write("p.json", body).string();
  try {
    ReadProject(path);
    return "";
  } catch (const EProjectError& e) {
    std::string message = e.what();
    std::string root = dir.Path("").string();
    for (size_t at; (at = message.find(root)) != std::string::npos;) message.replace(at, root.size(), "DIR/");
    for (size_t at; (at = message.find(path)) != std::string::npos;) message.replace(at, path.size(), "p.json");
    return message;
  }
}

std::string WithFiles(const std::string& files, const std::string& more = "") {
  return R"({"product": {"name": "A", "company": "B"}, "files": )" + files + more + "}";
}

}  // namespace

TEST(ProjectErrors, SyntaxErrorsNameLineAndColumn) {
  TTestFolder dir;
  std::string message = ErrorOf(dir, "{\n  // fine\n  \"product\": {\"name\": \"A\",, \"company\": \"B\"}\n}");
  EXPECT_EQ(message.rfind("DIR/p.json:3:27: syntax error", 0), 0u) << message;
  message = ErrorOf(dir, "{\"product\": {\"name\": \"A\"");
  EXPECT_EQ(message.rfind("DIR/p.json:1:", 0), 0u) << message;
  // A number too large for the reader is a mistake of the file, with its place.
  EXPECT_EQ(ErrorOf(dir, "{\"product\":\n  {\"name\": 1e999}}"), "DIR/p.json:2:12: the number 1e999 is too large");
}

TEST(ProjectErrors, ContentErrorsNameThePathAndWhatWasExpected) {
  TTestFolder dir;
  const std::string app = R"([{"source": "app.exe"}])";
  struct TCase {
    std::string Body, Message;
  } cases[] = {
      {R"({"product": {"name": 5, "company": "B"}})", "DIR/p.json: /product/name: expected a text, found a number"},
      {R"({"product": {"name": "A"}})", "DIR/p.json: /product: the key \"company\" is required"},
      {R"({"product": {"name": "\u4e2d", "company": "B"}})",
       "DIR/p.json: /product/name: the character U+4E2D has no place in code page 1252"},
      {R"({"product": {"name": "A", "compnay": "B"}})",
       "DIR/p.json: /product: unknown key \"compnay\" (did you mean \"company\"?)"},
      {WithFiles(R"([{"source": "app.exe", "destinaton": "x"}])"),
       "DIR/p.json: /files/0: unknown key \"destinaton\" (did you mean \"destination\"?)"},
      {WithFiles(app, R"(, "flies": [])"), "DIR/p.json: /: unknown key \"flies\" (did you mean \"files\"?)"},
      {WithFiles(R"([{"source": "app.exe"}, {"source": "app.exe", "overwrite": "sometimes"}])"),
       "DIR/p.json: /files/1/overwrite: expected one of: ask, askMustReplace, never, existingOnly, ifNewerVersion, "
       "ifNewerDate, always, askExistingOnly, askByVersion, askByDate (or a number)"},
      {WithFiles(R"([{"source": "app.exe", "shared": "yes"}])"),
       "DIR/p.json: /files/0/shared: expected true or false (or a number from 0 to 255)"},
      {WithFiles(R"([{"source": "app.exe", "overwrite": 300}])"),
       "DIR/p.json: /files/0/overwrite: expected a number from 0 to 255"},
      {WithFiles(R"([{"source": "missing.exe"}])"), "DIR/p.json: /files/0/source: file not found: DIR/missing.exe"},
      {WithFiles(R"([{"source": "*.dll"}])"), "DIR/p.json: /files/0/source: no file matches \"*.dll\""},
      {WithFiles(app, R"(, "uninstaller": "vntuninst.exe")"), "DIR/p.json: /uninstaller: file not found: DIR/vntuninst.exe"},
      {WithFiles(R"([{"source": "*.exe", "id": 3}])"), ""},
      {WithFiles(R"([{"source": "app.exe", "id": 3}, {"source": "app.exe", "id": 3}])"),
       "DIR/p.json: /files/1/id: the id 3 is given twice"},
      {WithFiles(R"([{"source": "app.exe", "version": "1.2.x"}])"),
       "DIR/p.json: /files/0/version: expected a version \"major.minor.release.build\", each part up to 65535"},
      {WithFiles(app, R"(, "registry": [{"root": "HKEY_LOCAL", "key": "k"}])"),
       "DIR/p.json: /registry/0/root: expected one of: HKCR, HKCU, HKLM (or a number)"},
      {WithFiles(app, R"(, "messages": {"07": "x"})"), "DIR/p.json: /messages/07: expected a message number from 0 to 68"},
      {WithFiles(app, R"(, "languages": [{"name": "En", "messages": {"69": "x"}}])"),
       "DIR/p.json: /languages/0/messages/69: expected a message number from 0 to 68"},
      {WithFiles(app, R"(, "product": {"name": "C", "company": "B"})"), "DIR/p.json: the key \"product\" is given twice in one object"},
      {WithFiles(app, R"(, "dialogs": [{"name": "D", "controls": [{"kind": "progress", "p1": "x"}]}])"),
       "DIR/p.json: /dialogs/0/controls/0/p1: a control of this kind keeps only 0 parameters"},
      {WithFiles(app, R"(, "scripts": {"start": ["MessageBox \"a\"", "NoSuchCommand"]})"),
       "DIR/p.json /scripts/start:2: unknown command \"NoSuchCommand\""},
      {WithFiles(app, R"(, "scripts": {"close": {"file": "bad.vns"}})"), "DIR/bad.vns:3: unknown command \"Frobnicate\""},
      {WithFiles(app, R"(, "scripts": {"close": {"file": "none.vns"}})"),
       "DIR/p.json: /scripts/close/file: script file not found: DIR/none.vns"},
      {WithFiles(R"([{"source": "app.exe", "name": "what?.txt"}])"),
       "DIR/p.json: /files/0/name: \"what?.txt\" holds \"?\", which Windows does not allow in a name"},
      {WithFiles(R"([{"source": "app.exe", "destination": "%InstallDir%\\CON"}])"),
       "DIR/p.json: /files/0/destination: \"CON\" is the name of a device"},
      {WithFiles(app, R"(, "shortcuts": [{"name": "Tour|Guide", "target": "app.exe"}])"),
       "DIR/p.json: /shortcuts/0/name: \"Tour|Guide.lnk\" holds \"|\", which Windows does not allow in a name"},
      {WithFiles(app, R"(, "volumeSize": "5G")"),
       "DIR/p.json: /volumeSize: expected 0 or a size from 72K (73728 bytes) to 4G (4294967296 bytes)"},
      {WithFiles(app, R"(, "volumeSize": 9223372036854775807)"),
       "DIR/p.json: /volumeSize: expected 0 or a size from 72K (73728 bytes) to 4G (4294967296 bytes)"},
      {WithFiles(app, R"(, "volumeSize": "4G")"), ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf(dir, c.Body), c.Message) << c.Body;
}
