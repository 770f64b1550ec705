// A buffered byte sink over a file or a memory vector. Any failed or short write sets a
// sticky error; the owner checks ok() before it trusts the result.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "util/ustring.h"

namespace plandown {

class OutStream {
 public:
  // Into memory.
  explicit OutStream(std::vector<std::uint8_t>* sink);
  // Creates or truncates the file; check ok().
  explicit OutStream(std::u16string_view path);
  ~OutStream();
  OutStream(const OutStream&) = delete;
  OutStream& operator=(const OutStream&) = delete;

  bool ok() const { return ok_; }
  std::uint64_t position() const { return written_ + used_; }

  void Write(const void* src, std::size_t n) {
    if (n == 0) return;
    if (n <= kBuffer - used_ && buffer_) {
      std::memcpy(buffer_.get() + used_, src, n);
      used_ += n;
      return;
    }
    WriteSlow(src, n);
  }
  void WriteU8(std::uint8_t v) { Write(&v, 1); }
  void WriteU16(std::uint16_t v) {
    std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
    Write(b, 2);
  }
  void WriteU32(std::uint32_t v) {
    std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                         static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    Write(b, 4);
  }
  void WriteI32(std::int32_t v) { WriteU32(static_cast<std::uint32_t>(v)); }
  void WriteF64(double d) {
    std::uint64_t v;
    std::memcpy(&v, &d, 8);
    std::uint8_t b[8];
    for (int i = 0; i < 8; ++i) b[i] = static_cast<std::uint8_t>(v >> (8 * i));
    Write(b, 8);
  }
  void Fill(std::uint8_t value, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) WriteU8(value);
  }
  // Flushes and closes a file sink (and syncs nothing else); false when anything failed.
  bool Close();

 private:
  static constexpr std::size_t kBuffer = 1 << 18;
  void Flush();
  void WriteSlow(const void* src, std::size_t n);

  std::vector<std::uint8_t>* memory_ = nullptr;
  std::FILE* file_ = nullptr;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t used_ = 0;
  std::uint64_t written_ = 0;
  bool ok_ = false;
};

}  // namespace plandown
