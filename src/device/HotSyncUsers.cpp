#include "device/HotSyncUsers.h"

#include "package/SetupStrings.h"

namespace vnt {

namespace {

constexpr size_t FirstRecord = 13;

// Reads forward through the bytes; every read checks the end first.
struct TCursor {
  std::string_view Bytes;
  size_t Pos = 0;

  bool Byte(uint8_t& b) {
    if (Pos >= Bytes.size()) return false;
    b = uint8_t(Bytes[Pos++]);
    return true;
  }
  bool Text(size_t length, std::string& text) {
    if (length > Bytes.size() - Pos) return false;
    text.assign(Bytes.substr(Pos, length).substr(0, MaxHotSyncNameLength));
    Pos += length;
    return true;
  }
  bool LengthAndText(std::string& text) {
    uint8_t length = 0;
    return Byte(length) && Text(length, text);
  }
};

// One record at the cursor: id, two unused bytes, name, folder. The byte after the folder is
// not part of what is kept.
bool ReadUser(TCursor& c, THotSyncUser& user) {
  if (c.Bytes.size() - c.Pos < 4) return false;
  user.Id = uint16_t(uint8_t(c.Bytes[c.Pos]) | uint8_t(c.Bytes[c.Pos + 1]) << 8);
  c.Pos += 4;
  return c.LengthAndText(user.Name) && c.LengthAndText(user.Folder);
}

// Position after the first 01 80 at or after from; npos when there is none.
size_t AfterSeparator(std::string_view bytes, size_t from) {
  for (size_t k = from; k + 1 < bytes.size(); ++k)
    if (uint8_t(bytes[k]) == 0x01 && uint8_t(bytes[k + 1]) == 0x80) return k + 2;
  return std::string_view::npos;
}

}  // namespace

std::vector<THotSyncUser> ParseHotSyncUsers(std::string_view bytes) {
  std::vector<THotSyncUser> users;
  if (bytes.empty()) return users;
  const size_t count = uint8_t(bytes[0]);
  TCursor c{bytes, FirstRecord};
  while (users.size() < count && c.Pos < bytes.size()) {
    THotSyncUser user;
    if (!ReadUser(c, user)) break;
    users.push_back(std::move(user));
    if (users.size() == count) break;
    c.Pos = AfterSeparator(bytes, c.Pos + 1);  // past the extra byte
    if (c.Pos == std::string_view::npos) break;
  }
  return users;
}

int FindHotSyncUser(const std::vector<THotSyncUser>& users, const std::string& name) {
  for (size_t k = 0; k < users.size(); ++k)
    if (SameTextIgnoringCase(users[k].Name, name)) return int(k);
  return -1;
}

std::string InstallValueName(uint16_t userId) { return "Install" + std::to_string(userId); }

}  // namespace vnt
