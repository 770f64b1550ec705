// Whether a folder may receive converted files from a source folder.
#pragma once
#include <string_view>

#include "util/ustring.h"

namespace plandown {

enum class DestinationProblem { kNone, kNotGiven, kMissing, kIsSourceFolder };

// The folders themselves are compared, not their texts: "C:\Data", "c:\data\" and a link
// to it are one folder. A source folder that does not exist never matches.
DestinationProblem CheckDestinationFolder(std::u16string_view destination, std::u16string_view sourceFolder);

// Whether two existing paths name the same file or folder.
bool SameFileOrFolder(std::u16string_view a, std::u16string_view b);

// The refusal text of a problem; empty for kNone.
String DestinationProblemText(DestinationProblem problem);

}  // namespace plandown
