// Reads the headers of a listed folder's files on a thread of its own, so that the window
// keeps answering while a folder of thousands of drawings is read. The memo and version
// of each row arrive in batches through the window's queue, tagged with the listing they
// belong to; a newer listing cancels the older reading.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "convert/file_listing.h"
#include "util/ustring.h"

class wxEvtHandler;

namespace plandown::app {

struct HeaderInfo {
  std::size_t row = 0;  // the row of the listing it belongs to
  FileInfoText info;
};

class FolderReader {
 public:
  // On the window's thread: the headers read since the last batch; `done` with the last.
  using Delivery = std::function<void(std::uint64_t listing, std::vector<HeaderInfo> batch, bool done)>;
  // `started` (may be empty) is called on the reading thread before each file.
  FolderReader(wxEvtHandler& window, Delivery deliver, std::function<void(const String& path)> started);
  // Cancels and waits for every reading thread.
  ~FolderReader();
  FolderReader(const FolderReader&) = delete;
  FolderReader& operator=(const FolderReader&) = delete;

  // Reads the files (row, path) of `listing`, cancelling the reading before it.
  void Start(std::uint64_t listing, std::vector<std::pair<std::size_t, String>> files);
  // Stops the current reading after the file being read; it delivers nothing more.
  void Cancel();

 private:
  struct Job;
  void JoinFinished();

  wxEvtHandler& window_;
  Delivery deliver_;
  std::function<void(const String&)> started_;
  std::shared_ptr<Job> current_;
  std::vector<std::shared_ptr<Job>> jobs_;  // running or not yet joined
};

}  // namespace plandown::app
