#include "vntbuild/assemble/PeResourceTree.h"

#include <algorithm>

#include "vntbuild/assemble/FileFacts.h"
#include "vntbuild/assemble/PeLayout.h"

namespace vnt {

namespace {

constexpr uint32_t Subdirectory = 0x80000000u;

class TTreeReader {
public:
  TTreeReader(const std::string& image, const TPeLayout& layout, size_t root, size_t size)
      : Image(image), Layout(layout), Root(root), Size(size), EntriesLeft(size / 8) {}

  void Directory(uint32_t at, int level, TResourceItem& path) {
    uint32_t count = uint32_t(U16(at + 12)) + U16(at + 14);
    for (uint32_t i = 0; i < count; ++i) {
      if (EntriesLeft-- == 0) Fail("its resource tree loops");
      uint32_t entry = at + 16 + i * 8, name = U32(entry), target = U32(entry + 4);
      TResourceKey key = Key(name);
      if (level == 0) path.Type = key;
      if (level == 1) path.Name = key;
      if (level == 2) path.Language = key.Name.empty() ? key.Id : 0;
      bool deeper = target & Subdirectory;
      if (deeper != (level < 2)) Fail("its resource tree is not three levels deep");
      if (deeper)
        Directory(target & ~Subdirectory, level + 1, path);
      else
        Leaf(target, path);
    }
  }

  std::vector<TResourceItem> Items;

private:
  [[noreturn]] static void Fail(const std::string& what) { throw EBuildError(what); }

  uint32_t U32(uint64_t at) {
    if (at + 4 > Size) Fail("its resource tree points beyond its section");
    return GetU32(Image, Root + size_t(at));
  }
  uint16_t U16(uint64_t at) {
    if (at + 2 > Size) Fail("its resource tree points beyond its section");
    return GetU16(Image, Root + size_t(at));
  }

  TResourceKey Key(uint32_t field) {
    TResourceKey key;
    if (!(field & Subdirectory)) {
      if (field > 0xFFFF) Fail("a resource number is beyond 65535");
      key.Id = uint16_t(field);
      return key;
    }
    uint32_t at = field & ~Subdirectory, length = U16(at);
    if (length == 0) Fail("a resource has an empty name");
    for (uint32_t i = 0; i < length; ++i) key.Name += char16_t(U16(uint64_t(at) + 2 + 2 * i));
    return key;
  }

  void Leaf(uint32_t at, TResourceItem item) {
    uint32_t rva = U32(at), size = U32(at + 4);
    item.CodePage = U32(at + 8);
    auto offset = Layout.Offset(rva, size);
    if (!offset) Fail("a resource's data lies outside the image's sections");
    item.Data = Image.substr(*offset, size);
    Items.push_back(std::move(item));
  }

  const std::string& Image;
  const TPeLayout& Layout;
  size_t Root, Size, EntriesLeft;
};

// Names first, by their UTF-16 units; then numbers.
bool KeyBefore(const TResourceKey& a, const TResourceKey& b) {
  if (a.Name.empty() != b.Name.empty()) return !a.Name.empty();
  return a.Name.empty() ? a.Id < b.Id : a.Name < b.Name;
}

struct TNameNode {
  TResourceKey Name;
  std::vector<const TResourceItem*> Languages;
};
struct TTypeNode {
  TResourceKey Type;
  std::vector<TNameNode> Names;
};

std::vector<TTypeNode> Tree(const std::vector<TResourceItem>& items) {
  std::vector<const TResourceItem*> sorted;
  for (const auto& item : items) sorted.push_back(&item);
  std::stable_sort(sorted.begin(), sorted.end(), [](const TResourceItem* a, const TResourceItem* b) {
    if (!(a->Type == b->Type)) return KeyBefore(a->Type, b->Type);
    if (!(a->Name == b->Name)) return KeyBefore(a->Name, b->Name);
    return a->Language < b->Language;
  });
  std::vector<TTypeNode> types;
  for (const TResourceItem* item : sorted) {
    if (types.empty() || !(types.back().Type == item->Type)) types.push_back({item->Type, {}});
    auto& names = types.back().Names;
    if (names.empty() || !(names.back().Name == item->Name)) names.push_back({item->Name, {}});
    auto& langs = names.back().Languages;
    if (!langs.empty() && langs.back()->Language == item->Language)
      throw EBuildError("two resources of the same type, name and language");
    langs.push_back(item);
  }
  return types;
}

size_t Align(size_t v, size_t to) { return (v + to - 1) / to * to; }

// Writes the section in one pass over places computed beforehand.
class TSectionWriter {
public:
  TSectionWriter(const std::vector<TTypeNode>& types, uint32_t rva) : Types(types), Rva(rva) {
    size_t dirs = DirSize(types.size());
    for (const auto& t : types) {
      dirs += DirSize(t.Names.size());
      for (const auto& n : t.Names) dirs += DirSize(n.Languages.size());
    }
    StringsAt = dirs;
    size_t strings = 0;
    for (const auto& t : types) {
      strings += StringSize(t.Type);
      for (const auto& n : t.Names) strings += StringSize(n.Name);
    }
    EntriesAt = Align(StringsAt + strings, 4);
    size_t leaves = 0;
    for (const auto& t : types)
      for (const auto& n : t.Names) leaves += n.Languages.size();
    DataAt = Align(EntriesAt + 16 * leaves, 8);
  }

  std::string Write() {
    Out.assign(DataAt, '\0');
    size_t nextDir = DirSize(Types.size());
    size_t root = 0;
    Header(root, Types);
    for (size_t i = 0; i < Types.size(); ++i) {
      const TTypeNode& t = Types[i];
      Entry(root, i, t.Type, uint32_t(nextDir) | Subdirectory);
      size_t typeDir = nextDir;
      nextDir += DirSize(t.Names.size());
      Header(typeDir, t.Names);
      for (size_t j = 0; j < t.Names.size(); ++j) {
        const TNameNode& n = t.Names[j];
        Entry(typeDir, j, n.Name, uint32_t(nextDir) | Subdirectory);
        size_t nameDir = nextDir;
        nextDir += DirSize(n.Languages.size());
        Header(nameDir, n.Languages);
        for (size_t k = 0; k < n.Languages.size(); ++k) {
          TResourceKey lang;
          lang.Id = n.Languages[k]->Language;
          Entry(nameDir, k, lang, uint32_t(Leaf(*n.Languages[k])));
        }
      }
    }
    return Out;
  }

private:
  static size_t DirSize(size_t entries) { return 16 + 8 * entries; }
  static size_t StringSize(const TResourceKey& k) { return k.Name.empty() ? 0 : 2 + 2 * k.Name.size(); }

  template <class List>
  void Header(size_t at, const List& list) {
    uint16_t named = 0;
    for (const auto& e : list) named += KeyOf(e).Name.empty() ? 0 : 1;
    PutU16(Out, at + 12, named);
    PutU16(Out, at + 14, uint16_t(list.size() - named));
  }
  static const TResourceKey& KeyOf(const TTypeNode& t) { return t.Type; }
  static const TResourceKey& KeyOf(const TNameNode& n) { return n.Name; }
  static TResourceKey KeyOf(const TResourceItem* item) { return TResourceKey{item->Language, {}}; }

  void Entry(size_t dir, size_t index, const TResourceKey& key, uint32_t target) {
    size_t at = dir + 16 + 8 * index;
    PutU32(Out, at, key.Name.empty() ? key.Id : uint32_t(String(key.Name)) | Subdirectory);
    PutU32(Out, at + 4, target);
  }

  size_t String(const std::u16string& name) {
    size_t at = StringsAt;
    PutU16(Out, at, uint16_t(name.size()));
    for (size_t i = 0; i < name.size(); ++i) PutU16(Out, at + 2 + 2 * i, uint16_t(name[i]));
    StringsAt += StringSize(TResourceKey{0, name});
    return at;
  }

  size_t Leaf(const TResourceItem& item) {
    size_t at = EntriesAt;
    EntriesAt += 16;
    size_t data = Out.size();
    PutU32(Out, at, uint32_t(Rva + data));
    PutU32(Out, at + 4, uint32_t(item.Data.size()));
    PutU32(Out, at + 8, item.CodePage);
    Out += item.Data;
    Out.resize(Align(Out.size(), 8), '\0');
    return at;
  }

  const std::vector<TTypeNode>& Types;
  uint32_t Rva;
  size_t StringsAt = 0, EntriesAt = 0, DataAt = 0;
  std::string Out;
};

}  // namespace

std::vector<TResourceItem> ReadResourceItems(const std::string& image) {
  TPeLayout layout = ReadPeLayout(image);
  uint32_t rva = GetU32(image, layout.DirectoryEntry(ResourceDirectory));
  if (rva == 0) return {};
  for (const auto& s : layout.Sections) {
    if (rva < s.VirtualAddress || rva - s.VirtualAddress >= s.RawSize) continue;
    uint32_t inside = rva - s.VirtualAddress;
    TTreeReader reader(image, layout, s.RawOffset + inside, s.RawSize - inside);
    TResourceItem path;
    reader.Directory(0, 0, path);
    return std::move(reader.Items);
  }
  throw EBuildError("its resource directory lies outside its sections");
}

std::string LayOutResourceSection(const std::vector<TResourceItem>& items, uint32_t rva) {
  std::vector<TTypeNode> types = Tree(items);
  return TSectionWriter(types, rva).Write();
}

}  // namespace vnt
