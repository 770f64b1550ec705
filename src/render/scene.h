// Walks a document in drawing order, as it would be drawn: the main list, and through
// every insert the members of its definition placed by the block tree, skipping what
// hidden layers and layer groups hold, temporary points and everything with coordinates
// that are not finite. Hands each visible part over in drawing coordinates.
#pragma once
#include <atomic>
#include <cstdint>

#include "jww/types.h"
#include "render/drawing_input.h"
#include "render/ellipse.h"
#include "render/image_ref.h"
#include "render/sink.h"
#include "render/style.h"

namespace plandown::render {

// A text's box in drawing coordinates: its base line from `start` to `end`, and `up` the
// vector from the base line to the top of the characters.
struct TextBox {
  Point start, end, up;
};

class SceneConsumer {
 public:
  virtual ~SceneConsumer() = default;
  virtual void Line(Point a, Point b, const TEntJwwAttr& att, Role role) = 0;
  virtual void Arc(const EllipseArc& arc, const TEntJwwAttr& att) = 0;
  virtual void Dot(Point p, const TEntJwwAttr& att, Role role) = 0;
  virtual void Text(const TEntJwwMoji& text, const TextBox& box, Role role) = 0;
  // An image text: the image's rectangle (lower-left corner, bottom and left edges).
  virtual void Image(const ImageRef& ref, const TEntJwwMoji& text, Point origin, Point right, Point up) = 0;
  // The four corners in the order they enclose the solid.
  virtual void Solid(const Point (&corners)[4], const TEntJwwSolid& solid) = 0;
  // A circle solid: the filled ellipse, or the filled sector from its centre when the arc
  // is not whole.
  virtual void FilledArc(const EllipseArc& arc, const TEntJwwSolid& solid) = 0;
};

struct WalkLimits {
  // Entities drawn through inserts, over all inserts: a small file of many inserts of a
  // large definition would otherwise draw without end.
  std::uint64_t maxInsertedEntities = std::uint64_t{1} << 23;
  const std::atomic<bool>* cancel = nullptr;
};

struct WalkStats {
  std::uint64_t entities = 0;          // entities handed over (a dimension counts once)
  std::uint64_t insertedEntities = 0;  // of them, through inserts
  bool truncated = false;              // the insert limit or the block tree's cap stopped a part
  bool cancelled = false;
};

WalkStats WalkDrawing(const DrawingInput& in, const Palette& palette, SceneConsumer& out, const WalkLimits& limits = {});

// The box of a text under a placement: the stored base line when it has a length, else
// the nominal one (full-width characters dSizeX wide, others half, dKankaku between).
TextBox TextBoxOf(const TEntJwwMoji& m, const Affine& place);

// The solid's corners in an order that does not cross itself.
void SolidCorners(const TEntJwwSolid& s, const Affine& place, Point (&out)[4]);

}  // namespace plandown::render
