#include "images/image_text.h"

#include <array>

#include "images/image_names.h"
#include "util/paths.h"
#include "util/text.h"

namespace plandown {

namespace {

constexpr std::u16string_view kBoundImageMarker = u"^@BM%temp%";
constexpr std::u16string_view kImageMarker = u"^@BM";

// Suffixes a bound image keeps of the format it had before binding; the four-letter
// ones are tried first.
constexpr std::array<std::u16string_view, 7> kFormatSuffixes = {
    u"_bmp", u"_gif", u"_png", u"_jpg", u"_tif", u"_jpeg", u"_tiff"};

}  // namespace

std::u16string_view ForcedImageExtension(std::int32_t imageFormatIndex) {
  static constexpr std::array<std::u16string_view, 6> kExtensions = {u"", u".bmp", u".gif", u".png", u".jpg", u".tif"};
  if (imageFormatIndex < 0 || imageFormatIndex >= static_cast<std::int32_t>(kExtensions.size())) return u"";
  return kExtensions[static_cast<std::size_t>(imageFormatIndex)];
}

String ConvertedImageName(std::u16string_view plainName, const ConversionSettings& s) {
  String name(plainName);
  const String base = ChangeExt(name, u"");
  for (std::u16string_view suffix : kFormatSuffixes) {
    const String tail = LowerText(CopyLast(base, static_cast<int>(suffix.size())));
    if (tail != suffix) continue;
    name = base.substr(0, base.size() - suffix.size()) + u'.' + tail.substr(1);
    break;
  }
  const std::u16string_view ext = ForcedImageExtension(s.ImageFormatIndex);
  if (!ext.empty()) name = ChangeExt(name, ext);
  return name;
}

bool IsBoundImageText(std::u16string_view text) { return text.starts_with(kBoundImageMarker); }

String RewriteImageText(const String& text, const ConversionSettings& s) {
  if (!IsBoundImageText(text)) return text;
  const std::size_t comma = text.find(u',');
  if (comma == String::npos) return text;
  // The text keeps the stored name (only file-system use reduces it to a plain name).
  String name = text.substr(kBoundImageMarker.size(), comma - kBoundImageMarker.size());
  if (s.ConvertBoundImages != 0) name = ConvertedImageName(name, s);
  return String(kImageMarker) + name + text.substr(comma);
}

}  // namespace plandown
