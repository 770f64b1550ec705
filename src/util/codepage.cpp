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

// Drawings repeat the same short non-ASCII strings (font names, layer names) many times:
// a small direct-mapped cache spares the converter most of them.
template <class Key, class Value>
class SmallCache {
 public:
  static constexpr std::size_t kSlots = 64;
  static constexpr std::size_t kMaxKey = 64;
  const Value* Find(const Key& k) const {
    const Slot& s = slots_[Hash(k)];
    return s.used && s.key == k ? &s.value : nullptr;
  }
  void Put(const Key& k, const Value& v) {
    if (k.size() > kMaxKey) return;
    Slot& s = slots_[Hash(k)];
    s.key = k;
    s.value = v;
    s.used = true;
  }

 private:
  struct Slot {
    Key key;
    Value value;
    bool used = false;
  };
  static std::size_t Hash(const Key& k) {
    std::size_t h = 1469598103934665603ull;
    for (auto c : k) h = (h ^ static_cast<std::size_t>(c)) * 1099511628211ull;
    return h % kSlots;
  }
  Slot slots_[kSlots];
};

bool IsAscii(std::span<const std::uint8_t> b) {
  for (std::uint8_t c : b)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

namespace {
String DecodeSlow(std::span<const std::uint8_t> bytes);
struct Encoded {
  Bytes bytes;
  std::size_t replaced = 0;
};
Encoded EncodeSlow(std::u16string_view text);
}  // namespace

String AnsiBytesToText(std::span<const std::uint8_t> bytes) {
  const void* nul = bytes.empty() ? nullptr : std::memchr(bytes.data(), 0, bytes.size());
  if (nul) bytes = bytes.first(static_cast<const std::uint8_t*>(nul) - bytes.data());
  String out;
  if (bytes.empty()) return out;
  if (IsAscii(bytes)) {
    out.assign(bytes.begin(), bytes.end());
    return out;
  }
  thread_local SmallCache<std::basic_string<std::uint8_t>, String> cache;
  const std::basic_string<std::uint8_t> key(bytes.begin(), bytes.end());
  if (const String* hit = cache.Find(key)) return *hit;
  out = DecodeSlow(bytes);
  cache.Put(key, out);
  return out;
}

namespace {
String DecodeSlow(std::span<const std::uint8_t> bytes) {
  String out;
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
}  // namespace

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
  thread_local SmallCache<String, Encoded> cache;
  const String key(text);
  const Encoded* hit = cache.Find(key);
  Encoded enc = hit ? *hit : EncodeSlow(text);
  if (!hit) cache.Put(key, enc);
  if (replaced) *replaced = enc.replaced;
  return enc.bytes;
  (void)rep;
}

namespace {
Encoded EncodeSlow(std::u16string_view text) {
  Bytes out;
  std::size_t rep = 0;
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
    return Encoded{out, rep};
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
  return Encoded{out, rep};
}
}  // namespace

int AnsiByteLength(std::u16string_view text) {
  Bytes b = TextToAnsiBytes(text);
  const void* nul = b.empty() ? nullptr : std::memchr(b.data(), 0, b.size());
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
