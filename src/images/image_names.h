// Stored bound-image names come from the file: before any of them touches the file
// system it is reduced to a plain file name.
#pragma once
#include "util/ustring.h"

namespace plandown {

// The plain file name of a stored image name: no folder parts, no drive, no "." or "..",
// no characters the platform forbids. Empty when nothing usable is left.
String PlainImageFileName(std::u16string_view stored);

// True when the name's last extension is ".gz" in any case.
bool IsCompressedImageName(std::u16string_view name);

// The plain name an image has once inflated: a compressed name loses its ".gz", any
// other name is only made plain. Empty when nothing usable is left (".gz" alone).
String InflatedImageName(std::u16string_view stored);

}  // namespace plandown
