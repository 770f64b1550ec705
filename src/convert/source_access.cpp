#include "convert/source_access.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "util/file_failure.h"
#include "util/files.h"
#include "util/paths.h"

namespace plandown {

SourceAccessCheck CheckSourceAccess(std::u16string_view path) {
  namespace fs = std::filesystem;
  SourceAccessCheck check;
  std::error_code ec;
  const fs::file_status status = fs::status(ToFsPath(path), ec);
  if (status.type() == fs::file_type::not_found) {
    check.access = SourceAccess::kMissing;
    return check;
  }
  // A folder opens for reading on some systems, but no read of it succeeds.
  if (status.type() == fs::file_type::directory) {
    check.access = SourceAccess::kNotOpenable;
    check.reason = std::make_error_code(std::errc::is_a_directory).message();
    return check;
  }
  // Opening a pipe or device for reading could wait for ever, and reading it might never end.
  if (status.type() != fs::file_type::regular && status.type() != fs::file_type::none) {
    check.access = SourceAccess::kNotOpenable;
    check.reason = "not a regular file";
    return check;
  }
  errno = 0;
  std::FILE* file = OpenFileAt(path, "rb");
  const int error = errno;
  // Another program's byte-range lock lets the file open but not be read.
  const bool readable = file != nullptr && FirstByteReadable(file);
  if (file != nullptr) std::fclose(file);
  if (readable) return check;
  if (LastFileFailure() == FileFailure::kInUse) {
    check.access = SourceAccess::kInUse;
    check.reason = "used by another program";
    return check;
  }
  if (file != nullptr) return check;  // a read error of its own: the reader will meet it
  check.access = SourceAccess::kNotOpenable;
  const std::error_code why = error != 0 ? std::error_code(error, std::generic_category()) : ec;
  check.reason = why ? why.message() : "cannot be opened";
  return check;
}

}  // namespace plandown
