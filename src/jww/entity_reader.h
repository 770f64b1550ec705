// Reading the entity sections that JWW drawings and JWS shapes share: the main entity
// list and the block definitions. Raises ArchiveError; the document's FileIn catches it.
#pragma once
#include <array>
#include <cstdint>

#include "archive/instream.h"
#include "jww/entity_doc.h"

namespace plandown {

class EntityStreamReader {
 public:
  EntityStreamReader(InStream& in, int ver) : in_(in), ver_(ver) {}

  // Sections A and B: the main list and the definitions. n1 and n2 take the declared
  // counts as soon as they are read, so they hold them even when the read fails later.
  void ReadSections(TJwEntityDoc& doc, std::int32_t& n1, std::int32_t& n2);

  // Section A: the count (guarded), then `declared` objects.
  std::uint32_t ReadMainCount();
  void ReadMainList(TJwEntityDoc& doc, std::uint32_t declared);
  // Section B: the count (not guarded), then `declared` definitions.
  std::uint32_t ReadBlockDefCount();
  void ReadBlockDefs(TJwEntityDoc& doc, std::uint32_t declared);

 private:
  void ReserveMainList(EntityListRef list, std::uint32_t declared);
  void ReadList(EntityListRef list, std::uint32_t declared);
  bool ReadEntity(int kind, EntityListRef& list);
  void ReadTenExtra(TEntJwwTen& t);
  void TakeMembers(TEntJwwBlockDef& def);  // moves the lists of members_ into def
  // The bytes of a fixed part of the file's form (attribute block + payload), or of n
  // bytes: in place in the stream, or after a short read in the work buffer with the
  // missing bytes 0. nullptr when `guarded` and no byte was delivered. Valid until the
  // next read.
  const std::uint8_t* Fixed(int payload, bool guarded);
  const std::uint8_t* Take(std::size_t n, bool guarded);
  std::size_t FixedSize(int payload) const;

  InStream& in_;
  int ver_;
  std::int64_t mapIndex_ = 1;
  std::array<std::int64_t, kEntityKinds + 1> slots_{};
  std::array<std::uint8_t, 128> work_{};
  TEntJwwBlockDef members_;  // the member lists of the definition being read
};

// A declared count as the document keeps it (n1, n2, N): counts beyond the signed range
// stay the largest signed count instead of turning negative, which would make the writer
// drop everything that was read.
std::int32_t DeclaredCount(std::uint32_t declared);

// Entries a declared count may allocate: never more than the bytes left could hold
// (every object takes at least two bytes), whatever the file claims.
std::size_t BoundedCount(std::uint64_t declared, std::uint64_t bytesLeft);

}  // namespace plandown
