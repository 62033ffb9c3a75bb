#include "package/PackageWriter.h"

#include <stdexcept>

#include "package/PeResource.h"
#include "package/ScriptCodec.h"
#include "package/SectionLayouts.h"

namespace vnt {

namespace {

// The stored form of a section whose records are not given: no support archive, no product
// archive.
std::string EmptySection(int section) {
  TMemoryStream s;
  switch (section) {
    case SecSupportArchive: WriteByte(s, 0); break;
    default: break;
  }
  return s.Bytes();
}

void WriteMessagesSection(TFieldWriter& a, const TSetupDescription& d) {
  WriteU32(a.Stream(), uint32_t(d.Languages.size()));
  if (d.Languages.empty()) TransferMessageTable(a, d.SingleTable);
  for (const auto& lang : d.Languages) TransferLanguage(a, lang);
}

void WriteProductFilesSection(TFieldWriter& a, const TSetupDescription& d) {
  WriteU32(a.Stream(), uint32_t(d.DeviceGroups.size()));
  a.Str(d.Properties.MainGroupDesktopFolder);
  a.Str(d.Properties.MainGroupCabinetFiles);
  for (const auto& g : d.DeviceGroups) TransferDeviceFileGroup(a, g);
  TransferList(a, d.ProductFiles, 0,
               [](TFieldWriter& a, const TSetupInstallerFile& f) { WriteProductFileRecord(a.Stream(), f); });
}

void WriteRecordSection(TFieldWriter& a, const TPackageContent& c, int section) {
  const TSetupDescription& d = c.Description;
  TStream& s = a.Stream();
  switch (section) {
    case SecProperties: {
      WriteByte(s, 0);
      TransferProperties(a, d.Properties, d.Requirements, d.VersionBounds);
      break;
    }
    case SecMessages: WriteMessagesSection(a, d); break;
    case SecProperties2: TransferProperties2(a, d.Properties); break;
    case SecOptions: s.Write(c.Options.data(), c.Options.size()); break;
    case SecVariables:
      TransferList(a, d.Variables, 0, [](TFieldWriter& a, const TSetupVariable& v) { WriteVariableRecord(a.Stream(), v); });
      break;
    case SecBackItems:
      TransferList(a, d.BackItems, 0, [](TFieldWriter& a, const TSetupBackItem& b) { TransferBackItem(a, b); });
      break;
    case SecComponents: TransferComponentsSection(a, d); break;
    case SecProgressBitmaps: TransferStringList(a, d.ProgressBitmaps); break;
    case SecFolders: TransferFoldersSection(a, d); break;
    case SecSupportFiles:
      TransferList(a, d.SupportFiles, 0,
                   [](TFieldWriter& a, const TSetupInstallerFile& f) { WriteSupportFileRecord(a.Stream(), f); });
      break;
    case SecProductFiles: WriteProductFilesSection(a, d); break;
    case SecShortcuts:
      TransferList(a, d.Shortcuts, 0, [](TFieldWriter& a, const TSetupShortcut& r) { TransferShortcut(a, r); });
      break;
    case SecRegistry:
      TransferList(a, d.RegChanges, 0, [](TFieldWriter& a, const TSetupRegChange& r) { TransferRegChange(a, r); });
      break;
    case SecScripts:
      for (const auto& script : d.Scripts) WriteScript(s, script);
      break;
    case SecDialogs: WriteDialogSection(s, d.Dialogs.Dialogs); break;
    case SecDeviceTable:
      TransferList(a, d.DeviceTable, 0, [](TFieldWriter& a, const TRapiDevice& r) { WriteRapiDevice(a.Stream(), r); });
      break;
    default: s.Write(EmptySection(section).data(), EmptySection(section).size()); break;
  }
}

}  // namespace

TSetupInstallerFile UninstallerFileRecord(int32_t id, uint32_t size, uint32_t dosDateTime) {
  TSetupInstallerFile f;
  f.Id = id;
  f.DateTime = dosDateTime;
  f.File.SourceName = "VNTUNINST.DAT";
  f.File.DestFolder = "%WinDir%\\";
  f.File.Condition = "uninstaller";
  f.File.OverwriteMode = 5;  // by date
  f.File.Size = size;
  return f;
}

std::string WriteSection(const TPackageContent& content, int section) {
  if (content.RawSections[section]) return *content.RawSections[section];
  TMemoryStream s;
  TFieldWriter a(s);
  WriteRecordSection(a, content, section);
  return s.Bytes();
}

TPackageFrame PackageFrame(const TPackageContent& content, const std::array<uint64_t, SectionCount>& sectionSizes,
                           uint64_t imageSize) {
  uint64_t position = imageSize + DirectorySize;
  std::array<uint32_t, SectionCount> directory{};
  for (int i = 0; i < SectionCount; ++i) {
    if (position > UINT32_MAX) throw std::length_error("package larger than 4 GB");
    directory[i] = uint32_t(position);
    position += sectionSizes[i];
  }
  TMemoryStream head, trailer;
  for (uint32_t entry : directory) WriteU32(head, entry);
  WriteU32(trailer, uint32_t(imageSize));
  WriteI32(trailer, content.ExternalArchive ? 0 : int32_t(directory[SecProductArchive]));
  WriteU32(trailer, PackageMagic);
  return {std::move(head.Bytes()), std::move(trailer.Bytes())};
}

void SetPackageEnd(std::string& image, uint64_t packageEnd) {
  auto res = FindPeResource(image, PackageEndResourceType, PackageEndResourceName);
  if (!res || res->Size < 4) throw std::runtime_error("the stub has no package-end resource");
  TMemoryStream patch(std::move(image));
  patch.Seek(res->FileOffset);
  WriteU32(patch, uint32_t(packageEnd));
  image = std::move(patch.Bytes());
}

std::string BuildPackage(const TPackageContent& content, uint64_t imageSize) {
  std::array<std::string, SectionCount> sections;
  std::array<uint64_t, SectionCount> sizes{};
  for (int i = 0; i < SectionCount; ++i) {
    sections[i] = WriteSection(content, i);
    sizes[i] = sections[i].size();
  }
  TPackageFrame frame = PackageFrame(content, sizes, imageSize);
  std::string package = std::move(frame.Directory);
  for (const auto& bytes : sections) package += bytes;
  return package + frame.Trailer;
}

std::string AppendPackage(std::string stubImage, const TPackageContent& content, bool endInResource) {
  std::string package = BuildPackage(content, stubImage.size());
  if (endInResource) SetPackageEnd(stubImage, stubImage.size() + package.size());
  return stubImage + package;
}

}  // namespace vnt
