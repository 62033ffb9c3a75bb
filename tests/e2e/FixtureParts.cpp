#include "FixtureParts.h"

#include "PackagePrimitives.h"
#include "ScriptCompiler.h"
#include "SetupFuncs.h"

namespace vnt::fixture {

namespace {

// The date every fixture file carries in the archive.
constexpr uint32_t FileDate = 0x5A8B4C21u;

}  // namespace

const std::string Font8 = "Tahoma|8|-2147483640|0|1|";

std::string Bitmap(int width, int height, const TPixel& pixel) {
  int stride = (width * 3 + 3) & ~3;
  TMemoryStream s;
  s.Write("BM", 2);
  WriteU32(s, uint32_t(54 + stride * height));
  WriteU32(s, 0);
  WriteU32(s, 54);
  for (uint32_t v : {40u, uint32_t(width), uint32_t(height)}) WriteU32(s, v);
  WriteU16(s, 1);
  WriteU16(s, 24);
  for (int i = 0; i < 6; ++i) WriteU32(s, 0);
  std::string row(size_t(stride), '\0');
  for (int y = height - 1; y >= 0; --y) {  // bottom-up
    for (int x = 0; x < width; ++x) {
      uint32_t rgb = pixel(x, y);
      row[size_t(x * 3)] = char(rgb & 0xFF);
      row[size_t(x * 3 + 1)] = char((rgb >> 8) & 0xFF);
      row[size_t(x * 3 + 2)] = char((rgb >> 16) & 0xFF);
    }
    s.Write(row.data(), row.size());
  }
  return s.Bytes();
}

std::string Bitmap(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
  uint32_t rgb = uint32_t(r) << 16 | uint32_t(g) << 8 | b;
  return Bitmap(width, height, [rgb](int, int) { return rgb; });
}

ScriptStatement Statement(uint8_t op, std::array<std::string, ScriptFieldCount> f, std::string condition) {
  ScriptStatement st;
  st.Opcode = op;
  st.F = std::move(f);
  st.Condition = std::move(condition);
  return st;
}

TScript Script(const std::string& source) { return CompileScriptText(source, "fixture"); }

TControlDef PageButton(int left, int top, const std::string& caption, int type, const std::string& tag,
                       TScript script) {
  return MakeControlDef(KindButton, left, top, 23, 75, {caption, Font8, std::to_string(type), "", tag, ""},
                        std::move(script));
}

TSetupDialog Page(const std::string& name, const std::string& title, int width, int height,
                  std::vector<TControlDef> controls) {
  TSetupDialog d;
  d.Name = name;
  d.Title = title;
  d.ClientWidth = width;
  d.ClientHeight = height;
  d.DialogFont = {"Tahoma", 8, int32_t(0x80000008), 0, 1};
  d.Controls = std::move(controls);
  return d;
}

void TSupportFiles::Add(const std::string& name, std::string data) {
  TSetupInstallerFile f;
  f.Id = int32_t(Records.size() + 1);
  f.File.SourceName = name;
  f.File.DestFolder = "%TempSetupDir%\\";
  Records.push_back(f);
  Members.push_back({f.Id, FileDate, std::move(data)});
}

void TSupportFiles::Store(TPackageContent& content) const {
  content.Description.SupportFiles = Records;
  content.RawSections[SecSupportArchive] = std::string("\x01") + WriteArchive("", Members);
}

}  // namespace vnt::fixture
