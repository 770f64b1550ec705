// Text and number helpers. None of them throws (except LowerExt, see paths.h); failures
// give an empty text, 0 or false. Indexes are 0-based UTF-16 units.
#pragma once
#include <cstdint>
#include <string_view>

#include "util/codepage.h"
#include "util/ustring.h"

namespace plandown {

String UpperText(std::u16string_view s);   // locale-independent full-width aware upper-casing
String LowerText(std::u16string_view s);
// Simple (one unit to one unit) case mapping of a single UTF-16 unit, as used by the two above.
char16_t UpperChar(char16_t c);
char16_t LowerChar(char16_t c);
int PosIndex(std::u16string_view sub, std::u16string_view text);  // -1 when absent or sub empty
String CopyFrom(std::u16string_view text, int i);
String CopyMid(std::u16string_view text, int i, int n);
String CopyLast(std::u16string_view text, int n);
String RepeatText(std::u16string_view text, int n);
std::int32_t TextToInt(std::u16string_view text);
String IntToText(std::int32_t n);
double TextToFloat(std::u16string_view text);
String StripBlanks(std::u16string_view s);    // drops U+0020, U+3000 and every unit below U+0020
String StripControls(std::u16string_view s);  // drops every unit below U+0020
String MemoToLine(std::u16string_view s);     // one-line form: drops "^m", "\n" pairs and controls
// The one-line form of an image text: "\n" there is a folder separator and a name, so only
// "^m" pairs and controls go.
String ImageTextToLine(std::u16string_view s);
// Sets bytes 0..n-1 of `bytes` to the low 8 bits of value (n clamped to the array's size).
int FillBytes(int value, int n, Bytes& bytes);
String EncodeHexText(std::u16string_view s);  // UTF-8 bytes as upper-case hex pairs
String DecodeHexText(std::u16string_view s);

// Convenience for literals in code: u"..." is already String-compatible.
inline String S(std::u16string_view s) { return String(s); }

}  // namespace plandown
