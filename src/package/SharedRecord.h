// A record that many lists name at once: the items of an installation, its journal and its
// uninstall record hold one copy of a file's description between them, not one each. The
// record held never changes; Edit gives its holder a copy of its own to change. An empty
// holder reads as a default record.
#pragma once

#include <memory>
#include <utility>

namespace vnt {

template <class T>
class TSharedRecord {
public:
  TSharedRecord() = default;
  TSharedRecord(T record) : Held(std::make_shared<const T>(std::move(record))) {}

  const T& operator*() const { return Held ? *Held : Default(); }
  const T* operator->() const { return &**this; }
  // The holder's own copy, to change; the others keep the record as it was.
  T& Edit() {
    auto own = std::make_shared<T>(**this);
    T& record = *own;
    Held = std::move(own);
    return record;
  }
  bool operator==(const TSharedRecord& other) const { return **this == *other; }

private:
  static const T& Default() {
    static const T none{};
    return none;
  }

  std::shared_ptr<const T> Held;
};

}  // namespace vnt
