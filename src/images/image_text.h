// Image texts: a text entity whose string begins with "^@BM" shows the image it names.
// A drawing that binds its images names them as "^@BM%temp%name,parameters"; older
// generations need the plain form "^@BMname,parameters" naming the extracted file.
#pragma once
#include <string_view>

#include "convert/settings.h"
#include "util/ustring.h"

namespace plandown {

// The extension ImageFormatIndex forces (".bmp", ".gif", ".png", ".jpg", ".tif"), or
// empty for 0 and unknown indexes.
std::u16string_view ForcedImageExtension(std::int32_t imageFormatIndex);

// The name an extracted image gets when it is converted: the format suffix of its base
// name ("photo_JPG.bmp" -> "photo.jpg") restored, then the forced extension applied.
// Image texts and image files are renamed by this one rule so that they agree.
String ConvertedImageName(std::u16string_view plainName, const ConversionSettings& s);

// The text a bound-image text becomes in an older generation; any other text unchanged.
String RewriteImageText(const String& text, const ConversionSettings& s);
// Whether a text names a bound image (the only texts RewriteImageText changes).
bool IsBoundImageText(std::u16string_view text);

}  // namespace plandown
