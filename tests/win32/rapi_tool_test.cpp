// The device tool against the stand-in rapi.dll (built beside this program and copied into the
// system folder, where the tool looks for it): the connection, what the device tells, copies,
// the device registry, the platform probe and the platform rules, and the answers without a
// device or without the library. The stand-in keeps its device in a temporary folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "RapiFixture.h"
#include "device/win32/RapiTool.h"
#include "package/PackagePrimitives.h"
#include "package/SetupRecords.h"
#include "package/SystemRules.h"
#include "platform/win32/FileStream.h"
#include "platform/win32/SystemServices.h"

using namespace vnt;
using namespace vnt::test;

namespace {

using RapiToolTest = TRapiDeviceFixture;

}  // namespace

TEST_F(RapiToolTest, ConnectsAndTellsWhatTheDeviceIs) {
  Set("Major", "4");
  Set("Minor", "21");
  Set("ProcessorType", "2577");
  Set("OwnerName", "J\xF6rg Doe");
  Set("OwnerCompany", "QX Ltd");
  Set("FreeStore", "123456");
  TRapiTool tool;
  std::vector<std::string> calls;
  tool.OnConnecting = [&](bool done) { calls.push_back(done ? "connected" : "connecting"); };
  tool.OnDisconnecting = [&](bool done) { calls.push_back(done ? "disconnected" : "disconnecting"); };
  EXPECT_EQ(tool.GetOsVersion(2), "");  // nothing before the connection
  ASSERT_TRUE(tool.Connect(false));
  EXPECT_TRUE(tool.IsConnected());
  EXPECT_FALSE(tool.Connecting);
  // The probe connects and lets go once, then the connection proper.
  EXPECT_EQ(CountLines(Log(), "CeRapiInitEx"), 2u);
  EXPECT_EQ(tool.GetOsVersion(0), "4");
  EXPECT_EQ(tool.GetOsVersion(1), "21");
  EXPECT_EQ(tool.GetOsVersion(2), "4.21");
  EXPECT_EQ(tool.GetProcessorType(), 2577);
  EXPECT_EQ(tool.GetProcessorName(), "STRONGARM");
  EXPECT_EQ(tool.GetFreeStorage(), 123456);
  std::string owner;
  ASSERT_TRUE(tool.GetOwnerInfo(0, owner));
  EXPECT_EQ(owner, "J\xF6rg Doe");
  ASSERT_TRUE(tool.GetOwnerInfo(1, owner));
  EXPECT_EQ(owner, "QX Ltd");
  // Connected already: the library is left alone.
  EXPECT_TRUE(tool.Connect(false));
  EXPECT_EQ(CountLines(Log(), "CeRapiInitEx"), 2u);
  EXPECT_TRUE(tool.Disconnect());
  EXPECT_FALSE(tool.IsConnected());
  EXPECT_EQ(calls, (std::vector<std::string>{"connecting", "connected", "disconnecting", "disconnected"}));
  EXPECT_EQ(tool.GetProcessorType(), -1);
  EXPECT_TRUE(tool.Disconnect());
}

TEST_F(RapiToolTest, CopiesBothWaysInBlocks) {
  const std::string pcFile = Folder + "\\source.bin", back = Folder + "\\back.bin", empty = Folder + "\\empty.bin";
  WriteAll(pcFile, Pattern(20000));
  WriteAll(empty, "");
  TRapiTool tool;
  ASSERT_TRUE(tool.Connect(true));
  int pumped = 0;
  tool.Pump = [&] { ++pumped; };
  ASSERT_TRUE(tool.CreateDir("\\My Documents"));
  ASSERT_TRUE(tool.CopyToDevice(pcFile, "\\My Documents\\data.bin"));
  EXPECT_EQ(pumped, 3);
  std::string log = Log();
  EXPECT_EQ(CountLines(log, "CeWriteFile 8192"), 2u);
  EXPECT_EQ(CountLines(log, "CeWriteFile 3616"), 1u);
  EXPECT_EQ(ReadAll(DeviceFile("\\My Documents\\data.bin")), Pattern(20000));
  EXPECT_TRUE(tool.FileExists("\\My Documents\\data.bin"));
  std::string text;
  uint64_t size = 0;
  EXPECT_TRUE(tool.GetFileInfo("\\My Documents\\data.bin", 4, text, size));
  EXPECT_EQ(size, 20000u);
  EXPECT_TRUE(tool.GetFileInfo("\\My Documents\\data.bin", 0, text, size));
  EXPECT_EQ(text, "1");
  EXPECT_TRUE(tool.GetFileInfo("\\My Documents\\none.bin", 0, text, size));
  EXPECT_EQ(text, "0");
  EXPECT_FALSE(tool.GetFileInfo("\\My Documents\\none.bin", 4, text, size));

  pumped = 0;
  ASSERT_TRUE(tool.CopyFromDevice("\\My Documents\\data.bin", back));
  EXPECT_EQ(pumped, 3);
  EXPECT_EQ(ReadAll(back), Pattern(20000));

  // An empty file copies as an empty file.
  EXPECT_TRUE(tool.CopyToDevice(empty, "\\My Documents\\empty.bin"));
  EXPECT_TRUE(tool.FileExists("\\My Documents\\empty.bin"));
  // Missing sources fail without making a target.
  EXPECT_FALSE(tool.CopyToDevice(Folder + "\\missing.bin", "\\My Documents\\missing.bin"));
  EXPECT_FALSE(tool.FileExists("\\My Documents\\missing.bin"));
  EXPECT_FALSE(tool.CopyFromDevice("\\My Documents\\missing.bin", Folder + "\\missing.bin"));
  EXPECT_FALSE(FileExists(Folder + "\\missing.bin"));

  // The open file: signature, reading, seeking.
  const std::string pattern = Pattern(8);
  uint32_t signature = uint8_t(pattern[0]) | uint8_t(pattern[1]) << 8 | uint8_t(pattern[2]) << 16 |
                       uint32_t(uint8_t(pattern[3])) << 24;
  EXPECT_FALSE(tool.OpenFile("\\My Documents\\data.bin", signature + 1));
  ASSERT_TRUE(tool.OpenFile("\\My Documents\\data.bin", signature));
  EXPECT_EQ(tool.GetFilePos(), 4);
  ASSERT_TRUE(tool.SeekFile(-4, 1));
  EXPECT_EQ(tool.GetFilePos(), 19996);
  char tail[8];
  EXPECT_FALSE(tool.ReadFile(tail, 8));  // only 4 bytes are left
  ASSERT_TRUE(tool.SeekFile(2, 0));
  ASSERT_TRUE(tool.WriteFile("AB", 2));
  EXPECT_TRUE(tool.CloseFile());
  EXPECT_EQ(ReadAll(DeviceFile("\\My Documents\\data.bin")).substr(0, 4), pattern.substr(0, 2) + "AB");

  EXPECT_TRUE(tool.CopyOnDevice("\\My Documents\\data.bin", "\\My Documents\\copy.bin"));
  EXPECT_TRUE(tool.MoveOnDevice("\\My Documents\\copy.bin", "\\moved.bin"));
  EXPECT_FALSE(tool.FileExists("\\My Documents\\copy.bin"));
  EXPECT_TRUE(tool.DeleteFile("\\moved.bin"));
  EXPECT_FALSE(tool.FileExists("\\moved.bin"));
  EXPECT_FALSE(tool.RemoveDir("\\My Documents"));  // not empty
  EXPECT_TRUE(tool.DeleteFile("\\My Documents\\data.bin"));
  EXPECT_TRUE(tool.DeleteFile("\\My Documents\\empty.bin"));
  EXPECT_TRUE(tool.RemoveDir("\\My Documents"));
}

TEST_F(RapiToolTest, DeviceRegistry) {
  TRapiTool tool;
  ASSERT_TRUE(tool.Connect(true));
  ASSERT_FALSE(tool.OpenKey(HKEY_LOCAL_MACHINE, "Software\\Test", false));
  ASSERT_TRUE(tool.OpenKey(HKEY_LOCAL_MACHINE, "Software\\Test", true));
  EXPECT_TRUE(tool.WriteString("Name", "Hello"));
  EXPECT_TRUE(tool.WriteInteger("Count", -7));
  EXPECT_FALSE(tool.WriteString("Long", std::string(TRapiTool::MaxStringChars + 1, 'x')));
  EXPECT_TRUE(tool.WriteString("Longest", std::string(TRapiTool::MaxStringChars, 'x')));
  std::string text;
  int32_t number = 0;
  EXPECT_TRUE(tool.ReadString("Name", text));
  EXPECT_EQ(text, "Hello");
  EXPECT_TRUE(tool.ReadString("Longest", text));
  EXPECT_EQ(text.size(), TRapiTool::MaxStringChars);
  EXPECT_TRUE(tool.ReadInteger("Count", number));
  EXPECT_EQ(number, -7);
  EXPECT_FALSE(tool.ReadInteger("Name", number));  // not a 4-byte value
  EXPECT_EQ(tool.GetValueType("Name"), uint32_t(REG_SZ));
  EXPECT_EQ(tool.GetValueType("Count"), uint32_t(REG_DWORD));
  EXPECT_EQ(tool.GetValueType("None"), 0u);
  EXPECT_TRUE(tool.ValueExists("Name"));
  EXPECT_TRUE(tool.DeleteValue("Name"));
  EXPECT_FALSE(tool.ValueExists("Name"));
  text = "left";
  EXPECT_FALSE(tool.ReadString("Name", text));
  EXPECT_EQ(text, "");
  EXPECT_TRUE(tool.CloseKey());
  EXPECT_NE(Registry().find("key\tHKLM\\Software\\Test"), std::string::npos);
  EXPECT_FALSE(tool.WriteString("Name", "no key open"));
  // The root itself as the open key; it is never closed.
  ASSERT_TRUE(tool.OpenKey(HKEY_LOCAL_MACHINE, "", false));
  EXPECT_EQ(tool.KeyHandle, HKEY_LOCAL_MACHINE);
  EXPECT_TRUE(tool.CloseKey());
  EXPECT_TRUE(tool.DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Test"));
  EXPECT_FALSE(tool.OpenKey(HKEY_LOCAL_MACHINE, "Software\\Test", false));
}

TEST_F(RapiToolTest, LongAndOddValuesFromTheDevice) {
  std::string longText;
  for (int i = 0; i < 9000; ++i) longText += "7800";
  WriteAll(Folder + "\\registry.txt", "key\tHKCU\\Odd\n"
                                      "value\tLong\t1\t" + longText + "0000\n"
                                      "value\tBare\t1\t41004200\n"
                                      "value\tShort\t4\t0100\n");
  TRapiTool tool;
  ASSERT_TRUE(tool.Connect(true));
  ASSERT_TRUE(tool.OpenKey(HKEY_CURRENT_USER, "Odd", false));
  std::string text = "left";
  EXPECT_FALSE(tool.ReadString("Long", text));  // longer than a text may be: refused, not cut
  EXPECT_EQ(text, "");
  EXPECT_TRUE(tool.ReadString("Bare", text));  // stored without its zero end
  EXPECT_EQ(text, "AB");
  int32_t number = 5;
  EXPECT_FALSE(tool.ReadInteger("Short", number));
}

TEST_F(RapiToolTest, InstalledApplications) {
  WriteAll(Folder + "\\registry.txt", "key\tHKLM\\Software\\Apps\\QX Ltd Notes\n"
                                      "value\tInstl\t4\t01000000\n"
                                      "key\tHKLM\\Software\\Apps\\QX Ltd Old\n"
                                      "value\tInstl\t4\t00000000\n");
  TRapiTool tool;
  EXPECT_FALSE(tool.IsAppInstalled("Notes", "QX Ltd"));
  ASSERT_TRUE(tool.Connect(true));
  EXPECT_TRUE(tool.IsAppInstalled("Notes", "QX Ltd"));
  EXPECT_FALSE(tool.IsAppInstalled("Old", "QX Ltd"));
  EXPECT_FALSE(tool.IsAppInstalled("Missing", "QX Ltd"));
}

TEST_F(RapiToolTest, PlatformProbeByProcessorFamily) {
  struct TCase { const char* Processor; const char* Size; };
  for (TCase c : {TCase{"2577", "4096"}, TCase{"4000", "4608"}, TCase{"10003", "4096"}, TCase{"10005", "4096"}}) {
    SCOPED_TRACE(c.Processor);
    Set("ProcessorType", c.Processor);
    Set("Platform", "PocketPC");
    Set("Serial", "SN-42");
    Set("XScale", "1");
    DeleteFileA((Folder + "\\rapi.log").c_str());
    TRapiTool tool;
    ASSERT_TRUE(tool.Connect(true));
    ASSERT_TRUE(tool.OpenKey(HKEY_CURRENT_USER, "Mine", true));
    HKEY mine = tool.KeyHandle;
    EXPECT_EQ(tool.GetSerialNumber(), "SN-42");
    EXPECT_EQ(tool.PlatformName, "PocketPC");
    EXPECT_TRUE(tool.GetIsXScale());
    EXPECT_EQ(CountLines(Log(), std::string("probe ran size ") + c.Size), 1u);
    // The probe leaves nothing behind, and the key the script had open is still its own.
    EXPECT_EQ(Registry().find("QX"), std::string::npos);
    EXPECT_FALSE(FileExists(DeviceFile("\\vNT.exe")));
    EXPECT_EQ(tool.KeyHandle, mine);
    EXPECT_TRUE(tool.WriteInteger("Still", 1));
    // Once per connection.
    tool.GetSerialNumber();
    EXPECT_EQ(CountLines(Log(), "CeCreateProcess \\vNT.exe"), 1u);
  }
}

TEST_F(RapiToolTest, PlatformProbeOnAnUnknownProcessor) {
  Set("ProcessorType", "586");
  TRapiTool tool;
  ASSERT_TRUE(tool.Connect(true));
  EXPECT_EQ(tool.GetSerialNumber(), "");
  EXPECT_EQ(tool.PlatformName, "");
  EXPECT_EQ(CountLines(Log(), "probe refused size 0"), 1u);
  // Without a platform name every question asks the device again.
  EXPECT_FALSE(tool.GetIsXScale());
  EXPECT_EQ(CountLines(Log(), "probe refused size 0"), 2u);
  EXPECT_FALSE(FileExists(DeviceFile("\\vNT.exe")));
}

TEST_F(RapiToolTest, PlatformProbeWithoutAnAnswer) {
  Set("ProbeAnswers", "0");
  TRapiTool tool;
  tool.ProbeTimeLimitMs = 300;
  ASSERT_TRUE(tool.Connect(true));
  DWORD start = GetTickCount();
  EXPECT_EQ(tool.GetSerialNumber(), "");
  EXPECT_LT(GetTickCount() - start, 5000u);
  EXPECT_EQ(CountLines(Log(), "probe ran size 4096"), 1u);
  EXPECT_EQ(Registry().find("QX"), std::string::npos);
  EXPECT_FALSE(FileExists(DeviceFile("\\vNT.exe")));
}

TEST_F(RapiToolTest, MatchesPlatformOnTheDevice) {
  Set("Major", "4");
  Set("Minor", "20");
  Set("ProcessorType", "2577");
  Set("Platform", "Palm PC 12");
  TRapiDevice ppc;
  ppc.Name = "PPC2003";
  ppc.MatchByName = 1;
  ppc.PlatformName = "PocketPC";
  ppc.Processors = 1 << 9;
  ppc.MinMajor = 4;
  ppc.MaxMajor = 4;
  ppc.MaxMinor = 99;
  TRapiDevice any = ppc;
  any.Name = "Any";
  any.MatchByName = 0;
  any.ExcludedPlatforms = "HPC, Palm PC2";
  any.ExtraProcessors = 1 << 9;
  TMemoryStream definitions;
  WriteU32(definitions, 2);
  WriteRapiDevice(definitions, ppc);
  WriteRapiDevice(definitions, any);
  {
    TRapiTool tool;
    definitions.Seek(0);
    tool.LoadDefinitions(definitions, true, true);
    ASSERT_EQ(tool.Definitions.size(), 2u);
    ASSERT_TRUE(tool.Connect(true));
    std::string found;
    EXPECT_FALSE(tool.MatchesPlatform("Any"));  // Palm PC 12 is shut out
    EXPECT_FALSE(tool.MatchesPlatform("PPC2003"));
    EXPECT_FALSE(tool.FindPlatform(found));
    EXPECT_FALSE(tool.InExtraProcessors());
  }
  Set("Platform", "PocketPC");
  TRapiTool tool;
  definitions.Seek(0);
  tool.LoadDefinitions(definitions, true, true);
  ASSERT_TRUE(tool.Connect(true));
  std::string found;
  EXPECT_TRUE(tool.MatchesPlatform("PPC2003"));
  EXPECT_TRUE(tool.FindPlatform(found));
  EXPECT_EQ(found, "Any");
  EXPECT_TRUE(tool.InExtraProcessors());
  TMemoryStream saved;
  tool.SaveDefinitions(saved);
  EXPECT_EQ(saved.Bytes(), definitions.Bytes());
}

TEST_F(RapiToolTest, NoDeviceAnswers) {
  Set("Connected", "0");
  TRapiTool tool;
  std::vector<bool> connecting;
  tool.OnConnecting = [&](bool done) { connecting.push_back(done); };
  // A timer keeps messages coming. The probe gives up after its wait all the same; the
  // connection is never opened.
  UINT_PTR timer = SetTimer(nullptr, 0, 20, nullptr);
  DWORD start = GetTickCount();
  EXPECT_FALSE(tool.Connect(false));
  EXPECT_LT(GetTickCount() - start, 6000u);
  EXPECT_TRUE(connecting.empty());
  // Without the probe the wait lasts until it is cancelled.
  int pumped = 0;
  tool.Pump = [&] {
    DispatchPendingMessages();
    if (++pumped == 5) tool.CancelConnect = true;
  };
  EXPECT_FALSE(tool.Connect(true));
  KillTimer(nullptr, timer);
  EXPECT_EQ(pumped, 5);
  EXPECT_EQ(connecting, (std::vector<bool>{false, true}));
  EXPECT_FALSE(tool.Connecting);
  EXPECT_FALSE(tool.IsConnected());
  std::string text;
  uint64_t size;
  EXPECT_EQ(tool.GetOsVersion(2), "");
  EXPECT_EQ(tool.GetProcessorType(), -1);
  EXPECT_EQ(tool.GetFreeStorage(), -1);
  EXPECT_FALSE(tool.FileExists("\\"));
  EXPECT_FALSE(tool.GetFileInfo("\\a.txt", 1, text, size));
  EXPECT_FALSE(tool.OpenKey(HKEY_LOCAL_MACHINE, "Software", false));
  EXPECT_FALSE(tool.GetOwnerInfo(0, text));
  EXPECT_FALSE(tool.MatchesPlatform("PPC"));
  // The device turns up: a later attempt starts afresh.
  Set("Connected", "1");
  EXPECT_TRUE(tool.Connect(true));
}

TEST_F(RapiToolTest, ConnectionRefusedOrSilent) {
  Set("InitFails", "1");
  TRapiTool tool;
  std::vector<bool> connecting;
  tool.OnConnecting = [&](bool done) { connecting.push_back(done); };
  EXPECT_FALSE(tool.Connect(true));
  EXPECT_EQ(connecting, (std::vector<bool>{false, true}));
  EXPECT_FALSE(tool.Connecting);
  Set("InitFails", "0");
  Set("VersionFails", "1");
  // Connected, but no answer to the version query: closed again.
  EXPECT_FALSE(tool.Connect(true));
  EXPECT_FALSE(tool.IsConnected());
  EXPECT_EQ(CountLines(Log(), "CeRapiUninit"), 1u);
  EXPECT_FALSE(tool.Probe());
}

TEST_F(RapiToolTest, NoLibrary) {
  {
    TLibraryAway away;
    TRapiTool tool;
    bool called = false;
    tool.OnConnecting = [&](bool) { called = true; };
    EXPECT_FALSE(tool.Probe());
    EXPECT_FALSE(tool.Connect(true));
    EXPECT_FALSE(tool.Connect(false));
    EXPECT_FALSE(called);
    EXPECT_FALSE(tool.IsConnected());
    EXPECT_TRUE(tool.Disconnect());
    EXPECT_EQ(tool.GetOsVersion(2), "");
    EXPECT_FALSE(tool.IsAppInstalled("A", "B"));
  }
  EXPECT_TRUE(FileExists(InstalledLibrary()));
}
