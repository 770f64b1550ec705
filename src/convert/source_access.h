// Why a source that its document class did not recognise could not be read: a user who
// mistyped a name or lacks the rights to a file is told so, not that it is no drawing.
#pragma once
#include <string>
#include <string_view>

#include "util/ustring.h"

namespace plandown {

enum class SourceAccess {
  kOpenable,     // the file is there and opens: it is simply not recognised
  kMissing,      // nothing at the path (a link to nothing included)
  kNotOpenable,  // something is there but cannot be opened for reading, or is no
                 // regular file (a folder, pipe or device)
  kInUse,        // another program holds it open (Windows share modes): it may open later
};

struct SourceAccessCheck {
  SourceAccess access = SourceAccess::kOpenable;
  std::string reason;  // the system's words for kNotOpenable ("Permission denied"), and
                       // "used by another program" for kInUse
};

// Never opens anything but a regular file.
SourceAccessCheck CheckSourceAccess(std::u16string_view path);

}  // namespace plandown
