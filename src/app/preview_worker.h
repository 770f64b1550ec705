// Pictures for the preview pane, read and drawn on a thread of its own so that moving
// through the file list stays fluid. Only the newest request matters: a request that a
// newer one replaces before it starts is never read, a picture being drawn for it is
// stopped, and an answer to it is dropped. The document last read is kept, so that a
// pane of a new size is drawn again without reading the file again.
#pragma once
#include <wx/event.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "convert/settings.h"
#include "raster/picture.h"
#include "util/ustring.h"

namespace plandown::app {

struct PreviewRequest {
  String path;
  // The drawing as the conversion with these settings would write it; none: as it is.
  std::optional<ConversionSettings> after;
  int width = 0;
  int height = 0;
  std::uint64_t id = 0;  // increasing; the answer carries it
};

struct PreviewAnswer {
  std::uint64_t id = 0;
  String path;
  bool drawn = false;  // a picture; else the file cannot be shown
  bool notConverted = false;  // not drawn because the conversion refuses the file
  raster::RasterPicture picture;
  int sourceVersion = 0;  // the generation read; 0 when no header was read
  int targetVersion = 0;  // the generation drawn after conversion; 0 for the file as it is
};

class PreviewWorker {
 public:
  // `answered` is called on the window's thread with each answer that is still the
  // newest request's; `started`, on the drawing thread as each request is begun (a hook
  // for tests). `window` must outlive the worker.
  PreviewWorker(wxEvtHandler& window, std::function<void(PreviewAnswer&)> answered,
                std::function<void(const String& path)> started = {});
  // Stops the picture being drawn and waits for the thread (a file being read is read to
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
