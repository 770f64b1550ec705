// Writing the entity sections that JWW drawings and JWS shapes share: the main object
// list and the referenced block definitions, with class tags and the map index.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "archive/outstream.h"
#include "jww/block_index.h"
#include "jww/entity_doc.h"
#include "jww/write_report.h"

namespace plandown {

class EntityStreamWriter {
 public:
  // Ver: the target generation; srcVer: the generation the document was read from.
  EntityStreamWriter(OutStream& out, const TJwEntityDoc& doc, int Ver, int srcVer, WriteReport& rep);
  ~EntityStreamWriter();
  EntityStreamWriter(const EntityStreamWriter&) = delete;
  EntityStreamWriter& operator=(const EntityStreamWriter&) = delete;

  // The main list: `entries` order entries of EntNo (the declared n1).
  void WriteMainList(std::int32_t entries);
  // The referenced definitions among the first `entries` (the declared n2).
  void WriteBlockDefs(std::int32_t entries);

 private:
  void WriteList(const EntityListRef& list, std::size_t entries);
  void WriteObject(const EntityListRef& list, const TEntJwwNo& no);
  std::uint32_t CountObjects(const EntityListRef& list, std::size_t entries) const;
  void BeginObject(int slot);
  void WriteText(std::u16string_view s);
  void WriteName(const String& s);  // in its one-line form

  class RecordBuffer;

  OutStream& out_;
  const TJwEntityDoc& doc_;
  int ver_;
  int srcVer_;
  bool unicode_;
  WriteReport& rep_;
  BlockIndex blocks_;
  std::int64_t mapIndex_ = 1;
  std::array<std::int64_t, 9> slots_{};  // kinds 1..7, 8 = block definition
  std::unique_ptr<RecordBuffer> rec_;    // fixed fields not yet in out_
};

}  // namespace plandown
