// Look-up of block definitions by number: the first definition in list order wins, as
// inserts always resolve to it.
#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "jww/types.h"

namespace plandown {

class BlockIndex {
 public:
  explicit BlockIndex(const std::vector<TEntJwwBlockDef>& defs) : defs_(defs) {
    first_.reserve(defs.size());
    for (std::size_t i = 0; i < defs.size(); ++i)
      first_.try_emplace(defs[i].nNumber, static_cast<std::int32_t>(i));
  }
  // Index of the first definition with that number, -1 when there is none.
  std::int32_t Find(std::uint32_t number) const {
    auto it = first_.find(number);
    return it == first_.end() ? -1 : it->second;
  }
  const TEntJwwBlockDef* FindDef(std::uint32_t number) const {
    std::int32_t i = Find(number);
    return i < 0 ? nullptr : &defs_[static_cast<std::size_t>(i)];
  }

 private:
  const std::vector<TEntJwwBlockDef>& defs_;
  std::unordered_map<std::uint32_t, std::int32_t> first_;
};

// The number written for a definition or insert numbered n, given the first definition
// with that number (or none): its position among the written definitions when it is
// written, n itself when it is not, and for a number no definition carries a number no
// written definition carries either, so that a dangling insert stays dangling.
inline std::uint32_t RenumberedBlock(const TEntJwwBlockDef* first, std::uint32_t n, std::int32_t written) {
  if (!first) return static_cast<std::uint32_t>(written);
  return first->ref_flag ? static_cast<std::uint32_t>(first->ref_no) : n;
}

}  // namespace plandown
