#include "util/codepage.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>

#include "util/platform_codepage.h"

namespace plandown {
namespace {

// Drawings repeat the same short non-ASCII strings (font names, layer names) many times:
// a small direct-mapped cache per thread spares the converter most of them.
//
// Keys and values are held inline, so that the cache is trivially destructible: the
// mingw-w64 runtime frees a thread's thread_local storage before it runs the destructors
// of its thread_local objects, and a destructor that touches freed storage faults when a
// worker thread ends on Windows.
template <class K, class V, std::size_t MaxKey, std::size_t MaxValue>
class SmallCache {
 public:
  // The value cached for `key` and its extra number; false when there is none.
  bool Find(std::span<const K> key, std::basic_string<V>& value, std::size_t& extra) const {
    if (key.size() > MaxKey) return false;
    const Slot& s = slots_[Hash(key)];
    if (!s.used || s.keyLength != key.size() || !std::equal(key.begin(), key.end(), s.key)) return false;
    value.assign(s.value, s.value + s.valueLength);
    extra = s.extra;
    return true;
  }
  void Put(std::span<const K> key, std::span<const V> value, std::size_t extra) {
    if (key.size() > MaxKey || value.size() > MaxValue) return;
    Slot& s = slots_[Hash(key)];
    s.keyLength = static_cast<std::uint16_t>(key.size());
    s.valueLength = static_cast<std::uint16_t>(value.size());
    s.extra = extra;
    std::copy(key.begin(), key.end(), s.key);
    std::copy(value.begin(), value.end(), s.value);
    s.used = true;
  }

 private:
  static constexpr std::size_t kSlots = 64;
  struct Slot {
    bool used;
    std::uint16_t keyLength;
    std::uint16_t valueLength;
    std::size_t extra;
    K key[MaxKey];
    V value[MaxValue];
  };
  static std::size_t Hash(std::span<const K> k) {
    std::size_t h = 1469598103934665603ull;
    for (auto c : k) h = (h ^ static_cast<std::size_t>(c)) * 1099511628211ull;
    return h % kSlots;
  }
  Slot slots_[kSlots];  // zero (unused) in thread_local storage
};

constexpr std::size_t kMaxCachedUnits = 64;
// Decoding gives at most one unit a byte; encoding at most two bytes a unit.
using DecodeCache = SmallCache<std::uint8_t, char16_t, kMaxCachedUnits, kMaxCachedUnits>;
using EncodeCache = SmallCache<char16_t, std::uint8_t, kMaxCachedUnits, 2 * kMaxCachedUnits>;
static_assert(std::is_trivially_destructible_v<DecodeCache> && std::is_trivially_destructible_v<EncodeCache>);

bool IsAscii(std::span<const std::uint8_t> b) {
  for (std::uint8_t c : b)
    if (c >= 0x80) return false;
  return true;
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
  thread_local DecodeCache cache;
  std::size_t unused = 0;
  if (cache.Find(bytes, out, unused)) return out;
  out = platform::DecodeCp932(bytes);
  cache.Put(bytes, out, 0);
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
  thread_local EncodeCache cache;
  const std::span<const char16_t> key(text.data(), text.size());
  std::basic_string<std::uint8_t> hit;
  std::size_t count = 0;
  if (cache.Find(key, hit, count)) {
    out.assign(hit.begin(), hit.end());
  } else {
    out = platform::EncodeCp932(text, count);
    cache.Put(key, out, count);
  }
  if (replaced) *replaced = count;
  return out;
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
