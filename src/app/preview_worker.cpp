#include "app/preview_worker.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>

#include "convert/picture_source.h"
#include "util/files.h"

namespace plandown::app {

namespace {

// What a read document was read from: the same file, unchanged, with the same settings.
struct DocumentKey {
  String path;
  std::optional<ConversionSettings> after;
  std::int64_t size = -1;
  std::int64_t writeSec = 0;
  std::int32_t writeNsec = 0;
  friend bool operator==(const DocumentKey&, const DocumentKey&) = default;
};

DocumentKey KeyOf(const PreviewRequest& r) {
  DocumentKey key{r.path, r.after};
  key.size = FileSizeAt(r.path);
  FileTimes times;
  if (ReadFileTimes(r.path, times) && times.write.valid) {
    key.writeSec = times.write.sec;
    key.writeNsec = times.write.nsec;
  }
  return key;
}

}  // namespace

// What the thread and the window's queued answers share; the queued answers hold it, so
// it outlives whichever ends first.
struct PreviewWorker::Shared {
  Shared(wxEvtHandler& w, std::function<void(PreviewAnswer&)> a, std::function<void(const String&)> s)
      : window(w), answered(std::move(a)), started(std::move(s)) {}

  // A newer request waits that needs another document than `key`.
  bool OvertakenLocked(const DocumentKey& key) const {
    return pending && (pending->path != key.path || pending->after != key.after);
  }

  // `self` is this; the queued answers keep it.
  void Run(const std::shared_ptr<Shared>& self);
  // Reads and records (or takes the kept answer); false when a newer request made the
  // answer useless on the way.
  bool Answer(const PreviewRequest& request, PreviewAnswer& answer);

  wxEvtHandler& window;
  std::function<void(PreviewAnswer&)> answered;
  std::function<void(const String&)> started;

  std::mutex mutex;
  std::condition_variable wake;
  std::optional<PreviewRequest> pending;
  std::uint64_t newest = 0;  // the id of the newest request made
  bool stopping = false;
  std::atomic<bool> cancel{false};  // the scene being recorded is no longer wanted

  // Only the thread touches these: the answer last made (its id aside) and what it was
  // made from.
  DocumentKey keptKey;
  std::unique_ptr<PreviewAnswer> kept;
};

void PreviewWorker::Shared::Run(const std::shared_ptr<Shared>& self) {
  for (;;) {
    PreviewRequest request;
    {
      std::unique_lock lock(mutex);
      wake.wait(lock, [&] { return stopping || pending.has_value(); });
      if (stopping) return;
      request = std::move(*pending);
      pending.reset();
      cancel = false;
    }
    if (started) started(request.path);
    auto answer = std::make_shared<PreviewAnswer>();
    bool useful = false;
    try {
      useful = Answer(request, *answer);
    } catch (const std::exception&) {
      // Out of memory on a huge drawing, say: the pane says it cannot show it.
      kept.reset();
      keptKey = {};
      *answer = PreviewAnswer{request.id, request.path};
      useful = true;
    }
    std::lock_guard lock(mutex);
    if (stopping) return;
    if (!useful || request.id != newest) continue;
    window.CallAfter([self, answer] {
      {
        // A newer request made meanwhile, or the worker gone: the answer is stale.
        std::lock_guard lock(self->mutex);
        if (self->stopping || answer->id != self->newest) return;
      }
      self->answered(*answer);
    });
  }
}

bool PreviewWorker::Shared::Answer(const PreviewRequest& request, PreviewAnswer& answer) {
  answer.id = request.id;
  answer.path = request.path;
  if (request.path.empty()) {
    // Nothing to show: the scene kept goes.
    kept.reset();
    keptKey = {};
    return false;
  }
  const DocumentKey key = KeyOf(request);
  if (!kept || !(key == keptKey)) {
    kept.reset();  // one scene in memory at a time
    keptKey = {};
    auto made = std::make_unique<PreviewAnswer>();
    {
      // The document is let go once its scene is recorded.
      PictureSource source;
      ReadForPicture(request.path, request.after, source);
      {
        std::lock_guard lock(mutex);
        if (stopping || OvertakenLocked(key)) return false;
      }
      made->sourceVersion = source.sourceVersion;
      made->targetVersion = source.targetVersion;
      made->notConverted =
          request.after && (source.refusal == Refusal::kOldVersion || source.refusal == Refusal::kEmptyShape);
      if (source.Drawable()) {
        auto scene = std::make_shared<raster::KeptScene>();
        render::WalkLimits limits;
        limits.cancel = &cancel;
        raster::RecordScene(source.Input(), source.images.get(), limits, *scene);
        if (scene->result.walk.cancelled) return false;
        made->scene = std::move(scene);
      }
    }
    kept = std::move(made);
    keptKey = key;
  }
  answer.sourceVersion = kept->sourceVersion;
  answer.targetVersion = kept->targetVersion;
  answer.notConverted = kept->notConverted;
  answer.scene = kept->scene;
  return true;
}

PreviewWorker::PreviewWorker(wxEvtHandler& window, std::function<void(PreviewAnswer&)> answered,
                             std::function<void(const String& path)> started)
    : shared_(std::make_shared<Shared>(window, std::move(answered), std::move(started))) {
  thread_ = std::thread([shared = shared_] { shared->Run(shared); });
}

PreviewWorker::~PreviewWorker() {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->stopping = true;
    shared_->cancel = true;
  }
  shared_->wake.notify_all();
  if (thread_.joinable()) thread_.join();
}

void PreviewWorker::Request(PreviewRequest request) {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->newest = request.id;
    shared_->pending = std::move(request);
    shared_->cancel = true;  // whatever is being recorded now is for an older request
  }
  shared_->wake.notify_all();
}

}  // namespace plandown::app
