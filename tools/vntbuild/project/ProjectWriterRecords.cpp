// Variables, components, device file groups, shortcuts, registry changes, background,
// conduits and device platforms, written as a project file's entries.
#include "package/SetupRecords.h"
#include "vntbuild/project/ProjectDefaults.h"
#include "vntbuild/project/ProjectWriterParts.h"

namespace vnt {

namespace {

// The registry fields the reader takes besides the data; data itself only with withData.
TOrderedJson RegJson(const TSetupRegChange& r, bool withData) {
  const TSetupRegChange def = DefaultRegChange();
  TOrderedJson o = TOrderedJson::object();
  if (withData || r.Root) o["root"] = CodeJson(RegRootNames(), r.Root);
  if (withData) o["key"] = Utf8(r.Key);
  else PutText(o, "key", r.Key);
  PutText(o, "value", r.ValueName);
  if (r.Type) o["type"] = CodeJson(RegTypeNames(), r.Type);
  if (withData) PutText(o, "data", r.Data);
  if (!r.Components.empty()) o["components"] = ListJson(r.Components);
  PutText(o, "condition", r.Condition);
  TOrderedJson res = TOrderedJson::object();
  Put(res, "value", r.Reserved, def.Reserved);
  PutText(res, "text1", r.ReservedText1);
  PutText(res, "text2", r.ReservedText2);
  if (!res.empty()) o["reserved"] = res;
  return o;
}

TOrderedJson VariableJson(const TSetupVariable& v) {
  TOrderedJson o;
  std::string name = v.Name;
  if (name.size() > 2 && name.front() == '%' && name.back() == '%') name = name.substr(1, name.size() - 2);
  o["name"] = Utf8(name);
  PutText(o, "default", v.Reg.Data);
  TOrderedJson reg = RegJson(v.Reg, false);
  if (!reg.empty()) o["registry"] = reg;
  if (v.Folder) o["folder"] = FlagJson(v.Folder);
  return o;
}

TOrderedJson ShortcutJson(const TSetupShortcut& s) {
  const TSetupShortcut def = DefaultShortcut();
  TOrderedJson o;
  o["name"] = Utf8(s.Name);
  o["target"] = Utf8(s.Target);
  PutText(o, "arguments", s.Arguments);
  PutText(o, "description", s.Description);
  PutText(o, "folder", s.Folder, def.Folder);
  PutText(o, "icon", s.IconFile);
  Put(o, "iconIndex", s.IconIndex, 0);
  if (s.ShowCommand != def.ShowCommand) o["show"] = CodeJson(ShowCommandNames(), s.ShowCommand);
  PutText(o, "group", s.Group);
  if (!s.Components.empty()) o["components"] = ListJson(s.Components);
  PutText(o, "condition", s.Condition);
  TOrderedJson res = TOrderedJson::object();
  Put(res, "value", s.Reserved, def.Reserved);
  PutText(res, "text", s.ReservedText);
  if (!res.empty()) o["reserved"] = res;
  return o;
}

TOrderedJson ConduitJson(const THotSyncConduit& c) {
  TOrderedJson o;
  o["creator"] = Utf8(c.Creator);
  PutText(o, "name", c.Name);
  PutText(o, "conduitFile", c.ConduitFile);
  PutText(o, "directory", c.Directory);
  PutText(o, "remoteDatabase", c.RemoteDatabase);
  PutText(o, "file", c.File);
  PutText(o, "information", c.Information);
  Put(o, "priority", c.Priority, 0);
  if (c.Integrate) o["integrate"] = FlagJson(c.Integrate);
  PutText(o, "module", c.Module);
  if (c.ComConduit) o["comConduit"] = FlagJson(c.ComConduit);
  PutText(o, "comClient", c.ComClient);
  return o;
}

TOrderedJson ProcessorsJson(uint16_t bits) {
  if (bits >> 10) return bits;
  TOrderedJson names = TOrderedJson::array();
  for (int bit = 0; bit < 10; ++bit)
    if ((bits >> bit) & 1) names.push_back(NameOfCode(ProcessorNames(), bit));
  return names;
}

TOrderedJson PlatformJson(const TRapiDevice& d) {
  TOrderedJson o;
  o["name"] = Utf8(d.Name);
  if (d.MatchByName) o["matchByName"] = FlagJson(d.MatchByName);
  PutText(o, "platform", d.PlatformName);
  PutText(o, "excludedPlatforms", d.ExcludedPlatforms);
  if (d.Processors) o["processors"] = ProcessorsJson(d.Processors);
  if (d.ExtraProcessors) o["extraProcessors"] = ProcessorsJson(d.ExtraProcessors);
  if (d.MinMajor || d.MinMinor) o["minVersion"] = FormatVersionText(d.MinMajor, d.MinMinor);
  if (d.MaxMajor || d.MaxMinor) o["maxVersion"] = FormatVersionText(d.MaxMajor, d.MaxMinor);
  return o;
}

TOrderedJson BackItemJson(const TSetupBackItem& b, const TFontRecord& setupFont) {
  TOrderedJson o;
  if (b.IsText()) {
    o["text"] = Utf8(b.Text);
    TOrderedJson font = FontJson(b.Font, setupFont);
    if (!font.empty()) o["font"] = font;
    if (b.Shadow) o["shadow"] = FlagJson(b.Shadow);
    if (b.ShadowColor) o["shadowColor"] = ColorJson(b.ShadowColor);
  } else {
    o["picture"] = Utf8(b.Picture);
    if (b.Kind != 1) o["kind"] = b.Kind;
    if (b.Transparent) o["transparent"] = FlagJson(b.Transparent);
    if (b.TransparentColor) o["transparentColor"] = ColorJson(b.TransparentColor);
  }
  if (b.Position) o["position"] = CodeJson(BackItemPositionNames(), b.Position);
  if (b.Effect) o["effect"] = CodeJson(BackItemEffectNames(), b.Effect);
  return o;
}

void WriteBackground(const TSetupDescription& d, TOrderedJson& root) {
  const TSetupProperties& p = d.Properties;
  TOrderedJson o = TOrderedJson::object();
  PutText(o, "bitmap", p.BackgroundBitmap);
  if (p.BackgroundMode) o["mode"] = CodeJson(BackgroundModeNames(), p.BackgroundMode);
  if (p.BackgroundColor1) o["color1"] = ColorJson(p.BackgroundColor1);
  if (p.BackgroundColor2) o["color2"] = ColorJson(p.BackgroundColor2);
  if (p.GradientDirection) o["gradient"] = CodeJson(GradientNames(), p.GradientDirection);
  if (p.BackgroundSize) o["size"] = CodeJson(BackgroundSizeNames(), p.BackgroundSize);
  for (const auto& item : d.BackItems) o["items"].push_back(BackItemJson(item, p.SetupFont));
  if (!o.empty()) root["background"] = o;
}

}  // namespace

void WriteVariablesAndComponents(const TSetupDescription& d, TOrderedJson& root) {
  for (const auto& v : d.Variables) root["variables"].push_back(VariableJson(v));
  for (const auto& c : d.Components) {
    TOrderedJson o;
    o["name"] = Utf8(c.Name);
    PutText(o, "description", c.Description);
    PutText(o, "icon", c.IconFile);
    if (c.ArchiveRange) o["ownArchive"] = true;
    root["components"].push_back(o);
  }
}

void WriteDevice(const TSetupDescription& d, TOrderedJson& root) {
  TOrderedJson o = TOrderedJson::object();
  PutText(o, "desktopFolder", d.Properties.MainGroupDesktopFolder);
  if (!d.Properties.MainGroupCabinetFiles.empty()) o["cabinets"] = ListJson(d.Properties.MainGroupCabinetFiles);
  for (const auto& g : d.DeviceGroups) {
    TOrderedJson group;
    group["name"] = Utf8(g.Name);
    PutText(group, "desktopFolder", g.DesktopFolder);
    PutText(group, "description", g.Description);
    if (!g.CabinetFiles.empty()) group["cabinets"] = ListJson(g.CabinetFiles);
    if (!g.ReservedText.empty()) group["reserved"]["text"] = Utf8(g.ReservedText);
    o["groups"].push_back(group);
  }
  if (!o.empty()) root["device"] = o;
}

void WriteRecords(const TSetupDescription& d, TOrderedJson& root) {
  for (const auto& s : d.Shortcuts) root["shortcuts"].push_back(ShortcutJson(s));
  for (const auto& r : d.RegChanges) root["registry"].push_back(RegJson(r, true));
  for (const auto& b : d.ProgressBitmaps) root["progressBitmaps"].push_back(Utf8(b));
  WriteBackground(d, root);
  for (const auto& c : d.Conduits) root["conduits"].push_back(ConduitJson(c));
  for (const auto& p : d.DeviceTable) root["devicePlatforms"].push_back(PlatformJson(p));
}

}  // namespace vnt
