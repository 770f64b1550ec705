#include "images/image_names.h"

#include <stdexcept>

#include "util/paths.h"

namespace plandown {

namespace {

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool IsForbiddenNameChar(char16_t c) {
#ifdef _WIN32
  if (c < 0x20) return true;
  switch (c) {
    case u'<': case u'>': case u':': case u'"': case u'/': case u'\\': case u'|': case u'?': case u'*':
      return true;
    default:
      return false;
  }
#else
  return c == 0 || c == u'/';
#endif
}

#ifdef _WIN32
// CON, PRN, AUX, NUL, COM0-9 and LPT0-9 name devices whatever extension follows.
bool IsReservedDeviceName(std::u16string_view name) {
  std::u16string_view stem = name.substr(0, name.find(u'.'));
  while (!stem.empty() && stem.back() == u' ') stem.remove_suffix(1);
  String up;
  for (char16_t c : stem) up.push_back(c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c);
  if (up == u"CON" || up == u"PRN" || up == u"AUX" || up == u"NUL") return true;
  return up.size() == 4 && (up.starts_with(u"COM") || up.starts_with(u"LPT")) && up[3] >= u'0' && up[3] <= u'9';
}
#endif

}  // namespace

String PlainImageFileName(std::u16string_view stored) {
  // Both separators count on every platform: the names were written on Windows.
  std::size_t cut = stored.find_last_of(u"\\/");
  std::u16string_view name = cut == std::u16string_view::npos ? stored : stored.substr(cut + 1);
  if (name.size() >= 2 && IsAsciiLetter(name[0]) && name[1] == u':') name.remove_prefix(2);

  String plain;
  plain.reserve(name.size());
  for (char16_t c : name)
    if (!IsForbiddenNameChar(c)) plain.push_back(c);
#ifdef _WIN32
  // Windows drops trailing dots and spaces, so "x." and "x" are one file.
  while (!plain.empty() && (plain.back() == u'.' || plain.back() == u' ')) plain.pop_back();
  if (IsReservedDeviceName(plain)) return String();
#endif
  if (plain == u"." || plain == u"..") return String();
  return plain;
}

bool IsCompressedImageName(std::u16string_view name) {
  try {
    return LowerExt(name) == u".gz";
  } catch (const std::invalid_argument&) {
    return false;  // a name no path can hold has no extension worth testing
  }
}

String InflatedImageName(std::u16string_view stored) {
  String plain = PlainImageFileName(stored);
  if (!IsCompressedImageName(plain)) return plain;
  return PlainImageFileName(ChangeExt(plain, u""));
}

}  // namespace plandown
