// The rules that fit content to an older generation while it is written: attribute
// normalisation, SXF table rows, SXF dimension decomposition and string preparation.
// They act on copies; the document keeps its values.
#pragma once
#include <cstdint>

#include "archive/outstream.h"
#include "jww/types.h"
#include "jww/write_report.h"
#include "util/ustring.h"

namespace plandown {

// Attribute kinds.
enum AttrKind : int {
  kAttrLine = 1, kAttrEnko = 2, kAttrTen = 3, kAttrMoji = 4, kAttrSunpo = 5,
  kAttrSolid = 6, kAttrBlock = 7, kAttrBlockDef = 8,
};

// Writer option bits (FileOutOpt).
inline constexpr int OptStripImagePath = 0x01;
inline constexpr int OptDropTempMarker = 0x08;
inline constexpr int OptPercentSubstitution = 0x10;
inline constexpr int OptUnicodeStrings = 0x20;

// The attribute block as written for Ver and kind (counts its changes in `rep`).
TEntJwwAttr NormalizeAttr(int Ver, TEntJwwAttr a, int kind, WriteReport* rep);
// Normalises and writes: 15 bytes, 13 below generation 3.51.
void WriteAttr(OutStream& out, int Ver, const TEntJwwAttr& attr, int kind, WriteReport* rep);
// The same into dst (room for kMaxAttrBytes); returns the bytes written.
inline constexpr std::size_t kMaxAttrBytes = 15;
std::size_t EncodeAttr(std::uint8_t* dst, int Ver, const TEntJwwAttr& attr, int kind, WriteReport* rep);

// SXF table rows as written (names given, print colours, broken line-type rows).
TEntJwwColorExNo SxfColorRowForWrite(const TEntJwwColorExNo& row, int i);
TEntJwwLineTypeExNo SxfLineTypeRowForWrite(const TEntJwwLineTypeExNo& row, int i, bool* repaired);

// Whether a dimension is written as seven objects for Ver.
bool DecomposesDimension(int Ver, int srcVer, const TEntJwwSunpo& d);
inline constexpr int kDecomposedExtraObjects = 6;

// Strings as written (before encoding).
String PrepareName(std::u16string_view s);                   // one-line form
String PrepareTextString(std::u16string_view s, int opt);    // text entity strings
String PrepareDimensionText(std::u16string_view s, int opt); // dimension value texts
// Whether the string is already in its prepared form (the preparation would return it
// unchanged), so that the writer can take it as it stands.
bool NameIsPrepared(std::u16string_view s);
bool TextStringIsPrepared(std::u16string_view s, int opt);
bool DimensionTextIsPrepared(std::u16string_view s, int opt);

// Text sizes are written as absolute values within 1e-10 .. 1e10.
double ClampTextSize(double v);

}  // namespace plandown
