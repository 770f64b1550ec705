#include "archive/outstream.h"

#include "util/files.h"

namespace plandown {

OutStream::OutStream(std::vector<std::uint8_t>* sink) : memory_(sink), ok_(true) {}

OutStream::OutStream(std::u16string_view path) {
  file_ = OpenFileAt(path, "wb");
  ok_ = file_ != nullptr;
  if (ok_) buffer_.reserve(kBuffer);
}

OutStream::~OutStream() { Close(); }

void OutStream::WriteDirect(const void* src, std::size_t n) {
  if (!ok_ || !file_) return;
  if (std::fwrite(src, 1, n, file_) != n) ok_ = false;
  written_ += n;
}

void OutStream::Flush() {
  if (!file_ || buffer_.empty()) return;
  if (ok_ && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) ok_ = false;
  written_ += buffer_.size();
  buffer_.clear();
}

bool OutStream::Close() {
  if (file_) {
    Flush();
    if (std::fflush(file_) != 0) ok_ = false;
    if (std::fclose(file_) != 0) ok_ = false;
    file_ = nullptr;
  }
  return ok_;
}

}  // namespace plandown
