// The message table that the builder writes for a language unless the project gives its own.
#include "package/SetupStrings.h"

namespace vnt {

const TSetupMessages& DefaultMessages() {
  static const TSetupMessages table = {
      "OK",  // 0
      "Cancel",  // 1
      "Yes",  // 2
      "No",  // 3
      "Yes To All",  // 4
      "No To All",  // 5
      "Close",  // 6
      "Do you want to close the Setup?",  // 7
      "This setup needs Microsoft ActiveSync, which is not installed on this computer. Download its latest version from the Microsoft web site (http://www.microsoft.com/windowsmobile/activesync/), install it and then run this setup again. Setup cannot continue and will now exit.",  // 8
      "Setup is copying the files. Do you want to close the Setup?",  // 9
      "Can not create the Setup directories.",  // 10
      "Can not create the Add/Remove Programs entry.",  // 11
      "Can not read drive <drive>. Setup cannot continue and will now exit.",  // 12
      "Drive <drive> have not space to install %SoftwareName%. Setup cannot continue and will now exit.",  // 13
      "%SoftwareName% should cause errors.",  // 14
      "You can not continue, you can not skip this file.",  // 15
      "Vantry cannot create the program group.",  // 16
      "Error changing Windows Registry.",  // 17
      "%SoftwareName% does not support the Windows version of current machine. Setup cannot continue and will now exit.",  // 18
      "<file> not found, you can not continue.",  // 19
      "Disk <disk> data not found in selected path.",  // 20
      "Shared file registration Error: <file>",  // 21
      "Register Server Error: <file>",  // 22
      "Register Type Library Error: <file>",  // 23
      "Error creating Windows shortcuts.",  // 24
      "The file <file> already exists. Do you want to replace this file?",  // 25
      "The file <file> already exists. Do you want to replace this file with a newer version?",  // 26
      "The file <file> already exists. Do you want to replace this file with a older version?",  // 27
      "Copying files...",  // 28
      "Device Files",  // 29
      "Uninstaller Files",  // 30
      "Starting device install...",  // 31
      "Closing %SoftwareName% Setup...",  // 32
      "Registering files...",  // 33
      "Creating shortcuts...",  // 34
      "Creating registry entries...",  // 35
      "%SoftwareName% Uninstaller",  // 36
      "Do you want to uninstall %SoftwareName% from Desktop?",  // 37
      "Uninstalling %SoftwareName%...",  // 38
      "Uninstall completed with success.",  // 39
      "Uninstall can not delete all %SoftwareName% items.",  // 40
      "<file> is a shared file. Do you want to delete this file?",  // 41
      "<file> is a type library. Do you want to delete this file?",  // 42
      "<file> is a ActiveX file. Do you want to delete this file?",  // 43
      "Key:",  // 44
      "Value:",  // 45
      "Directory Selection",  // 46
      "Directory",  // 47
      "Directories",  // 48
      "Drives",  // 49
      "Setup Needs the Next Disk",  // 50
      "Please insert Disk <disk> and click OK. If the files on this disk can be found in a folder other than the one displayed below, enter the correct path or click Browse.",  // 51
      "Path",  // 52
      "Vantry is starting %SoftwareName% Setup, please wait...",  // 53
      "%SoftwareName% needs more screen size. Setup cannot continue and will now exit.",  // 54
      "%SoftwareName% needs more color resolution. Setup cannot continue and will now exit.",  // 55
      "%SoftwareName% needs more RAM memory. Setup cannot continue and will now exit.",  // 56
      "Browse",  // 57
      "Please, insert the first disk of %SoftwareName% into the drive <drive> to continue.",  // 58
      "Uninstalling %SoftwareName% Components...",  // 59
      "Default",  // 60
      "Connecting to Windows CE device...",  // 61
      "Conduit file registration Error: <file>",  // 62
      "Conduit:",  // 63
      "This setup needs the Palm HotSync software, which is not installed on this computer. Download its latest version from the Palm web site (http://www.palm.com/support/downloads/), install it and then run this setup again. Setup cannot continue and will now exit.",  // 64
      "Copying <component>...",  // 65
      "Setup cannot create the file <file>. This file must be in use or protected.",  // 66
      "Existent File",  // 67
      "Destination File",  // 68
  };
  return table;
}

}  // namespace vnt
