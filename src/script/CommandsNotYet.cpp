#include "script/CommandsNotYet.h"

#include "package/ScriptTypes.h"

namespace vnt {

const std::vector<uint8_t>& CommandsNotYetCarriedOut() {
  static const std::vector<uint8_t> opcodes = {
      OpCheckConnection, OpDownloadFile, OpPostData, OpGetUrlText,
      OpDeviceConnected, OpGetDeviceOwner, OpGetDeviceOSVersion, OpDeviceRunProgram,
      OpDeviceQueryFileInfo, OpDeviceFindFile, OpDeviceCreateFolder, OpDeviceRemoveFolder,
      OpDeviceFileOpen, OpDeviceFileWrite, OpDeviceFileWriteLine, OpDeviceFileRead,
      OpDeviceFileReadLine, OpDeviceFileClose, OpDeviceRegRead, OpDeviceRegWrite,
      OpDeviceRegDelete, OpDeviceCopyFile, OpCopyFileToDevice, OpCopyFileFromDevice,
      OpDeviceDeleteFile, OpIsProductInstalledOnDevice, OpGetDevicePlatform, OpGetDeviceProcessor,
      OpIsProcessorSupported, OpGetDeviceFreeSpace, OpGetDeviceSerial, OpIsXScaleDevice, OpAbortDownload, OpDeviceMoveFile};
  return opcodes;
}

void RegisterCommandsNotYetCarriedOut(TScriptContext& context) {
  for (uint8_t op : CommandsNotYetCarriedOut()) context.SetCommand(op, [](const ScriptStatement&) {});
}

}  // namespace vnt
