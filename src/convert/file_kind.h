// Which document class a file belongs to, judged by its name as the file list does.
#pragma once
#include <string_view>

#include "util/ustring.h"

namespace plandown {

enum class FileKind { kUnknown, kJww, kJws, kJwc, kJwk };

// The lower-cased extension with its dot; empty when there is none or when the path holds
// characters that drawing paths may not contain.
String ExtensionOf(std::u16string_view path);

// The kind of a file by extension. Drawings include their backups (".bak", ".jw$",
// ".bk1" to ".bk9").
FileKind FileKindOf(std::u16string_view path);

// "jww", "jws", "jwc", "jwk" or "unknown".
const char* FileKindName(FileKind kind);

}  // namespace plandown
