#include "images/image_convert.h"

#include <array>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "archive/instream.h"
#include "images/image_names.h"
#include "images/image_text.h"
#include "util/files.h"
#include "util/graphics_module.h"
#include "util/paths.h"
#include "util/text.h"

namespace plandown {

namespace {

std::optional<ImageEncoding> EncoderFor(const String& dst) {
  static const std::array<std::pair<std::u16string_view, ImageEncoding>, 7> kEncoders = {{
      {u".bmp", ImageEncoding::kBmp},
      {u".gif", ImageEncoding::kGif},
      {u".png", ImageEncoding::kPng},
      {u".tif", ImageEncoding::kTiff},
      {u".tiff", ImageEncoding::kTiff},
      {u".jpg", ImageEncoding::kJpeg},
      {u".jpeg", ImageEncoding::kJpeg},
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
  const GraphicsEntries* graphics = GraphicsModule();
  return graphics != nullptr && graphics->initImages();
}

bool SaveImageAs(const String& src, const String& dst, std::int32_t quality) {
  try {
    const std::optional<ImageEncoding> encoding = EncoderFor(dst);
    if (!encoding) return false;
    const GraphicsEntries* graphics = GraphicsModule();
    if (graphics == nullptr) return false;
    std::vector<std::uint8_t> source;
    std::vector<std::uint8_t> encoded;
    return ReadWholeFile(src, source) &&
           graphics->encodeImage(source.data(), source.size(), *encoding, static_cast<int>(quality), &encoded) &&
           WriteFileWhole(dst, encoded);
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
