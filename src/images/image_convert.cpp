#include "images/image_convert.h"

#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "archive/instream.h"
#include "images/codec_module.h"
#include "images/image_names.h"
#include "images/image_text.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/text.h"

namespace plandown {

namespace {

std::optional<PlandownImageFormat> EncoderFor(const String& dst) {
  static const std::array<std::pair<std::u16string_view, PlandownImageFormat>, 7> kEncoders = {{
      {u".bmp", kPlandownBmp},
      {u".gif", kPlandownGif},
      {u".png", kPlandownPng},
      {u".tif", kPlandownTiff},
      {u".tiff", kPlandownTiff},
      {u".jpg", kPlandownJpeg},
      {u".jpeg", kPlandownJpeg},
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

// Encodes the image file `src` as `format` into `out`, through the codec module.
bool Encode(const std::vector<std::uint8_t>& src, PlandownImageFormat format, std::int32_t quality,
            std::vector<std::uint8_t>& out) {
  const PlandownCodecTable* codecs = CodecModule();
  if (!codecs) return false;
  PlandownBytes encoded{};
  if (!codecs->encode_image(src.data(), src.size(), format, static_cast<int>(quality), &encoded)) return false;
  const std::unique_ptr<std::uint8_t, void (*)(std::uint8_t*)> owned(encoded.data, codecs->free_bytes);
  out.assign(encoded.data, encoded.data + encoded.size);
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
  const PlandownCodecTable* codecs = CodecModule();
  return codecs && codecs->init() != 0;
}

bool SaveImageAs(const String& src, const String& dst, std::int32_t quality) {
  try {
    const std::optional<PlandownImageFormat> type = EncoderFor(dst);
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
