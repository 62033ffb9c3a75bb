#include "vntbuild/assemble/SetupResources.h"

#include <algorithm>
#include <set>

#include "vntbuild/assemble/FileFacts.h"
#include "vntbuild/assemble/PeLayout.h"
#include "vntbuild/assemble/PeResourceWriter.h"

namespace vnt {

namespace {

std::set<uint16_t> IconsOfGroup(const std::string& group) {
  std::set<uint16_t> ids;
  if (group.size() < 6) return ids;
  size_t count = GetU16(group, 4);
  for (size_t i = 0; i < count && 6 + i * 14 + 14 <= group.size(); ++i) ids.insert(GetU16(group, 6 + i * 14 + 12));
  return ids;
}

bool IsType(const TResourceItem& item, uint16_t type) { return item.Type.Name.empty() && item.Type.Id == type; }

TResourceKey Number(uint16_t id) { return TResourceKey{id, {}}; }

void ReplaceIcon(std::vector<TResourceItem>& items, const std::vector<TIconPicture>& pictures, uint16_t language) {
  auto first = std::find_if(items.begin(), items.end(), [](const auto& i) { return IsType(i, IconGroupResourceType); });
  TResourceKey groupName;
  groupName.Name = u"MAINICON";
  std::set<uint16_t> dropped;
  if (first != items.end()) {
    groupName = first->Name;
    language = first->Language;
    for (const auto& i : items)
      if (IsType(i, IconGroupResourceType) && i.Name == groupName) dropped.merge(IconsOfGroup(i.Data));
  }
  auto isOld = [&](const TResourceItem& i) { return IsType(i, IconGroupResourceType) && i.Name == groupName; };
  items.erase(std::remove_if(items.begin(), items.end(), isOld), items.end());
  // Icons another group still lists stay.
  for (const auto& i : items)
    if (IsType(i, IconGroupResourceType))
      for (uint16_t id : IconsOfGroup(i.Data)) dropped.erase(id);
  auto isDropped = [&](const TResourceItem& i) {
    return IsType(i, IconResourceType) && i.Name.Name.empty() && dropped.count(i.Name.Id);
  };
  items.erase(std::remove_if(items.begin(), items.end(), isDropped), items.end());
  uint32_t next = 1;
  for (const auto& i : items)
    if (IsType(i, IconResourceType) && i.Name.Name.empty()) next = std::max<uint32_t>(next, i.Name.Id + 1u);
  if (next + pictures.size() > 0x10000) throw EBuildError("the stub has no icon numbers left");
  for (size_t k = 0; k < pictures.size(); ++k)
    items.push_back({Number(IconResourceType), Number(uint16_t(next + k)), language, 0, pictures[k].Data});
  items.push_back({Number(IconGroupResourceType), groupName, language, 0, IconGroupData(pictures, uint16_t(next))});
}

// The icon file of a group: its pictures that the image holds, in the group's order.
std::string IconFileOfGroup(const TResourceItem& group, const std::vector<TResourceItem>& items) {
  std::vector<TIconPicture> pictures;
  for (size_t i = 0; group.Data.size() >= 6 && i < GetU16(group.Data, 4) && 6 + i * 14 + 14 <= group.Data.size(); ++i) {
    size_t at = 6 + i * 14;
    uint16_t id = GetU16(group.Data, at + 12);
    auto picture = std::find_if(items.begin(), items.end(), [&](const TResourceItem& item) {
      return IsType(item, IconResourceType) && item.Name.Name.empty() && item.Name.Id == id;
    });
    if (picture == items.end()) continue;
    TIconPicture p;
    p.Width = uint8_t(group.Data[at]), p.Height = uint8_t(group.Data[at + 1]), p.Colors = uint8_t(group.Data[at + 2]);
    p.Planes = GetU16(group.Data, at + 4), p.BitCount = GetU16(group.Data, at + 6);
    p.Data = picture->Data;
    pictures.push_back(std::move(p));
  }
  return pictures.empty() ? std::string() : IconFileData(pictures);
}

}  // namespace

TSetupOwnResources ReadSetupOwnResources(const std::string& image) {
  TSetupOwnResources out;
  std::vector<TResourceItem> items;
  try {
    items = ReadResourceItems(image);
  } catch (const EBuildError&) {
    return out;
  }
  for (const auto& item : items) {
    if (!out.Version && IsType(item, VersionResourceType)) out.Version = ReadVersionResource(item.Data);
    if (out.IconFile.empty() && IsType(item, IconGroupResourceType)) out.IconFile = IconFileOfGroup(item, items);
  }
  return out;
}

std::vector<TResourceItem> WithSetupResources(std::vector<TResourceItem> items, const TVersionInfo& info,
                                              const std::vector<TIconPicture>& pictures) {
  items.erase(std::remove_if(items.begin(), items.end(), [](const auto& i) { return IsType(i, VersionResourceType); }),
              items.end());
  items.push_back({Number(VersionResourceType), Number(1), info.Language, 0, VersionResourceData(info)});
  if (!pictures.empty()) ReplaceIcon(items, pictures, info.Language);
  return items;
}

std::string SetupStubImage(const std::string& stub, const TVersionInfo& info, const std::vector<TIconPicture>& pictures) {
  return WithResources(stub, WithSetupResources(ReadResourceItems(stub), info, pictures));
}

}  // namespace vnt
