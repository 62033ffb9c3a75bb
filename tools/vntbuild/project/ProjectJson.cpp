#include "vntbuild/project/ProjectJson.h"

#include <algorithm>
#include <cctype>

#include "vntbuild/project/CodePage.h"
#include "vntbuild/project/ProjectError.h"

namespace vnt {

namespace {

// Line and column (both from 1) of the character before a 1-based byte position.
std::string LineColumn(const std::string& text, size_t position) {
  size_t end = std::min(position ? position - 1 : 0, text.size());
  size_t line = 1, column = 1;
  for (size_t i = 0; i < end; ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      ++column;
    }
  }
  return std::to_string(line) + ":" + std::to_string(column);
}

std::string TypeName(const TJson& j) {
  if (j.is_string()) return "a text";
  if (j.is_boolean()) return "true or false";
  if (j.is_number()) return "a number";
  if (j.is_array()) return "an array";
  if (j.is_object()) return "an object";
  return "null";
}

std::optional<int64_t> ParseInteger(const std::string& text) {
  if (text.empty()) return std::nullopt;
  size_t pos = 0;
  bool negative = text[0] == '-';
  if (negative) pos = 1;
  int base = 10;
  if (text.compare(pos, 2, "0x") == 0 || text.compare(pos, 2, "0X") == 0) {
    base = 16;
    pos += 2;
  }
  if (pos >= text.size() || text.size() - pos > 16) return std::nullopt;
  int64_t value = 0;
  for (; pos < text.size(); ++pos) {
    int digit = std::isdigit(static_cast<unsigned char>(text[pos])) ? text[pos] - '0'
                : base == 16 && std::isxdigit(static_cast<unsigned char>(text[pos]))
                    ? std::tolower(static_cast<unsigned char>(text[pos])) - 'a' + 10
                    : -1;
    if (digit < 0) return std::nullopt;
    value = value * base + digit;
  }
  return negative ? -value : value;
}

}  // namespace

TJson ParseProjectJson(const std::string& text, const std::string& fileName) {
  // A key given twice is nearly always a mistake; the library would silently keep the last.
  std::vector<std::vector<std::string>> keys;
  auto watch = [&](int, TJson::parse_event_t event, TJson& parsed) {
    if (event == TJson::parse_event_t::object_start) keys.emplace_back();
    if (event == TJson::parse_event_t::object_end) keys.pop_back();
    if (event == TJson::parse_event_t::key) {
      std::string key = parsed.get<std::string>();
      if (std::find(keys.back().begin(), keys.back().end(), key) != keys.back().end())
        throw EProjectError(fileName + ": the key \"" + key + "\" is given twice in one object");
      keys.back().push_back(key);
    }
    return true;
  };
  try {
    return TJson::parse(text, watch, true, true);
  } catch (const TJson::parse_error& e) {
    std::string what = e.what();
    // nlohmann's text repeats its own position; keep the part after it.
    size_t cut = what.find(": syntax error ");
    if (cut != std::string::npos) what = what.substr(cut + 2);
    throw EProjectError(fileName + ":" + LineColumn(text, e.byte) + ": " + what);
  } catch (const TJson::out_of_range& e) {
    // A number beyond what a double holds (1e999): the library names it, but not where.
    std::string what = e.what();
    size_t open = what.find('\''), close = what.rfind('\'');
    std::string number = open < close ? what.substr(open + 1, close - open - 1) : std::string();
    size_t at = number.empty() ? std::string::npos : text.find(number);
    std::string where = at == std::string::npos ? "" : ":" + LineColumn(text, at + 1);
    throw EProjectError(fileName + where + ": the number " + number + " is too large");
  }
}

std::string ChildPath(const std::string& path, const std::string& key) { return path + "/" + key; }

std::string TNode::Where() const {
  std::string where = Ctx.FileName + ": " + (Path.empty() ? "/" : Path);
  return Ctx.IncludedFrom.empty() ? where : where + " (included at " + Ctx.IncludedFrom + ")";
}

void TNode::Fail(const std::string& what) const { throw EProjectError(Where() + ": " + what); }

std::string TNode::Text() const {
  if (!J.is_string()) Fail("expected a text, found " + TypeName(J));
  std::string what;
  auto bytes = Utf8ToCodePage(J.get<std::string>(), what, Ctx.CodePage);
  if (!bytes) Fail(what);
  if (bytes->find('\0') != std::string::npos) Fail("a text cannot hold a zero character");
  return *bytes;
}

std::string TNode::Utf8() const {
  if (!J.is_string()) Fail("expected a text, found " + TypeName(J));
  std::string text = J.get<std::string>();
  if (text.find('\0') != std::string::npos) Fail("a text cannot hold a zero character");
  return text;
}

int64_t TNode::Integer(int64_t min, int64_t max) const {
  std::optional<int64_t> value;
  if (J.is_number_integer()) value = J.get<int64_t>();
  else if (J.is_string()) value = ParseInteger(J.get<std::string>());
  else if (J.is_number()) Fail("expected a whole number");
  if (!value) Fail("expected a number, found " + TypeName(J));
  if (*value < min || *value > max)
    Fail("expected a number from " + std::to_string(min) + " to " + std::to_string(max));
  return *value;
}

uint8_t TNode::Flag() const {
  if (J.is_boolean()) return J.get<bool>() ? 1 : 0;
  if (!J.is_number_integer()) Fail("expected true or false (or a number from 0 to 255)");
  return uint8_t(Integer(0, 255));
}

int64_t TNode::Code(const TNameTable& names, int64_t min, int64_t max) const {
  if (J.is_string()) {
    if (auto code = CodeOfName(names, J.get<std::string>())) return *code;
    if (!ParseInteger(J.get<std::string>())) Fail("expected one of: " + NameList(names) + " (or a number)");
  } else if (!J.is_number_integer()) {
    Fail("expected one of: " + NameList(names) + " (or a number)");
  }
  return Integer(min, max);
}

int32_t TNode::Color() const {
  if (J.is_string()) {
    std::string text = J.get<std::string>();
    if (auto code = CodeOfName(SystemColorNames(), text)) return int32_t(uint32_t(*code));
    if (text.size() == 7 && text[0] == '#') {
      auto rgb = ParseInteger("0x" + text.substr(1));
      if (rgb) return int32_t(((*rgb >> 16) & 0xFF) | (*rgb & 0xFF00) | ((*rgb & 0xFF) << 16));
    }
    if (!ParseInteger(text)) Fail("expected a colour: a system colour name, \"#RRGGBB\" or a number");
  } else if (!J.is_number_integer()) {
    Fail("expected a colour: a system colour name, \"#RRGGBB\" or a number");
  }
  return int32_t(uint32_t(Integer(INT32_MIN, UINT32_MAX)));
}

std::string TNode::List() const {
  if (!J.is_array()) return Text();
  if (Ctx.ArrayLists) Ctx.ArrayLists->insert(Path);
  std::string list;
  for (size_t i = 0; i < J.size(); ++i) {
    std::string item = (*this)[i].Text();
    if (item.empty() || item.find('|') != std::string::npos) (*this)[i].Fail("expected a name without \"|\"");
    list += (i ? "|" : "") + item;
  }
  return list;
}

TFontRecord TNode::Font(const TFontRecord& base) const {
  TObject o(*this);
  TFontRecord f = base;
  f.Name = o.Text("face", base.Name);
  if (f.Name.size() > FixedFieldLength) o.Need("face").Fail("a face name holds at most 1000 characters");
  f.Size = int32_t(o.Integer("size", base.Size, INT32_MIN, INT32_MAX));
  if (auto c = o.Get("color")) f.Color = c->Color();
  f.Style = uint8_t(o.Integer("style", base.Style, 0, 255));
  const char* const bits[] = {"bold", "italic", "underline", "strikeOut"};
  for (int bit = 0; bit < 4; ++bit)
    if (auto b = o.Get(bits[bit])) f.Style = uint8_t(b->Flag() ? f.Style | (1 << bit) : f.Style & ~(1 << bit));
  f.Charset = uint8_t(o.Integer("charset", base.Charset, 0, 255));
  o.Done();
  return f;
}

std::filesystem::path TNode::FilePath() const {
  std::string text = Text();
  if (text.empty()) Fail("expected a file name");
  const std::string& utf8 = J.get<std::string>();
  std::filesystem::path p(std::u8string(utf8.begin(), utf8.end()));
  return p.is_absolute() ? p : Ctx.BaseDir / p;
}

size_t TNode::Size() const {
  if (!J.is_array()) Fail("expected an array, found " + TypeName(J));
  return J.size();
}

TNode TNode::operator[](size_t i) const { return TNode(J.at(i), Path + "/" + std::to_string(i), Ctx).Resolved(); }

TObject::TObject(const TNode& node) : Node(node) {
  if (!node.Json().is_object()) node.Fail("expected an object, found " + TypeName(node.Json()));
}

std::optional<TNode> TObject::Get(const std::string& key) {
  Known.push_back(key);
  auto it = Node.Json().find(key);
  if (it == Node.Json().end()) return std::nullopt;
  return TNode(*it, ChildPath(Node.JsonPath(), key), Node.Context()).Resolved();
}

TNode TObject::Need(const std::string& key) {
  auto node = Get(key);
  if (node) return *node;
  for (const auto& [given, value] : Node.Json().items())
    if (EditDistance(given, key) <= std::max<size_t>(2, key.size() / 3))
      Node.Fail("unknown key \"" + given + "\" (did you mean \"" + key + "\"?)");
  Node.Fail("the key \"" + key + "\" is required");
}

std::string TObject::Text(const std::string& key, const std::string& def) {
  auto node = Get(key);
  return node ? node->Text() : def;
}

int64_t TObject::Integer(const std::string& key, int64_t def, int64_t min, int64_t max) {
  auto node = Get(key);
  return node ? node->Integer(min, max) : def;
}

uint8_t TObject::Flag(const std::string& key, uint8_t def) {
  auto node = Get(key);
  return node ? node->Flag() : def;
}

int64_t TObject::Code(const std::string& key, const TNameTable& names, int64_t def, int64_t min, int64_t max) {
  auto node = Get(key);
  return node ? node->Code(names, min, max) : def;
}

std::string TObject::List(const std::string& key) {
  auto node = Get(key);
  return node ? node->List() : "";
}

void TObject::Done() const {
  for (const auto& [key, value] : Node.Json().items()) {
    if (std::find(Known.begin(), Known.end(), key) != Known.end()) continue;
    Node.Fail("unknown key \"" + key + "\"" + DidYouMean(key, Known));
  }
}

}  // namespace vnt
