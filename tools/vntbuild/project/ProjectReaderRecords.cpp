// Variables, components, shortcuts, registry changes, conduits, device platforms, progress
// bitmaps, the background and the device file groups of a project file.
#include "package/SetupRecords.h"
#include "package/WindowsNames.h"
#include "vntbuild/project/ProjectDefaults.h"
#include "vntbuild/project/ProjectReaderParts.h"

namespace vnt {

namespace {

TSetupRegChange ReadRegChange(TObject& o, bool needKey) {
  TSetupRegChange r = DefaultRegChange();
  r.Root = uint8_t(needKey ? o.Need("root").Code(RegRootNames(), 0, 255) : o.Code("root", RegRootNames(), 0, 0, 255));
  r.Key = needKey ? o.Need("key").Text() : o.Text("key");
  r.ValueName = o.Text("value");
  r.Type = int32_t(o.Code("type", RegTypeNames(), 0, INT32_MIN, INT32_MAX));
  if (needKey) r.Data = o.Text("data");
  r.Components = o.List("components");
  r.Condition = o.Text("condition");
  if (auto node = o.Get("reserved")) {
    TObject res(*node);
    r.Reserved = uint16_t(res.Integer("value", r.Reserved, 0, 0xFFFF));
    r.ReservedText1 = res.Text("text1");
    r.ReservedText2 = res.Text("text2");
    res.Done();
  }
  return r;
}

TSetupVariable ReadVariable(const TNode& node) {
  TObject o(node);
  TSetupVariable v;
  std::string name = o.Need("name").Text();
  if (name.empty() || name == "%%") o.Need("name").Fail("expected a variable name");
  if (name.front() != '%') name = "%" + name;
  if (name.size() < 2 || name.back() != '%') name += "%";
  v.Name = name;
  if (auto reg = o.Get("registry")) {
    TObject r(*reg);
    v.Reg = ReadRegChange(r, false);
    r.Done();
  } else {
    v.Reg = DefaultRegChange();
  }
  v.Reg.Data = o.Text("default");
  v.Folder = o.Flag("folder");
  o.Done();
  return v;
}

TInstallerComponent ReadComponent(const TNode& node, TProject& project) {
  TObject o(node);
  TInstallerComponent c;
  c.Name = o.Need("name").Text();
  if (c.Name.empty() || c.Name.find('|') != std::string::npos) o.Need("name").Fail("expected a name without \"|\"");
  c.Description = o.Text("description");
  c.IconFile = o.Text("icon");
  if (o.Flag("ownArchive")) project.ComponentArchives.push_back(c.Name);
  o.Done();
  return c;
}

TSetupShortcut ReadShortcut(const TNode& node) {
  TObject o(node);
  TSetupShortcut s = DefaultShortcut();
  TNode name = o.Need("name");
  s.Name = name.Text();
  s.Target = o.Need("target").Text();
  s.Arguments = o.Text("arguments");
  s.Description = o.Text("description");
  s.ShowCommand = int32_t(o.Code("show", ShowCommandNames(), s.ShowCommand, INT32_MIN, INT32_MAX));
  if (auto folder = o.Get("folder")) {
    s.Folder = folder->Text();
    if (std::string problem = WindowsFolderProblem(s.Folder); !problem.empty()) folder->Fail(problem);
  }
  // The link is a file, folder\name.lnk, that Windows must be able to hold.
  if (std::string problem = WindowsPathProblem(s.Folder, s.Name + ".lnk"); !problem.empty()) name.Fail(problem);
  s.IconFile = o.Text("icon");
  s.IconIndex = int32_t(o.Integer("iconIndex", 0, INT32_MIN, INT32_MAX));
  s.Group = o.Text("group");
  s.Components = o.List("components");
  s.Condition = o.Text("condition");
  if (auto node = o.Get("reserved")) {
    TObject res(*node);
    s.Reserved = uint16_t(res.Integer("value", s.Reserved, 0, 0xFFFF));
    s.ReservedText = res.Text("text");
    res.Done();
  }
  o.Done();
  return s;
}

THotSyncConduit ReadConduit(const TNode& node) {
  TObject o(node);
  THotSyncConduit c;
  c.Creator = o.Need("creator").Text();
  c.Integrate = o.Flag("integrate");
  c.ConduitFile = o.Text("conduitFile");
  c.Directory = o.Text("directory");
  c.RemoteDatabase = o.Text("remoteDatabase");
  c.File = o.Text("file");
  c.Name = o.Text("name");
  c.Information = o.Text("information");
  c.Priority = uint8_t(o.Integer("priority", 0, 0, 255));
  c.Module = o.Text("module");
  c.ComConduit = o.Flag("comConduit");
  c.ComClient = o.Text("comClient");
  o.Done();
  return c;
}

uint16_t Processors(TObject& o, const std::string& key) {
  auto node = o.Get(key);
  if (!node) return 0;
  if (!node->Json().is_array()) return uint16_t(node->Integer(0, 0xFFFF));
  uint16_t bits = 0;
  for (size_t i = 0; i < node->Size(); ++i) bits |= uint16_t(1u << (*node)[i].Code(ProcessorNames(), 0, 15));
  return bits;
}

void ReadVersionText(TObject& o, const std::string& key, int32_t& major, int32_t& minor) {
  auto node = o.Get(key);
  if (!node) return;
  std::string text = node->Text();
  auto isNumber = [](const std::string& part) {
    size_t digits = part.size() - (part.rfind('-', 0) == 0 ? 1 : 0);
    return digits > 0 && digits <= 9 && part.find_first_not_of("0123456789", part.size() - digits) == std::string::npos;
  };
  size_t dot = text.find('.');
  if (dot == std::string::npos || !isNumber(text.substr(0, dot)) || !isNumber(text.substr(dot + 1)))
    node->Fail("expected a version \"major.minor\"");
  ParseVersionText(text, major, minor);
}

TRapiDevice ReadPlatform(const TNode& node) {
  TObject o(node);
  TRapiDevice d;
  d.Name = o.Need("name").Text();
  d.MatchByName = o.Flag("matchByName");
  d.PlatformName = o.Text("platform");
  d.ExcludedPlatforms = o.Text("excludedPlatforms");
  d.Processors = Processors(o, "processors");
  d.ExtraProcessors = Processors(o, "extraProcessors");
  ReadVersionText(o, "minVersion", d.MinMajor, d.MinMinor);
  ReadVersionText(o, "maxVersion", d.MaxMajor, d.MaxMinor);
  o.Done();
  return d;
}

TSetupBackItem ReadBackItem(const TNode& node, const TFontRecord& baseFont) {
  TObject o(node);
  TSetupBackItem b;
  b.Kind = uint8_t(o.Integer("kind", o.Has("text") ? 0 : 1, 0, 255));
  b.Position = uint8_t(o.Code("position", BackItemPositionNames(), 0, 0, 255));
  b.Effect = uint8_t(o.Code("effect", BackItemEffectNames(), 0, 0, 255));
  if (b.IsText()) {
    b.Text = o.Text("text");
    b.Font = baseFont;
    if (auto font = o.Get("font")) b.Font = font->Font(baseFont);
    if (auto color = o.Get("shadowColor")) b.ShadowColor = color->Color();
    b.Shadow = o.Flag("shadow");
  } else {
    b.Picture = o.Need("picture").Text();
    if (auto color = o.Get("transparentColor")) b.TransparentColor = color->Color();
    b.Transparent = o.Flag("transparent");
  }
  o.Done();
  return b;
}

}  // namespace

void ReadRecords(TObject& root, TProject& project) {
  TSetupDescription& d = project.Content.Description;
  ForEach(root, "variables", [&](const TNode& n) { d.Variables.push_back(ReadVariable(n)); });
  ForEach(root, "components", [&](const TNode& n) { d.Components.push_back(ReadComponent(n, project)); });
  ForEach(root, "shortcuts", [&](const TNode& n) { d.Shortcuts.push_back(ReadShortcut(n)); });
  ForEach(root, "registry", [&](const TNode& n) {
    TObject o(n);
    d.RegChanges.push_back(ReadRegChange(o, true));
    o.Done();
  });
  ForEach(root, "conduits", [&](const TNode& n) { d.Conduits.push_back(ReadConduit(n)); });
  ForEach(root, "devicePlatforms", [&](const TNode& n) { d.DeviceTable.push_back(ReadPlatform(n)); });
  ForEach(root, "progressBitmaps", [&](const TNode& n) { d.ProgressBitmaps.push_back(n.Text()); });
}

void ReadBackground(TObject& root, TProject& project) {
  TSetupProperties& p = project.Content.Description.Properties;
  auto node = root.Get("background");
  if (!node) return;
  TObject o(*node);
  p.BackgroundBitmap = o.Text("bitmap");
  p.BackgroundMode = uint8_t(o.Code("mode", BackgroundModeNames(), 0, 0, 255));
  if (auto c = o.Get("color1")) p.BackgroundColor1 = c->Color();
  if (auto c = o.Get("color2")) p.BackgroundColor2 = c->Color();
  p.GradientDirection = uint8_t(o.Code("gradient", GradientNames(), 0, 0, 255));
  p.BackgroundSize = uint8_t(o.Code("size", BackgroundSizeNames(), 0, 0, 255));
  ForEach(o, "items", [&](const TNode& n) {
    project.Content.Description.BackItems.push_back(ReadBackItem(n, p.SetupFont));
  });
  o.Done();
}

void ReadDevice(TObject& root, TProject& project) {
  TSetupDescription& d = project.Content.Description;
  auto node = root.Get("device");
  if (!node) return;
  TObject o(*node);
  d.Properties.MainGroupDesktopFolder = o.Text("desktopFolder");
  d.Properties.MainGroupCabinetFiles = o.List("cabinets");
  ForEach(o, "groups", [&](const TNode& n) {
    TObject g(n);
    TSetupDeviceFileGroup group = DefaultDeviceGroup();
    group.Name = g.Need("name").Text();
    group.DesktopFolder = g.Text("desktopFolder");
    group.Description = g.Text("description");
    group.CabinetFiles = g.List("cabinets");
    if (auto res = g.Get("reserved")) {
      TObject r(*res);
      group.ReservedText = r.Text("text");
      r.Done();
    }
    g.Done();
    d.DeviceGroups.push_back(std::move(group));
  });
  o.Done();
}

}  // namespace vnt
