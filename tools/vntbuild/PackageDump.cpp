#include "vntbuild/PackageDump.h"

#include <iomanip>

#include "package/SectionLayouts.h"
#include "vntbuild/ScriptDecompiler.h"
#include <sstream>
#include "package/SetupSections.h"

namespace vnt {

namespace {

// Prints a record's fields in stored order, one line per record.
class TFieldPrinter {
public:
  explicit TFieldPrinter(std::ostream& out) : Out(out) {}
  void U8(const uint8_t& v) { Sep() << unsigned(v); }
  void U16(const uint16_t& v) { Sep() << v; }
  void Reserved16(const uint16_t& v) { Sep() << v; }
  void I32(const int32_t& v) { Sep() << v; }
  void U32(const uint32_t& v) { Sep() << v; }
  void Dbl(const double& v) { Sep() << v; }
  void Str(const std::string& v) { Sep() << std::quoted(v); }
  void Font(const TFontRecord& f) {
    Sep() << "font(" << std::quoted(f.Name) << " " << f.Size << "pt colour 0x" << std::hex
          << uint32_t(f.Color) << std::dec << " style " << unsigned(f.Style) << " charset "
          << unsigned(f.Charset) << ")";
  }
  void Version(const TVersionLimit& v, bool withServicePack) {
    Sep() << (v.Version >> 24) << "." << ((v.Version >> 16) & 0xFF) << "." << (v.Version & 0xFFFF);
    if (withServicePack) Out << " sp " << (v.ServicePack >> 8) << "." << (v.ServicePack & 0xFF);
  }
  void Begin(const std::string& label) {
    Out << "  " << label << ":";
    First = true;
  }
  void End() { Out << "\n"; }

private:
  std::ostream& Sep() {
    Out << (First ? " " : ", ");
    First = false;
    return Out;
  }
  std::ostream& Out;
  bool First = true;
};

template <class V, class Fn>
void PrintList(TFieldPrinter& p, std::ostream& out, const char* title, const V& list, Fn fields) {
  out << title << " (" << list.size() << ")\n";
  for (size_t i = 0; i < list.size(); ++i) {
    p.Begin(std::to_string(i));
    fields(p, list[i]);
    p.End();
  }
}

void PrintContainer(const TPackage& pkg, std::ostream& out) {
  out << "package end " << pkg.PackageEnd << ", directory at " << pkg.DirectoryOffset
      << ", archive at " << pkg.ArchiveOffset << "\nsections:";
  for (uint32_t entry : pkg.Directory) out << " " << entry;
  out << "\noptions:";
  for (uint8_t o : pkg.Options) out << " " << unsigned(o);
  out << "\n";
}

void PrintMessages(const TSetupDescription& d, std::ostream& out) {
  auto table = [&](const TSetupMessage& m) {
    for (int i = 0; i < MessageCount; ++i) out << "    " << i << ": " << std::quoted(m.Texts[i]) << "\n";
  };
  out << "languages (" << d.Languages.size() << "), default " << std::quoted(d.DefaultLanguageName) << "\n";
  if (d.Languages.empty()) table(d.SingleTable);
  for (const auto& l : d.Languages) {
    out << "  " << std::quoted(l.Name) << " id " << l.LanguageId << (l.Default ? " default" : "") << "\n";
    table(l.Messages);
  }
}

void PrintRecords(const TSetupDescription& d, std::ostream& out) {
  TFieldPrinter p(out);
  PrintList(p, out, "variables", d.Variables, [](TFieldPrinter& p, const TSetupVariable& v) {
    p.Str(v.Name);
    TransferRegChange(p, v.Reg);
    p.U8(v.Folder);
  });
  PrintList(p, out, "background items", d.BackItems, [](TFieldPrinter& p, const TSetupBackItem& b) { TransferBackItem(p, b); });
  out << "product archive range " << d.ProductArchiveRange << ", progress scale " << d.ProgressScale << "\n";
  PrintList(p, out, "components", d.Components, [](TFieldPrinter& p, const TInstallerComponent& c) { TransferComponent(p, c); });
  PrintList(p, out, "conduits", d.Conduits, [](TFieldPrinter& p, const THotSyncConduit& c) { TransferConduit(p, c); });
  PrintList(p, out, "progress bitmaps", d.ProgressBitmaps, [](TFieldPrinter& p, const std::string& s) { p.Str(s); });
  PrintList(p, out, "file folders", d.FileFolders, [](TFieldPrinter& p, const std::string& s) { p.Str(s); });
  PrintList(p, out, "shortcut folders", d.ShortcutFolders, [](TFieldPrinter& p, const std::string& s) { p.Str(s); });
  auto file = [](TFieldPrinter& p, const TSetupInstallerFile& f) {
    p.I32(f.Id);
    p.U32(f.VersionHigh);
    p.U32(f.VersionLow);
    p.U32(f.DateTime);
    p.U32(f.File.Size);
    TransferSetupFile(p, f.File);
  };
  PrintList(p, out, "support files", d.SupportFiles, file);
  out << "main device group: folder " << std::quoted(d.Properties.MainGroupDesktopFolder) << ", cabinets "
      << std::quoted(d.Properties.MainGroupCabinetFiles) << "\n";
  PrintList(p, out, "device file groups", d.DeviceGroups, [](TFieldPrinter& p, const TSetupDeviceFileGroup& g) { TransferDeviceFileGroup(p, g); });
  PrintList(p, out, "product files", d.ProductFiles, file);
  PrintList(p, out, "shortcuts", d.Shortcuts, [](TFieldPrinter& p, const TSetupShortcut& r) { TransferShortcut(p, r); });
  PrintList(p, out, "registry changes", d.RegChanges, [](TFieldPrinter& p, const TSetupRegChange& r) { TransferRegChange(p, r); });
  PrintList(p, out, "device platforms", d.DeviceTable, [](TFieldPrinter& p, const TRapiDevice& r) {
    p.U8(r.MatchByName);
    p.Str(r.Name);
    p.Str(r.PlatformName);
    p.Str(r.ExcludedPlatforms);
    p.U16(r.Processors);
    p.U16(r.ExtraProcessors);
    p.Str(FormatVersionText(r.MinMajor, r.MinMinor));
    p.Str(FormatVersionText(r.MaxMajor, r.MaxMinor));
  });
}

}  // namespace

void DumpPackage(TPackage& pkg, std::ostream& out) {
  TSetupDescription d;
  std::string language;
  ReadDescription(pkg, d, language, true);

  PrintContainer(pkg, out);
  TFieldPrinter p(out);
  out << "properties\n";
  p.Begin("section 0");
  TransferProperties(p, d.Properties, d.Requirements, d.VersionBounds);
  p.End();
  p.Begin("section 2");
  TransferProperties2(p, d.Properties);
  p.End();
  PrintMessages(d, out);
  PrintRecords(d, out);
  static const char* const ScriptNames[] = {"start", "before installation", "after installation", "close",
                                            "error", "before removal", "after removal"};
  for (int i = 0; i < PackageScriptCount; ++i) {
    out << "script " << ScriptNames[i] << " (" << d.Scripts[i].size() << " statements)\n";
    std::istringstream text(DecompileScript(d.Scripts[i]));
    for (std::string line; std::getline(text, line);) out << "  " << line << "\n";
  }
  out << "dialogs (" << d.Dialogs.Dialogs.size() << "), first page " << std::quoted(d.Dialogs.FirstPage)
      << ", last page " << std::quoted(d.Dialogs.LastPage) << "\n";
  for (const auto& dialog : d.Dialogs.Dialogs)
    out << "  " << std::quoted(dialog.Name) << (dialog.IsStyle ? " style" : "") << ", " << dialog.Controls.size()
        << " controls, " << dialog.ClientWidth << "x" << dialog.ClientHeight << "\n";
}

}  // namespace vnt
