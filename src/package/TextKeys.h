// Hashing and equality of texts by the collation of CompareTextIgnoringCase, for sets and
// maps keyed by names or paths without an upper-case copy of each key.
#pragma once

#include <cstddef>
#include <string>

#include "package/VarList.h"

namespace vnt {

struct TIgnoreCaseHash {
  size_t operator()(const std::string& text) const noexcept {
    // FNV-1a over the folded bytes.
    size_t h = sizeof(size_t) == 8 ? size_t(14695981039346656037ull) : size_t(2166136261u);
    const size_t prime = sizeof(size_t) == 8 ? size_t(1099511628211ull) : size_t(16777619u);
    for (char c : text) h = (h ^ static_cast<unsigned char>(FoldCase(c))) * prime;
    return h;
  }
};

struct TIgnoreCaseEqual {
  bool operator()(const std::string& a, const std::string& b) const noexcept {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
  }
};

}  // namespace vnt
