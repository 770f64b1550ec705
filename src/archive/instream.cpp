#include "archive/instream.h"

#include <algorithm>

#include "util/files.h"
#include "util/large_arrays.h"

namespace plandown {

namespace {
constexpr std::size_t kFileBuffer = 1 << 20;
constexpr std::size_t kFirstRead = 1 << 15;
}

InStream::InStream(std::span<const std::uint8_t> data)
    : cur_(data.data()), end_(data.data() + data.size()), size_(data.size()), ok_(true) {}

InStream::InStream(std::u16string_view path) {
  file_ = OpenFileAt(path, "rb");
  if (!file_) return;
  std::int64_t sz = StreamSize(file_);
  if (sz < 0 || !StreamSeek(file_, 0)) return;
  size_ = static_cast<std::uint64_t>(sz);
  fullCapacity_ = static_cast<std::size_t>(std::min<std::uint64_t>(size_ + 1, kFileBuffer));
  // A large file is read through one large page rather than hundreds of small ones.
  if (size_ >= kLargeArrayBytes) fullCapacity_ = LargePageCapacity(fullCapacity_, 1);
  // The first buffer is small, so that reading a header costs the same for any file size.
  capacity_ = std::min(fullCapacity_, kFirstRead);
  buffer_.reset(new std::uint8_t[capacity_]);  // filled by the reads, never cleared
  cur_ = end_ = buffer_.get();
  ok_ = true;
}

void InStream::Grow() {
  if (capacity_ >= fullCapacity_) return;
  std::unique_ptr<std::uint8_t[]> bigger(new std::uint8_t[fullCapacity_]);
  if (size_ >= kLargeArrayBytes) AdviseLargePages(bigger.get(), fullCapacity_);
  const std::size_t left = static_cast<std::size_t>(end_ - cur_);
  std::memcpy(bigger.get(), cur_, left);
  buffer_ = std::move(bigger);
  capacity_ = fullCapacity_;
  cur_ = buffer_.get();
  end_ = cur_ + left;
}

InStream::~InStream() {
  if (file_) std::fclose(file_);
}

bool InStream::Refill() {
  if (!file_) return false;
  if (cur_ != buffer_.get()) Grow();  // past the first read
  std::size_t got = std::fread(buffer_.get(), 1, capacity_, file_);
  cur_ = buffer_.get();
  end_ = cur_ + got;
  if (got == 0) {
    size_ = pos_;  // the file turned out shorter than its size said
    return false;
  }
  return true;
}

std::size_t InStream::ReadSlow(std::uint8_t* dst, std::size_t n) {
  std::size_t done = 0;
  while (done < n) {
    std::size_t avail = static_cast<std::size_t>(end_ - cur_);
    if (avail == 0) {
      if (!Refill()) break;
      continue;
    }
    std::size_t k = std::min(avail, n - done);
    std::memcpy(dst + done, cur_, k);
    cur_ += k;
    pos_ += k;
    done += k;
  }
  return done;
}

const std::uint8_t* InStream::ContiguousSlow(std::size_t n) {
  if (!file_ || n > fullCapacity_ || n > remaining()) return nullptr;
  Grow();
  // Move what is left to the front and fill the rest of the buffer behind it.
  const std::size_t left = static_cast<std::size_t>(end_ - cur_);
  std::memmove(buffer_.get(), cur_, left);
  cur_ = buffer_.get();
  end_ = cur_ + left;
  while (static_cast<std::size_t>(end_ - cur_) < n) {
    const std::size_t got = std::fread(buffer_.get() + (end_ - cur_), 1, capacity_ - (end_ - cur_), file_);
    if (got == 0) {
      size_ = pos_ + (end_ - cur_);  // the file turned out shorter than its size said
      return nullptr;
    }
    end_ += got;
  }
  return cur_;
}

std::uint64_t InStream::Skip(std::uint64_t n) {
  std::uint64_t done = 0;
  while (done < n) {
    std::uint64_t avail = static_cast<std::uint64_t>(end_ - cur_);
    if (avail == 0) {
      if (file_ && n - done > capacity_ && pos_ < size_) {
        std::uint64_t jump = std::min<std::uint64_t>(n - done, size_ - pos_);
        if (StreamSeek(file_, static_cast<std::int64_t>(pos_ + jump))) {
          pos_ += jump;
          done += jump;
          continue;
        }
      }
      if (!Refill()) break;
      continue;
    }
    std::uint64_t k = std::min(avail, n - done);
    cur_ += k;
    pos_ += k;
    done += k;
  }
  return done;
}

}  // namespace plandown
