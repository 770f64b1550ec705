// Scenes for the preview pane, read and recorded on a thread of its own so that moving
// through the file list stays fluid. Only the newest request matters: a request that a
// newer one replaces before it starts is never read, a scene being recorded for it is
// stopped, and an answer to it is dropped. The thread touches no window or graphics
// library: it reads (and converts in memory) and records the renderer's output; the
// window draws views of the scene. The scene last made is kept, so that the same file,
// unchanged, is answered again without reading it.
#pragma once
#include <wx/event.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "convert/settings.h"
#include "raster/kept_scene.h"
#include "util/ustring.h"

namespace plandown::app {

struct PreviewRequest {
  String path;
  // The drawing as the conversion with these settings would write it; none: as it is.
  std::optional<ConversionSettings> after;
  std::uint64_t id = 0;  // increasing; the answer carries it
};

struct PreviewAnswer {
  std::uint64_t id = 0;
  String path;
  // The file's scene; none when the file cannot be shown.
  std::shared_ptr<const raster::KeptScene> scene;
  bool notConverted = false;  // not drawn because the conversion refuses the file
  int sourceVersion = 0;  // the generation read; 0 when no header was read
  int targetVersion = 0;  // the generation drawn after conversion; 0 for the file as it is
};

class PreviewWorker {
 public:
  // `answered` is called on the window's thread with each answer that is still the
  // newest request's; `started`, on the worker's thread as each request is begun (a hook
  // for tests). `window` must outlive the worker.
  PreviewWorker(wxEvtHandler& window, std::function<void(PreviewAnswer&)> answered,
                std::function<void(const String& path)> started = {});
  // Stops the scene being recorded and waits for the thread (a file being read is read to
  // its end first). No answer comes after this.
  ~PreviewWorker();
  PreviewWorker(const PreviewWorker&) = delete;
  PreviewWorker& operator=(const PreviewWorker&) = delete;

  void Request(PreviewRequest request);

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace plandown::app
