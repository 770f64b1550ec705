// A buffered byte sink over a file or a memory vector. Any failed or short write sets a
// sticky error; the owner checks ok() before it trusts the result.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstring>
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
  std::uint64_t position() const { return written_ + buffer_.size(); }

  void Write(const void* src, std::size_t n) {
    if (!ok_) return;
    if (memory_) {
      const auto* p = static_cast<const std::uint8_t*>(src);
      memory_->insert(memory_->end(), p, p + n);
      written_ += n;
      return;
    }
    if (buffer_.size() + n > kBuffer) Flush();
    if (n >= kBuffer) {
      WriteDirect(src, n);
      return;
    }
    const auto* p = static_cast<const std::uint8_t*>(src);
    buffer_.insert(buffer_.end(), p, p + n);
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
  static constexpr std::size_t kBuffer = 1 << 20;
  void Flush();
  void WriteDirect(const void* src, std::size_t n);

  std::vector<std::uint8_t>* memory_ = nullptr;
  std::FILE* file_ = nullptr;
  std::vector<std::uint8_t> buffer_;
  std::uint64_t written_ = 0;
  bool ok_ = false;
};

}  // namespace plandown
