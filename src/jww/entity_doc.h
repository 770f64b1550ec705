// The entity lists, block definitions, block tree and bound-image list that JWW drawings
// and JWS shapes share, with the operations that act on them alone.
#pragma once
#include <cstdint>
#include <vector>

#include "jww/types.h"

namespace plandown {

class TJwEntityDoc {
 public:
  std::vector<TEntJwwNo> EntNo;
  std::vector<TEntJwwLine> EntLine;
  std::int32_t EntLineN = 0;
  std::vector<TEntJwwEnko> EntEnko;
  std::int32_t EntEnkoN = 0;
  std::vector<TEntJwwTen> EntTen;
  std::int32_t EntTenN = 0;
  std::vector<TEntJwwMoji> EntMoji;
  std::int32_t EntMojiN = 0;
  std::vector<TEntJwwSunpo> EntSunpo;
  std::int32_t EntSunpoN = 0;
  std::vector<TEntJwwSolid> EntSolid;
  std::int32_t EntSolidN = 0;
  std::vector<TEntJwwBlock> EntBlock;
  std::int32_t EntBlockN = 0;
  std::vector<TEntJwwBlockDef> EntBlockDef;
  std::int32_t EntBlockDefN = 0;
  std::vector<TEntJwwBlockTree> EntBlockTree;
  std::int32_t EntBlockTreeN = 0;
  std::int32_t EntBlockNum = 0;

  String BindImageFolder;
  std::vector<TBindImageType> BindImage;
  std::int32_t BindImageN = 0;
  bool BindImageExp = false;  // extract images into BindImageFolder while reading
  bool BindImageExr = false;  // list images without extracting them

  std::int32_t FileOutOpt = 0;

  // Rebuilds the block tree, ref_flag/ref_no and EntBlockNum from the inserts.
  void MakeBlockTree();
  // The number written for a definition or an insert's nNumber.
  std::uint32_t ChangeBlockNo(std::uint32_t n) const;
  // FileOutOpt := n when 0 <= n < 64, else 0.
  void SetFileOutOption(int n);
  // Empties the bound-image list.
  void BindImageInit();
  // Bound-image files in BindImageFolder (images/bound_images.cpp).
  void BindImageExplode();                 // inflates the extracted ".gz" images next to themselves
  void BindImageCopy(const String& dst);   // copies the uncompressed images into folder dst
  void BindImageDeleteGzFile();
  void BindImageDeleteNonGzFile();

  // Upper bounds on block-tree nodes and on the name characters the nodes copy, so that a
  // small file of nested inserts under long names cannot take gigabytes; the tree stops
  // growing at either. The reachability marks do not depend on them.
  static constexpr std::int32_t kMaxBlockTreeNodes = 1 << 20;
  static constexpr std::size_t kMaxBlockTreeNameUnits = std::size_t{1} << 24;

 protected:
  TJwEntityDoc() = default;
  ~TJwEntityDoc() = default;
  // Empties every entity list, definition, tree and the image list; keeps the image settings.
  void ClearEntities();
};

// A view of one entity list (the main list, or the members of one definition), so that
// one reader and one writer serve both.
struct EntityListRef {
  std::vector<TEntJwwNo>& order;
  std::vector<TEntJwwLine>& line;
  std::int32_t& lineN;
  std::vector<TEntJwwEnko>& enko;
  std::int32_t& enkoN;
  std::vector<TEntJwwTen>& ten;
  std::int32_t& tenN;
  std::vector<TEntJwwMoji>& moji;
  std::int32_t& mojiN;
  std::vector<TEntJwwSunpo>& sunpo;
  std::int32_t& sunpoN;
  std::vector<TEntJwwSolid>& solid;
  std::int32_t& solidN;
  std::vector<TEntJwwBlock>& block;
  std::int32_t& blockN;

  // Count of kind k (1..7); 0 for other codes.
  std::int32_t CountOf(std::int32_t k) const {
    switch (k) {
      case kKindLine: return lineN;
      case kKindEnko: return enkoN;
      case kKindTen: return tenN;
      case kKindMoji: return mojiN;
      case kKindSunpo: return sunpoN;
      case kKindSolid: return solidN;
      case kKindBlock: return blockN;
      default: return 0;
    }
  }
};

EntityListRef MainList(TJwEntityDoc& doc);
EntityListRef MemberList(TEntJwwBlockDef& def);
// Read-only views share the same shape.
inline EntityListRef MainList(const TJwEntityDoc& doc) { return MainList(const_cast<TJwEntityDoc&>(doc)); }
inline EntityListRef MemberList(const TEntJwwBlockDef& def) { return MemberList(const_cast<TEntJwwBlockDef&>(def)); }

}  // namespace plandown
