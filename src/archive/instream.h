// A bounds-checked sequential byte source over a file or a memory block. Reads deliver
// what is there and say how much; nothing is read past the end.
#pragma once
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "util/ustring.h"

namespace plandown {

class InStream {
 public:
  // Over memory the caller keeps alive.
  explicit InStream(std::span<const std::uint8_t> data);
  // Over a file; check ok().
  explicit InStream(std::u16string_view path);
  ~InStream();
  InStream(const InStream&) = delete;
  InStream& operator=(const InStream&) = delete;

  bool ok() const { return ok_; }
  std::uint64_t size() const { return size_; }
  std::uint64_t position() const { return pos_; }
  std::uint64_t remaining() const { return size_ - pos_; }

  // Copies up to n bytes; returns the number delivered (less only at the end).
  std::size_t Read(void* dst, std::size_t n) {
    if (n <= static_cast<std::size_t>(end_ - cur_)) {
      std::memcpy(dst, cur_, n);
      cur_ += n;
      pos_ += n;
      return n;
    }
    return ReadSlow(static_cast<std::uint8_t*>(dst), n);
  }
  // Skips up to n bytes; returns the number skipped.
  std::uint64_t Skip(std::uint64_t n);

  // The next n bytes in one piece, to decode in place; nullptr when fewer than n bytes are
  // left (or n is more than a file stream holds at once). Nothing is consumed: Advance
  // consumes up to the bytes returned.
  const std::uint8_t* Contiguous(std::size_t n) {
    if (n <= static_cast<std::size_t>(end_ - cur_)) return cur_;
    return ContiguousSlow(n);
  }
  void Advance(std::size_t n) {
    cur_ += n;
    pos_ += n;
  }

 private:
  std::size_t ReadSlow(std::uint8_t* dst, std::size_t n);
  const std::uint8_t* ContiguousSlow(std::size_t n);
  bool Refill();
  void Grow();  // from the first small buffer to the full one

  std::FILE* file_ = nullptr;
  std::unique_ptr<std::uint8_t[]> buffer_;  // file streams: what was read and not consumed
  std::size_t capacity_ = 0;
  std::size_t fullCapacity_ = 0;
  const std::uint8_t* cur_ = nullptr;
  const std::uint8_t* end_ = nullptr;
  std::uint64_t pos_ = 0;
  std::uint64_t size_ = 0;
  bool ok_ = false;
};

// Little-endian decoding from a byte buffer.
inline std::uint16_t GetU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t GetU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::int32_t GetI32(const std::uint8_t* p) { return static_cast<std::int32_t>(GetU32(p)); }
inline double GetF64(const std::uint8_t* p) {
  std::uint64_t v = 0;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&v, p, 8);
  } else {
    for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
  }
  double d;
  std::memcpy(&d, &v, 8);
  return d;
}

}  // namespace plandown
