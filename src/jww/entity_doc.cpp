#include "jww/entity_doc.h"

#include <cmath>
#include <unordered_map>

#include "jww/block_index.h"
#include "util/large_arrays.h"

namespace plandown {

EntityListRef MainList(TJwEntityDoc& d) {
  return EntityListRef{d.EntNo,   d.EntLine,  d.EntLineN,  d.EntEnko,  d.EntEnkoN,
                       d.EntTen,  d.EntTenN,  d.EntMoji,   d.EntMojiN, d.EntSunpo,
                       d.EntSunpoN, d.EntSolid, d.EntSolidN, d.EntBlock, d.EntBlockN};
}

EntityListRef MemberList(TEntJwwBlockDef& d) {
  return EntityListRef{d.mNo,   d.mLine,  d.mLineN,  d.mEnko,  d.mEnkoN,
                       d.mTen,  d.mTenN,  d.mMoji,   d.mMojiN, d.mSunpo,
                       d.mSunpoN, d.mSolid, d.mSolidN, d.mBlock, d.mBlockN};
}

void TJwEntityDoc::ClearEntities() {
  FileOutOpt = 0;
  EntNo = {};
  EntLine = {};
  EntEnko = {};
  EntTen = {};
  EntMoji = {};
  EntSunpo = {};
  EntSolid = {};
  EntBlock = {};
  EntBlockDef = {};
  EntBlockTree = {};
  EntLineN = EntEnkoN = EntTenN = EntMojiN = EntSunpoN = EntSolidN = EntBlockN = 0;
  EntBlockDefN = EntBlockTreeN = EntBlockNum = 0;
  BindImageInit();
}

void TJwEntityDoc::BindImageInit() {
  BindImage.clear();
  BindImageN = 0;
}

void TJwEntityDoc::SetFileOutOption(int n) { FileOutOpt = (n >= 0 && n < 64) ? n : 0; }

std::uint32_t TJwEntityDoc::ChangeBlockNo(std::uint32_t n) const {
  for (const TEntJwwBlockDef& d : EntBlockDef)
    if (d.nNumber == n) return RenumberedBlock(&d, n, EntBlockNum);
  return RenumberedBlock(nullptr, n, EntBlockNum);
}

namespace {
// cos and sin of an insert's angle; most inserts are not turned, and for them the values
// are exact without a call (sin keeps the sign of a zero).
void CosSin(double angle, double& c, double& s) {
  if (angle == 0) {
    c = 1;
    s = angle;
  } else {
    c = std::cos(angle);
    s = std::sin(angle);
  }
}
}  // namespace

void TJwEntityDoc::MakeBlockTree() {
  EntBlockTree.clear();
  EntBlockTreeN = 0;
  for (TEntJwwBlockDef& d : EntBlockDef) {
    d.ref_flag = false;
    d.ref_no = -1;
  }
  if (EntBlockN == 0) return;

  const BlockIndex index(EntBlockDef);
  std::size_t nameUnits = 0;
  auto place = [&](TEntJwwBlockTree& node) {
    node.defno = index.Find(node.no);
    if (node.defno >= 0) node.name = EntBlockDef[node.defno].strName;
    nameUnits += node.name.size();
  };

  ReserveLargeArray(EntBlockTree, static_cast<std::size_t>(EntBlockN));
  for (std::int32_t j = 0; j < EntBlockN; ++j) {
    const TEntJwwBlock& b = EntBlock[j];
    TEntJwwBlockTree node;
    node.att = b.att;
    node.level = 0;
    node.parent = -1;
    node.no = b.nNumber;
    node.x = b.DPKijunTen_x;
    node.y = b.DPKijunTen_y;
    double c, s;
    CosSin(b.radKaitenKaku, c, s);
    node.r1 = c * b.dBairitsuX;
    node.r2 = -s * b.dBairitsuY;
    node.r3 = s * b.dBairitsuX;
    node.r4 = c * b.dBairitsuY;
    place(node);
    EntBlockTree.push_back(std::move(node));
  }

  // Breadth-first expansion. A definition that already occurs among a node's ancestors is
  // not expanded again (it would never end), and the tree stops growing at its cap.
  for (std::size_t k = 0; k < EntBlockTree.size(); ++k) {
    const std::int32_t defno = EntBlockTree[k].defno;
    if (defno < 0) continue;
    const TEntJwwBlockDef& def = EntBlockDef[defno];
    if (def.mBlockN <= 0) continue;
    bool cycle = false;
    for (std::int32_t a = EntBlockTree[k].parent; a >= 0; a = EntBlockTree[a].parent)
      if (EntBlockTree[a].defno == defno) {
        cycle = true;
        break;
      }
    if (cycle) continue;
    const TEntJwwBlockTree parent = EntBlockTree[k];
    for (std::int32_t m = 0; m < def.mBlockN; ++m) {
      if (EntBlockTree.size() >= static_cast<std::size_t>(kMaxBlockTreeNodes) || nameUnits >= kMaxBlockTreeNameUnits) break;
      const TEntJwwBlock& b = def.mBlock[m];
      TEntJwwBlockTree node;
      node.att = def.att;
      node.level = parent.level + 1;
      node.parent = static_cast<std::int32_t>(k);
      node.no = b.nNumber;
      const double gx = b.DPKijunTen_x, gy = b.DPKijunTen_y;
      node.x = parent.x + parent.r1 * gx + parent.r2 * gy;
      node.y = parent.y + parent.r3 * gx + parent.r4 * gy;
      double c, s;
      CosSin(b.radKaitenKaku, c, s);
      const double m11 = c * b.dBairitsuX, m12 = -s * b.dBairitsuY;
      const double m21 = s * b.dBairitsuX, m22 = c * b.dBairitsuY;
      node.r1 = parent.r1 * m11 + parent.r2 * m21;
      node.r2 = parent.r1 * m12 + parent.r2 * m22;
      node.r3 = parent.r3 * m11 + parent.r4 * m21;
      node.r4 = parent.r3 * m12 + parent.r4 * m22;
      place(node);
      EntBlockTree.push_back(std::move(node));
    }
  }
  EntBlockTreeN = static_cast<std::int32_t>(EntBlockTree.size());

  // Reachability, independent of the tree's cap: every definition some insert needs.
  std::vector<std::int32_t> work;
  auto reach = [&](std::uint32_t number) {
    std::int32_t d = index.Find(number);
    if (d >= 0 && !EntBlockDef[d].ref_flag) {
      EntBlockDef[d].ref_flag = true;
      work.push_back(d);
    }
  };
  for (std::int32_t j = 0; j < EntBlockN; ++j) reach(EntBlock[j].nNumber);
  while (!work.empty()) {
    const TEntJwwBlockDef& def = EntBlockDef[work.back()];
    work.pop_back();
    for (std::int32_t m = 0; m < def.mBlockN; ++m) reach(def.mBlock[m].nNumber);
  }

  std::int32_t counter = 0;
  for (TEntJwwBlockDef& d : EntBlockDef)
    if (d.ref_flag) d.ref_no = counter++;
  EntBlockNum = counter;
}

}  // namespace plandown
