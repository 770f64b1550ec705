#include "codecs/image_codec.h"

#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/quantize.h>

#include <cstdlib>
#include <mutex>

namespace plandown::codecs {

namespace {

// wxImage's handlers keep global state and are not thread-safe.
std::mutex gImageMutex;

bool BitmapType(int format, wxBitmapType& type) {
  switch (format) {
    case kPlandownBmp: type = wxBITMAP_TYPE_BMP; return true;
    case kPlandownGif: type = wxBITMAP_TYPE_GIF; return true;
    case kPlandownPng: type = wxBITMAP_TYPE_PNG; return true;
    case kPlandownTiff: type = wxBITMAP_TYPE_TIFF; return true;
    case kPlandownJpeg: type = wxBITMAP_TYPE_JPEG; return true;
    default: return false;
  }
}

bool Encode(const std::uint8_t* src, std::size_t size, wxBitmapType type, int quality, PlandownBytes& out) {
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
  const std::size_t n = encoded.GetSize();
  auto* data = static_cast<std::uint8_t*>(std::malloc(n ? n : 1));
  if (!data) return false;
  if (n) encoded.CopyTo(data, n);
  out.data = data;
  out.size = n;
  return true;
}

}  // namespace

int InitImageCodecs() {
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
  return ready ? 1 : 0;
}

int EncodeImage(const std::uint8_t* src, std::size_t size, int format, int quality, PlandownBytes* out) {
  if (!out || (!src && size)) return 0;
  out->data = nullptr;
  out->size = 0;
  wxBitmapType type;
  if (!BitmapType(format, type)) return 0;
  try {
    std::lock_guard<std::mutex> lock(gImageMutex);
    return InitImageCodecs() && Encode(src, size, type, quality, *out) ? 1 : 0;
  } catch (...) {
    return 0;  // nothing may cross the C boundary
  }
}

}  // namespace plandown::codecs
