#include "cli/text_output.h"

#include <cstdio>

#include "util/ustring.h"

namespace plandown::cli {

std::string VersionText(int version) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d.%02d", version / 100, version % 100);
  return buf;
}

std::string IndentedLines(std::u16string_view text, std::string_view indent) {
  std::string out;
  std::size_t start = 0;
  for (std::size_t i = 0;; ++i) {
    const bool end = i == text.size();
    if (!end && text[i] != u'\r' && text[i] != u'\n') continue;
    if (start > 0) {
      out.push_back('\n');
      out += indent;
    }
    out += ToUtf8(text.substr(start, i - start));
    if (end) break;
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  return out;
}

}  // namespace plandown::cli
