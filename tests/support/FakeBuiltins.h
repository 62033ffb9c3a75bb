// A built-in value source with fixed answers, counting how often each row was asked.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "package/Builtins.h"

namespace vnt::test {

class TFakeBuiltins : public TBuiltinSource {
public:
  std::map<TBuiltin, std::string> Values{
      {TBuiltin::WinDir, "C:\\windows"},
      {TBuiltin::ProgramFilesDir, "C:\\Program Files\\"},
      {TBuiltin::ProgramsDir, "C:\\Users\\me\\Start Menu\\Programs"},
      {TBuiltin::TempSetupDir, "C:\\temp\\vnt001"},
      {TBuiltin::OSVersion, "5.1.2600"},
      {TBuiltin::IsNT, "1"},
  };
  std::map<TBuiltin, std::string> AllUsersValues{{TBuiltin::ProgramsDir, "C:\\All Users\\Programs\\"}};
  std::vector<std::string> CommandLine{"C:\\setup.exe", "/first"};
  std::map<TBuiltin, int> Asked;

  std::string Value(TBuiltin id, bool commonShellFolders) override {
    ++Asked[id];
    if (commonShellFolders && AllUsersValues.count(id)) return AllUsersValues[id];
    auto it = Values.find(id);
    return it == Values.end() ? "" : it->second;
  }
  std::string CommandLineParam(int n) override {
    return n >= 0 && size_t(n) < CommandLine.size() ? CommandLine[n] : "";
  }
};

}  // namespace vnt::test
