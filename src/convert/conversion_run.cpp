#include "convert/conversion_run.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <map>
#include <optional>
#include <thread>
#include <utility>

#include "convert/backup.h"
#include "convert/convert_file.h"
#include "convert/status_texts.h"
#include "convert/write_step.h"
#include "util/paths.h"
#include "util/text.h"

namespace plandown {

namespace {
// One key per file, whatever spelling of its path reached it.
String PathKey(const String& path) { return PathIdentity(path); }

// The key under which parallel jobs are kept in order. Folded, so that names one file
// system tells apart and another takes for one file are ordered everywhere; ordering
// more jobs than needed costs only time.
String OrderKey(const String& path) { return LowerText(PathKey(path)); }

String DestinationOf(const ConversionJob& job) { return AddPathDelim(job.destinationFolder) + ExtractName(job.source); }

// The texts of one file, kept until the files before it have been told theirs.
class DeferredUi final : public ConversionUi {
 public:
  void Status(const String& text) override { events_.emplace_back(Kind::kStatus, text); }
  void Message(const String& text) override { events_.emplace_back(Kind::kMessage, text); }
  void FileStarted() override { events_.emplace_back(Kind::kStarted, String()); }
  void FileFinished() override { events_.emplace_back(Kind::kFinished, String()); }

  void ReplayTo(ConversionUi& ui) const {
    for (const auto& [kind, text] : events_) {
      switch (kind) {
        case Kind::kStatus: ui.Status(text); break;
        case Kind::kMessage: ui.Message(text); break;
        case Kind::kStarted: ui.FileStarted(); break;
        case Kind::kFinished: ui.FileFinished(); break;
      }
    }
  }

 private:
  enum class Kind { kStatus, kMessage, kStarted, kFinished };
  std::vector<std::pair<Kind, String>> events_;
};

// What the jobs of a parallel run wait for. Job j starts when the earlier jobs it shares
// a destination or backup name with are done; it places bound images when every earlier
// job into the same folder has placed its own or passed (a job passes when it places
// nothing, at the latest when it ends). Jobs are taken in order, so a job only ever
// waits for jobs already taken, and the earliest unfinished job never waits.
class ParallelRun {
 public:
  ParallelRun(const std::vector<ConversionJob>& jobs) : slots_(jobs.size()) {
    std::map<String, std::size_t> lastByKey;
    std::map<String, std::size_t> folderByKey;
    for (std::size_t j = 0; j < jobs.size(); ++j) {
      const String destination = DestinationOf(jobs[j]);
      Slot& slot = slots_[j];
      for (const String& path : {destination, BackupPathFor(destination), destination + u".BAK"}) {
        const auto [it, fresh] = lastByKey.try_emplace(OrderKey(path), j);
        // Without an extension the backup name and the second backup name are one; a
        // job must not wait for itself.
        if (!fresh && it->second != j) {
          slot.after.push_back(it->second);
          it->second = j;
        }
      }
      const auto [folder, freshFolder] = folderByKey.try_emplace(OrderKey(jobs[j].destinationFolder), folders_.size());
      if (freshFolder) folders_.emplace_back();
      slot.folder = folder->second;
      slot.place = folders_[slot.folder].jobs.size();
      folders_[slot.folder].jobs.push_back(j);
      slot.turn.run = this;
      slot.turn.job = j;
    }
  }

  // The next job to convert once it may start; nullopt when there is none or the run stops.
  std::optional<std::size_t> Take() {
    std::unique_lock lock(mutex_);
    if (stop_ || cancelled_ || next_ >= slots_.size()) return std::nullopt;
    const std::size_t j = next_++;
    changed_.wait(lock, [&] {
      return std::all_of(slots_[j].after.begin(), slots_[j].after.end(), [&](std::size_t k) { return slots_[k].done; });
    });
    return j;
  }

  ConversionUi& UiOf(std::size_t j) { return slots_[j].ui; }
  ImagePlacementTurn* TurnOf(std::size_t j) { return &slots_[j].turn; }

  void Done(std::size_t j, std::optional<FileConversion> result, std::exception_ptr error) {
    {
      std::lock_guard lock(mutex_);
      slots_[j].result = std::move(result);
      slots_[j].error = std::move(error);
      slots_[j].done = true;
      PassLocked(j);
    }
    changed_.notify_all();
  }

  // Waits for job j and hands over its texts and result, or throws its exception;
  // nullopt when a cancel kept the job from being taken.
  std::optional<FileConversion> Collect(std::size_t j, ConversionUi& ui) {
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return slots_[j].done || (cancelled_ && j >= next_); });
      if (!slots_[j].done) return std::nullopt;
    }
    Slot& slot = slots_[j];
    slot.ui.ReplayTo(ui);
    if (slot.error) std::rethrow_exception(slot.error);
    return std::move(*slot.result);
  }

  void Stop() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
  }

  // No job is taken from now on; jobs already taken still run.
  void Cancel() {
    {
      std::lock_guard lock(mutex_);
      cancelled_ = true;
    }
    changed_.notify_all();
  }

 private:
  struct Turn final : ImagePlacementTurn {
    ParallelRun* run = nullptr;
    std::size_t job = 0;
    void Begin() override { run->WaitForImageTurn(job); }
    void End() override { run->Pass(job); }
  };
  struct Slot {
    std::vector<std::size_t> after;  // earlier jobs that must be done first
    std::size_t folder = 0;          // its destination folder
    std::size_t place = 0;           // its place among the jobs into that folder
    Turn turn;
    DeferredUi ui;
    bool done = false;
    bool passed = false;  // placed its images, or will place none
    std::optional<FileConversion> result;
    std::exception_ptr error;
  };
  struct Folder {
    std::vector<std::size_t> jobs;
    std::size_t passed = 0;  // how many of its first jobs have passed
  };

  void WaitForImageTurn(std::size_t j) {
    std::unique_lock lock(mutex_);
    const Slot& slot = slots_[j];
    changed_.wait(lock, [&] { return folders_[slot.folder].passed >= slot.place; });
  }

  void Pass(std::size_t j) {
    {
      std::lock_guard lock(mutex_);
      PassLocked(j);
    }
    changed_.notify_all();
  }

  void PassLocked(std::size_t j) {
    slots_[j].passed = true;
    Folder& folder = folders_[slots_[j].folder];
    while (folder.passed < folder.jobs.size() && slots_[folder.jobs[folder.passed]].passed) ++folder.passed;
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Slot> slots_;
  std::vector<Folder> folders_;
  std::size_t next_ = 0;
  bool stop_ = false;
  bool cancelled_ = false;
};

}  // namespace

FileConversion ConversionRun::ConvertJob(const ConversionJob& job, ConversionUi& ui, ImagePlacementTurn* turn) {
  ConversionRequest request{job.source, DestinationOf(job), {}, imageFolder_};
  request.imageTurn = turn;
  const auto destinationKey = PathKey(request.destination);
  bool duplicate = false;
  {
    std::lock_guard lock(keysMutex_);
    duplicate = written_.contains(destinationKey);
    if (!duplicate) {
      request.backup = BackupPathFor(request.destination);
      if (backups_.contains(PathKey(request.backup))) request.backup = request.destination + u".BAK";
    }
  }
  if (duplicate) {
    FileConversion refused;
    refused.source = request.source;
    refused.destination = request.destination;
    Refuse(refused, Refusal::kDuplicateDestination, DuplicateDestinationText(request.source, request.destination), ui);
    return refused;
  }

  FileConversion result = ConvertFile(request, settings_, ui);
  std::lock_guard lock(keysMutex_);
  if (result.Written()) written_.insert(destinationKey);
  if (!result.backup.empty()) backups_.insert(PathKey(result.backup));
  return result;
}

FileConversion ConversionRun::Cancelled(const ConversionJob& job) {
  FileConversion result;
  result.source = job.source;
  result.destination = DestinationOf(job);
  result.outcome = Outcome::kRefused;
  result.refusal = Refusal::kCancelled;
  result.note = CancelledText(job.source);
  return result;
}

void ConversionRun::RequestCancel() {
  cancel_ = true;
  std::lock_guard lock(cancelMutex_);
  if (wakeCancel_) wakeCancel_();
}

const FileConversion& ConversionRun::Convert(const String& source, const String& destinationFolder) {
  results_.push_back(ConvertJob(ConversionJob{source, destinationFolder}, ui_, nullptr));
  return results_.back();
}

void ConversionRun::ConvertAll(const std::vector<ConversionJob>& jobs, int workers,
                               const std::function<void(const FileConversion&)>& finished) {
  if (!imageFolder_.empty()) workers = 1;
  const std::size_t threads = std::min<std::size_t>(static_cast<std::size_t>(std::max(workers, 1)), jobs.size());
  if (threads <= 1) {
    for (const ConversionJob& job : jobs) {
      if (cancel_) results_.push_back(Cancelled(job));
      else Convert(job.source, job.destinationFolder);
      if (finished) finished(results_.back());
    }
    return;
  }

  ParallelRun run(jobs);
  std::vector<std::jthread> pool;
  // However this ends, a cancel no longer reaches `run`, the workers take no further job
  // and are joined before `run` goes.
  struct StopAndJoin {
    ConversionRun& owner;
    ParallelRun& run;
    std::vector<std::jthread>& pool;
    ~StopAndJoin() {
      {
        std::lock_guard lock(owner.cancelMutex_);
        owner.wakeCancel_ = nullptr;
      }
      run.Stop();
      pool.clear();
    }
  } stopAndJoin{*this, run, pool};
  {
    std::lock_guard lock(cancelMutex_);
    wakeCancel_ = [&run] { run.Cancel(); };
  }
  if (cancel_) run.Cancel();
  for (std::size_t t = 0; t < threads; ++t) {
    pool.emplace_back([this, &run, &jobs] {
      while (const std::optional<std::size_t> j = run.Take()) {
        std::optional<FileConversion> result;
        std::exception_ptr error;
        try {
          // A job taken just before a cancel, still waiting for its turn, is not started.
          result = cancel_ ? Cancelled(jobs[*j]) : ConvertJob(jobs[*j], run.UiOf(*j), run.TurnOf(*j));
        } catch (...) {
          error = std::current_exception();
        }
        run.Done(*j, std::move(result), std::move(error));
      }
    });
  }
  for (std::size_t j = 0; j < jobs.size(); ++j) {
    std::optional<FileConversion> result = run.Collect(j, ui_);
    results_.push_back(result ? std::move(*result) : Cancelled(jobs[j]));
    if (finished) finished(results_.back());
  }
}

int ConversionRun::WrittenCount() const {
  return static_cast<int>(std::count_if(results_.begin(), results_.end(), [](const FileConversion& r) { return r.Written(); }));
}

bool ConversionRun::AllClean() const {
  return std::all_of(results_.begin(), results_.end(), [](const FileConversion& r) { return r.outcome == Outcome::kConverted; });
}

String ConversionRun::Finish() {
  String text = CompletionText(WrittenCount());
  ui_.Status(text);
  return text;
}

}  // namespace plandown
