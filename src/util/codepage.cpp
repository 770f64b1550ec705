#include "util/codepage.h"

#include <cstring>

#include "util/platform_codepage.h"

namespace plandown {
namespace {

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
struct Encoded {
  Bytes bytes;
  std::size_t replaced = 0;
};
Encoded EncodeSlow(std::u16string_view text) {
  Encoded e;
  e.bytes = platform::EncodeCp932(text, e.replaced);
  return e;
}
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
  out = platform::DecodeCp932(bytes);
  cache.Put(key, out);
  return out;
}

Bytes TextToAnsiBytes(std::u16string_view text, std::size_t* replaced) {
  Bytes out;
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
}

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
