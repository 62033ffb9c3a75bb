// The device script commands, run as scripts through the interpreter against the stand-in
// rapi.dll and its emulated device: what the device is and whether it is a platform of the
// package, files both ways, the open device file, the device registry, and what the commands
// answer when no device is connected or the library is missing. No window: the connection
// procedure only records its calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeBuiltins.h"
#include "RapiFixture.h"
#include "device/win32/DeviceCommands.h"
#include "device/win32/RapiTool.h"
#include "platform/win32/SystemInfo.h"
#include "script/ScriptInterpretor.h"

using namespace vnt;
using namespace vnt::test;

namespace {

ScriptStatement St(uint8_t op, std::array<std::string, 5> f = {}) {
  ScriptStatement s;
  s.Opcode = op;
  s.F = std::move(f);
  return s;
}

class DeviceCommands : public TRapiDeviceFixture {
protected:
  void SetUp() override {
    TRapiDeviceFixture::SetUp();
    Desc.Properties.CompanyName = "QX Ltd";
    Desc.Properties.SoftwareName = "Notes";
    Ctx.OnScriptError = [this](const std::string& text) { Errors.push_back(text); };
  }
  void TearDown() override {
    Tool.reset();
    TRapiDeviceFixture::TearDown();
  }
  // A tool of its own for the commands, as the program makes one with the interpreter.
  void MakeTool(const TRapiDevices& definitions = {}) {
    Tool = std::make_unique<TRapiTool>();
    Tool->Definitions = definitions;
    Tool->OnConnecting = [this](bool done) { Connecting.push_back(done); };
    RegisterDeviceCommands(Ctx, *Tool);
  }
  bool Run(const TScript& script) { return Interp.RunScript(script); }
  // One command answering in %R%.
  std::string Answer(uint8_t op, const std::string& f2 = "", const std::string& f3 = "") {
    Vars.SetVariable("%R%", "before");
    Run({St(op, {"%R%", f2, f3})});
    return Var("%R%");
  }
  std::string Var(const std::string& name) { return Vars.ExpandText(name); }

  TFakeBuiltins Builtins;
  TSetupDescription Desc;
  TSetupVariables Vars{Desc, Builtins};
  TScriptContext Ctx{Vars};
  TScriptInterpreter Interp{Ctx};
  std::unique_ptr<TRapiTool> Tool;
  std::vector<bool> Connecting;
  std::vector<std::string> Errors;
};

TRapiDevice PocketPcDefinition() {
  TRapiDevice d;
  d.Name = "PPC";
  d.MatchByName = 0;
  d.ExcludedPlatforms = "HPC, Palm PC2";
  d.Processors = 0xFFFF;
  d.ExtraProcessors = 1 << 9;  // StrongARM only
  d.MinMajor = 2;
  d.MinMinor = 11;
  d.MaxMajor = 4;
  d.MaxMinor = 0;
  return d;
}

}  // namespace

TEST_F(DeviceCommands, WhatTheDeviceIs) {
  Set("Major", "4");
  Set("Minor", "20");
  Set("ProcessorType", "2577");
  Set("OwnerName", "Jane Doe");
  Set("OwnerCompany", "QX Ltd");
  Set("FreeStore", "2048");
  Set("Serial", "SN-7");
  Set("XScale", "1");
  MakeTool();
  EXPECT_EQ(Answer(OpDeviceConnected), "1");
  EXPECT_TRUE(Connecting.empty());  // the test only asks, it does not connect
  EXPECT_EQ(Answer(OpGetDeviceOwner, "NAME"), "Jane Doe");
  EXPECT_EQ(Connecting, (std::vector<bool>{false, true}));
  EXPECT_EQ(Answer(OpGetDeviceOwner, "COMPANY"), "QX Ltd");
  EXPECT_EQ(Answer(OpGetDeviceOwner, "name"), "");
  EXPECT_EQ(Answer(OpGetDeviceOSVersion, "FULL"), "4.20");
  EXPECT_EQ(Answer(OpGetDeviceOSVersion, "MAJOR"), "4");
  EXPECT_EQ(Answer(OpGetDeviceOSVersion, "MINOR"), "20");
  EXPECT_EQ(Answer(OpGetDeviceOSVersion, "Full"), "0");
  EXPECT_EQ(Answer(OpGetDeviceProcessor), "STRONGARM");
  EXPECT_EQ(Answer(OpGetDeviceSerial), "SN-7");
  EXPECT_EQ(Answer(OpIsXScaleDevice), "1");
  EXPECT_EQ(Answer(OpGetDeviceFreeSpace), "2048");
  EXPECT_EQ(Answer(OpGetDeviceFreeSpace, "STRING"), TSystemInfo::FormatSizeForUser(2048, 0));
  EXPECT_NE(Answer(OpGetDeviceFreeSpace, "STRING"), "2048");
  // Connected once: later commands use the connection, and the test does not disturb it.
  EXPECT_EQ(Connecting, (std::vector<bool>{false, true}));
  EXPECT_EQ(Answer(OpDeviceConnected), "1");
  EXPECT_EQ(Answer(OpGetDeviceOSVersion, "MAJOR"), "4");
  EXPECT_EQ(CountLines(Log(), "CeRapiInitEx"), 3u);  // two probes, one connection
  EXPECT_TRUE(Errors.empty());
}

TEST_F(DeviceCommands, PlatformAndProcessorOfThePackage) {
  struct TCase {
    const char *Platform, *Major, *Minor, *Processor, *Found, *Supported;
  };
  for (TCase c : {TCase{"PocketPC", "3", "0", "2577", "PPC", "1"},
                  TCase{"PocketPC", "2", "11", "2577", "PPC", "1"},
                  TCase{"PocketPC", "4", "0", "2577", "PPC", "1"},
                  TCase{"PocketPC", "4", "1", "2577", "", "0"},    // above the range
                  TCase{"PocketPC", "2", "10", "2577", "", "0"},   // below it
                  TCase{"Palm PC 12", "3", "0", "2577", "", "0"},  // shut out by Palm PC2
                  TCase{"PocketPC", "3", "0", "4000", "PPC", "0"}}) {  // a platform, not this processor
    SCOPED_TRACE(std::string(c.Platform) + " " + c.Major + "." + c.Minor + " " + c.Processor);
    Set("Platform", c.Platform);
    Set("Major", c.Major);
    Set("Minor", c.Minor);
    Set("ProcessorType", c.Processor);
    MakeTool({PocketPcDefinition()});
    EXPECT_EQ(Answer(OpGetDevicePlatform), c.Found);
    EXPECT_EQ(Answer(OpIsProcessorSupported), c.Supported);
  }
}

TEST_F(DeviceCommands, FilesAndFolders) {
  const std::string pcFile = Folder + "\\source.bin", back = Folder + "\\back.bin";
  WriteAll(pcFile, Pattern(20000));
  WriteAll(DeviceFile("\\app.exe"), "program");
  Vars.SetVariable("%Src%", pcFile);
  MakeTool();
  EXPECT_TRUE(Run({St(OpDeviceCreateFolder, {"\\My Documents"}),
                   St(OpCopyFileToDevice, {"%Src%", "\\My Documents\\data.bin"}),
                   St(OpCopyFileFromDevice, {"\\My Documents\\data.bin", back}),
                   St(OpDeviceCopyFile, {"\\My Documents\\data.bin", "\\My Documents\\copy.bin"}),
                   St(OpDeviceMoveFile, {"\\My Documents\\copy.bin", "\\moved.bin"}),
                   St(OpDeviceRunProgram, {"\\app.exe", "/quiet"})}));
  EXPECT_EQ(ReadAll(DeviceFile("\\My Documents\\data.bin")), Pattern(20000));
  EXPECT_EQ(ReadAll(back), Pattern(20000));
  std::string log = Log();
  EXPECT_EQ(CountLines(log, "CeWriteFile 8192"), 2u);
  EXPECT_EQ(CountLines(log, "CeWriteFile 3616"), 1u);
  EXPECT_EQ(CountLines(log, "CeCreateProcess \\app.exe /quiet"), 1u);
  EXPECT_EQ(ReadAll(DeviceFile("\\moved.bin")), Pattern(20000));
  EXPECT_FALSE(FileExists(DeviceFile("\\My Documents\\copy.bin")));

  const std::string data = "\\My Documents\\data.bin";
  EXPECT_EQ(Answer(OpDeviceQueryFileInfo, data, "SIZE"), "20000");
  EXPECT_EQ(Answer(OpDeviceQueryFileInfo, data, "existence"), "1");
  EXPECT_EQ(Answer(OpDeviceQueryFileInfo, "\\none.bin", "EXISTENCE"), "0");
  EXPECT_EQ(Answer(OpDeviceQueryFileInfo, "\\none.bin", "Size"), "0");
  EXPECT_EQ(Answer(OpDeviceQueryFileInfo, data, "NAME"), "data.bin");
  EXPECT_EQ(Answer(OpDeviceQueryFileInfo, data, "PATH"), "\\My Documents");
  EXPECT_EQ(Answer(OpDeviceQueryFileInfo, data, "EXTENSION"), ".bin");
  EXPECT_EQ(Answer(OpDeviceQueryFileInfo, data, "VERSION"), "");
  EXPECT_EQ(Answer(OpDeviceFindFile, "*.bin", "\\My Documents"), "1");
  EXPECT_EQ(Answer(OpDeviceFindFile, "d?ta.bin", "\\My Documents\\"), "1");
  EXPECT_EQ(Answer(OpDeviceFindFile, "*.txt", "\\My Documents"), "0");

  EXPECT_TRUE(Run({St(OpDeviceRemoveFolder, {"\\My Documents"})}));  // not empty yet
  EXPECT_TRUE(FileExists(DeviceFile("\\My Documents\\data.bin")));
  EXPECT_TRUE(Run({St(OpDeviceDeleteFile, {"\\My Documents\\data.bin"}), St(OpDeviceRemoveFolder, {"\\My Documents"})}));
  EXPECT_FALSE(FileExists(DeviceFile("\\My Documents")));
}

TEST_F(DeviceCommands, TheOpenDeviceFile) {
  MakeTool();
  Vars.SetVariable("%ErrorCode%", "0");
  // Nothing open yet: only the error code tells.
  EXPECT_TRUE(Run({St(OpDeviceFileWrite, {"x"})}));
  EXPECT_EQ(Var("%ErrorCode%"), "1");
  Vars.SetVariable("%ErrorCode%", "0");
  EXPECT_EQ(Answer(OpDeviceFileReadLine), "before");
  EXPECT_EQ(Var("%ErrorCode%"), "1");

  // A signature on a new, empty file cannot be read.
  EXPECT_EQ(Answer(OpDeviceFileOpen, "\\fresh.dat", "1234"), "ERROR");
  EXPECT_TRUE(FileExists(DeviceFile("\\fresh.dat")));
  const std::string longLine(700, 'L');  // longer than one read of a line
  const std::string signature("\xD2\x04\0\0", 4);  // 1234
  WriteAll(DeviceFile("\\log.txt"), signature);
  Vars.SetVariable("%ErrorCode%", "0");
  EXPECT_EQ(Answer(OpDeviceFileOpen, "\\log.txt", "0"), "OK");
  // Each write goes to the end, wherever the position was.
  EXPECT_TRUE(Run({St(OpDeviceFileWrite, {"a"}),
                   St(OpDeviceFileWriteLine, {"b"}),
                   St(OpDeviceFileWrite, {"c\rd\r\n"}),
                   St(OpDeviceFileWriteLine, {longLine}),
                   St(OpDeviceFileWrite, {"e\nf"}),
                   St(OpDeviceFileClose)}));
  EXPECT_EQ(Var("%ErrorCode%"), "0");
  EXPECT_EQ(ReadAll(DeviceFile("\\log.txt")), signature + "ab\r\nc\rd\r\n" + longLine + "\r\ne\nf");

  // The signature 1234 matches; reading starts after it.
  EXPECT_EQ(Answer(OpDeviceFileOpen, "\\log.txt", "1234"), "OK");
  EXPECT_EQ(Answer(OpDeviceFileRead, "1"), "a");
  EXPECT_EQ(Answer(OpDeviceFileReadLine), "b");
  EXPECT_EQ(Answer(OpDeviceFileReadLine), "c");  // the d after the lone carriage return stays
  EXPECT_EQ(Answer(OpDeviceFileRead, "1"), "d");
  EXPECT_EQ(Answer(OpDeviceFileReadLine), "");
  EXPECT_EQ(Answer(OpDeviceFileReadLine), longLine);
  EXPECT_EQ(Answer(OpDeviceFileReadLine), "e\nf");
  EXPECT_EQ(Answer(OpDeviceFileReadLine), "");  // the end: no "EOF" on the device
  EXPECT_EQ(Answer(OpDeviceFileRead, "5"), "");
  // Another open closes the first; an empty signature is no check.
  EXPECT_EQ(Answer(OpDeviceFileOpen, "\\log.txt", ""), "OK");
  EXPECT_EQ(Answer(OpDeviceFileRead, "100000"), ReadAll(DeviceFile("\\log.txt")));
  EXPECT_EQ(Answer(OpDeviceFileOpen, "\\log.txt", "1235"), "ERROR");
  EXPECT_EQ(Var("%ErrorCode%"), "0");
  EXPECT_TRUE(Run({St(OpDeviceFileClose)}));
  EXPECT_EQ(Answer(OpDeviceFileRead, "1"), "before");
  EXPECT_EQ(Var("%ErrorCode%"), "1");
}

TEST_F(DeviceCommands, DeviceRegistry) {
  WriteAll(Folder + "\\registry.txt", "key\tHKLM\\Software\\Apps\\QX Ltd Notes\n"
                                      "value\tInstl\t4\t01000000\n");
  MakeTool();
  EXPECT_EQ(Answer(OpIsProductInstalledOnDevice), "1");
  Desc.Properties.SoftwareName = "Other";
  EXPECT_EQ(Answer(OpIsProductInstalledOnDevice), "0");

  Vars.SetVariable("%Key%", "\\Software\\Vnt\\");
  EXPECT_TRUE(Run({St(OpDeviceRegWrite, {"HKEY_LOCAL_MACHINE", "%Key%", "Count", "42"}),
                   St(OpDeviceRegWrite, {"HKEY_LOCAL_MACHINE", "%Key%", "Name", "4x2"}),
                   St(OpDeviceRegWrite, {"HKEY_CURRENT_USER", "Software\\Vnt", "Mine", "u"}),
                   St(OpDeviceRegWrite, {"anything", "Software\\Vnt", "Other", "o"})}));
  std::string registry = Registry();
  EXPECT_NE(registry.find("value\tCount\t4\t2A000000"), std::string::npos);
  EXPECT_NE(registry.find("key\tHKLM\\Software\\Vnt"), std::string::npos);
  EXPECT_NE(registry.find("key\tHKCU\\Software\\Vnt"), std::string::npos);

  auto read = [&](const std::string& root, const std::string& name) {
    Vars.SetVariable("%R%", "before");
    Run({St(OpDeviceRegRead, {"%R%", root, "%Key%", name, "default"})});
    return Var("%R%");
  };
  EXPECT_EQ(read("HKEY_LOCAL_MACHINE", "Count"), "42");
  EXPECT_EQ(read("HKEY_LOCAL_MACHINE", "Name"), "4x2");
  EXPECT_EQ(read("HKEY_LOCAL_MACHINE", "None"), "default");
  EXPECT_EQ(read("HKEY_CLASSES_ROOT", "Count"), "default");
  // Any other root, HKEY_USERS too, is the current user's; nothing is remembered.
  EXPECT_EQ(read("HKEY_USERS", "Mine"), "u");
  EXPECT_EQ(read("", "Other"), "o");
  EXPECT_EQ(read("HKEY_USERS", "Count"), "default");

  // A value goes; with an empty name and no default value, the key goes.
  EXPECT_TRUE(Run({St(OpDeviceRegDelete, {"HKEY_LOCAL_MACHINE", "%Key%", "Count"})}));
  EXPECT_EQ(read("HKEY_LOCAL_MACHINE", "Count"), "default");
  EXPECT_EQ(read("HKEY_LOCAL_MACHINE", "Name"), "4x2");
  EXPECT_TRUE(Run({St(OpDeviceRegDelete, {"HKEY_LOCAL_MACHINE", "%Key%", ""})}));
  EXPECT_EQ(Registry().find("key\tHKLM\\Software\\Vnt"), std::string::npos);
  EXPECT_NE(Registry().find("key\tHKCU\\Software\\Vnt"), std::string::npos);

  // A digits-only value too large for 32 bits stops the script and writes nothing.
  EXPECT_FALSE(Run({St(OpDeviceRegWrite, {"HKEY_LOCAL_MACHINE", "Software\\Big", "N", "99999999999"})}));
  EXPECT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Registry().find("Software\\Big"), std::string::npos);
}

TEST_F(DeviceCommands, NoDeviceConnected) {
  Set("Connected", "0");
  WriteAll(Folder + "\\source.bin", "pc");
  MakeTool();
  // Each command asks for a device once; none answers, so none connects.
  EXPECT_EQ(Answer(OpDeviceConnected), "0");
  EXPECT_EQ(Answer(OpDeviceQueryFileInfo, "\\a.txt", "SIZE"), "0");
  EXPECT_EQ(Answer(OpDeviceQueryFileInfo, "\\a.txt", "NAME"), "");
  EXPECT_EQ(Answer(OpDeviceFileOpen, "\\a.txt", "0"), "ERROR");
  Vars.SetVariable("%R%", "before");
  EXPECT_TRUE(Run({St(OpDeviceRegRead, {"%R%", "HKEY_LOCAL_MACHINE", "Software", "V", "default"}),
                   St(OpCopyFileToDevice, {Folder + "\\source.bin", "\\a.txt"})}));
  EXPECT_EQ(Var("%R%"), "");
  EXPECT_TRUE(Connecting.empty());
  EXPECT_FALSE(Tool->IsConnected());
  EXPECT_FALSE(FileExists(DeviceFile("\\a.txt")));
}

TEST_F(DeviceCommands, NoLibrary) {
  WriteAll(Folder + "\\source.bin", "pc");
  TLibraryAway away;
  MakeTool();
  struct TCase {
    uint8_t Op;
    const char *F2, *F3, *Answer;
  };
  for (TCase c : {TCase{OpDeviceConnected, "", "", "0"}, TCase{OpGetDeviceOwner, "NAME", "", ""},
                  TCase{OpGetDeviceOSVersion, "FULL", "", "0"}, TCase{OpDeviceQueryFileInfo, "\\a.txt", "SIZE", "0"},
                  TCase{OpDeviceQueryFileInfo, "\\a.txt", "EXISTENCE", "0"},
                  TCase{OpDeviceQueryFileInfo, "\\a.txt", "NAME", ""}, TCase{OpDeviceFindFile, "*", "\\", "0"},
                  TCase{OpDeviceFileOpen, "\\a.txt", "0", "ERROR"}, TCase{OpDeviceFileRead, "4", "", ""},
                  TCase{OpDeviceFileReadLine, "", "", ""}, TCase{OpIsProductInstalledOnDevice, "", "", "0"},
                  TCase{OpGetDevicePlatform, "", "", ""}, TCase{OpGetDeviceProcessor, "", "", ""},
                  TCase{OpIsProcessorSupported, "", "", "0"}, TCase{OpGetDeviceFreeSpace, "STRING", "", "0"},
                  TCase{OpGetDeviceSerial, "", "", ""}, TCase{OpIsXScaleDevice, "", "", "0"}}) {
    SCOPED_TRACE(int(c.Op));
    EXPECT_EQ(Answer(c.Op, c.F2, c.F3), c.Answer);
  }
  // The commands without an answer do nothing, not even report a file error.
  Vars.SetVariable("%ErrorCode%", "0");
  EXPECT_TRUE(Run({St(OpDeviceFileWrite, {"x"}), St(OpDeviceFileWriteLine, {"x"}), St(OpDeviceFileClose),
                   St(OpCopyFileToDevice, {Folder + "\\source.bin", "\\a.txt"}),
                   St(OpDeviceRegWrite, {"HKEY_LOCAL_MACHINE", "Software", "N", "99999999999"})}));
  EXPECT_EQ(Var("%ErrorCode%"), "0");
  EXPECT_FALSE(FileExists(DeviceFile("\\a.txt")));
  EXPECT_TRUE(Connecting.empty());
}
