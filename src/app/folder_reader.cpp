#include "app/folder_reader.h"

#include <wx/event.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace plandown::app {

namespace {
// A batch goes to the window after this many files or this long, whichever comes first:
// often enough that the list fills visibly, seldom enough that the window is not flooded.
constexpr std::size_t kBatchFiles = 64;
constexpr auto kBatchTime = std::chrono::milliseconds(100);
}  // namespace

struct FolderReader::Job {
  std::atomic<bool> cancelled{false};
  std::atomic<bool> finished{false};
  std::thread thread;
};

FolderReader::FolderReader(wxEvtHandler& window, Delivery deliver, std::function<void(const String&)> started)
    : window_(window), deliver_(std::move(deliver)), started_(std::move(started)) {}

FolderReader::~FolderReader() {
  for (auto& job : jobs_) job->cancelled = true;
  for (auto& job : jobs_)
    if (job->thread.joinable()) job->thread.join();
}

void FolderReader::Cancel() {
  if (current_) current_->cancelled = true;
  current_.reset();
}

void FolderReader::JoinFinished() {
  std::erase_if(jobs_, [](const std::shared_ptr<Job>& job) {
    if (!job->finished) return false;
    job->thread.join();
    return true;
  });
}

void FolderReader::Start(std::uint64_t listing, std::vector<std::pair<std::size_t, String>> files) {
  Cancel();
  JoinFinished();
  auto job = std::make_shared<Job>();
  current_ = job;
  jobs_.push_back(job);
  // The thread holds only the job and what it was given; the window's queue drops calls
  // still pending when the window goes, and the window joins the thread before that.
  job->thread = std::thread([job = job.get(), listing, files = std::move(files), this] {
    HeaderDocuments docs;  // the reading's own, apart from the window's
    std::vector<HeaderInfo> batch;
    auto last = std::chrono::steady_clock::now();
    const auto send = [&](bool done) {
      if (job->cancelled) return;
      window_.CallAfter([deliver = deliver_, listing, b = std::move(batch), done]() mutable {
        deliver(listing, std::move(b), done);
      });
      batch = {};
      last = std::chrono::steady_clock::now();
    };
    for (const auto& [row, path] : files) {
      if (job->cancelled) break;
      if (started_) started_(path);
      if (job->cancelled) break;
      batch.push_back({row, GetFileInfo(path, docs)});
      if (batch.size() >= kBatchFiles || std::chrono::steady_clock::now() - last >= kBatchTime) send(false);
    }
    send(true);
    job->finished = true;
  });
}

}  // namespace plandown::app
