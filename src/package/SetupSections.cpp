#include "package/SetupSections.h"

#include <algorithm>

#include "package/ScriptCodec.h"
#include "package/SectionLayouts.h"
#include "package/SetupStrings.h"

namespace vnt {

uint32_t MinSupportFileSize() {
  static const uint32_t n = MinimumRecordSize<TSetupInstallerFile>(WriteSupportFileRecord);
  return n;
}
uint32_t MinProductFileSize() {
  static const uint32_t n = MinimumRecordSize<TSetupInstallerFile>(WriteProductFileRecord);
  return n;
}
uint32_t MinShortcutSize() {
  static const uint32_t n = MinimumRecordSize<TSetupShortcut>(
      [](TStream& s, const TSetupShortcut& r) { WriteShortcut(s, r, TFieldWidth::Wide); });
  return n;
}
uint32_t MinRegChangeSize() {
  static const uint32_t n = MinimumRecordSize<TSetupRegChange>(
      [](TStream& s, const TSetupRegChange& r) { WriteRegChange(s, r, TFieldWidth::Wide); });
  return n;
}
uint32_t MinVariableSize() {
  static const uint32_t n = MinimumRecordSize<TSetupVariable>(WriteVariableRecord);
  return n;
}
uint32_t MinBackItemSize() {
  // A picture item is the shorter of the two kinds.
  static const uint32_t n = MinimumRecordSize<TSetupBackItem>([](TStream& s, const TSetupBackItem&) {
    TSetupBackItem picture;
    picture.Kind = 1;
    WriteBackItem(s, picture);
  });
  return n;
}
uint32_t MinDeviceGroupSize() {
  static const uint32_t n = MinimumRecordSize<TSetupDeviceFileGroup>([](TStream& s, const TSetupDeviceFileGroup& g) {
    TFieldWriter w(s);
    TransferDeviceFileGroup(w, g);
  });
  return n;
}
uint32_t MinRapiDeviceSize() {
  // The default version texts "0.0" are three bytes longer than empty ones.
  static const uint32_t n = MinimumRecordSize<TRapiDevice>(WriteRapiDevice) - 2 * 3;
  return n;
}
uint32_t MinLanguageSize() {
  static const uint32_t n = MinimumRecordSize<TSetupLanguage>([](TStream& s, const TSetupLanguage& l) {
    TFieldWriter w(s);
    TransferLanguage(w, l);
  });
  return n;
}

void ReadProperties(TPackage& pkg, TSetupDescription& desc, TSetupProperties* props,
                    TSetupMinimumRequeriments* req) {
  TStream& s = SeekSection(pkg, SecProperties);
  ReadByte(s);  // leading byte, not used
  TSetupProperties tempProps;
  TSetupMinimumRequeriments tempReq;
  TFieldReader a(s);
  // Only the fields of SecProperties change; the target's other fields stay as they are.
  TransferProperties(a, props ? *props : tempProps, req ? *req : tempReq, desc.VersionBounds);
}

void ReadPropertiesPart2(TPackage& pkg, TSetupProperties& props) {
  TFieldReader a(SeekSection(pkg, SecProperties2));
  TransferProperties2(a, props);
}

void ReadMessages(TPackage& pkg, TSetupDescription& desc, std::string& language) {
  TStream& s = SeekSection(pkg, SecMessages);
  TFieldReader a(s);
  desc.Languages.clear();
  desc.DefaultLanguageName.clear();
  uint32_t count = ReadCount(s, MinLanguageSize());
  if (count == 0) {
    TransferMessageTable(a, desc.SingleTable);
    desc.SingleTable.LanguageId = -1;
  }
  for (uint32_t i = 0; i < count; ++i) {
    TSetupLanguage lang;
    TransferLanguage(a, lang);
    lang.Messages.LanguageId = int32_t(lang.LanguageId);
    if (lang.Default) {
      desc.DefaultLanguageName = lang.Name;
      language = lang.Name;
    }
    desc.Languages.push_back(std::move(lang));
  }
  desc.DeviceConnectionMessage = GetMessage(desc, MsgDeviceConnecting, language);
}

void ReadVariables(TPackage& pkg, TSetupDescription& desc) {
  TFieldReader a(SeekSection(pkg, SecVariables));
  TransferList(a, desc.Variables, MinVariableSize(),
               [](TFieldReader& a, TSetupVariable& v) { v = ReadVariableRecord(a.Stream()); });
}

void ReadBackItems(TPackage& pkg, TSetupDescription& desc) {
  TFieldReader a(SeekSection(pkg, SecBackItems));
  TransferList(a, desc.BackItems, MinBackItemSize(),
               [](TFieldReader& a, TSetupBackItem& b) { TransferBackItem(a, b); });
}

void ReadComponents(TPackage& pkg, TSetupDescription& desc) {
  TFieldReader a(SeekSection(pkg, SecComponents));
  TransferComponentsSection(a, desc);
}

void ReadProgressBitmaps(TPackage& pkg, TSetupDescription& desc) {
  TFieldReader a(SeekSection(pkg, SecProgressBitmaps));
  TransferStringList(a, desc.ProgressBitmaps);
}

void ReadFolders(TPackage& pkg, TSetupDescription& desc) {
  TFieldReader a(SeekSection(pkg, SecFolders));
  TransferFoldersSection(a, desc);
}

void ReadSupportFiles(TPackage& pkg, TSetupDescription& desc) {
  TFieldReader a(SeekSection(pkg, SecSupportFiles));
  TransferList(a, desc.SupportFiles, MinSupportFileSize(),
               [](TFieldReader& a, TSetupInstallerFile& f) { f = ReadSupportFileRecord(a.Stream()); });
}

void ReadProductFiles(TPackage& pkg, TSetupDescription& desc) {
  TStream& s = SeekSection(pkg, SecProductFiles);
  TFieldReader a(s);
  uint32_t groups = ReadCount(s, MinDeviceGroupSize());
  a.Str(desc.Properties.MainGroupDesktopFolder);
  a.Str(desc.Properties.MainGroupCabinetFiles);
  desc.DeviceGroups.clear();
  for (uint32_t i = 0; i < groups; ++i) {
    TSetupDeviceFileGroup g;
    TransferDeviceFileGroup(a, g);
    desc.DeviceGroups.push_back(std::move(g));
  }
  TransferList(a, desc.ProductFiles, MinProductFileSize(),
               [](TFieldReader& a, TSetupInstallerFile& f) { f = ReadProductFileRecord(a.Stream()); });
}

void ReadShortcuts(TPackage& pkg, TSetupDescription& desc) {
  TFieldReader a(SeekSection(pkg, SecShortcuts));
  TransferList(a, desc.Shortcuts, MinShortcutSize(),
               [](TFieldReader& a, TSetupShortcut& r) { TransferShortcut(a, r); });
}

void ReadRegistryChanges(TPackage& pkg, TSetupDescription& desc) {
  TFieldReader a(SeekSection(pkg, SecRegistry));
  TransferList(a, desc.RegChanges, MinRegChangeSize(),
               [](TFieldReader& a, TSetupRegChange& r) { TransferRegChange(a, r); });
}

void ReadDeviceTable(TPackage& pkg, TSetupDescription& desc) {
  TFieldReader a(SeekSection(pkg, SecDeviceTable));
  TransferList(a, desc.DeviceTable, MinRapiDeviceSize(),
               [](TFieldReader& a, TRapiDevice& d) { d = ReadRapiDevice(a.Stream()); });
}

void ReadScripts(TPackage& pkg, TSetupDescription& desc) {
  TStream& s = SeekSection(pkg, SecScripts);
  for (auto& script : desc.Scripts) script = ReadScript(s);
}

void ReadDialogs(TPackage& pkg, TSetupDescription& desc) {
  desc.Dialogs = ReadDialogSection(SeekSection(pkg, SecDialogs));
}

void ReadDescription(TPackage& pkg, TSetupDescription& desc, std::string& language, bool withBackItems) {
  ReadVariables(pkg, desc);
  ReadProperties(pkg, desc, &desc.Properties, &desc.Requirements);
  ReadPropertiesPart2(pkg, desc.Properties);
  ReadMessages(pkg, desc, language);
  ReadSupportFiles(pkg, desc);
  ReadDeviceTable(pkg, desc);
  ReadComponents(pkg, desc);
  ReadProgressBitmaps(pkg, desc);
  ReadScripts(pkg, desc);
  ReadDialogs(pkg, desc);
  ReadFolders(pkg, desc);
  ReadProductFiles(pkg, desc);
  ReadShortcuts(pkg, desc);
  ReadRegistryChanges(pkg, desc);
  if (withBackItems) ReadBackItems(pkg, desc);
}

}  // namespace vnt
