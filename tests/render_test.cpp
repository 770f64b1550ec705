// The renderer without pictures: what it draws, where, and how far it goes on hostile
// documents.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <string>

#include "jww/jww_data.h"
#include "render/ellipse.h"
#include "render/renderer.h"
#include "render/style.h"
#include "support/circle_solids.h"
#include "support/drawing_builder.h"
#include "support/picture_check.h"

namespace plandown {
namespace {

using render::Extent;
using testing::AddDefinition;
using testing::Attr;
using testing::Insert;
using testing::Line;
using testing::ListBuilder;

constexpr double kPi = std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Doc {
  TJwwData d;
  Doc() {
    d.Enthd.jwVer = 700;
    testing::InitTables(d);
  }
  ListBuilder Main() { return ListBuilder(MainList(d)); }
  ListBuilder Def(std::uint32_t n) { return ListBuilder(MemberList(AddDefinition(d, n, u"def"))); }
  Extent Ext() {
    testing::Finish(d);
    return render::DrawingExtent(render::InputOf(d));
  }
};

TEntJwwEnko Arc(double cx, double cy, double r, double start, double sweep, double flat = 1, double tilt = 0,
                bool full = false) {
  TEntJwwEnko e;
  e.att = Attr(1, 2);
  e.start_x = cx;
  e.start_y = cy;
  e.dHankei = r;
  e.radKaishiKaku = start;
  e.radEnkoKaku = sweep;
  e.dHenpeiRitsu = flat;
  e.radKatamukiKaku = tilt;
  e.bZenEnFlg = full ? 1 : 0;
  return e;
}

TEntJwwMoji TextAt(double x, double y, double ex, double ey, double size, const String& s = u"AB") {
  TEntJwwMoji m = testing::Text(s);
  m.start_x = x;
  m.start_y = y;
  m.end_x = ex;
  m.end_y = ey;
  m.dSizeX = m.dSizeY = size;
  return m;
}

TEntJwwBlock Placed(std::uint32_t n, double x, double y, double sx, double sy, double rot) {
  TEntJwwBlock b = Insert(n, x, y);
  b.dBairitsuX = sx;
  b.dBairitsuY = sy;
  b.radKaitenKaku = rot;
  return b;
}

void ExpectExtent(const Extent& e, double x0, double y0, double x1, double y1) {
  ASSERT_FALSE(e.Empty());
  EXPECT_NEAR(e.minX, x0, 1e-9);
  EXPECT_NEAR(e.minY, y0, 1e-9);
  EXPECT_NEAR(e.maxX, x1, 1e-9);
  EXPECT_NEAR(e.maxY, y1, 1e-9);
}

struct ExtentCase {
  const char* name;
  std::function<void(Doc&)> fill;
  double x0, y0, x1, y1;
};

TEST(RenderExtent, OfEachKindAndPlacement) {
  const ExtentCase cases[] = {
      {"line", [](Doc& t) { t.Main().Add(Line(-3, 2, 5, -7)); }, -3, -7, 5, 2},
      {"quarter arc through no extreme", [](Doc& t) { t.Main().Add(Arc(0, 0, 10, 0.1, kPi / 2 - 0.2)); },
       10 * std::cos(kPi / 2 - 0.1), 10 * std::sin(0.1), 10 * std::cos(0.1), 10 * std::sin(kPi / 2 - 0.1)},
      {"half arc over the top", [](Doc& t) { t.Main().Add(Arc(1, 1, 2, 0, kPi)); }, -1, 1, 3, 3},
      {"negative sweep", [](Doc& t) { t.Main().Add(Arc(0, 0, 2, 0, -kPi / 2)); }, 0, -2, 2, 0},
      {"full circle flag", [](Doc& t) { t.Main().Add(Arc(5, 5, 1, 1, 0.5, 1, 0, true)); }, 4, 4, 6, 6},
      {"ellipse tilted a quarter turn", [](Doc& t) { t.Main().Add(Arc(0, 0, 4, 0, 2 * kPi, 0.5, kPi / 2)); }, -2,
       -4, 2, 4},
      {"tilted elliptic arc",
       [](Doc& t) { t.Main().Add(Arc(0, 0, 2, 0, kPi / 2, 0.5, kPi / 4)); },
       // P(t) = R(π/4)(2 cos t, sin t) for t in 0..π/2: from (√2, √2) to (-√2/2, √2/2).
       -std::sqrt(2.0) / 2, std::sqrt(2.0) / 2, std::sqrt(2.0), std::sqrt(2.5)},
      {"text box", [](Doc& t) { t.Main().Add(TextAt(1, 2, 11, 2, 3)); }, 1, 2, 11, 5},
      {"vertical text box", [](Doc& t) { t.Main().Add(TextAt(0, 0, 0, 8, 2)); }, -2, 0, 0, 8},
      {"solid and point",
       [](Doc& t) {
         t.Main().Add(TEntJwwSolid{Attr(1, 3), 0, 0, 4, 0, 4, 4, 0, 4, 0});
         TEntJwwTen p;
         p.att = Attr(1, 2);
         p.start_x = -1;
         p.start_y = 9;
         t.Main().Add(p);
       },
       -1, 0, 4, 9},
      {"insert rotated a quarter turn and scaled",
       [](Doc& t) {
         t.Def(1).Add(Line(0, 0, 1, 0));
         t.Main().Add(Placed(1, 10, 10, 2, 3, kPi / 2));
       },
       10, 10, 10, 12},
      {"nested inserts compose",
       [](Doc& t) {
         t.Def(2).Add(Line(0, 0, 1, 1));
         t.Def(1).Add(Placed(2, 5, 0, 2, 2, 0));
         t.Main().Add(Placed(1, 100, 0, 10, 10, 0));
       },
       150, 0, 170, 20},
      {"arc in a non-uniformly scaled insert",
       [](Doc& t) {
         t.Def(1).Add(Arc(0, 0, 1, 0, 2 * kPi, 1, 0, true));
         t.Main().Add(Placed(1, 0, 0, 3, 1, kPi / 2));
       },
       -1, -3, 1, 3},
      // Circle solids: centre, radius, flattening, tilt, start, sweep; never their raw fields.
      {"disc far from the origin",
       [](Doc& t) { t.Main().Add(testing::CircleSolid(500, 400, 3, 1, 0, 0, 2 * kPi, 10, 0xFF)); }, 497, 397, 503,
       403},
      {"flattened disc tilted a quarter turn",
       [](Doc& t) { t.Main().Add(testing::CircleSolid(10, 10, 4, 0.5, kPi / 2, 0, 2 * kPi, 2)); }, 8, 6, 12, 14},
      {"half sector over the top",
       [](Doc& t) { t.Main().Add(testing::CircleSolid(1, 1, 2, 1, 0, 0, kPi, 2)); }, -1, 1, 3, 3},
      {"quarter sector holds its centre",
       [](Doc& t) { t.Main().Add(testing::CircleSolid(0, 0, 2, 1, 0, kPi / 4, kPi / 2, 2)); }, -std::sqrt(2.0), 0,
       std::sqrt(2.0), 2},
      {"sector swept backwards",
       [](Doc& t) { t.Main().Add(testing::CircleSolid(0, 0, 2, 1, 0, 0, -kPi / 2, 2)); }, 0, -2, 2, 0},
      {"disc in an insert scaled and turned",
       [](Doc& t) {
         t.Def(1).Add(testing::CircleSolid(2, 0, 2, 1, 0, 0, 2 * kPi, 2));
         t.Main().Add(Placed(1, 100, 70, 2, 3, kPi / 2));
       },
       94, 70, 106, 78},
      {"sector in an insert turned half a turn",
       [](Doc& t) {
         t.Def(1).Add(testing::CircleSolid(0, 0, 1, 1, 0, 0, kPi / 2, 2));
         t.Main().Add(Placed(1, 10, 10, 4, 4, kPi));
       },
       6, 6, 10, 10},
      {"image text: the image's rectangle",
       [](Doc& t) { t.Main().Add(TextAt(2, 3, 4, 3, 1, u"^@BM%temp%photo.bmp,40,30")); }, 2, 3, 42, 33},
  };
  for (const ExtentCase& c : cases) {
    SCOPED_TRACE(c.name);
    Doc t;
    c.fill(t);
    ExpectExtent(t.Ext(), c.x0, c.y0, c.x1, c.y1);
  }
}

TEST(RenderExtent, LeavesOutWhatIsNotDrawn) {
  const std::pair<const char*, std::function<void(Doc&)>> hidden[] = {
      {"hidden layer",
       [](Doc& t) {
         t.d.EntLay[1 * 16 + 4].aanLay = 0;
         t.Main().Add(Line(0, 0, 1000, 1000, Attr(1, 1, 1, 4, 1)));
       }},
      {"hidden layer group",
       [](Doc& t) {
         t.d.EntLgrp[3].anGLay = 0;
         t.Main().Add(Line(0, 0, 1000, 1000, Attr(1, 1, 1, 0, 3)));
       }},
      {"insert on a hidden layer",
       [](Doc& t) {
         t.d.EntLay[2].aanLay = 0;
         t.Def(1).Add(Line(0, 0, 1000, 1000));
         TEntJwwBlock b = Insert(1);
         b.att = Attr(1, 1, 1, 2, 0);
         t.Main().Add(b);
       }},
      {"temporary point",
       [](Doc& t) {
         TEntJwwTen p;
         p.att = Attr(1, 2);
         p.start_x = 1000;
         p.bKariten = 1;
         t.Main().Add(p);
       }},
      {"auxiliary colour and line type",
       [](Doc& t) {
         t.Main().Add(Line(0, 0, 1000, 0, Attr(1, render::kAuxiliary)));
         t.Main().Add(Line(0, 0, 0, 1000, Attr(render::kAuxiliary, 2)));
         t.Main().Add(TextAt(0, -1000, 0, -1000, 3));
         t.d.EntMoji.back().att = Attr(1, render::kAuxiliary);
       }},
      {"coordinates that are not finite",
       [](Doc& t) {
         t.Main().Add(Line(kNaN, 0, 1000, 1000));
         t.Main().Add(Line(0, 0, kInf, 1000));
         t.Main().Add(Arc(0, 0, kInf, 0, 1));
         t.Main().Add(Arc(0, 0, 5, kNaN, 1));
         t.Main().Add(TextAt(kNaN, 0, 1, 1, 3));
         t.Main().Add(TEntJwwSolid{Attr(1, 3), 0, 0, 1e300 * 1e10, 0, 4, 4, 0, 4, 0});
         t.Main().Add(testing::CircleSolid(0, 0, kInf, 1, 0, 0, 2 * kPi, 2));
         t.Main().Add(testing::CircleSolid(0, 0, 5, 1, kNaN, 0, 2 * kPi, 2));
         t.Main().Add(testing::CircleSolid(0, 0, 5, 1, 0, 0, kNaN, 2));
         t.Def(1).Add(Line(0, 0, 1, 1));
         t.Main().Add(Placed(1, 0, 0, kNaN, 1, 0));
       }},
      {"a definition nobody inserts", [](Doc& t) { t.Def(1).Add(Line(0, 0, 1000, 1000)); }},
  };
  for (const auto& [name, fill] : hidden) {
    SCOPED_TRACE(name);
    Doc t;
    t.Main().Add(Line(0, 0, 1, 1));
    fill(t);
    ExpectExtent(t.Ext(), 0, 0, 1, 1);
  }
  Doc empty;
  EXPECT_TRUE(empty.Ext().Empty());
}

TEST(RenderWalk, SelfInsertingDefinitionEnds) {
  Doc t;
  t.Def(1).Add(Line(0, 0, 1, 1));
  MemberList(t.d.EntBlockDef[0]).order.push_back({kKindBlock, 0});
  t.d.EntBlockDef[0].mBlock.push_back(Placed(1, 1, 1, 1, 1, 0));
  ++t.d.EntBlockDef[0].mBlockN;
  t.Main().Add(Insert(1));
  testing::Finish(t.d);
  testing::CheckingSink sink;
  const render::RenderResult r = render::Render(render::InputOf(t.d), {}, sink);
  EXPECT_TRUE(r.walk.truncated);
  EXPECT_LE(r.walk.entities, 10u);
  EXPECT_EQ(sink.broken, "");
}

TEST(RenderWalk, FanOutStopsAtTheInsertLimit) {
  // Ten levels of definitions, each inserting the next ten times: 10^10 lines if drawn.
  Doc t;
  for (std::uint32_t level = 1; level <= 10; ++level) {
    ListBuilder def = t.Def(level);
    def.Add(Line(0, 0, 1, 1));
    if (level < 10)
      for (int k = 0; k < 10; ++k) def.Add(Placed(level + 1, k, 0, 1, 1, 0));
  }
  t.Main().Add(Insert(1));
  testing::Finish(t.d);
  EXPECT_LE(t.d.EntBlockTreeN, TJwEntityDoc::kMaxBlockTreeNodes);

  render::WalkLimits limits;
  limits.maxInsertedEntities = 5000;
  render::RenderOptions o;
  o.limits = limits;
  testing::CheckingSink sink;
  const render::RenderResult r = render::Render(render::InputOf(t.d), o, sink);
  EXPECT_TRUE(r.walk.truncated);
  EXPECT_EQ(r.walk.insertedEntities, 5000u);
  EXPECT_EQ(sink.broken, "");
  // With the default limit the walk ends too, at the block tree's cap or the limit.
  const render::Extent e = render::DrawingExtent(render::InputOf(t.d));
  EXPECT_FALSE(e.Empty());
}

TEST(RenderWalk, CancelStopsTheWalk) {
  Doc t;
  for (int i = 0; i < 5000; ++i) t.Main().Add(Line(i, 0, i + 1, 1));
  testing::Finish(t.d);
  std::atomic<bool> cancel{true};
  render::RenderOptions o;
  o.limits.cancel = &cancel;
  testing::CheckingSink sink;
  const render::RenderResult r = render::Render(render::InputOf(t.d), o, sink);
  EXPECT_TRUE(r.walk.cancelled);
  EXPECT_LT(sink.Total(), 5000u);
}

TEST(RenderGeometry, ArcsFlattenWithinAQuarterPixelAndClipToThePicture) {
  const render::EllipseArc arc = render::ArcOf(Arc(0, 0, 500, 0, 2 * kPi, 0.5, 0.3, true));
  std::vector<render::Point> pts;
  render::FlattenArc(arc, pts);
  ASSERT_GT(pts.size(), 8u);
  EXPECT_EQ(pts.front(), pts.back());
  for (std::size_t i = 1; i < pts.size(); ++i) {
    // The chord's middle lies within a quarter pixel (plus rounding) of the curve.
    const double t = 2 * kPi * (i - 0.5) / (pts.size() - 1);
    const render::Point mid = 0.5 * (pts[i - 1] + pts[i]);
    EXPECT_LT(render::Length(mid - arc.At(t)), 0.3);
  }
  // A circle far larger than the picture is drawn as pieces inside the picture's border.
  Doc t;
  t.Main().Add(Arc(0, 0, 1e9, 0, 2 * kPi, 1, 0, true));
  t.Main().Add(Line(-1e9, 0, -1e9 + 10, 10));
  t.Main().Add(testing::CircleSolid(0, 1e9, 1e9, 0.5, 0.2, 0, 2 * kPi, 2));  // filled, and clipped the same way
  testing::Finish(t.d);
  EXPECT_EQ(testing::CheckPicture(render::InputOf(t.d)), "");
}

TEST(RenderStyle, LineTypePatterns) {
  // 1001 repeated: a dash of two bits and a gap of two.
  EXPECT_EQ(render::DashesFromBits(0x99999999, 4, 1.0), (std::vector<double>{2, 2}));
  // A chain, 1111 1001 1001 1111: a dot, a gap, a long dash, a gap (the pattern is cyclic).
  EXPECT_EQ(render::DashesFromBits(0xF99FF99F, 16, 1.5), (std::vector<double>{3, 3, 15, 3}));
  EXPECT_TRUE(render::DashesFromBits(0xFFFFFFFF, 32, 1.0).empty());
  EXPECT_TRUE(render::DashesFromBits(0, 32, 1.0).empty());
}

}  // namespace
}  // namespace plandown
