// Words for one file's result that `convert` and `render` print alike.
#pragma once
#include <iosfwd>
#include <string>

#include "convert/conversion_result.h"

namespace plandown::cli {

// Why a file that another program holds was not done, and what the user does about it.
inline constexpr const char* kInUseReason = "used by another program: close it and try again";

// Why a file was not done, for the summary: "write failed", "no such file", "old
// version (3.50)", "cannot be opened (Permission denied)", kInUseReason, "destination "
// followed by kInUseReason ...
std::string NotDoneReason(const FileConversion& r);

// "refused: SOURCE: note" or "failed: SOURCE: note"; nothing for a written file.
void PrintNotDone(std::ostream& out, const FileConversion& r);

// "  changes: name=n, ..." of what a conversion changes; nothing when it changes nothing.
void PrintChanges(std::ostream& out, const WriteReport& report);

}  // namespace plandown::cli
