// Lists of paths that other programs hand over (find, xargs, a scheduler, a script):
// one path a line, or each path ended by a NUL byte as `find -print0` writes.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plandown::cli {

// The paths of `text`, in order. Lines may end in CR LF; empty entries are skipped, and
// so is a UTF-8 byte order mark at the start.
std::vector<std::string> SplitPathList(std::string_view text, bool nullSeparated);

// The list in the file `source` (UTF-8 path), or on standard input for "-"; nullopt when
// it cannot be read.
std::optional<std::vector<std::string>> ReadPathList(const std::string& source, bool nullSeparated);

}  // namespace plandown::cli
