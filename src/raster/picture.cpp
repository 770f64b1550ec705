#include "raster/picture.h"

#include <cstring>
#include <memory>
#include <mutex>

#include <wx/graphics.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include "images/image_convert.h"
#include "jww/output_file.h"
#include "raster/png_picture.h"
#include "raster/wx_sink.h"

namespace plandown::raster {

std::mutex& GraphicsMutex() {
  static std::mutex mutex;
  return mutex;
}

bool RenderRaster(const render::DrawingInput& in, const render::RenderOptions& options, RasterPicture& out,
                  render::RenderResult& result) {
  std::lock_guard<std::mutex> lock(GraphicsMutex());
  if (!InitImageLibrary()) return false;
  wxLogNull quiet;
  const int width = std::clamp(options.width, 1, render::kMaxPictureSide);
  const int height = std::clamp(options.height, 1, render::kMaxPictureSide);
  wxImage image(width, height, false);
  if (!image.IsOk()) return false;
  std::memset(image.GetData(), 0xFF, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  std::vector<Speck> specks;
  {
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(image));
    if (!gc) return false;
    WxGraphicsSink sink(*gc);
    render::RenderOptions o = options;
    o.width = width;
    o.height = height;
    result = render::Render(in, o, sink);
    specks = sink.Specks();
  }  // the context writes into the image when it goes
  PlotSpecks(specks, image.GetData(), width, height);
  out.width = width;
  out.height = height;
  out.rgb.assign(image.GetData(), image.GetData() + static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  return true;
}

bool EncodePng(const RasterPicture& p, std::vector<std::uint8_t>& png) {
  std::lock_guard<std::mutex> lock(GraphicsMutex());
  if (!InitImageLibrary()) return false;
  if (p.width <= 0 || p.height <= 0 ||
      p.rgb.size() != static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height) * 3)
    return false;
  wxLogNull quiet;
  wxImage image(p.width, p.height, false);
  std::memcpy(image.GetData(), p.rgb.data(), p.rgb.size());
  wxMemoryOutputStream encoded;
  if (!image.SaveFile(encoded, wxBITMAP_TYPE_PNG)) return false;
  png.resize(encoded.GetSize());
  if (!png.empty()) encoded.CopyTo(png.data(), png.size());
  return !png.empty();
}

bool WritePngFile(const RasterPicture& picture, const String& path) {
  std::vector<std::uint8_t> png;
  if (!EncodePng(picture, png)) return false;
  OutputFile file(path);
  if (!file.ok()) {
    file.Abandon();
    return false;
  }
  file.stream().Write(png.data(), png.size());
  return file.Commit();
}

PngPictureStatus WritePngPicture(const render::DrawingInput& in, const render::RenderOptions& options,
                                 const String& path, render::RenderResult& result) {
  RasterPicture picture;
  if (!RenderRaster(in, options, picture, result)) return PngPictureStatus::kNoGraphics;
  return WritePngFile(picture, path) ? PngPictureStatus::kWritten : PngPictureStatus::kWriteFailed;
}

}  // namespace plandown::raster
