#include "jww/downconvert.h"

#include <cmath>

#include "jww/substitution.h"
#include "jww/versions.h"
#include "util/paths.h"
#include "util/text.h"

namespace plandown {

namespace {

inline constexpr int kSxfLineTypeFirst = 31;   // SXF line types 31..62
inline constexpr int kSxfLineTypeMapped = 45;  // 31..45 have an ordinary equivalent
inline constexpr int kSxfLineTypeLast = 62;
inline constexpr int kSxfColorFirst = 101;     // SXF colours 101..356
inline constexpr int kSxfColorMapped = 116;    // 101..116 have an ordinary equivalent
inline constexpr int kSxfColorLast = 356;

// Ordinary line types for SXF types 31..45.
constexpr std::uint8_t kLineTypeMap[] = {1, 4, 3, 6, 8, 8, 2, 5, 7, 6, 6, 8, 8, 17, 17};
// Ordinary colours for SXF colours 101..116.
constexpr std::uint16_t kColorMap[] = {2, 8, 3, 6, 4, 5, 1, 2, 5, 8, 4, 3, 6, 5, 2, 2};

inline constexpr std::uint16_t kMaxLayer = 15;
inline constexpr std::uint16_t kMaxPenWidth = 30000;

bool OrdinaryLineType(int t) { return (t >= 1 && t <= 9) || (t >= 11 && t <= 19); }
bool SxfLineType(int t) { return t >= kSxfLineTypeFirst && t <= kSxfLineTypeLast; }
bool SxfColor(int c) { return c >= kSxfColorFirst && c <= kSxfColorLast; }

void Count(WriteReport* rep, std::uint64_t WriteReport::*field) {
  if (rep) ++(rep->*field);
}

bool StartsWith(std::u16string_view s, std::u16string_view p) { return s.substr(0, p.size()) == p; }

inline constexpr std::u16string_view kImageMarker = u"^@BM";
inline constexpr std::u16string_view kTempImageMarker = u"^@BM%temp%";

}  // namespace

TEntJwwAttr NormalizeAttr(int Ver, TEntJwwAttr a, int kind, WriteReport* rep) {
  const bool lineLike = kind == kAttrLine || kind == kAttrEnko;
  const bool coloured = kind >= kAttrLine && kind <= kAttrSolid;
  if (Ver < kVerSxf) {
    if (lineLike && SxfLineType(a.nPenStyle)) {
      if (a.nPenStyle <= kSxfLineTypeMapped) {
        a.nPenStyle = kLineTypeMap[a.nPenStyle - kSxfLineTypeFirst];
        Count(rep, &WriteReport::lineTypesMapped);
      } else {
        a.nPenStyle = static_cast<std::uint8_t>(DefaultPenStyle);
        Count(rep, &WriteReport::lineTypesDefaulted);
      }
    }
    if (coloured && SxfColor(a.nPenColor)) {
      if (a.nPenColor <= kSxfColorMapped) {
        a.nPenColor = kColorMap[a.nPenColor - kSxfColorFirst];
        Count(rep, &WriteReport::colorsMapped);
      } else {
        a.nPenColor = static_cast<std::uint16_t>(DefaultPenColor);
        Count(rep, &WriteReport::colorsDefaulted);
      }
    }
  }
  if (lineLike && !OrdinaryLineType(a.nPenStyle) && !SxfLineType(a.nPenStyle)) {
    a.nPenStyle = static_cast<std::uint8_t>(DefaultPenStyle);
    Count(rep, &WriteReport::lineTypesDefaulted);
  }
  if (kind == kAttrTen && a.nPenStyle != 1 && a.nPenStyle != 100) {
    a.nPenStyle = 1;
    Count(rep, &WriteReport::valuesReplaced);
  }
  if (kind == kAttrMoji && (a.nPenStyle < 1 || a.nPenStyle > 9)) {
    a.nPenStyle = 1;
    Count(rep, &WriteReport::valuesReplaced);
  }
  if (coloured) {
    const int c = a.nPenColor;
    const int maxOrdinary = kind == kAttrSolid ? 10 : 9;
    if (!((c >= 1 && c <= maxOrdinary) || SxfColor(c))) {
      a.nPenColor = static_cast<std::uint16_t>(DefaultPenColor);
      Count(rep, &WriteReport::colorsDefaulted);
    }
  }
  if (a.nLayer > kMaxLayer) {
    a.nLayer = 0;
    Count(rep, &WriteReport::valuesReplaced);
  }
  if (a.nGLayer > kMaxLayer) {
    a.nGLayer = 0;
    Count(rep, &WriteReport::valuesReplaced);
  }
  if (a.nPenWidth > kMaxPenWidth) {
    a.nPenWidth = 0;
    Count(rep, &WriteReport::valuesReplaced);
  }
  return a;
}

void WriteAttr(OutStream& out, int Ver, const TEntJwwAttr& attr, int kind, WriteReport* rep) {
  std::uint8_t b[kMaxAttrBytes];
  out.Write(b, EncodeAttr(b, Ver, attr, kind, rep));
}

std::size_t EncodeAttr(std::uint8_t* b, int Ver, const TEntJwwAttr& attr, int kind, WriteReport* rep) {
  const TEntJwwAttr a = NormalizeAttr(Ver, attr, kind, rep);
  std::size_t n = 0;
  auto put16 = [&](std::uint16_t v) {
    b[n++] = static_cast<std::uint8_t>(v);
    b[n++] = static_cast<std::uint8_t>(v >> 8);
  };
  b[n++] = static_cast<std::uint8_t>(a.lGroup);
  b[n++] = static_cast<std::uint8_t>(a.lGroup >> 8);
  b[n++] = static_cast<std::uint8_t>(a.lGroup >> 16);
  b[n++] = static_cast<std::uint8_t>(a.lGroup >> 24);
  b[n++] = a.nPenStyle;
  put16(a.nPenColor);
  if (Ver >= kVerPenWidth) put16(a.nPenWidth);
  put16(a.nLayer);
  put16(a.nGLayer);
  put16(a.sFlg);
  return n;
}

TEntJwwColorExNo SxfColorRowForWrite(const TEntJwwColorExNo& row, int i) {
  TEntJwwColorExNo r = row;
  r.astrUDColorName = PrepareName(row.astrUDColorName);
  if (StripBlanks(r.astrUDColorName).empty()) r.astrUDColorName = u"Color_" + IntToText(i);
  if (i >= 17) r.aPrtPenColor = row.aPenColor;
  return r;
}

TEntJwwLineTypeExNo SxfLineTypeRowForWrite(const TEntJwwLineTypeExNo& row, int i, bool* repaired) {
  TEntJwwLineTypeExNo r = row;
  const int seg = row.anUDLTypeSegment;
  const bool broken = i >= 17 && i <= 32 && !(seg == 2 || seg == 4 || seg == 6 || seg == 8);
  if (repaired) *repaired = broken;
  if (broken) {
    r.alLType = static_cast<std::int32_t>(0xC3C3C3C3u);
    r.anTokushuSenUintDot = 8;
    r.anTokushuSenPich = 1;
    r.anPrtTokushuSenPich = 8;
    r.astrUDLTypeName = u"LType_" + IntToText(i);
    r.anUDLTypeSegment = 2;
    r.aadUDLTypePitch = {};
    r.aadUDLTypePitch[1] = 1.0;
    r.aadUDLTypePitch[2] = 1.0;
    return r;
  }
  if (r.alLType == 0) r.alLType = -1;
  r.astrUDLTypeName = PrepareName(row.astrUDLTypeName);
  if (StripBlanks(r.astrUDLTypeName).empty()) r.astrUDLTypeName = u"LType_" + IntToText(i);
  return r;
}

bool DecomposesDimension(int Ver, int srcVer, const TEntJwwSunpo& d) {
  return Ver < kVerSxf && srcVer >= kVerSxf && d.bSxfMode != 0;
}

String PrepareName(std::u16string_view s) { return MemoToLine(s); }

String PrepareTextString(std::u16string_view s, int opt) {
  String t = StartsWith(s, kImageMarker) ? ImageTextToLine(s) : MemoToLine(s);
  if (opt & OptPercentSubstitution) SubstitutePercentText(t);
  if ((opt & OptDropTempMarker) && StartsWith(t, kTempImageMarker))
    t = String(kImageMarker) + t.substr(kTempImageMarker.size());
  if ((opt & OptStripImagePath) && StartsWith(t, kImageMarker)) {
    const std::size_t comma = t.find(u',');
    if (comma != String::npos) {
      const String path = t.substr(kImageMarker.size(), comma - kImageMarker.size());
      t = String(kImageMarker) + ExtractName(path) + t.substr(comma);
    }
  }
  return t;
}

String PrepareDimensionText(std::u16string_view s, int opt) {
  String t = MemoToLine(s);
  if (opt & OptPercentSubstitution) SubstitutePercentText(t);
  return t;
}

namespace {
// Whether the one-line form leaves s as it stands: no control character and no mark
// ("^m", and "\\n" when asked) to drop. An empty string stays empty.
bool InLineForm(std::u16string_view s, bool backslashN) {
  char16_t prev = 0;
  for (const char16_t c : s) {
    if (c < u' ') return false;
    if ((c == u'm' && prev == u'^') || (backslashN && c == u'n' && prev == u'\\')) return false;
    prev = c;
  }
  return true;
}
}  // namespace

bool NameIsPrepared(std::u16string_view s) { return InLineForm(s, true); }

bool TextStringIsPrepared(std::u16string_view s, int opt) {
  if (opt & (OptPercentSubstitution | OptDropTempMarker | OptStripImagePath)) return false;
  return InLineForm(s, !StartsWith(s, kImageMarker));
}

bool DimensionTextIsPrepared(std::u16string_view s, int opt) {
  return !(opt & OptPercentSubstitution) && InLineForm(s, true);
}

double ClampTextSize(double v) {
  v = std::fabs(v);
  if (v < 1e-10) return 1e-10;
  if (v > 1e10) return 1e10;
  return v;
}

}  // namespace plandown
