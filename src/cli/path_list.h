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

// The bytes of the file `source` (UTF-8 path), or of standard input for "-"; nullopt when
// they cannot be read.
std::optional<std::string> ReadPathListText(const std::string& source);

}  // namespace plandown::cli
