#include "jww/output_file.h"

#include "util/files.h"
#include "util/paths.h"
#include "util/text.h"

namespace plandown {

OutputFile::OutputFile(const String& FName) : name_(FName), temp_(TemporaryNameBeside(FName)) {
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
