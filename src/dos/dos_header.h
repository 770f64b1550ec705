// What the JWC and JWK header readers share: the 200-byte blocks, the identification
// test, the comma-field splitter and the number conversions of the fields.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "archive/instream.h"
#include "util/ustring.h"

namespace plandown::dos {

inline constexpr std::size_t kBlockSize = 200;
inline constexpr std::size_t kIdentLength = 20;
inline constexpr char16_t kJwcIdent[] = u"jw_cad(c)data.......";
inline constexpr char16_t kJwkIdent[] = u"jw_cad(c)sym........";

// True when the first 20 bytes of the file, cut at their first NUL, are `ident` exactly.
bool FileHasIdent(std::u16string_view path, std::u16string_view ident);

// Opens the file and hands it to `read`; false when it cannot be opened or is no regular
// file (a pipe or device could block the listing).
bool ReadHeaderFile(std::u16string_view path, const std::function<bool(InStream&)>& read);

// Block 1: the identification (bytes 0-39) and the comments (40-71, 72-103), each cut at
// its first NUL. Raises ArchiveError("File I/O Error") when the block yields no byte.
void ReadIdentBlock(InStream& in, String& jwID, String& comment1, String& comment2);

// One text block decoded as a whole; NUL bytes stay in the text as U+0000. A block read
// only in part gives the text of the bytes that were there. Raises ArchiveError("File I/O
// Error") when the block yields no byte.
String ReadTextBlock(InStream& in);

// Sizes `para` to `count` fields of "0" and fills them from the comma-separated text.
// Fields the text does not reach stay "0"; text beyond `count` fields is ignored.
void SplitFields(std::u16string_view text, int count, std::vector<String>& para);

// Field j of `para` as a number; a field that does not parse gives 0.
std::int32_t FieldInt(const std::vector<String>& para, int j);
float FieldFloat(const std::vector<String>& para, int j);

// A "SSSS:OOOO" segment:offset field as the linear address SSSS * 16 + OOOO.
std::int32_t FieldSegmentAddress(const std::vector<String>& para, int j);

}  // namespace plandown::dos
