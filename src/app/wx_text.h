// Texts between the program's UTF-16 strings and the toolkit's strings.
#pragma once
#include <wx/string.h>

#include <string_view>

#include "util/ustring.h"

namespace plandown::app {

inline wxString Wx(std::u16string_view s) {
  const std::string utf8 = ToUtf8(s);
  return wxString::FromUTF8(utf8.data(), utf8.size());
}

inline String FromWx(const wxString& s) {
  const wxScopedCharBuffer utf8 = s.utf8_str();
  return FromUtf8(std::string_view(utf8.data(), utf8.length()));
}

}  // namespace plandown::app
