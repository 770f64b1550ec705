#include "cli/path_list.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "util/files.h"
#include "util/paths.h"
#include "util/ustring.h"

namespace plandown::cli {

std::vector<std::string> SplitPathList(std::string_view text, bool nullSeparated) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const char end = nullSeparated ? '\0' : '\n';
  std::vector<std::string> paths;
  while (!text.empty()) {
    const std::size_t stop = text.find(end);
    std::string_view entry = text.substr(0, stop);
    text.remove_prefix(stop == std::string_view::npos ? text.size() : stop + 1);
    if (!nullSeparated && entry.ends_with('\r')) entry.remove_suffix(1);
    if (!entry.empty()) paths.emplace_back(entry);
  }
  return paths;
}

std::optional<std::string> ReadPathListText(const std::string& source) {
  std::ostringstream text;
  if (source == "-") {
    text << std::cin.rdbuf();
    if (std::cin.bad()) return std::nullopt;
  } else {
    // A folder opens as a stream on some systems and reads as empty.
    if (FolderExists(FromUtf8(source))) return std::nullopt;
    std::ifstream file(ToFsPath(FromUtf8(source)), std::ios::binary);
    if (!file) return std::nullopt;
    text << file.rdbuf();
    if (file.bad()) return std::nullopt;
  }
  return text.str();
}

}  // namespace plandown::cli
