#include "images/image_convert.h"

#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/quantize.h>

#include <array>
#include <cstdio>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "archive/instream.h"
#include "images/image_names.h"
#include "images/image_text.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/text.h"

namespace plandown {

namespace {

// wxImage's handlers keep global state and are not thread-safe.
std::mutex gImageMutex;

std::optional<wxBitmapType> EncoderFor(const String& dst) {
  static const std::array<std::pair<std::u16string_view, wxBitmapType>, 7> kEncoders = {{
      {u".bmp", wxBITMAP_TYPE_BMP},
      {u".gif", wxBITMAP_TYPE_GIF},
      {u".png", wxBITMAP_TYPE_PNG},
      {u".tif", wxBITMAP_TYPE_TIFF},
      {u".tiff", wxBITMAP_TYPE_TIFF},
      {u".jpg", wxBITMAP_TYPE_JPEG},
      {u".jpeg", wxBITMAP_TYPE_JPEG},
  }};
  String ext;
  try {
    ext = LowerExt(dst);
  } catch (const std::invalid_argument&) {
    return std::nullopt;
  }
  for (const auto& [e, type] : kEncoders)
    if (ext == e) return type;
  return std::nullopt;
}

bool ReadWholeFile(const String& path, std::vector<std::uint8_t>& bytes) {
  InStream in(path);
  if (!in.ok()) return false;
  bytes.resize(static_cast<std::size_t>(in.size()));
  bytes.resize(in.Read(bytes.data(), bytes.size()));
  return true;
}

// Encodes the image file `src` as `type` into `out`.
bool Encode(const std::vector<std::uint8_t>& src, wxBitmapType type, std::int32_t quality,
            std::vector<std::uint8_t>& out) {
  std::lock_guard<std::mutex> lock(gImageMutex);
  if (!InitImageLibrary()) return false;
  wxLogNull quiet;  // failures are answered with false, not with log output
  wxMemoryInputStream in(src.data(), src.size());
  wxImage image;
  if (!image.LoadFile(in, wxBITMAP_TYPE_ANY) || !image.IsOk()) return false;
  if (type == wxBITMAP_TYPE_GIF) {
    // The GIF encoder needs a palette; without the Windows system colours all 256
    // entries serve the image.
    wxImage reduced;
    if (!wxQuantize::Quantize(image, reduced, 256, nullptr, wxQUANTIZE_FILL_DESTINATION_IMAGE)) return false;
    image = reduced;
  }
  if (type == wxBITMAP_TYPE_JPEG) image.SetOption(wxIMAGE_OPTION_QUALITY, static_cast<int>(quality));
  wxMemoryOutputStream encoded;
  if (!image.SaveFile(encoded, type)) return false;
  out.resize(encoded.GetSize());
  if (!out.empty()) encoded.CopyTo(out.data(), out.size());
  return true;
}

// Writes `bytes` to `dst` through a temporary file in the same folder, so that `dst` is
// either the old file or the complete new one.
bool WriteFileWhole(const String& dst, const std::vector<std::uint8_t>& bytes) {
  const String temp = TemporaryNameBeside(dst);
  std::FILE* f = OpenFileAt(temp, "wbx");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fclose(f) == 0 && ok;
  if (ok) ok = RenameFileOver(temp, dst);
  if (!ok) DeleteFileAt(temp);
  return ok;
}

}  // namespace

bool InitImageLibrary() {
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

bool SaveImageAs(const String& src, const String& dst, std::int32_t quality) {
  try {
    const std::optional<wxBitmapType> type = EncoderFor(dst);
    if (!type) return false;
    std::vector<std::uint8_t> source;
    std::vector<std::uint8_t> encoded;
    return ReadWholeFile(src, source) && Encode(source, *type, quality, encoded) && WriteFileWhole(dst, encoded);
  } catch (...) {
    return false;
  }
}

String ConvertExtractedImage(const String& Fname, const String& folder, const ConversionSettings& s) {
  if (folder.empty()) return {};
  const String plain = InflatedImageName(Fname);
  if (plain.empty()) return {};
  const String target = PlainImageFileName(ConvertedImageName(plain, s));
  // Names that differ only in case are one file where the drawings are used; converting
  // it onto itself and then deleting the source would lose the image.
  if (target.empty() || LowerText(target) == LowerText(plain)) return {};
  const String dir = AddPathDelim(folder);
  const bool ok = SaveImageAs(dir + plain, dir + target, s.JpegQuality);
  if (s.DeleteSourceImage != 0 && ok && FileExistsAt(dir + plain)) DeleteFileAt(dir + plain);
  return ok ? dir + target : String();
}

}  // namespace plandown
