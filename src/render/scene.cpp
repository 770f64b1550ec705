#include "render/scene.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "jww/block_index.h"

namespace plandown::render {

namespace {

// One entity list with its counts made safe: an order entry is used only when it names
// an element that exists.
struct ListView {
  const std::vector<TEntJwwNo>* order;
  const std::vector<TEntJwwLine>* line;
  const std::vector<TEntJwwEnko>* enko;
  const std::vector<TEntJwwTen>* ten;
  const std::vector<TEntJwwMoji>* moji;
  const std::vector<TEntJwwSunpo>* sunpo;
  const std::vector<TEntJwwSolid>* solid;
  const std::vector<TEntJwwBlock>* block;
  std::int32_t counts[8];

  static ListView Of(const EntityListRef& l) {
    ListView v{&l.order, &l.line, &l.enko, &l.ten, &l.moji, &l.sunpo, &l.solid, &l.block, {}};
    auto clamp = [](std::int32_t n, std::size_t size) {
      return static_cast<std::int32_t>(std::min<std::size_t>(static_cast<std::size_t>(std::max(n, 0)), size));
    };
    v.counts[kKindLine] = clamp(l.lineN, l.line.size());
    v.counts[kKindEnko] = clamp(l.enkoN, l.enko.size());
    v.counts[kKindTen] = clamp(l.tenN, l.ten.size());
    v.counts[kKindMoji] = clamp(l.mojiN, l.moji.size());
    v.counts[kKindSunpo] = clamp(l.sunpoN, l.sunpo.size());
    v.counts[kKindSolid] = clamp(l.solidN, l.solid.size());
    v.counts[kKindBlock] = clamp(l.blockN, l.block.size());
    return v;
  }
  bool Valid(const TEntJwwNo& no) const {
    return no.EntType >= kKindLine && no.EntType <= kKindBlock && no.EntNo >= 0 && no.EntNo < counts[no.EntType];
  }
};

struct Frame {
  ListView list;
  std::size_t pos = 0;
  std::int32_t node = -1;  // block-tree node whose definition this is; -1 for the main list
  Affine place;
};

bool IsHalfWidth(char16_t c) { return c < 0x0100 || (c >= 0xFF61 && c <= 0xFF9F); }

double NominalLength(const TEntJwwMoji& m) {
  const double full = std::fabs(m.dSizeX);
  double len = 0;
  std::size_t n = 0;
  for (std::size_t i = 0; i < m.str.size(); ++i) {
    const char16_t c = m.str[i];
    if (c >= 0xDC00 && c <= 0xDFFF) continue;  // the second half of a pair
    len += IsHalfWidth(c) ? full / 2 : full;
    ++n;
  }
  if (n > 1 && std::isfinite(m.dKankaku)) len += m.dKankaku * static_cast<double>(n - 1);
  return len;
}

// Base line direction and length in the text's own coordinates.
void BaseLine(const TEntJwwMoji& m, Point& dir, double& length) {
  const Point v{m.end_x - m.start_x, m.end_y - m.start_y};
  const double l = Length(v);
  if (Usable(v) && l > 0 && std::isfinite(l)) {
    dir = (1.0 / l) * v;
    length = l;
    return;
  }
  const double a = std::isfinite(m.degKakudo) ? m.degKakudo * std::numbers::pi / 180.0 : 0.0;
  dir = {std::cos(a), std::sin(a)};
  length = NominalLength(m);
}

double TextHeight(const TEntJwwMoji& m) {
  const double h = std::fabs(m.dSizeY);
  return Usable(h) ? h : 0.0;
}

bool Cross(Point a, Point b, Point c, Point d) {
  auto side = [](Point p, Point q, Point r) { return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x); };
  const double d1 = side(a, b, c), d2 = side(a, b, d), d3 = side(c, d, a), d4 = side(c, d, b);
  return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

bool Simple(const Point (&p)[4]) { return !Cross(p[0], p[1], p[2], p[3]) && !Cross(p[1], p[2], p[3], p[0]); }

class Walker {
 public:
  Walker(const DrawingInput& in, const Palette& palette, SceneConsumer& out, const WalkLimits& limits)
      : doc_(*in.doc), palette_(palette), out_(out), limits_(limits), blocks_(doc_.EntBlockDef) {
    const auto& tree = doc_.EntBlockTree;
    nodes_ = std::min(tree.size(), static_cast<std::size_t>(std::max(doc_.EntBlockTreeN, 0)));
    firstChild_.assign(nodes_, -1);
    childCount_.assign(nodes_, 0);
    // Each node's children are contiguous, in the member order of its definition's inserts.
    for (std::size_t k = 0; k < nodes_; ++k) {
      const std::int32_t p = tree[k].parent;
      if (p < 0 || static_cast<std::size_t>(p) >= k) continue;
      if (firstChild_[p] < 0) firstChild_[p] = static_cast<std::int32_t>(k);
      if (static_cast<std::size_t>(firstChild_[p] + childCount_[p]) == k) ++childCount_[p];
    }
  }

  WalkStats Run() {
    std::vector<Frame> stack;
    stack.push_back(Frame{ListView::Of(MainList(doc_)), 0, -1, Affine{}});
    std::uint32_t tick = 0;
    while (!stack.empty()) {
      Frame& f = stack.back();
      if (f.pos >= f.list.order->size()) {
        stack.pop_back();
        continue;
      }
      const TEntJwwNo no = (*f.list.order)[f.pos++];
      if (!f.list.Valid(no)) continue;
      if (limits_.cancel && (++tick & 1023) == 0 && limits_.cancel->load(std::memory_order_relaxed)) {
        stats_.cancelled = true;
        break;
      }
      const bool inserted = f.node >= 0;
      if (inserted) {
        if (stats_.insertedEntities >= limits_.maxInsertedEntities) {
          stats_.truncated = true;
          stack.resize(1);  // nothing more through inserts; the main list goes on
          continue;
        }
        ++stats_.insertedEntities;
      }
      const std::size_t i = static_cast<std::size_t>(no.EntNo);
      if (no.EntType == kKindBlock) {
        const TEntJwwBlock& b = (*f.list.block)[i];
        if (!inserted && !palette_.Visible(b.att)) continue;
        const std::int32_t node = NodeOf(f, i, b);
        if (node < 0) continue;
        const TEntJwwBlockTree& t = doc_.EntBlockTree[static_cast<std::size_t>(node)];
        if (t.defno < 0 || static_cast<std::size_t>(t.defno) >= doc_.EntBlockDef.size()) continue;
        const Affine place{t.r1, t.r2, t.r3, t.r4, t.x, t.y};
        if (!place.Usable()) continue;
        ++stats_.entities;
        const ListView members = ListView::Of(MemberList(doc_.EntBlockDef[static_cast<std::size_t>(t.defno)]));
        stack.push_back(Frame{members, 0, node, place});  // f is not used after this
        continue;
      }
      Draw(f.list, no.EntType, i, f.place, !inserted);
    }
    return stats_;
  }

 private:
  // The tree node of insert i of the frame's list, -1 when the tree holds none for it.
  // The tree leaves out an insert of an existing definition only at a cycle or at its
  // cap: the picture is then incomplete.
  std::int32_t NodeOf(const Frame& f, std::size_t i, const TEntJwwBlock& b) {
    std::int32_t node = -1;
    if (f.node < 0) {
      if (i < nodes_ && doc_.EntBlockTree[i].parent == -1 && doc_.EntBlockTree[i].no == b.nNumber)
        node = static_cast<std::int32_t>(i);
    } else if (i < static_cast<std::size_t>(childCount_[f.node])) {
      node = firstChild_[f.node] + static_cast<std::int32_t>(i);
    }
    if (node < 0 && blocks_.Find(b.nNumber) >= 0) stats_.truncated = true;
    return node;
  }

  bool Shown(const TEntJwwAttr& a, bool checkLayer, bool lineLike = false) const {
    return Palette::Printed(a, lineLike) && (!checkLayer || palette_.Visible(a));
  }

  void LineOf(const TEntJwwLine& l, const Affine& m, Role role) {
    if (!Palette::Printed(l.att, true)) return;
    const Point a = m({l.start_x, l.start_y}), b = m({l.end_x, l.end_y});
    if (Usable(a) && Usable(b)) out_.Line(a, b, l.att, role);
  }

  // A point with a code (line type 100) carries a mark, a rotation and a scale; the mark
  // is not drawn yet, only the dot at its position.
  void DotOf(const TEntJwwTen& t, const Affine& m, Role role) {
    if (t.bKariten != 0 || !Palette::Printed(t.att, false)) return;  // temporary points are never printed
    const Point p = m({t.start_x, t.start_y});
    if (Usable(p)) out_.Dot(p, t.att, role);
  }

  // Size, spacing, angle and font come from the record's own fields; the text type number
  // (nMojiShu, with its emphasis above 10000) is not read, so bold and italic do not show.
  void TextOf(const TEntJwwMoji& t, const Affine& m, Role role) {
    if (t.str.empty() || !Palette::Printed(t.att, false)) return;
    if (role == Role::kText) {
      if (std::optional<ImageRef> ref = ParseImageText(t.str)) {
        ImageOf(*ref, t, m);
        return;
      }
    }
    const TextBox box = TextBoxOf(t, m);
    if (Usable(box.start) && Usable(box.end) && Usable(box.up)) out_.Text(t, box, role);
  }

  void ImageOf(const ImageRef& ref, const TEntJwwMoji& t, const Affine& m) {
    Point dir;
    double length = 0;
    BaseLine(t, dir, length);
    double w = ref.width, h = ref.height;
    if (w <= 0 || h <= 0) {
      w = length > 0 ? length : 10 * TextHeight(t);
      h = 0.75 * w;
    }
    const Point origin = m({t.start_x, t.start_y});
    const Point right = m.Linear(w * dir), up = m.Linear(h * Point{-dir.y, dir.x});
    if (Usable(origin) && Usable(right) && Usable(up) && Usable(origin + right + up)) out_.Image(ref, t, origin, right, up);
  }

  void Draw(const ListView& l, std::int32_t kind, std::size_t i, const Affine& m, bool checkLayer) {
    switch (kind) {
      case kKindLine: {
        const TEntJwwLine& e = (*l.line)[i];
        if (!Shown(e.att, checkLayer)) return;
        LineOf(e, m, Role::kLine);
        break;
      }
      case kKindEnko: {
        const TEntJwwEnko& e = (*l.enko)[i];
        if (!Shown(e.att, checkLayer, true)) return;
        const EllipseArc arc = ArcOf(e).Placed(m);
        if (arc.Usable()) out_.Arc(arc, e.att);
        break;
      }
      case kKindTen: {
        const TEntJwwTen& e = (*l.ten)[i];
        if (!Shown(e.att, checkLayer)) return;
        DotOf(e, m, Role::kPoint);
        break;
      }
      case kKindMoji: {
        const TEntJwwMoji& e = (*l.moji)[i];
        if (!Shown(e.att, checkLayer)) return;
        TextOf(e, m, Role::kText);
        break;
      }
      case kKindSunpo: {
        const TEntJwwSunpo& e = (*l.sunpo)[i];
        if (!Shown(e.att, checkLayer)) return;
        LineOf(e.Sen, m, Role::kDimension);
        TextOf(e.Moji, m, Role::kDimension);
        if (e.bSxfMode != 0) {
          // The SXF form's extension lines and end points; its base points are temporary.
          LineOf(e.Ho1, m, Role::kDimension);
          LineOf(e.Ho2, m, Role::kDimension);
          DotOf(e.Te1, m, Role::kDimension);
          DotOf(e.Te2, m, Role::kDimension);
        }
        break;
      }
      case kKindSolid: {
        const TEntJwwSolid& e = (*l.solid)[i];
        if (!Shown(e.att, checkLayer)) return;
        if (IsCircleSolid(e)) {
          // Its eight numbers are not corners: see CircleSolidArc.
          const EllipseArc arc = CircleSolidArc(e).Placed(m);
          if (arc.Usable()) out_.FilledArc(arc, e);
          break;
        }
        Point c[4];
        SolidCorners(e, m, c);
        if (Usable(c[0]) && Usable(c[1]) && Usable(c[2]) && Usable(c[3])) out_.Solid(c, e);
        break;
      }
      default:
        return;
    }
    ++stats_.entities;
  }

  const TJwEntityDoc& doc_;
  const Palette& palette_;
  SceneConsumer& out_;
  WalkLimits limits_;
  WalkStats stats_;
  BlockIndex blocks_;
  std::size_t nodes_ = 0;
  std::vector<std::int32_t> firstChild_;
  std::vector<std::int32_t> childCount_;
};

}  // namespace

TextBox TextBoxOf(const TEntJwwMoji& m, const Affine& place) {
  Point dir;
  double length = 0;
  BaseLine(m, dir, length);
  const Point s{m.start_x, m.start_y};
  const double h = TextHeight(m);
  return TextBox{place(s), place(s + length * dir), place.Linear(h * Point{-dir.y, dir.x})};
}

void SolidCorners(const TEntJwwSolid& s, const Affine& m, Point (&out)[4]) {
  const Point p[4] = {m({s.start_x, s.start_y}), m({s.end_x, s.end_y}), m({s.DPoint2_x, s.DPoint2_y}),
                      m({s.DPoint3_x, s.DPoint3_y})};
  static constexpr int kOrders[3][4] = {{0, 1, 2, 3}, {0, 1, 3, 2}, {0, 2, 1, 3}};
  for (const auto& order : kOrders) {
    for (int k = 0; k < 4; ++k) out[k] = p[order[k]];
    if (Simple(out)) return;
  }
}

WalkStats WalkDrawing(const DrawingInput& in, const Palette& palette, SceneConsumer& out, const WalkLimits& limits) {
  if (!in.doc) return {};
  return Walker(in, palette, out, limits).Run();
}

}  // namespace plandown::render
