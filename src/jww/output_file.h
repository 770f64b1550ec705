// A document file being written: it goes to a temporary name in the destination folder
// and takes the destination name only when complete, so that an interrupted write never
// leaves a truncated drawing under that name.
#pragma once
#include <memory>

#include "archive/outstream.h"
#include "util/ustring.h"

namespace plandown {

class OutputFile {
 public:
  explicit OutputFile(const String& FName);
  ~OutputFile();  // removes the temporary file unless committed
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool ok() const { return stream_ && stream_->ok(); }
  OutStream& stream() { return *stream_; }
  // Closes and renames over FName; false (with no file at FName) when anything failed.
  bool Commit();
  // Gives up: no temporary file and no file at FName.
  void Abandon();

 private:
  String name_;
  String temp_;
  std::unique_ptr<OutStream> stream_;
  bool done_ = false;
};

}  // namespace plandown
