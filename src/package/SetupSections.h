// Section readers: each seeks to its section and fills the setup description.
#pragma once

#include <string>

#include "package/SetupDescription.h"
#include "package/SetupFuncs.h"

namespace vnt {

// Reads SecProperties. Either target may be null; the version bounds always go to desc.
void ReadProperties(TPackage& pkg, TSetupDescription& desc, TSetupProperties* props,
                    TSetupMinimumRequeriments* req);
void ReadPropertiesPart2(TPackage& pkg, TSetupProperties& props);
// Builds the languages and message tables. language is the current value of %Language%: each
// default language sets it as it is met; the device connection message is then taken from
// the table it selects.
void ReadMessages(TPackage& pkg, TSetupDescription& desc, std::string& language);
void ReadVariables(TPackage& pkg, TSetupDescription& desc);
void ReadBackItems(TPackage& pkg, TSetupDescription& desc);
void ReadComponents(TPackage& pkg, TSetupDescription& desc);
void ReadProgressBitmaps(TPackage& pkg, TSetupDescription& desc);
void ReadFolders(TPackage& pkg, TSetupDescription& desc);
void ReadSupportFiles(TPackage& pkg, TSetupDescription& desc);
void ReadProductFiles(TPackage& pkg, TSetupDescription& desc);
void ReadShortcuts(TPackage& pkg, TSetupDescription& desc);
void ReadRegistryChanges(TPackage& pkg, TSetupDescription& desc);
void ReadDeviceTable(TPackage& pkg, TSetupDescription& desc);
// The seven package scripts (SecScripts).
void ReadScripts(TPackage& pkg, TSetupDescription& desc);
// The dialog definitions (SecDialogs), with the first and last page.
void ReadDialogs(TPackage& pkg, TSetupDescription& desc);

// Every section of the description, in start-up order.
void ReadDescription(TPackage& pkg, TSetupDescription& desc, std::string& language, bool withBackItems);

// Smallest stored sizes of the list records, to bound list counts.
uint32_t MinSupportFileSize();
uint32_t MinProductFileSize();
uint32_t MinShortcutSize();
uint32_t MinRegChangeSize();
uint32_t MinVariableSize();
uint32_t MinBackItemSize();
uint32_t MinDeviceGroupSize();
uint32_t MinRapiDeviceSize();
uint32_t MinLanguageSize();

}  // namespace vnt
