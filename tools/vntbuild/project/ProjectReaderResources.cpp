// The setup program's own icon and version resource ("product/icon", "product/versionInfo").
#include "vntbuild/project/ProjectDefaults.h"
#include "vntbuild/project/ProjectReaderParts.h"

namespace vnt {

namespace {

// The numbers a display version starts with ("2.1 beta" gives 2.1.0.0); 0.0.0.0 without any.
std::pair<uint32_t, uint32_t> LeadingVersion(const std::string& text) {
  size_t end = text.find_first_not_of("0123456789.");
  std::string numbers = text.substr(0, end);
  while (!numbers.empty() && numbers.back() == '.') numbers.pop_back();
  return ParseFileVersion(numbers).value_or(std::make_pair(0u, 0u));
}

std::string Utf8Of(TObject& o, const std::string& key, const std::string& def) {
  auto node = o.Get(key);
  return node ? node->Utf8() : def;
}

}  // namespace

void ReadSetupResources(TObject& product, TProject& project, bool& languageGiven) {
  if (auto icon = product.Get("icon")) {
    project.Icon = {CarriedFilePath(*icon).string(), icon->Where()};
    project.OtherInputs.push_back(project.Icon);
  }
  const TSetupProperties& p = project.Content.Description.Properties;
  int codePage = product.Self().Context().CodePage;
  std::string name = CodePageToUtf8(p.SoftwareName, codePage), company = CodePageToUtf8(p.CompanyName, codePage);
  std::string display = CodePageToUtf8(p.DisplayVersion, codePage);
  TVersionInfo& v = project.VersionInfo;
  std::tie(v.VersionHigh, v.VersionLow) = LeadingVersion(display);
  auto node = product.Get("versionInfo");
  languageGiven = false;
  if (node) {
    TObject o(*node);
    if (auto version = o.Get("version")) {
      auto numbers = ParseFileVersion(version->Utf8());
      if (!numbers) version->Fail("expected a version of one to four numbers from 0 to 65535, such as \"1.2.0.3\"");
      std::tie(v.VersionHigh, v.VersionLow) = *numbers;
    }
    std::string numbers = FormatFileVersion(v.VersionHigh, v.VersionLow);
    v.FileVersion = Utf8Of(o, "fileVersion", numbers);
    v.ProductVersion = Utf8Of(o, "productVersion", display.empty() ? numbers : display);
    v.ProductName = Utf8Of(o, "productName", name);
    v.CompanyName = Utf8Of(o, "company", company);
    v.Description = Utf8Of(o, "description", name + " Setup");
    v.Copyright = Utf8Of(o, "copyright", "");
    v.OriginalFileName = Utf8Of(o, "originalFileName", "");
    languageGiven = o.Has("language");
    v.Language = uint16_t(o.Integer("language", 0x0409, 0, 0xFFFF));
    o.Done();
    return;
  }
  v.FileVersion = FormatFileVersion(v.VersionHigh, v.VersionLow);
  v.ProductVersion = display.empty() ? v.FileVersion : display;
  v.ProductName = name, v.CompanyName = company, v.Description = name + " Setup";
}

}  // namespace vnt
