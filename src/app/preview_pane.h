// The preview pane under the file list: the picture of one drawing or shape, as it is or
// as the conversion would write it, which can be zoomed and panned. Scenes are read and
// recorded on the preview worker; the pane draws the view of the newest answer, a note
// while a file takes time to read, and a note for what it cannot show.
//
// Wheel: zoom about the pointer; + and - (also on the keypad): zoom about the middle;
// dragging: pan; double click or Home: the whole drawing, as every new file shows.
#pragma once
#include <wx/bitmap.h>
#include <wx/panel.h>
#include <wx/timer.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "convert/settings.h"
#include "raster/kept_scene.h"
#include "raster/scene_paint.h"
#include "raster/view_transform.h"
#include "util/ustring.h"

namespace plandown::app {

class PreviewWorker;
struct PreviewAnswer;

class TPreviewPane final : public wxPanel {
 public:
  enum class State {
    kNone,     // no file selected
    kLoading,  // waiting for the worker
    kPicture,  // the file's picture
    kNote,     // the file cannot be shown
  };

  // One wheel notch or key press zooms by this factor.
  static constexpr double kZoomStep = 1.25;

  // `started` is called on the worker's thread as each request is begun (a hook for tests).
  TPreviewPane(wxWindow* parent, std::function<void(const String& path)> started = {});
  ~TPreviewPane() override;

  // Shows `path` (empty: nothing), after conversion with `after` when given. The same
  // file and settings again change nothing unless `reload` asks to look at the file
  // again (it is read again only when it changed).
  void ShowFile(const String& path, const std::optional<ConversionSettings>& after, bool reload = false);
  // Drops the worker's scene and shows nothing (the pane is being closed).
  void Clear();
  // Stops the worker for good (waiting for the file it reads): the window is closing and
  // the process-wide tables the renderer reads are about to be reset.
  void Stop();

  // The view: zoom by `factor` about a point of the pane, pan by pixels, the whole
  // drawing. What the mouse and the keys do, for code too.
  void ZoomAbout(double factor, wxPoint at);
  void Pan(int dx, int dy);
  void FitView();
  const raster::ViewTransform& View() const { return view_; }

  State GetState() const { return state_; }
  // The file the pane was last asked to show.
  const String& RequestedPath() const { return path_; }
  // The file whose picture or note shows; empty while none does.
  const String& ShownPath() const { return shownPath_; }
  // The note shown instead of a picture; empty while a picture shows.
  String NoteText() const;
  // The picture shown (invalid while none): the view drawn at the pane's size.
  const wxBitmap& Picture();
  // The scene shown; none while no picture shows.
  const raster::KeptScene* Scene() const { return scene_.get(); }
  // What the last picture took to draw, in milliseconds, and what it drew.
  double LastPaintMs() const { return lastPaintMs_; }
  const raster::PaintStats& LastPaintStats() const { return lastStats_; }
  int SourceVersion() const { return sourceVersion_; }
  int TargetVersion() const { return targetVersion_; }
  // Answers taken since the pane was made (stale ones are never taken).
  std::uint64_t Answers() const { return answers_; }
  // A request is waiting for its answer.
  bool Busy() const { return waiting_; }
  // Called whenever what the pane shows changes.
  void OnShownChanged(std::function<void()> changed) { changed_ = std::move(changed); }

 private:
  void Request();
  void Answered(PreviewAnswer& answer);
  void OnPaint(wxPaintEvent& event);
  void OnMouse(wxMouseEvent& event);
  void OnKey(wxKeyEvent& event);
  void ShownChanged();
  void ViewChanged();

  std::function<void(const String&)> started_;
  std::function<void()> changed_;
  std::unique_ptr<PreviewWorker> worker_;
  String path_;
  std::optional<ConversionSettings> after_;
  std::uint64_t nextId_ = 0;
  bool asked_ = false;  // a request was made
  bool waiting_ = false;
  wxTimer loadingTimer_;
  State state_ = State::kNone;
  String shownPath_;
  std::shared_ptr<const raster::KeptScene> scene_;
  raster::ViewTransform view_;
  wxSize fittedSize_;      // the pane's size the view was last fitted to
  wxBitmap bitmap_;        // the view drawn, while it is current
  bool bitmapStale_ = true;
  double lastPaintMs_ = 0;
  raster::PaintStats lastStats_;
  std::optional<wxPoint> dragFrom_;
  int sourceVersion_ = 0;
  int targetVersion_ = 0;
  bool notConverted_ = false;
  std::uint64_t answers_ = 0;
};

}  // namespace plandown::app
