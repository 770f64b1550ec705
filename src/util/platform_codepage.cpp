// Code page 932 through the platform: the Windows API on Windows, iconv elsewhere.
//
// The format was made on Windows, so the Windows table is the reference. glibc's CP932
// differs from it in a few places, corrected here (measured by converting every one- and
// two-byte sequence and every BMP character both ways):
// - the single bytes 80, A0, FD, FE and FF are U+0080, U+F8F0, U+F8F1, U+F8F2 and U+F8F3
//   both ways on Windows; glibc has none of them, and wine's table cannot decode the last
//   four, so both platforms take them from FixedSingleByte, never from the installed table;
// - encoding: Windows has no form for U+00A2, U+00A3, U+00A5, U+00AC, U+2014, U+2016,
//   U+203E, U+2212 and U+301C (glibc maps them one way onto 81 91, 81 92, 5C, 81 CA, 81 5C,
//   81 61, 7E, 81 7C and 81 60).
#include "util/platform_codepage.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#include <cstring>
#endif

namespace plandown::platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Units of the character that starts at text[i]: a whole surrogate pair, else one unit.
std::size_t CharLength(std::u16string_view text, std::size_t i) {
  return IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 1;
}

// The character of a single byte that the installed tables may lack; 0 for any other byte.
char16_t FixedSingleByte(std::uint8_t b) {
  switch (b) {
    case 0x80: return 0x0080;
    case 0xA0: return 0xF8F0;
    case 0xFD: return 0xF8F1;
    case 0xFE: return 0xF8F2;
    case 0xFF: return 0xF8F3;
    default: return 0;
  }
}

// The byte FixedSingleByte decodes to u; 0 for any other character.
std::uint8_t FixedSingleByteOf(char16_t u) {
  switch (u) {
    case 0x0080: return 0x80;
    case 0xF8F0: return 0xA0;
    case 0xF8F1: return 0xFD;
    case 0xF8F2: return 0xFE;
    case 0xF8F3: return 0xFF;
    default: return 0;
  }
}

// Where the Windows table answers otherwise than the installed one when encoding: the
// byte Windows writes, 0 for a character Windows has no form for, -1 for any other.
int EncodingOverride(char16_t u);

// Encodes text that holds no character of EncodingOverride, appending to out.
void EncodeRun(std::u16string_view text, std::vector<std::uint8_t>& out, std::size_t& replaced);

}  // namespace

std::vector<std::uint8_t> EncodeCp932(std::u16string_view text, std::size_t& replaced) {
  replaced = 0;
  std::vector<std::uint8_t> out;
  out.reserve(text.size() * 2);
  std::size_t run = 0;  // start of the characters not yet encoded
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int override = EncodingOverride(text[i]);
    if (override < 0) continue;
    EncodeRun(text.substr(run, i - run), out, replaced);
    out.push_back(override == 0 ? '?' : static_cast<std::uint8_t>(override));
    if (override == 0) ++replaced;
    run = i + 1;
  }
  EncodeRun(text.substr(run), out, replaced);
  return out;
}

#ifdef _WIN32
namespace {

constexpr UINT kCodePage = 932;

// Decodes exactly; false when the bytes hold a sequence the code page does not define.
bool DecodeStrict(const std::uint8_t* bytes, int n, String& out) {
  const char* in = reinterpret_cast<const char*>(bytes);
  const int units = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, in, n, nullptr, 0);
  if (units <= 0) return false;
  std::wstring w(static_cast<std::size_t>(units), L'\0');
  if (MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, in, n, w.data(), units) != units) return false;
  out.assign(w.begin(), w.end());
  return true;
}

// Encodes exactly; false when a character has no form (the default character was used).
bool EncodeStrict(std::u16string_view text, std::vector<std::uint8_t>& out) {
  const wchar_t* in = reinterpret_cast<const wchar_t*>(text.data());
  const int n = static_cast<int>(text.size());
  BOOL used = FALSE;
  // Without WC_NO_BEST_FIT_CHARS Windows writes a look-alike ("e" for "é") instead of failing.
  const int size = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, in, n, nullptr, 0, "?", &used);
  if (size <= 0 || used) return false;
  out.resize(static_cast<std::size_t>(size));
  used = FALSE;
  const int written = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, in, n,
                                          reinterpret_cast<char*>(out.data()), size, "?", &used);
  return written == size && !used;
}

// Whether a byte of FixedSingleByte starts a character (80 and A0 are trail bytes too).
bool HoldsFixedSingleByte(std::span<const std::uint8_t> bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const std::uint8_t b = bytes[i];
    if (FixedSingleByte(b)) return true;
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    const bool trail = i + 1 < bytes.size() && bytes[i + 1] >= 0x40 && bytes[i + 1] <= 0xFC && bytes[i + 1] != 0x7F;
    i += lead && trail ? 2 : 1;
  }
  return false;
}

int EncodingOverride(char16_t u) {
  const std::uint8_t b = FixedSingleByteOf(u);
  return b ? b : -1;
}

void EncodeRun(std::u16string_view text, std::vector<std::uint8_t>& out, std::size_t& replaced) {
  if (text.empty()) return;
  std::vector<std::uint8_t> one;
  if (EncodeStrict(text, one)) {
    out.insert(out.end(), one.begin(), one.end());
    return;
  }
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t len = CharLength(text, i);
    if (EncodeStrict(text.substr(i, len), one)) {
      out.insert(out.end(), one.begin(), one.end());
    } else {
      out.push_back('?');
      ++replaced;
    }
    i += len;
  }
}

}  // namespace

String DecodeCp932(std::span<const std::uint8_t> bytes) {
  String out;
  if (bytes.empty()) return out;
  if (!HoldsFixedSingleByte(bytes) && DecodeStrict(bytes.data(), static_cast<int>(bytes.size()), out)) return out;
  // MB_ERR_INVALID_CHARS fails the whole call on one bad byte: go character by character,
  // one U+FFFD for a byte that starts no defined sequence.
  out.clear();
  String one;
  for (std::size_t i = 0; i < bytes.size();) {
    if (const char16_t fixed = FixedSingleByte(bytes[i])) {
      out.push_back(fixed);
      i += 1;
    } else if (DecodeStrict(bytes.data() + i, 1, one)) {
      out += one;
      i += 1;
    } else if (i + 1 < bytes.size() && DecodeStrict(bytes.data() + i, 2, one) && one.size() == 1) {
      out += one;
      i += 2;
    } else {
      out.push_back(kReplacement);
      i += 1;
    }
  }
  return out;
}

#else
namespace {

// One converter per direction and thread: iconv descriptors carry state and are not
// safe to share between threads.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }
  void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

 private:
  iconv_t cd_;
};

Converter& Decoder() {
  thread_local Converter c("UTF-16LE", "CP932");
  return c;
}
Converter& Encoder() {
  thread_local Converter c("CP932", "UTF-16LE");
  return c;
}

int EncodingOverride(char16_t u) {
  if (const std::uint8_t b = FixedSingleByteOf(u)) return b;
  switch (u) {
    case 0x00A2: case 0x00A3: case 0x00A5: case 0x00AC: case 0x2014:
    case 0x2016: case 0x203E: case 0x2212: case 0x301C:
      return 0;
    default: return -1;
  }
}

void EncodeRun(std::u16string_view text, std::vector<std::uint8_t>& out, std::size_t& replaced) {
  if (text.empty()) return;
  Converter& cv = Encoder();
  if (!cv.ok()) {  // no CP932 table: keep ASCII, mark the rest
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
      out.push_back(text[i] < 0x80 ? static_cast<std::uint8_t>(text[i]) : '?');
      if (text[i] >= 0x80) ++replaced;
    }
    return;
  }
  const std::size_t start = out.size();
  out.resize(start + text.size() * 2 + 4);  // CP932 never takes more than two bytes a unit
  char* outp = reinterpret_cast<char*>(out.data() + start);
  size_t outLeft = out.size() - start;
  char* in = reinterpret_cast<char*>(const_cast<char16_t*>(text.data()));
  size_t inLeft = text.size() * 2;
  cv.reset();
  while (inLeft > 0) {
    if (iconv(cv.get(), &in, &inLeft, &outp, &outLeft) != static_cast<size_t>(-1)) break;
    if (errno != EILSEQ && errno != EINVAL) break;  // E2BIG cannot happen with the sizing above
    // Skip one character: a whole surrogate pair, or one unit.
    char16_t u, v = 0;
    std::memcpy(&u, in, 2);
    if (inLeft >= 4) std::memcpy(&v, in + 2, 2);
    const size_t skip = IsHighSurrogate(u) && IsLowSurrogate(v) ? 4 : 2;
    if (outLeft < 1) break;
    *outp++ = '?';
    --outLeft;
    ++replaced;
    in += skip;
    inLeft -= skip;
    cv.reset();
  }
  out.resize(static_cast<std::size_t>(reinterpret_cast<std::uint8_t*>(outp) - out.data()));
}

}  // namespace

String DecodeCp932(std::span<const std::uint8_t> bytes) {
  String out;
  if (bytes.empty()) return out;
  Converter& cv = Decoder();
  if (!cv.ok()) {  // no CP932 table: keep ASCII and the fixed bytes, mark the rest
    for (std::uint8_t c : bytes) out.push_back(c < 0x80 ? c : FixedSingleByte(c) ? FixedSingleByte(c) : kReplacement);
    return out;
  }
  cv.reset();
  out.resize(bytes.size());  // CP932 never yields more units than bytes
  char* in = reinterpret_cast<char*>(const_cast<std::uint8_t*>(bytes.data()));
  size_t inLeft = bytes.size();
  char* outp = reinterpret_cast<char*>(out.data());
  size_t outLeft = out.size() * 2;
  while (inLeft > 0) {
    if (iconv(cv.get(), &in, &inLeft, &outp, &outLeft) != static_cast<size_t>(-1)) break;
    if (errno != EILSEQ && errno != EINVAL) break;  // E2BIG cannot happen with the sizing above
    // An undefined or cut-off sequence: one replacement character for its first byte,
    // except the bytes glibc lacks, which Windows defines. A fixed byte never starts a
    // sequence glibc defines, so iconv always stops on it.
    if (outLeft < 2) break;
    const char16_t fixed = FixedSingleByte(static_cast<std::uint8_t>(*in));
    const char16_t rep = fixed ? fixed : kReplacement;
    std::memcpy(outp, &rep, 2);
    outp += 2;
    outLeft -= 2;
    ++in;
    --inLeft;
    cv.reset();
  }
  out.resize(static_cast<std::size_t>(reinterpret_cast<char16_t*>(outp) - out.data()));
  return out;
}

#endif

}  // namespace plandown::platform
