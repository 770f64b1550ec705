// Draws the renderer's primitives through a wxGraphicsContext (Cairo and Pango under
// GTK, GDI+ on Windows). Consecutive strokes of one style and fills of one colour go out
// as one path; texts too small to read are drawn as a grey bar along their base line.
#pragma once
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include <wx/graphics.h>
#include <wx/string.h>

#include "render/sink.h"

namespace plandown::raster {

class WxGraphicsSink final : public render::Sink {
 public:
  explicit WxGraphicsSink(wxGraphicsContext& gc);
  ~WxGraphicsSink() override;
  void Begin(int width, int height, render::Rgb background) override;
  void Polyline(std::span<const render::Point> points, const render::Stroke& stroke, render::Role role) override;
  void Polygon(std::span<const render::Point> points, render::Rgb fill, render::Role role) override;
  void Dot(render::Point centre, double radius, render::Rgb fill, render::Role role) override;
  void Text(const render::TextRun& run, render::Role role) override;
  bool Image(const render::ImagePlacement& image) override;
  void End() override;

 private:
  enum class Batch { kNone, kStroke, kFill };
  void Flush();
  void StartStroke(const render::Stroke& s);
  void StartFill(render::Rgb c);
  const wxString& FaceFor(std::span<const std::u16string_view> fonts);

  wxGraphicsContext& gc_;
  Batch batch_ = Batch::kNone;
  wxGraphicsPath path_;
  std::size_t pathPoints_ = 0;
  render::Stroke stroke_;
  std::vector<double> strokeDashes_;
  render::Rgb fill_;
  std::map<std::u16string, wxString> faces_;
  struct FontKey {
    wxString face;
    std::uint32_t colour;
    int step;
    bool operator<(const FontKey& o) const {
      return std::tie(face, colour, step) < std::tie(o.face, o.colour, o.step);
    }
  };
  std::map<FontKey, wxGraphicsFont> fonts_;
  std::map<wxString, double> ems_;  // em square in pixels per point, by face
};

}  // namespace plandown::raster
