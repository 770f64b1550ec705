// The preview pane under the file list: the picture of one drawing or shape, fitted to
// the pane, as it is or as the conversion would write it. Pictures are read and drawn on
// the preview worker; the pane shows the newest answer, a note while a file takes time
// to read, and a note for what it cannot show.
#pragma once
#include <wx/bitmap.h>
#include <wx/panel.h>
#include <wx/timer.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "convert/settings.h"
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

  // `started` is called on the worker's thread as each request is begun (a hook for tests).
  TPreviewPane(wxWindow* parent, std::function<void(const String& path)> started = {});
  ~TPreviewPane() override;

  // Shows `path` (empty: nothing), after conversion with `after` when given. The same
  // file and settings again change nothing unless `reload` asks to look at the file
  // again (it is read again only when it changed).
  void ShowFile(const String& path, const std::optional<ConversionSettings>& after, bool reload = false);
  // Drops the worker's document and shows nothing (the pane is being closed).
  void Clear();

  State GetState() const { return state_; }
  // The file the pane was last asked to show.
  const String& RequestedPath() const { return path_; }
  // The file whose picture or note shows; empty while none does.
  const String& ShownPath() const { return shownPath_; }
  // The note shown instead of a picture; empty while a picture shows.
  String NoteText() const;
  // The picture shown (invalid while none), and the generations it shows.
  const wxBitmap& Picture() const { return bitmap_; }
  int SourceVersion() const { return sourceVersion_; }
  int TargetVersion() const { return targetVersion_; }
  // Answers taken since the pane was made (stale ones are never taken).
  std::uint64_t Answers() const { return answers_; }
  // A request is waiting for its answer.
  bool Busy() const { return waiting_; }
  // Called whenever what the pane shows changes.
  void OnShownChanged(std::function<void()> changed) { changed_ = std::move(changed); }

 private:
  void Request(bool sameDocument);
  void Answered(PreviewAnswer& answer);
  void OnPaint(wxPaintEvent& event);
  void ShownChanged();

  std::function<void(const String&)> started_;
  std::function<void()> changed_;
  std::unique_ptr<PreviewWorker> worker_;
  String path_;
  std::optional<ConversionSettings> after_;
  std::uint64_t nextId_ = 0;
  bool asked_ = false;    // a request was made
  bool waiting_ = false;
  bool loadingShown_ = false;  // the wait has lasted long enough to say so
  wxSize requestedSize_;
  wxTimer loadingTimer_;
  wxTimer resizeTimer_;
  State state_ = State::kNone;
  String shownPath_;
  wxBitmap bitmap_;
  int sourceVersion_ = 0;
  int targetVersion_ = 0;
  bool notConverted_ = false;
  std::uint64_t answers_ = 0;
};

}  // namespace plandown::app
