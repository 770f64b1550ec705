#include "cli/json.h"

#include <cstdio>

#include "util/ustring.h"

namespace plandown::cli {

std::string JsonString(std::u16string_view text) {
  const std::string utf8 = ToUtf8(text);
  std::string out;
  out.reserve(utf8.size() + 2);
  out.push_back('"');
  for (const char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
          out += buf;
        } else {
          out.push_back(c);
        }
    }
  }
  out.push_back('"');
  return out;
}

}  // namespace plandown::cli
