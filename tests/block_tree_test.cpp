#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "jww/jww_data.h"
#include "support/drawing_builder.h"

namespace plandown {
namespace {

using testing::AddDefinition;
using testing::Insert;
using testing::ListBuilder;

struct Doc {
  TJwwData d;
  ListBuilder main{MainList(d)};
  TEntJwwBlockDef& Def(std::uint32_t n) { return AddDefinition(d, n, u"d" + FromUtf8(std::to_string(n))); }
};

TEST(BlockTree, NestedInsertsAndNumbering) {
  Doc t;
  t.main.Add(Insert(5));
  t.main.Add(Insert(5));
  t.Def(7);
  t.Def(9);
  ListBuilder(MemberList(t.Def(5))).Add(Insert(7));
  t.d.MakeBlockTree();
  ASSERT_EQ(t.d.EntBlockTreeN, 4);
  EXPECT_EQ(t.d.EntBlockTree[0].level, 0);
  EXPECT_EQ(t.d.EntBlockTree[2].level, 1);
  EXPECT_EQ(t.d.EntBlockTree[2].parent, 0);
  EXPECT_EQ(t.d.EntBlockTree[3].parent, 1);
  EXPECT_EQ(t.d.EntBlockTree[3].name, u"d7");
  // List order 7, 9, 5 with 7 and 5 reached.
  EXPECT_EQ(t.d.EntBlockDef[0].ref_no, 0);
  EXPECT_EQ(t.d.EntBlockDef[1].ref_no, -1);
  EXPECT_EQ(t.d.EntBlockDef[2].ref_no, 1);
  EXPECT_EQ(t.d.EntBlockNum, 2);
  EXPECT_EQ(t.d.ChangeBlockNo(7), 0u);
  EXPECT_EQ(t.d.ChangeBlockNo(5), 1u);
  EXPECT_EQ(t.d.ChangeBlockNo(9), 9u);
  // A number no definition carries stays dangling: it names no written definition.
  EXPECT_EQ(t.d.ChangeBlockNo(42), 2u);
}

TEST(BlockTree, DanglingInsertAndDuplicateNumbers) {
  Doc t;
  t.main.Add(Insert(3));
  t.main.Add(Insert(4));
  t.Def(4).strName = u"first";
  t.Def(4).strName = u"second";
  t.d.MakeBlockTree();
  EXPECT_EQ(t.d.EntBlockTree[0].defno, -1);
  EXPECT_TRUE(t.d.EntBlockTree[0].name.empty());
  EXPECT_EQ(t.d.EntBlockTree[1].defno, 0);
  EXPECT_TRUE(t.d.EntBlockDef[0].ref_flag);
  EXPECT_FALSE(t.d.EntBlockDef[1].ref_flag);
}

TEST(BlockTree, Placement) {
  Doc t;
  TEntJwwBlock b = Insert(1, 10, 20);
  b.radKaitenKaku = std::numbers::pi / 2;
  b.dBairitsuX = 2;
  b.dBairitsuY = 3;
  t.main.Add(b);
  ListBuilder(MemberList(t.Def(1))).Add(Insert(2, 1, 0));
  t.Def(2);
  t.d.MakeBlockTree();
  const TEntJwwBlockTree& n = t.d.EntBlockTree[0];
  EXPECT_NEAR(n.r1, 0, 1e-12);
  EXPECT_DOUBLE_EQ(n.r2, -3);
  EXPECT_DOUBLE_EQ(n.r3, 2);
  EXPECT_NEAR(n.r4, 0, 1e-12);
  // The child's origin (1, 0) in the parent lies at (10 + 0, 20 + 2).
  EXPECT_NEAR(t.d.EntBlockTree[1].x, 10, 1e-12);
  EXPECT_NEAR(t.d.EntBlockTree[1].y, 22, 1e-12);
}

TEST(BlockTree, CyclesEnd) {
  Doc t;
  t.main.Add(Insert(1));
  ListBuilder(MemberList(t.Def(1))).Add(Insert(2));
  ListBuilder(MemberList(t.Def(2))).Add(Insert(1));
  ListBuilder(MemberList(t.Def(3))).Add(Insert(3));  // inserts itself, unreachable
  t.d.MakeBlockTree();
  EXPECT_LE(t.d.EntBlockTreeN, 4);
  EXPECT_TRUE(t.d.EntBlockDef[0].ref_flag);
  EXPECT_TRUE(t.d.EntBlockDef[1].ref_flag);
  EXPECT_FALSE(t.d.EntBlockDef[2].ref_flag);
  EXPECT_EQ(t.d.EntBlockNum, 2);
}

TEST(BlockTree, DeepFanOutIsCappedButMarksEverything) {
  // Definition k inserts definition k+1 a thousand times, ten levels deep: 1000^10 nodes
  // unbounded. The tree stops at its cap; the marks do not depend on it.
  Doc t;
  t.main.Add(Insert(0));
  for (std::uint32_t k = 0; k < 10; ++k) {
    ListBuilder l(MemberList(t.Def(k)));
    for (int i = 0; i < 1000; ++i) l.Add(Insert(k + 1));
  }
  t.Def(10);
  t.Def(11);  // reached by nobody
  t.d.MakeBlockTree();
  EXPECT_LE(t.d.EntBlockTreeN, TJwEntityDoc::kMaxBlockTreeNodes);
  for (int k = 0; k <= 10; ++k) EXPECT_TRUE(t.d.EntBlockDef[static_cast<std::size_t>(k)].ref_flag) << k;
  EXPECT_FALSE(t.d.EntBlockDef[11].ref_flag);
  EXPECT_EQ(t.d.EntBlockNum, 11);
  EXPECT_EQ(t.d.EntBlockDef[10].ref_no, 10);
}

TEST(BlockTree, LongNamesDoNotMultiplyIntoGigabytes) {
  // Twenty definitions, each inserting the next twice, under names of 2,000 characters: a
  // drawing with 40 KB of names whose full tree would copy a name into each of a million nodes.
  Doc t;
  t.main.Add(Insert(1));
  for (std::uint32_t k = 1; k <= 20; ++k) {
    ListBuilder l(MemberList(AddDefinition(t.d, k, String(2000, static_cast<char16_t>(u'A' + k)))));
    if (k < 20) {
      l.Add(Insert(k + 1));
      l.Add(Insert(k + 1));
    }
  }
  t.d.MakeBlockTree();
  std::size_t units = 0;
  for (const TEntJwwBlockTree& node : t.d.EntBlockTree) units += node.name.size();
  EXPECT_LE(units, TJwEntityDoc::kMaxBlockTreeNameUnits + 2000);
  EXPECT_LT(t.d.EntBlockTreeN, (1 << 20) - 1);
  EXPECT_EQ(t.d.EntBlockTree.back().name.size(), 2000u);
  EXPECT_EQ(t.d.EntBlockNum, 20);
}

TEST(BlockTree, NoInsertsMeansNothingReferenced) {
  Doc t;
  t.Def(1);
  t.d.MakeBlockTree();
  EXPECT_EQ(t.d.EntBlockTreeN, 0);
  EXPECT_FALSE(t.d.EntBlockDef[0].ref_flag);
  EXPECT_EQ(t.d.EntBlockNum, 0);
}

}  // namespace
}  // namespace plandown
