#include "util/paths.h"

#include "util/text.h"

namespace plandown {
namespace {

constexpr std::size_t npos = std::u16string_view::npos;

std::size_t LastDelim(std::u16string_view path) {
  for (std::size_t i = path.size(); i > 0; --i)
    if (IsPathDelim(path[i - 1])) return i - 1;
  return npos;
}

// Index of the dot that starts the extension, or npos. Names coming from drawings may
// carry a drive ("C:a.bmp"), so ":" ends the folder part as well.
std::size_t ExtensionStart(std::u16string_view path) {
  std::size_t dot = path.find_last_of(u'.');
  if (dot == npos) return npos;
  std::size_t delim = path.find_last_of(u"\\/:");
  return (delim != npos && delim > dot) ? npos : dot;
}

}  // namespace

String AddPathDelim(std::u16string_view path) {
  String out(path);
  if (out.empty() || !IsPathDelim(out.back())) out.push_back(PathDelim());
  return out;
}

String ExtractFolder(std::u16string_view path) {
  if (StripBlanks(path).empty() || PathTooLong(path) || HasForbiddenPathChars(path)) return String();
  std::size_t delim = LastDelim(path);
  // A bare name has no folder part; answering with a root would point elsewhere.
  if (delim == npos) return String();
  // The folder keeps one trailing separator, the caller's own; a root ("/a.jww") keeps its
  // separator.
  std::size_t end = delim + 1;
  while (end > 1 && IsPathDelim(path[end - 2])) --end;
  return String(path.substr(0, end));
}

String ExtractName(std::u16string_view path) {
  if (HasForbiddenPathChars(path)) return String();
  std::size_t delim = path.find_last_of(u"\\/:");
  return String(delim == npos ? path : path.substr(delim + 1));
}

String LowerExt(std::u16string_view path) {
  if (HasForbiddenPathChars(path)) throw std::invalid_argument("path holds characters not allowed in paths");
  std::size_t dot = ExtensionStart(path);
  return dot == npos ? String() : LowerText(path.substr(dot));
}

String ChangeExt(std::u16string_view path, std::u16string_view ext) {
  std::size_t dot = ExtensionStart(path);
  String out(dot == npos ? path : path.substr(0, dot));
  out.append(ext);
  return out;
}

}  // namespace plandown
