#include "render/svg_sink.h"

#include <cmath>
#include <cstdio>
#include <numbers>

#include "jww/output_file.h"
#include "util/ustring.h"

namespace plandown::render {

namespace {

constexpr std::size_t kFlushAt = 1 << 16;

void Num(std::string& s, double v) {
  char b[32];
  int n = std::snprintf(b, sizeof b, "%.2f", std::isfinite(v) ? v : 0.0);
  if (n <= 0) return;
  // Trailing zeros and a bare point are noise in a file of a million numbers.
  while (n > 1 && b[n - 1] == '0') --n;
  if (b[n - 1] == '.') --n;
  if (n == 2 && b[0] == '-' && b[1] == '0') {
    b[0] = '0';
    n = 1;
  }
  s.append(b, static_cast<std::size_t>(n));
}

void Color(std::string& s, Rgb c) {
  char b[8];
  std::snprintf(b, sizeof b, "#%02x%02x%02x", c.r, c.g, c.b);
  s += b;
}

void Attr(std::string& s, const char* name, double v) {
  s += ' ';
  s += name;
  s += "=\"";
  Num(s, v);
  s += '"';
}

// Text as XML character data: markup characters escaped, characters XML cannot hold left out.
void Escaped(std::string& s, std::u16string_view text) {
  String clean;
  clean.reserve(text.size());
  for (char16_t c : text)
    if (c >= 0x20 && c != 0xFFFE && c != 0xFFFF) clean.push_back(c);
  for (char c : ToUtf8(clean)) {
    switch (c) {
      case '&': s += "&amp;"; break;
      case '<': s += "&lt;"; break;
      case '>': s += "&gt;"; break;
      case '"': s += "&quot;"; break;
      case '\'': s += "&apos;"; break;
      default: s += c;
    }
  }
}

void Points(std::string& s, std::span<const Point> pts) {
  s += " points=\"";
  for (std::size_t i = 0; i < pts.size(); ++i) {
    if (i) s += ' ';
    Num(s, pts[i].x);
    s += ',';
    Num(s, pts[i].y);
  }
  s += '"';
}

void Class(std::string& s, Role r) {
  s += " class=\"";
  s += RoleName(r);
  s += '"';
}

void Base64(std::string& s, std::span<const std::uint8_t> b) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::size_t i = 0;
  for (; i + 3 <= b.size(); i += 3) {
    const std::uint32_t v = (b[i] << 16) | (b[i + 1] << 8) | b[i + 2];
    s += kDigits[v >> 18];
    s += kDigits[(v >> 12) & 63];
    s += kDigits[(v >> 6) & 63];
    s += kDigits[v & 63];
  }
  if (const std::size_t rest = b.size() - i) {
    const std::uint32_t v = (b[i] << 16) | (rest == 2 ? b[i + 1] << 8 : 0);
    s += kDigits[v >> 18];
    s += kDigits[(v >> 12) & 63];
    s += rest == 2 ? kDigits[(v >> 6) & 63] : '=';
    s += '=';
  }
}

}  // namespace

const char* RoleName(Role r) {
  switch (r) {
    case Role::kLine: return "line";
    case Role::kArc: return "arc";
    case Role::kPoint: return "point";
    case Role::kText: return "text";
    case Role::kDimension: return "dimension";
    case Role::kSolid: return "solid";
    case Role::kImage: return "image";
    case Role::kImageFrame: return "image-frame";
  }
  return "";
}

std::string_view ImageMimeType(std::span<const std::uint8_t> b) {
  auto starts = [&](std::initializer_list<std::uint8_t> sig) {
    return b.size() >= sig.size() && std::equal(sig.begin(), sig.end(), b.begin());
  };
  if (starts({0x89, 'P', 'N', 'G'})) return "image/png";
  if (starts({0xFF, 0xD8, 0xFF})) return "image/jpeg";
  if (starts({'G', 'I', 'F', '8'})) return "image/gif";
  if (starts({'B', 'M'})) return "image/bmp";
  if (starts({'I', 'I', 42, 0}) || starts({'M', 'M', 0, 42})) return "image/tiff";
  return {};
}

void SvgSink::Flush() {
  out_.Write(buf_.data(), buf_.size());
  buf_.clear();
}

void SvgSink::Begin(int width, int height, Rgb background) {
  buf_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.1\"";
  Attr(buf_, "width", width);
  Attr(buf_, "height", height);
  buf_ += " viewBox=\"0 0 ";
  Num(buf_, width);
  buf_ += ' ';
  Num(buf_, height);
  buf_ += "\">\n<rect width=\"100%\" height=\"100%\" fill=\"";
  Color(buf_, background);
  buf_ += "\"/>\n<g fill=\"none\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n";
}

void SvgSink::OpenStroke(const Stroke& s) {
  if (strokeOpen_ && s == stroke_) return;
  CloseStroke();
  buf_ += "<g stroke=\"";
  Color(buf_, s.color);
  buf_ += '"';
  Attr(buf_, "stroke-width", s.width);
  if (!s.dashes.empty()) {
    buf_ += " stroke-dasharray=\"";
    for (std::size_t i = 0; i < s.dashes.size(); ++i) {
      if (i) buf_ += ' ';
      Num(buf_, s.dashes[i]);
    }
    buf_ += '"';
  }
  buf_ += ">\n";
  strokeOpen_ = true;
  stroke_ = s;
}

void SvgSink::CloseStroke() {
  if (!strokeOpen_) return;
  buf_ += "</g>\n";
  strokeOpen_ = false;
}

void SvgSink::Polyline(std::span<const Point> pts, const Stroke& stroke, Role role) {
  if (pts.size() < 2) return;
  OpenStroke(stroke);
  if (pts.size() == 2) {
    buf_ += "<line";
    Class(buf_, role);
    Attr(buf_, "x1", pts[0].x);
    Attr(buf_, "y1", pts[0].y);
    Attr(buf_, "x2", pts[1].x);
    Attr(buf_, "y2", pts[1].y);
  } else {
    buf_ += "<polyline";
    Class(buf_, role);
    Points(buf_, pts);
  }
  buf_ += "/>\n";
  if (buf_.size() >= kFlushAt) Flush();
}

void SvgSink::Polygon(std::span<const Point> pts, Rgb fill, Role role) {
  CloseStroke();
  buf_ += "<polygon";
  Class(buf_, role);
  buf_ += " fill=\"";
  Color(buf_, fill);
  buf_ += '"';
  Points(buf_, pts);
  buf_ += "/>\n";
  if (buf_.size() >= kFlushAt) Flush();
}

void SvgSink::Dot(Point c, double r, Rgb fill, Role role) {
  CloseStroke();
  buf_ += "<circle";
  Class(buf_, role);
  Attr(buf_, "cx", c.x);
  Attr(buf_, "cy", c.y);
  Attr(buf_, "r", r);
  buf_ += " fill=\"";
  Color(buf_, fill);
  buf_ += "\"/>\n";
  if (buf_.size() >= kFlushAt) Flush();
}

void SvgSink::Text(const TextRun& t, Role role) {
  CloseStroke();
  buf_ += "<text";
  Class(buf_, role);
  buf_ += " transform=\"translate(";
  Num(buf_, t.origin.x);
  buf_ += ' ';
  Num(buf_, t.origin.y);
  buf_ += ") rotate(";
  Num(buf_, t.angle * 180 / std::numbers::pi);
  buf_ += ")\" x=\"0\"";
  // Characters stand on the base line with their descent: the alphabetic base line lies
  // that much above it.
  Attr(buf_, "y", -0.12 * t.height);
  Attr(buf_, "font-size", t.height);
  buf_ += " font-family=\"";
  bool first = true;
  for (std::u16string_view font : t.fonts) {
    String name;
    for (char16_t c : font)
      if (c >= 0x20 && c != u'\'' && c != u'"' && c != u'&' && c != u'<' && c != u'>' && c != u',') name.push_back(c);
    if (name.empty()) continue;
    if (!first) buf_ += ',';
    first = false;
    const bool generic = name == u"sans-serif" || name == u"serif";
    if (!generic) buf_ += '\'';
    buf_ += ToUtf8(name);
    if (!generic) buf_ += '\'';
  }
  buf_ += "\" fill=\"";
  Color(buf_, t.color);
  buf_ += '"';
  if (t.length > 0) {
    Attr(buf_, "textLength", t.length);
    buf_ += " lengthAdjust=\"spacingAndGlyphs\"";
  }
  buf_ += " xml:space=\"preserve\">";
  Escaped(buf_, t.text);
  buf_ += "</text>\n";
  if (buf_.size() >= kFlushAt) Flush();
}

bool SvgSink::Image(const ImagePlacement& im) {
  const std::string_view mime = ImageMimeType(im.bytes);
  if (mime.empty()) return false;
  CloseStroke();
  // The unit square of the image, top-left first, onto its place in the picture.
  const Point topLeft = im.origin + im.up;
  buf_ += "<image class=\"image\" x=\"0\" y=\"0\" width=\"1\" height=\"1\" preserveAspectRatio=\"none\" transform=\"matrix(";
  const double m[6] = {im.right.x, im.right.y, -im.up.x, -im.up.y, topLeft.x, topLeft.y};
  for (int i = 0; i < 6; ++i) {
    if (i) buf_ += ' ';
    char b[32];
    std::snprintf(b, sizeof b, "%.6g", std::isfinite(m[i]) ? m[i] : 0.0);
    buf_ += b;
  }
  buf_ += ")\" xlink:href=\"data:";
  buf_ += mime;
  buf_ += ";base64,";
  Flush();
  Base64(buf_, im.bytes);
  buf_ += "\"/>\n";
  Flush();
  return true;
}

void SvgSink::End() {
  CloseStroke();
  buf_ += "</g>\n</svg>\n";
  Flush();
}

bool WriteSvgPicture(const DrawingInput& in, const RenderOptions& options, const String& path, RenderResult& result) {
  OutputFile file(path);
  if (!file.ok()) {
    file.Abandon();
    return false;
  }
  {
    SvgSink sink(file.stream());
    result = Render(in, options, sink);
  }
  return file.Commit();
}

}  // namespace plandown::render
