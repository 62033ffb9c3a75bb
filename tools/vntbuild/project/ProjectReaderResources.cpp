// The setup program's own icon and version resource ("product/icon", "product/versionInfo").
#include "vntbuild/project/ProjectDefaults.h"
#include "vntbuild/project/ProjectReaderParts.h"

namespace vnt {

namespace {

void TakeText(TObject& o, const std::string& key, std::string& value) {
  if (auto node = o.Get(key)) value = node->Utf8();
}

}  // namespace

void ReadSetupResources(TObject& product, TProject& project, bool& languageGiven) {
  if (auto icon = product.Get("icon")) {
    project.Icon = {CarriedFilePath(*icon).string(), icon->Where()};
    project.OtherInputs.push_back(project.Icon);
  }
  // The names are read in the setup's code page; the version resource holds them in UTF-16.
  const TSetupProperties& p = project.Content.Description.Properties;
  int codePage = product.Self().Context().CodePage;
  std::string name = CodePageToUtf8(p.SoftwareName, codePage), company = CodePageToUtf8(p.CompanyName, codePage);
  std::string display = CodePageToUtf8(p.DisplayVersion, codePage);
  languageGiven = false;
  auto node = product.Get("versionInfo");
  if (!node) {
    project.VersionInfo = DefaultVersionInfo(name, company, display);
    return;
  }
  TObject o(*node);
  std::optional<std::pair<uint32_t, uint32_t>> numbers;
  if (auto version = o.Get("version")) {
    numbers = ParseFileVersion(version->Utf8());
    if (!numbers) version->Fail("expected a version of one to four numbers from 0 to 65535, such as \"1.2.0.3\"");
  }
  TVersionInfo& v = project.VersionInfo = DefaultVersionInfo(name, company, display, numbers);
  TakeText(o, "fileVersion", v.FileVersion);
  TakeText(o, "productVersion", v.ProductVersion);
  TakeText(o, "productName", v.ProductName);
  TakeText(o, "company", v.CompanyName);
  TakeText(o, "description", v.Description);
  TakeText(o, "copyright", v.Copyright);
  TakeText(o, "originalFileName", v.OriginalFileName);
  languageGiven = o.Has("language");
  v.Language = uint16_t(o.Integer("language", v.Language, 0, 0xFFFF));
  o.Done();
}

}  // namespace vnt
