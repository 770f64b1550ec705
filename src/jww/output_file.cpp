#include "jww/output_file.h"

#include <atomic>
#include <random>

#include "util/files.h"
#include "util/paths.h"
#include "util/text.h"

namespace plandown {

namespace {
String TempNameFor(const String& FName) {
  static std::atomic<unsigned> counter{0};
  thread_local std::mt19937 rng{std::random_device{}()};
  const std::string tag = std::to_string(rng()) + "-" + std::to_string(counter++);
  return FName + u".plandown-" + FromUtf8(tag) + u".tmp";
}
}  // namespace

OutputFile::OutputFile(const String& FName) : name_(FName), temp_(TempNameFor(FName)) {
  stream_ = std::make_unique<OutStream>(temp_);
  if (!stream_->ok()) {
    stream_.reset();
    DeleteFileAt(temp_);
  }
}

OutputFile::~OutputFile() {
  if (!done_) Abandon();
}

bool OutputFile::Commit() {
  if (done_) return false;
  done_ = true;
  if (!stream_) {
    DeleteFileAt(name_);
    return false;
  }
  const bool written = stream_->Close();
  stream_.reset();
  if (written && RenameFileOver(temp_, name_)) return true;
  DeleteFileAt(temp_);
  DeleteFileAt(name_);
  return false;
}

void OutputFile::Abandon() {
  done_ = true;
  if (stream_) {
    stream_->Close();
    stream_.reset();
  }
  DeleteFileAt(temp_);
  DeleteFileAt(name_);
}

}  // namespace plandown
