// Path texts. Both "\" and "/" separate folders; results keep the caller's separators.
#pragma once
#include <filesystem>
#include <stdexcept>

#include "util/ustring.h"

namespace plandown {

String AddPathDelim(std::u16string_view path);    // appends the platform separator unless one ends it
String ExtractFolder(std::u16string_view path);   // folder part with a trailing separator, or empty
String ExtractName(std::u16string_view path);     // part after the last "\", "/" or ":"
String LowerExt(std::u16string_view path);        // ".ext" lower-cased; throws std::invalid_argument for a path with forbidden characters
String ChangeExt(std::u16string_view path, std::u16string_view ext);

// Platform rules for path texts (platform.cpp).
char16_t PathDelim();                              // "\" on Windows, "/" elsewhere
inline bool IsPathDelim(char16_t c) { return c == u'\\' || c == u'/'; }  // on every platform
bool HasForbiddenPathChars(std::u16string_view path);
bool PathTooLong(std::u16string_view path);        // beyond what the platform accepts as a path

// A key that is equal for two spellings of one path: absolute, with dots and links
// resolved as far as the path exists, without a trailing separator; on Windows with "\"
// for both separators and case folded, as its file systems compare names.
String PathIdentity(std::u16string_view path);

// The platform path of a path text (UTF-8 on POSIX, wide on Windows).
std::filesystem::path ToFsPath(std::u16string_view path);
String FromFsPath(const std::filesystem::path& p);

}  // namespace plandown
