#include "archive/outstream.h"

#include "util/files.h"

namespace plandown {

// Memory sinks are written through, so that their content is complete at every moment.
OutStream::OutStream(std::vector<std::uint8_t>* sink) : memory_(sink), ok_(true) {}

OutStream::OutStream(std::u16string_view path) {
  file_ = OpenFileAt(path, "wb");
  ok_ = file_ != nullptr;
  if (ok_) buffer_.reset(new std::uint8_t[kBuffer]);
}

OutStream::~OutStream() { Close(); }

void OutStream::WriteSlow(const void* src, std::size_t n) {
  if (memory_) {
    const auto* p = static_cast<const std::uint8_t*>(src);
    memory_->insert(memory_->end(), p, p + n);
    written_ += n;
    return;
  }
  if (!buffer_) return;  // closed or never opened
  Flush();
  if (n < kBuffer) {
    std::memcpy(buffer_.get(), src, n);
    used_ = n;
    return;
  }
  if (ok_ && std::fwrite(src, 1, n, file_) != n) ok_ = false;
  written_ += n;
}

void OutStream::Flush() {
  if (used_ == 0 || !file_) return;
  if (ok_ && std::fwrite(buffer_.get(), 1, used_, file_) != used_) ok_ = false;
  written_ += used_;
  used_ = 0;
}

bool OutStream::Close() {
  if (file_) {
    Flush();
    if (std::fflush(file_) != 0) ok_ = false;
    if (std::fclose(file_) != 0) ok_ = false;
    file_ = nullptr;
  }
  buffer_.reset();
  used_ = 0;
  return ok_;
}

}  // namespace plandown
