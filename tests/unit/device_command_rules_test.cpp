// The decisions of the device script commands that need no device.
#include <gtest/gtest.h>

#include "device/DeviceCommandRules.h"
#include "package/ScriptTypes.h"

using namespace vnt;

TEST(DeviceCommandRules, KeywordsComparedExactly) {
  EXPECT_EQ(OwnerFieldByKeyword("NAME"), TOwnerField::Name);
  EXPECT_EQ(OwnerFieldByKeyword("COMPANY"), TOwnerField::Company);
  EXPECT_EQ(OwnerFieldByKeyword("name"), std::nullopt);
  EXPECT_EQ(OsVersionPartByKeyword("MAJOR"), 0);
  EXPECT_EQ(OsVersionPartByKeyword("MINOR"), 1);
  EXPECT_EQ(OsVersionPartByKeyword("FULL"), 2);
  EXPECT_EQ(OsVersionPartByKeyword("Full"), std::nullopt);
  EXPECT_EQ(OsVersionAnswer(""), "0");
  EXPECT_EQ(OsVersionAnswer("4.20"), "4.20");
  // The free space is formatted only for "STRING" itself.
  EXPECT_EQ(FreeSpaceAnswer(2048, "string", '.'), "2048");
  EXPECT_EQ(FreeSpaceAnswer(-1, "", '.'), "0");
  EXPECT_EQ(FreeSpaceAnswer(-1, "STRING", '.'), FreeSpaceAnswer(0, "STRING", '.'));
  EXPECT_NE(FreeSpaceAnswer(2048, "STRING", '.'), "2048");
}

TEST(DeviceCommandRules, RegistryRootHasNoMemory) {
  EXPECT_EQ(DeviceRegRoot("HKEY_CLASSES_ROOT"), RootClasses);
  EXPECT_EQ(DeviceRegRoot("HKEY_LOCAL_MACHINE"), RootLocalMachine);
  EXPECT_EQ(DeviceRegRoot("HKEY_CURRENT_USER"), RootCurrentUser);
  EXPECT_EQ(DeviceRegRoot("HKEY_USERS"), RootCurrentUser);
  EXPECT_EQ(DeviceRegRoot("hkey_local_machine"), RootCurrentUser);
  EXPECT_EQ(DeviceRegRoot(""), RootCurrentUser);
}

TEST(DeviceCommandRules, FileQueries) {
  EXPECT_EQ(DeviceFileQueryOf("size"), TDeviceFileQuery::Size);
  EXPECT_EQ(DeviceFileQueryOf("Existence"), TDeviceFileQuery::Existence);
  EXPECT_EQ(DeviceFileQueryOf("DRIVE"), TDeviceFileQuery::Unknown);
  EXPECT_EQ(DeviceFileQueryOf("VERSION"), TDeviceFileQuery::Unknown);
  const std::string path = "\\Windows\\Start Menu\\app.lnk";
  EXPECT_EQ(DevicePathAnswer(DeviceFileQueryOf("name"), path), "app.lnk");
  EXPECT_EQ(DevicePathAnswer(DeviceFileQueryOf("PATH"), path), "\\Windows\\Start Menu");
  EXPECT_EQ(DevicePathAnswer(DeviceFileQueryOf("EXTENSION"), path), ".lnk");
  EXPECT_EQ(DevicePathAnswer(TDeviceFileQuery::Unknown, path), "");
}

TEST(DeviceCommandRules, SignatureIsAnInteger) {
  // Unlike the desktop's file, the empty text means no check.
  EXPECT_EQ(DeviceSignature(""), 0u);
  EXPECT_EQ(DeviceSignature("0"), 0u);
  EXPECT_EQ(DeviceSignature("1234"), 1234u);
  EXPECT_EQ(DeviceSignature("-1"), 0xFFFFFFFFu);
}

TEST(DeviceCommandRules, UnavailableAnswers) {
  for (uint8_t op : {OpGetDeviceOwner, OpDeviceFileRead, OpDeviceFileReadLine, OpDeviceRegRead, OpGetDevicePlatform,
                     OpGetDeviceProcessor, OpGetDeviceSerial})
    EXPECT_EQ(UnavailableAnswer(op, ""), "") << int(op);
  for (uint8_t op : {OpGetDeviceOSVersion, OpDeviceFindFile, OpIsProductInstalledOnDevice, OpIsProcessorSupported,
                     OpGetDeviceFreeSpace, OpIsXScaleDevice})
    EXPECT_EQ(UnavailableAnswer(op, ""), "0") << int(op);
  EXPECT_EQ(UnavailableAnswer(OpDeviceFileOpen, ""), "ERROR");
  EXPECT_EQ(UnavailableAnswer(OpDeviceQueryFileInfo, "SIZE"), "0");
  EXPECT_EQ(UnavailableAnswer(OpDeviceQueryFileInfo, "existence"), "0");
  EXPECT_EQ(UnavailableAnswer(OpDeviceQueryFileInfo, "NAME"), "");
  // The others change nothing, their first field is not a variable.
  for (uint8_t op : {OpDeviceRunProgram, OpDeviceCreateFolder, OpDeviceRemoveFolder, OpDeviceFileWrite,
                     OpDeviceFileWriteLine, OpDeviceFileClose, OpDeviceRegWrite, OpDeviceRegDelete, OpDeviceCopyFile,
                     OpDeviceMoveFile, OpDeviceDeleteFile, OpCopyFileToDevice, OpCopyFileFromDevice})
    EXPECT_EQ(UnavailableAnswer(op, ""), std::nullopt) << int(op);
}
