#include "raster/wx_sink.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <wx/brush.h>
#include <wx/font.h>
#include <wx/fontenum.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/pen.h>

namespace plandown::raster {

using render::Point;
using render::Rgb;

namespace {

// Segments or shapes per path: long enough to save the per-path cost, short enough to
// keep a path's memory small.
constexpr std::size_t kMaxPathPoints = 8192;
// Lines and fills that fit in a square of this side (pixels) are plotted as one pixel.
constexpr double kSpeckSize = 1.0;
// Strokes up to this width (pixels) end square.
constexpr double kThinStroke = 1.5;
// Texts lower than this (pixels) cannot be read; they are drawn as a bar.
constexpr double kSmallestText = 3.0;
// Characters of one text drawn at most.
constexpr std::size_t kMaxTextUnits = 1000;
// Font size the em square of a face is measured at.
constexpr double kReferencePoints = 32.0;
// Font sizes are made in steps of this ratio, up to the largest; the rest is scaled.
constexpr double kPointStep = 1.05;
constexpr double kLargestPoints = 400.0;
// Part of the em square below the alphabetic base line.
constexpr double kEmBelowBaseLine = 0.12;
// Decoded images larger than this many pixels are not drawn (a frame shows them).
constexpr double kMaxImagePixels = 64.0 * 1024 * 1024;

// Dots up to this radius (pixels) are drawn as polygons of these corners (a unit circle's).
constexpr double kLargestPolygonDot = 6.0;
constexpr std::array<Point, 12> kDotCorners = {{{1, 0}, {0.8660254037844387, 0.5}, {0.5, 0.8660254037844387}, {0, 1},
                                                {-0.5, 0.8660254037844387}, {-0.8660254037844387, 0.5}, {-1, 0},
                                                {-0.8660254037844387, -0.5}, {-0.5, -0.8660254037844387}, {0, -1},
                                                {0.5, -0.8660254037844387}, {0.8660254037844387, -0.5}}};

wxColour Colour(Rgb c) { return wxColour(c.r, c.g, c.b); }

Rgb Lighter(Rgb c) {
  auto mix = [](std::uint8_t v) { return static_cast<std::uint8_t>((v + 2 * 255) / 3); };
  return Rgb{mix(c.r), mix(c.g), mix(c.b)};
}

wxString Wide(std::u16string_view s) {
  wxString out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x20) continue;  // control characters draw as boxes
    out += wxUniChar(static_cast<wxUint32>(c));
  }
  return out;
}

}  // namespace

WxGraphicsSink::WxGraphicsSink(wxGraphicsContext& gc) : gc_(gc) {}
WxGraphicsSink::~WxGraphicsSink() = default;

void WxGraphicsSink::Begin(int width, int height, Rgb background) {
  width_ = width;
  height_ = height;
  gc_.SetAntialiasMode(wxANTIALIAS_DEFAULT);
  gc_.SetInterpolationQuality(wxINTERPOLATION_GOOD);
  gc_.SetBrush(wxBrush(Colour(background)));
  gc_.SetPen(*wxTRANSPARENT_PEN);
  gc_.DrawRectangle(0, 0, width, height);
}

void WxGraphicsSink::Flush() {
  if (batch_ == Batch::kStroke) {
    wxGraphicsPenInfo info(Colour(stroke_.color), stroke_.width);
    std::vector<wxDash> dashes;
    if (!strokeDashes_.empty()) {
      // Dashes are counted in pen widths.
      for (double d : strokeDashes_)
        dashes.push_back(static_cast<wxDash>(std::clamp(std::lround(d / stroke_.width), 1L, 100L)));
      info.Dashes(static_cast<int>(dashes.size()), dashes.data()).Style(wxPENSTYLE_USER_DASH).Cap(wxCAP_BUTT);
    } else if (stroke_.width > kThinStroke) {
      info.Cap(wxCAP_ROUND).Join(wxJOIN_ROUND);
    } else {
      // Round ends of a thin line differ from square ones by less than a pixel, and cost
      // much more on a drawing of many short lines.
      info.Cap(wxCAP_BUTT).Join(wxJOIN_MITER);
    }
    gc_.SetPen(gc_.CreatePen(info));
    gc_.StrokePath(path_);
  } else if (batch_ == Batch::kFill) {
    gc_.SetPen(*wxTRANSPARENT_PEN);
    gc_.SetBrush(wxBrush(Colour(fill_)));
    gc_.FillPath(path_, wxWINDING_RULE);
  }
  batch_ = Batch::kNone;
  pathPoints_ = 0;
}

void WxGraphicsSink::StartStroke(const render::Stroke& s) {
  if (batch_ == Batch::kStroke && s.color == stroke_.color && s.width == stroke_.width &&
      std::equal(s.dashes.begin(), s.dashes.end(), strokeDashes_.begin(), strokeDashes_.end()) &&
      pathPoints_ < kMaxPathPoints)
    return;
  Flush();
  batch_ = Batch::kStroke;
  stroke_ = s;
  strokeDashes_.assign(s.dashes.begin(), s.dashes.end());
  stroke_.dashes = strokeDashes_;
  path_ = gc_.CreatePath();
}

void WxGraphicsSink::StartFill(Rgb c) {
  if (batch_ == Batch::kFill && c == fill_ && pathPoints_ < kMaxPathPoints) return;
  Flush();
  batch_ = Batch::kFill;
  fill_ = c;
  path_ = gc_.CreatePath();
}

bool WxGraphicsSink::AsSpeck(std::span<const Point> pts, Rgb color) {
  double x0 = pts[0].x, x1 = x0, y0 = pts[0].y, y1 = y0;
  for (const Point& p : pts) {
    x0 = std::min(x0, p.x);
    x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y);
    y1 = std::max(y1, p.y);
  }
  if (x1 - x0 >= kSpeckSize || y1 - y0 >= kSpeckSize) return false;
  const int x = static_cast<int>(std::floor((x0 + x1) / 2)), y = static_cast<int>(std::floor((y0 + y1) / 2));
  if (x >= 0 && y >= 0 && x < width_ && y < height_) specks_.push_back(Speck{x, y, color});
  return true;
}

void WxGraphicsSink::Polyline(std::span<const Point> pts, const render::Stroke& stroke, render::Role) {
  if (pts.size() < 2) return;
  if (stroke.width <= kSpeckSize && AsSpeck(pts, stroke.color)) return;
  StartStroke(stroke);
  path_.MoveToPoint(pts[0].x, pts[0].y);
  for (std::size_t i = 1; i < pts.size(); ++i) path_.AddLineToPoint(pts[i].x, pts[i].y);
  pathPoints_ += pts.size();
}

void WxGraphicsSink::Polygon(std::span<const Point> pts, Rgb fill, render::Role) {
  if (pts.size() < 3 || AsSpeck(pts, fill)) return;
  StartFill(fill);
  // One orientation for every polygon of the path, so that overlaps never cancel.
  double area = 0;
  for (std::size_t i = 0; i < pts.size(); ++i) {
    const Point& a = pts[i];
    const Point& b = pts[(i + 1) % pts.size()];
    area += a.x * b.y - b.x * a.y;
  }
  if (area >= 0) {
    path_.MoveToPoint(pts[0].x, pts[0].y);
    for (std::size_t i = 1; i < pts.size(); ++i) path_.AddLineToPoint(pts[i].x, pts[i].y);
  } else {
    path_.MoveToPoint(pts.back().x, pts.back().y);
    for (std::size_t i = pts.size() - 1; i-- > 0;) path_.AddLineToPoint(pts[i].x, pts[i].y);
  }
  path_.CloseSubpath();
  pathPoints_ += pts.size();
}

void WxGraphicsSink::Dot(Point c, double r, Rgb fill, render::Role role) {
  if (r > kLargestPolygonDot) {
    StartFill(fill);
    path_.AddCircle(c.x, c.y, r);
    pathPoints_ += 4;
    return;
  }
  // A dot of a few pixels is a twelve-sided polygon: the same pixels, without the arcs
  // that made a drawing of many points slow.
  Point pts[kDotCorners.size()];
  for (std::size_t i = 0; i < kDotCorners.size(); ++i) pts[i] = Point{c.x + r * kDotCorners[i].x, c.y + r * kDotCorners[i].y};
  Polygon(pts, fill, role);
}

const wxString& WxGraphicsSink::FaceFor(std::span<const std::u16string_view> fonts) {
  const std::u16string key = fonts.empty() ? std::u16string() : std::u16string(fonts.front());
  auto it = faces_.find(key);
  if (it != faces_.end()) return it->second;
  wxString face;
#ifdef __WXMSW__
  // GDI+ takes one family: the first one installed.
  for (std::u16string_view f : fonts) {
    const wxString name = Wide(f);
    if (name == "sans-serif" || name == "serif") break;
    if (wxFontEnumerator::IsValidFacename(name)) {
      face = name;
      break;
    }
  }
#else
  // Pango takes the whole list and falls back along it, character by character.
  for (std::u16string_view f : fonts) {
    if (!face.empty()) face += ",";
    face += Wide(f);
  }
#endif
  return faces_.emplace(key, face).first->second;
}

void WxGraphicsSink::Text(const render::TextRun& t, render::Role) {
  const std::u16string_view text = t.text.substr(0, kMaxTextUnits);
  if (text.empty() || !(t.height > 0)) return;
  const double c = std::cos(t.angle), s = std::sin(t.angle);
  if (t.height < kSmallestText) {
    // A bar through the middle of where the characters stand.
    const double length = t.length > 0 ? t.length : 0.8 * t.height * static_cast<double>(text.size());
    const Point mid = t.origin + Point{s * t.height / 2, -c * t.height / 2};
    const Point end = mid + Point{c * length, s * length};
    const Point pts[2] = {mid, end};
    Polyline(pts, render::Stroke{Lighter(t.color), std::max(0.5, std::round(t.height) / 2), {}}, render::Role::kText);
    return;
  }
  Flush();
  const wxString& face = FaceFor(t.fonts);
  auto em = ems_.find(face);
  if (em == ems_.end()) {
    // The em square at the reference size, as wide as a full-width character.
    gc_.SetFont(wxFont(wxFontInfo(kReferencePoints).FaceName(face)), *wxBLACK);
    double w = 0, h = 0;
    gc_.GetTextExtent(wxString::FromUTF8("\xE3\x81\x82"), &w, &h);
    em = ems_.emplace(face, (w > 0 ? w : h) / kReferencePoints).first;
  }
  if (!(em->second > 0)) return;
  // The font is made near the size it is drawn at (in steps of a twentieth), so that
  // what the font lays out by itself, such as the boxes of characters no font has, takes
  // the text's size as well.
  const double points = std::clamp(t.height / em->second, 1.0, kLargestPoints);
  const int step = static_cast<int>(std::lround(std::log(points) / std::log(kPointStep)));
  const double stepPoints = std::pow(kPointStep, step);
  const std::uint32_t colour = (t.color.r << 16) | (t.color.g << 8) | t.color.b;
  const FontKey key{face, colour, step};
  auto it = fonts_.find(key);
  if (it == fonts_.end()) {
    const wxFont font(wxFontInfo(stepPoints).FaceName(face));
    it = fonts_.emplace(key, gc_.CreateFont(font, Colour(t.color))).first;
  }
  gc_.SetFont(it->second);
  const double emPixels = em->second * stepPoints;
  const wxString str = Wide(text);
  double w = 0, h = 0, descent = 0, leading = 0;
  gc_.GetTextExtent(str, &w, &h, &descent, &leading);
  if (!(w > 0 && h > 0)) return;
  // The em square scaled to the character height, its bottom (below the alphabetic base
  // line by an eighth of it, as in Japanese fonts) on the text's base line; narrowed as a
  // whole where the text would run past the end of its base line. The scale stays the
  // same across and along: Pango lays text out again under an uneven scale, so that its
  // width would not follow.
  double scale = t.height / emPixels;
  if (t.length > 0) scale = std::min(scale, t.length / w);
  gc_.PushState();
  gc_.Translate(t.origin.x, t.origin.y);
  gc_.Rotate(t.angle);
  gc_.Scale(scale, scale);
  gc_.DrawText(str, 0, -kEmBelowBaseLine * emPixels - (h - descent));
  gc_.PopState();
}

bool WxGraphicsSink::Image(const render::ImagePlacement& im) {
  if (im.bytes.empty()) return false;
  Flush();
  wxLogNull quiet;
  wxMemoryInputStream in(im.bytes.data(), im.bytes.size());
  wxImage image;
  if (!image.LoadFile(in, wxBITMAP_TYPE_ANY) || !image.IsOk()) return false;
  const double iw = image.GetWidth(), ih = image.GetHeight();
  if (!(iw > 0 && ih > 0) || iw * ih > kMaxImagePixels) return false;
  const wxGraphicsBitmap bitmap = gc_.CreateBitmapFromImage(image);
  const Point topLeft = im.origin + im.up;
  gc_.PushState();
  gc_.ConcatTransform(
      gc_.CreateMatrix(im.right.x / iw, im.right.y / iw, -im.up.x / ih, -im.up.y / ih, topLeft.x, topLeft.y));
  gc_.DrawBitmap(bitmap, 0, 0, iw, ih);
  gc_.PopState();
  return true;
}

void WxGraphicsSink::End() { Flush(); }

void PlotSpecks(const std::vector<Speck>& specks, std::uint8_t* rgb, int width, int height) {
  for (const Speck& s : specks) {
    if (s.x < 0 || s.y < 0 || s.x >= width || s.y >= height) continue;
    std::uint8_t* p = rgb + (static_cast<std::size_t>(s.y) * width + s.x) * 3;
    // Two thirds of the colour over what is there: a pixel partly covered.
    p[0] = static_cast<std::uint8_t>((p[0] + 2 * s.color.r) / 3);
    p[1] = static_cast<std::uint8_t>((p[1] + 2 * s.color.g) / 3);
    p[2] = static_cast<std::uint8_t>((p[2] + 2 * s.color.b) / 3);
  }
}

}  // namespace plandown::raster
