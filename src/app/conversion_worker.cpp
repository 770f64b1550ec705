#include "app/conversion_worker.h"

#include <condition_variable>
#include <exception>
#include <mutex>

#include "convert/conversion_run.h"

namespace plandown::app {

// Everything the thread and the window's queued calls share; the queued calls hold it, so
// it outlives whichever ends first.
struct ConversionWorker::Shared final : ConversionUi, std::enable_shared_from_this<Shared> {
  Shared(wxEvtHandler& w, const ConversionSettings& settings, ConversionEvents e)
      : window(w), events(std::move(e)), run(settings, *this) {}

  // The run's texts, on the converting thread.
  void Status(const String& text) override {
    std::lock_guard lock(mutex);
    status = text;
    QueueProgressLocked();
  }
  void Message(const String& text) override {
    std::unique_lock lock(mutex);
    if (abandoned) return;
    const std::uint64_t id = ++messagesAsked;
    window.CallAfter([self = shared_from_this(), text, id] {
      self->events.message(text);
      std::lock_guard answered(self->mutex);
      self->messagesAnswered = id;
      self->changed.notify_all();
    });
    changed.wait(lock, [&] { return messagesAnswered >= id || abandoned; });
  }
  void FileStarted() override {
    if (events.fileStarted) events.fileStarted();
  }

  void QueueProgressLocked() {
    if (progressQueued) return;
    progressQueued = true;
    window.CallAfter([self = shared_from_this()] {
      String text;
      std::size_t d = 0, t = 0;
      {
        std::lock_guard lock(self->mutex);
        self->progressQueued = false;
        text = self->status;
        d = self->done;
        t = self->total;
      }
      self->events.progress(text, d, t);
    });
  }

  wxEvtHandler& window;
  ConversionEvents events;
  ConversionRun run;
  std::mutex mutex;
  std::condition_variable changed;
  String status;
  std::size_t done = 0;
  std::size_t total = 0;
  bool progressQueued = false;
  std::uint64_t messagesAsked = 0;
  std::uint64_t messagesAnswered = 0;
  bool abandoned = false;
};

ConversionWorker::ConversionWorker(wxEvtHandler& window, SelectionRequest request, ConversionEvents events)
    : shared_(std::make_shared<Shared>(window, request.settings, std::move(events))) {
  shared_->run.SetImageFolder(request.imageFolder);
  thread_ = std::thread([shared = shared_, request = std::move(request)] {
    SelectionHooks hooks;
    hooks.started = [&](std::size_t total) {
      {
        std::lock_guard lock(shared->mutex);
        shared->total = total;
      }
      shared->window.CallAfter([shared, total] { shared->events.started(total); });
    };
    hooks.finished = [&](const FileConversion&, std::size_t done, std::size_t) {
      std::lock_guard lock(shared->mutex);
      shared->done = done;
      shared->QueueProgressLocked();
    };
    auto outcome = std::make_shared<SelectionConversion>();
    try {
      *outcome = ConvertSelectedFiles(shared->run, *shared, request.preFolder, request.destination,
                                      request.captions, hooks);
    } catch (const std::exception&) {
      // What was converted before the fault is still reported.
      outcome->results = shared->run.Results();
      outcome->written = shared->run.WrittenCount();
    }
    shared->window.CallAfter([shared, outcome] { shared->events.finished(*outcome); });
  });
}

ConversionWorker::~ConversionWorker() {
  if (thread_.joinable()) thread_.join();
}

void ConversionWorker::Cancel() { shared_->run.RequestCancel(); }

bool ConversionWorker::CancelRequested() const { return shared_->run.CancelRequested(); }

void ConversionWorker::Abandon() {
  Cancel();
  std::lock_guard lock(shared_->mutex);
  shared_->abandoned = true;
  shared_->changed.notify_all();
}

}  // namespace plandown::app
