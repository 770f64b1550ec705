#include "util/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace plandown {
namespace {

// One converter per direction and thread: iconv descriptors carry state and are not
// safe to share between threads.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
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

bool IsAscii(std::span<const std::uint8_t> b) {
  for (std::uint8_t c : b)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

String AnsiBytesToText(std::span<const std::uint8_t> bytes) {
  const void* nul = std::memchr(bytes.data(), 0, bytes.size());
  if (nul) bytes = bytes.first(static_cast<const std::uint8_t*>(nul) - bytes.data());
  String out;
  if (bytes.empty()) return out;
  if (IsAscii(bytes)) {
    out.assign(bytes.begin(), bytes.end());
    return out;
  }
  Converter& cv = Decoder();
  if (!cv.ok()) {  // no CP932 table: keep ASCII, mark the rest
    for (std::uint8_t c : bytes) out.push_back(c < 0x80 ? c : 0xFFFD);
    return out;
  }
  cv.reset();
  out.resize(bytes.size());  // CP932 never yields more units than bytes
  char* in = reinterpret_cast<char*>(const_cast<std::uint8_t*>(bytes.data()));
  size_t inLeft = bytes.size();
  char* outp = reinterpret_cast<char*>(out.data());
  size_t outLeft = out.size() * 2;
  while (inLeft > 0) {
    size_t r = iconv(cv.get(), &in, &inLeft, &outp, &outLeft);
    if (r != static_cast<size_t>(-1)) break;
    if (errno == EILSEQ || errno == EINVAL) {
      // An undefined or cut-off sequence: one replacement character for its first byte.
      if (outLeft < 2) break;
      const char16_t rep = 0xFFFD;
      std::memcpy(outp, &rep, 2);
      outp += 2;
      outLeft -= 2;
      ++in;
      --inLeft;
      cv.reset();
      continue;
    }
    break;  // E2BIG cannot happen with the sizing above
  }
  out.resize((reinterpret_cast<char16_t*>(outp) - out.data()));
  return out;
}

Bytes TextToAnsiBytes(std::u16string_view text, std::size_t* replaced) {
  Bytes out;
  std::size_t rep = 0;
  bool ascii = true;
  for (char16_t c : text)
    if (c >= 0x80) { ascii = false; break; }
  if (ascii) {
    out.assign(text.begin(), text.end());
    if (replaced) *replaced = 0;
    return out;
  }
  Converter& cv = Encoder();
  out.resize(text.size() * 2 + 4);
  char* outp = reinterpret_cast<char*>(out.data());
  size_t outLeft = out.size();
  char* in = reinterpret_cast<char*>(const_cast<char16_t*>(text.data()));
  size_t inLeft = text.size() * 2;
  if (!cv.ok()) {
    size_t n = 0;
    for (char16_t c : text) {
      if (c >= 0xDC00 && c <= 0xDFFF && n > 0 && out[n - 1] == '?') continue;
      out[n++] = c < 0x80 ? static_cast<std::uint8_t>(c) : '?';
      if (c >= 0x80) ++rep;
    }
    out.resize(n);
    if (replaced) *replaced = rep;
    return out;
  }
  cv.reset();
  while (inLeft > 0) {
    size_t r = iconv(cv.get(), &in, &inLeft, &outp, &outLeft);
    if (r != static_cast<size_t>(-1)) break;
    if (errno == EILSEQ || errno == EINVAL) {
      // Skip one character: a whole surrogate pair, or one unit.
      char16_t u;
      std::memcpy(&u, in, 2);
      size_t skip = 2;
      if (u >= 0xD800 && u <= 0xDBFF && inLeft >= 4) {
        char16_t v;
        std::memcpy(&v, in + 2, 2);
        if (v >= 0xDC00 && v <= 0xDFFF) skip = 4;
      }
      if (outLeft < 1) break;
      *outp++ = '?';
      --outLeft;
      ++rep;
      in += skip;
      inLeft -= skip;
      cv.reset();
      continue;
    }
    break;
  }
  out.resize(reinterpret_cast<std::uint8_t*>(outp) - out.data());
  if (replaced) *replaced = rep;
  return out;
}

int AnsiByteLength(std::u16string_view text) {
  Bytes b = TextToAnsiBytes(text);
  const void* nul = std::memchr(b.data(), 0, b.size());
  return static_cast<int>(nul ? static_cast<const std::uint8_t*>(nul) - b.data() : b.size());
}

Bytes TextToUtf16Bytes(std::u16string_view text) {
  Bytes out(text.size() * 2);
  for (size_t i = 0; i < text.size(); ++i) {
    out[2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
    out[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
  }
  return out;
}

String Utf16BytesToText(std::span<const std::uint8_t> bytes) {
  String out;
  out.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char16_t u = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (u == 0) break;
    out.push_back(u);
  }
  return out;
}

}  // namespace plandown
