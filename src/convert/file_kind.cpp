#include "convert/file_kind.h"

#include <stdexcept>

#include "util/paths.h"

namespace plandown {

String ExtensionOf(std::u16string_view path) {
  try {
    return LowerExt(path);
  } catch (const std::invalid_argument&) {
    return {};
  }
}

FileKind FileKindOf(std::u16string_view path) {
  const String ext = ExtensionOf(path);
  // The backup range is an ordinal range, as the file list compares it.
  if (ext == u".jww" || ext == u".bak" || ext == u".jw$" || (ext >= u".bk1" && ext <= u".bk9")) return FileKind::kJww;
  if (ext == u".jws") return FileKind::kJws;
  if (ext == u".jwc") return FileKind::kJwc;
  if (ext == u".jwk") return FileKind::kJwk;
  return FileKind::kUnknown;
}

const char* FileKindName(FileKind kind) {
  switch (kind) {
    case FileKind::kJww: return "jww";
    case FileKind::kJws: return "jws";
    case FileKind::kJwc: return "jwc";
    case FileKind::kJwk: return "jwk";
    case FileKind::kUnknown: break;
  }
  return "unknown";
}

}  // namespace plandown
