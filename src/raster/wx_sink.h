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

// A primitive smaller than a pixel: one pixel of its colour, plotted after the rest.
struct Speck {
  int x, y;
  render::Rgb color;
};

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

  // Primitives that fit in a pixel are not drawn through the context: they cost it as
  // much as large ones and show as no more than a pixel. The owner of the pixels plots
  // them (PlotSpecks) once the context has written its picture.
  const std::vector<Speck>& Specks() const { return specks_; }

 private:
  bool AsSpeck(std::span<const render::Point> points, render::Rgb color);
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
  std::map<wxString, double> ems_;
  std::vector<Speck> specks_;
  int width_ = 0, height_ = 0;  // em square in pixels per point, by face
};

// Blends the specks into an RGB picture of width × height.
void PlotSpecks(const std::vector<Speck>& specks, std::uint8_t* rgb, int width, int height);

}  // namespace plandown::raster
