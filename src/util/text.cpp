#include "util/text.h"

#include <charconv>
#include <cstddef>
#include <string>

namespace plandown {
namespace {

// Simple case pairs of the scripts that occur in drawing texts and file names. Each entry
// names an upper-case range; its lower-case partner is upper + delta. With step 2 only every
// other unit of the range is upper case (the alternating pairs of the Latin and Cyrillic
// extension blocks). One-way entries cover letters whose mapping does not round-trip.
enum class CaseDir : std::uint8_t { kBoth, kToUpperOnly, kToLowerOnly };

struct CaseRange {
  char16_t first;
  char16_t last;
  std::int32_t delta;
  std::uint8_t step;
  CaseDir dir;
};

constexpr CaseRange kCaseRanges[] = {
    {0x0041, 0x005A, 32, 1, CaseDir::kBoth},                      // ASCII
    {0x00C0, 0x00D6, 32, 1, CaseDir::kBoth},                      // Latin-1
    {0x00D8, 0x00DE, 32, 1, CaseDir::kBoth},
    {0x0178, 0x0178, 0x00FF - 0x0178, 1, CaseDir::kBoth},         // Y diaeresis
    {0x039C, 0x039C, 0x00B5 - 0x039C, 1, CaseDir::kToUpperOnly},  // micro sign
    {0x0100, 0x012F, 1, 2, CaseDir::kBoth},                       // Latin Extended-A
    {0x0130, 0x0130, 0x0069 - 0x0130, 1, CaseDir::kToLowerOnly},  // capital I with dot
    {0x0049, 0x0049, 0x0131 - 0x0049, 1, CaseDir::kToUpperOnly},  // dotless i
    {0x0132, 0x0137, 1, 2, CaseDir::kBoth},
    {0x0139, 0x0148, 1, 2, CaseDir::kBoth},
    {0x014A, 0x0177, 1, 2, CaseDir::kBoth},
    {0x0179, 0x017E, 1, 2, CaseDir::kBoth},
    {0x0053, 0x0053, 0x017F - 0x0053, 1, CaseDir::kToUpperOnly},  // long s
    {0x0386, 0x0386, 0x03AC - 0x0386, 1, CaseDir::kBoth},         // Greek
    {0x0388, 0x038A, 0x03AD - 0x0388, 1, CaseDir::kBoth},
    {0x038C, 0x038C, 0x03CC - 0x038C, 1, CaseDir::kBoth},
    {0x038E, 0x038F, 0x03CD - 0x038E, 1, CaseDir::kBoth},
    {0x0391, 0x03A1, 32, 1, CaseDir::kBoth},
    {0x03A3, 0x03AB, 32, 1, CaseDir::kBoth},
    {0x03A3, 0x03A3, 0x03C2 - 0x03A3, 1, CaseDir::kToUpperOnly},  // final sigma
    {0x03D8, 0x03EF, 1, 2, CaseDir::kBoth},
    {0x0400, 0x040F, 80, 1, CaseDir::kBoth},                      // Cyrillic
    {0x0410, 0x042F, 32, 1, CaseDir::kBoth},
    {0x0460, 0x0481, 1, 2, CaseDir::kBoth},
    {0x048A, 0x04BF, 1, 2, CaseDir::kBoth},
    {0x04C0, 0x04C0, 15, 1, CaseDir::kBoth},
    {0x04C1, 0x04CE, 1, 2, CaseDir::kBoth},
    {0x04D0, 0x052F, 1, 2, CaseDir::kBoth},
    {0x0531, 0x0556, 48, 1, CaseDir::kBoth},                      // Armenian
    {0x1E00, 0x1E95, 1, 2, CaseDir::kBoth},                       // Latin Extended Additional
    {0x1EA0, 0x1EFF, 1, 2, CaseDir::kBoth},
    {0x2160, 0x216F, 16, 1, CaseDir::kBoth},                      // Roman numerals
    {0x24B6, 0x24CF, 26, 1, CaseDir::kBoth},                      // circled letters
    {0xFF21, 0xFF3A, 32, 1, CaseDir::kBoth},                      // full-width Latin
};

bool InRange(std::int32_t c, std::int32_t first, std::int32_t last, std::uint8_t step) {
  return c >= first && c <= last && (step == 1 || (c - first) % step == 0);
}

// Nothing between the circled letters and the full-width forms has a case (CJK, kana).
bool HasNoCase(char16_t c) { return c >= 0x2500 && c < 0xFF21; }

int HexDigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// The text up to its first U+0000, which ends numbers parsed from fixed-width fields.
std::u16string_view CutAtNul(std::u16string_view s) {
  std::size_t nul = s.find(u'\0');
  return nul == std::u16string_view::npos ? s : s.substr(0, nul);
}

template <typename Keep>
String KeepUnits(std::u16string_view s, Keep keep) {
  String out;
  out.reserve(s.size());
  for (char16_t c : s)
    if (keep(c)) out.push_back(c);
  return out;
}

template <typename Map>
String MapUnits(std::u16string_view s, Map map) {
  String out(s);
  for (char16_t& c : out) c = map(c);
  return out;
}

}  // namespace

char16_t UpperChar(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  if (HasNoCase(c)) return c;
  for (const CaseRange& r : kCaseRanges) {
    if (r.dir == CaseDir::kToLowerOnly) continue;
    if (InRange(c, r.first + r.delta, r.last + r.delta, r.step)) return static_cast<char16_t>(c - r.delta);
  }
  return c;
}

char16_t LowerChar(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
  if (HasNoCase(c)) return c;
  for (const CaseRange& r : kCaseRanges) {
    if (r.dir == CaseDir::kToUpperOnly) continue;
    if (InRange(c, r.first, r.last, r.step)) return static_cast<char16_t>(c + r.delta);
  }
  return c;
}

String UpperText(std::u16string_view s) { return MapUnits(s, UpperChar); }
String LowerText(std::u16string_view s) { return MapUnits(s, LowerChar); }

int PosIndex(std::u16string_view sub, std::u16string_view text) {
  if (sub.empty()) return -1;
  std::size_t at = text.find(sub);
  return at == std::u16string_view::npos ? -1 : static_cast<int>(at);
}

String CopyFrom(std::u16string_view text, int i) {
  if (i < 0) i = 0;
  if (static_cast<std::size_t>(i) >= text.size()) return String();
  return String(text.substr(static_cast<std::size_t>(i)));
}

String CopyMid(std::u16string_view text, int i, int n) {
  if (i < 0) i = 0;
  if (n <= 0 || static_cast<std::size_t>(i) >= text.size()) return String();
  return String(text.substr(static_cast<std::size_t>(i), static_cast<std::size_t>(n)));
}

String CopyLast(std::u16string_view text, int n) {
  if (n <= 0) return String();
  if (static_cast<std::size_t>(n) >= text.size()) return String(text);
  return String(text.substr(text.size() - static_cast<std::size_t>(n)));
}

String RepeatText(std::u16string_view text, int n) {
  String out;
  if (n <= 0) return out;
  out.reserve(text.size() * static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) out.append(text);
  return out;
}

std::int32_t TextToInt(std::u16string_view text) {
  text = CutAtNul(text);
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == u' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  int base = 10;
  if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  if (i == n) return 0;  // no digits
  constexpr std::uint64_t kLimit = 0x80000000u;  // magnitude of the most negative value
  std::uint64_t v = 0;
  for (; i < n; ++i) {
    int d = HexDigitValue(text[i]);
    if (d < 0 || d >= base) return 0;
    v = v * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
    if (v > kLimit) return 0;
  }
  if (negative) return static_cast<std::int32_t>(-static_cast<std::int64_t>(v));
  return v == kLimit ? 0 : static_cast<std::int32_t>(v);
}

String IntToText(std::int32_t n) {
  std::string s = std::to_string(n);
  return String(s.begin(), s.end());
}

double TextToFloat(std::u16string_view text) {
  text = CutAtNul(text);
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == u' ') ++i;
  // Collect the number as ASCII for from_chars, checking its form on the way.
  std::string ascii;
  auto isDigit = [&](std::size_t k) { return k < n && text[k] >= u'0' && text[k] <= u'9'; };
  auto takeDigits = [&]() {
    std::size_t start = i;
    while (isDigit(i)) ascii.push_back(static_cast<char>(text[i++]));
    return i - start;
  };
  if (i < n && (text[i] == u'+' || text[i] == u'-')) {
    if (text[i] == u'-') ascii.push_back('-');
    ++i;
  }
  std::size_t digits = takeDigits();
  if (i < n && text[i] == u'.') {
    ascii.push_back('.');
    ++i;
    digits += takeDigits();
  }
  if (digits == 0) return 0;
  if (i < n && (text[i] == u'e' || text[i] == u'E')) {
    ascii.push_back('e');
    ++i;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) ascii.push_back(static_cast<char>(text[i++]));
    if (takeDigits() == 0) return 0;
  }
  if (i != n) return 0;
  double value = 0;
  auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (ec != std::errc() || end != ascii.data() + ascii.size()) return 0;
  return value;
}

String StripBlanks(std::u16string_view s) {
  return KeepUnits(s, [](char16_t c) { return c > u' ' && c != u'\u3000'; });
}

String StripControls(std::u16string_view s) {
  return KeepUnits(s, [](char16_t c) { return c >= u' '; });
}

namespace {

// Drops control characters and the two-character marks "^m" (and "\\n" when asked)
// until none is left: removing one mark can bring the characters around it together
// into a new one ("^^mm"), which a second conversion would otherwise remove too. The
// marks share no character, so closing them up as they form on one stack gives that
// final text in one pass.
String DropLineMarks(std::u16string_view s, bool backslashN) {
  String out;
  out.reserve(s.size());
  for (const char16_t c : s) {
    if (c < u' ') continue;
    if (!out.empty() && ((c == u'm' && out.back() == u'^') || (backslashN && c == u'n' && out.back() == u'\\'))) {
      out.pop_back();
      continue;
    }
    out.push_back(c);
  }
  if (out.empty()) out.push_back(u' ');
  return out;
}

}  // namespace

String MemoToLine(std::u16string_view s) { return s.empty() ? String() : DropLineMarks(s, true); }

String ImageTextToLine(std::u16string_view s) { return s.empty() ? String() : DropLineMarks(s, false); }

int FillBytes(int value, int n, Bytes& bytes) {
  if (n > static_cast<int>(bytes.size())) n = static_cast<int>(bytes.size());
  for (int k = 0; k < n; ++k) bytes[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(value & 0xFF);
  return value;
}

String EncodeHexText(std::u16string_view s) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  String out;
  for (unsigned char b : ToUtf8(s)) {
    if (b == 0) break;
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 0x0F]);
  }
  return out;
}

String DecodeHexText(std::u16string_view s) {
  // An incomplete last pair is ignored; a pair that is not two hex digits is the byte 0,
  // which ends the text.
  std::string bytes;
  for (std::size_t i = 0; i + 1 < s.size(); i += 2) {
    int hi = HexDigitValue(s[i]);
    int lo = HexDigitValue(s[i + 1]);
    if (hi < 0 || lo < 0) break;
    bytes.push_back(static_cast<char>(hi * 16 + lo));
  }
  std::size_t nul = bytes.find('\0');
  if (nul != std::string::npos) bytes.resize(nul);
  return FromUtf8(bytes);
}

}  // namespace plandown
