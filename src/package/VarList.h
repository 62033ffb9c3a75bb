// The variable table: name/value pairs kept sorted by name, ignoring case.
#pragma once

#include <string>
#include <vector>

namespace vnt {

// One collation serves lookups and sort order: ASCII letters fold to upper case, all other
// bytes compare by value.
inline char FoldCase(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }
int CompareTextIgnoringCase(const std::string& a, const std::string& b);
std::string UpperCase(std::string text);

struct TVariableItem {
  std::string Name, Value;
  std::string UpperName;  // kept for the expansion's search
  bool operator==(const TVariableItem&) const = default;
};

class TVariableList {
public:
  // Index of the name, or -1.
  int IndexOf(const std::string& name) const;
  void Set(const std::string& name, const std::string& value);
  // "name=value"; a text without "=" is both name and value.
  void AddLine(const std::string& line);
  std::string Line(int i) const;
  TVariableItem Get(int i) const;
  int Count() const { return int(Items.size()); }
  void Clear() {
    Items.clear();
    BareNames = 0;
  }
  const std::vector<TVariableItem>& All() const { return Items; }
  // Whether some name is stored without percent signs: such a name is replaced wherever its
  // bare text occurs, so texts without "%" still need a look.
  bool HasBareNames() const { return BareNames > 0; }

private:
  std::vector<TVariableItem> Items;
  int BareNames = 0;
};

}  // namespace vnt
