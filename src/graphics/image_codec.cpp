#include "graphics/image_codec.h"

#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/quantize.h>

#include <mutex>

namespace plandown::graphics {

namespace {

// wxImage's handlers keep global state and are not thread-safe.
std::mutex gImageMutex;

wxBitmapType TypeOf(ImageEncoding encoding) {
  switch (encoding) {
    case ImageEncoding::kBmp: return wxBITMAP_TYPE_BMP;
    case ImageEncoding::kGif: return wxBITMAP_TYPE_GIF;
    case ImageEncoding::kPng: return wxBITMAP_TYPE_PNG;
    case ImageEncoding::kTiff: return wxBITMAP_TYPE_TIFF;
    case ImageEncoding::kJpeg: return wxBITMAP_TYPE_JPEG;
  }
  return wxBITMAP_TYPE_INVALID;
}

}  // namespace

bool InitImageCodecs() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] {
    // A program that runs a wx application has started the library itself.
    if (!wxAppConsole::GetInstance()) {
      static wxInitializer init;
      if (!init.IsOk()) return;
    }
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxInitAllImageHandlers();
    ready = true;
  });
  return ready;
}

bool EncodeImage(const std::uint8_t* src, std::size_t size, ImageEncoding encoding, int quality,
                 std::vector<std::uint8_t>* out) {
  const wxBitmapType type = TypeOf(encoding);
  if (type == wxBITMAP_TYPE_INVALID || out == nullptr) return false;
  std::lock_guard<std::mutex> lock(gImageMutex);
  if (!InitImageCodecs()) return false;
  wxLogNull quiet;  // failures are answered with false, not with log output
  wxMemoryInputStream in(src, size);
  wxImage image;
  if (!image.LoadFile(in, wxBITMAP_TYPE_ANY) || !image.IsOk()) return false;
  if (type == wxBITMAP_TYPE_GIF) {
    // The GIF encoder needs a palette; without the Windows system colours all 256
    // entries serve the image.
    wxImage reduced;
    if (!wxQuantize::Quantize(image, reduced, 256, nullptr, wxQUANTIZE_FILL_DESTINATION_IMAGE)) return false;
    image = reduced;
  }
  if (type == wxBITMAP_TYPE_JPEG) image.SetOption(wxIMAGE_OPTION_QUALITY, quality);
  wxMemoryOutputStream encoded;
  if (!image.SaveFile(encoded, type)) return false;
  out->resize(encoded.GetSize());
  if (!out->empty()) encoded.CopyTo(out->data(), out->size());
  return true;
}

}  // namespace plandown::graphics
