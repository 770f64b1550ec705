#include "app/preview_pane.h"

#include <wx/dcbuffer.h>
#include <wx/image.h>
#include <wx/settings.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

#include "app/preview_worker.h"
#include "app/window_texts.h"
#include "app/wx_text.h"

namespace plandown::app {

namespace {

// A file that answers within this time replaces the picture before at once; a slower one
// says that it is being read.
constexpr int kLoadingDelay = 150;  // ms
// Pixels around the whole drawing in the fitted view.
constexpr int kFitMargin = 8;
constexpr int kLoadingTimerId = wxID_HIGHEST + 11;

wxBitmap ToBitmap(const raster::RasterPicture& p) {
  if (p.width <= 0 || p.height <= 0) return {};
  wxImage image(p.width, p.height, false);
  std::memcpy(image.GetData(), p.rgb.data(), std::min(p.rgb.size(), static_cast<std::size_t>(p.width) * p.height * 3));
  return wxBitmap(image);
}

}  // namespace

TPreviewPane::TPreviewPane(wxWindow* parent, std::function<void(const String& path)> started)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
              wxBORDER_THEME | wxFULL_REPAINT_ON_RESIZE | wxWANTS_CHARS),
      started_(std::move(started)),
      loadingTimer_(this, kLoadingTimerId) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  worker_ = std::make_unique<PreviewWorker>(
      *this, [this](PreviewAnswer& answer) { Answered(answer); }, started_);
  Bind(wxEVT_PAINT, &TPreviewPane::OnPaint, this);
  Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
    e.Skip();
    bitmapStale_ = true;
    Refresh();
  });
  for (const auto type : {wxEVT_MOUSEWHEEL, wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, wxEVT_MOTION, wxEVT_LEFT_DCLICK})
    Bind(type, &TPreviewPane::OnMouse, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { dragFrom_.reset(); });
  Bind(wxEVT_KEY_DOWN, &TPreviewPane::OnKey, this);
  Bind(wxEVT_CHAR, &TPreviewPane::OnKey, this);
  Bind(
      wxEVT_TIMER,
      [this](wxTimerEvent&) {
        if (!waiting_) return;
        state_ = State::kLoading;
        shownPath_ = path_;
        scene_.reset();
        bitmap_ = wxBitmap();
        ShownChanged();
      },
      kLoadingTimerId);
}

TPreviewPane::~TPreviewPane() {
  loadingTimer_.Stop();
  if (HasCapture()) ReleaseMouse();
  worker_.reset();  // no answer comes after this
}

void TPreviewPane::ShowFile(const String& path, const std::optional<ConversionSettings>& after, bool reload) {
  if (asked_ && path == path_ && after == after_ && !(reload && !path.empty())) return;
  path_ = path;
  after_ = path.empty() ? std::nullopt : after;
  Request();
}

void TPreviewPane::Clear() {
  path_.clear();
  after_.reset();
  Request();
}

void TPreviewPane::Stop() {
  loadingTimer_.Stop();
  worker_.reset();
  waiting_ = false;
}

void TPreviewPane::Request() {
  loadingTimer_.Stop();
  if (!worker_) return;  // stopped: the window is closing
  asked_ = true;
  PreviewRequest request;
  request.id = ++nextId_;
  request.path = path_;
  request.after = after_;
  worker_->Request(std::move(request));
  if (path_.empty()) {
    // The worker lets its scene go and answers nothing.
    waiting_ = false;
    state_ = State::kNone;
    shownPath_.clear();
    scene_.reset();
    bitmap_ = wxBitmap();
    ShownChanged();
    return;
  }
  waiting_ = true;
  loadingTimer_.StartOnce(kLoadingDelay);
}

void TPreviewPane::Answered(PreviewAnswer& answer) {
  loadingTimer_.Stop();
  waiting_ = false;
  ++answers_;
  shownPath_ = answer.path;
  sourceVersion_ = answer.sourceVersion;
  targetVersion_ = answer.targetVersion;
  notConverted_ = answer.notConverted;
  const bool sameScene = answer.scene && answer.scene == scene_;
  scene_ = answer.scene;
  state_ = scene_ ? State::kPicture : State::kNote;
  bitmap_ = wxBitmap();
  bitmapStale_ = true;
  // A new scene shows whole; the same one answered again (the file unchanged) keeps
  // the view it had.
  if (scene_ && !sameScene) FitView();
  ShownChanged();
}

void TPreviewPane::ShownChanged() {
  Refresh();
  if (changed_) changed_();
}

void TPreviewPane::ViewChanged() {
  bitmapStale_ = true;
  Refresh();
}

void TPreviewPane::ZoomAbout(double factor, wxPoint at) {
  if (!scene_) return;
  view_.ZoomAbout(factor, {static_cast<double>(at.x), static_cast<double>(at.y)});
  ViewChanged();
}

void TPreviewPane::Pan(int dx, int dy) {
  if (!scene_) return;
  view_.Pan(dx, dy);
  ViewChanged();
}

void TPreviewPane::FitView() {
  if (!scene_) return;
  const wxSize client = GetClientSize();
  view_.Fit(scene_->bounds, client.x, client.y, kFitMargin);
  fittedSize_ = client;
  ViewChanged();
}

void TPreviewPane::OnMouse(wxMouseEvent& e) {
  const wxEventType type = e.GetEventType();
  if (type == wxEVT_MOUSEWHEEL) {
    if (e.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL || e.GetWheelDelta() == 0) return;
    const double notches = static_cast<double>(e.GetWheelRotation()) / e.GetWheelDelta();
    ZoomAbout(std::pow(kZoomStep, notches), e.GetPosition());
  } else if (type == wxEVT_LEFT_DOWN) {
    SetFocus();  // for the keys
    dragFrom_ = e.GetPosition();
    if (!HasCapture()) CaptureMouse();
  } else if (type == wxEVT_MOTION) {
    if (!dragFrom_ || !e.LeftIsDown()) return;
    const wxPoint at = e.GetPosition();
    Pan(at.x - dragFrom_->x, at.y - dragFrom_->y);
    dragFrom_ = at;
  } else if (type == wxEVT_LEFT_UP) {
    dragFrom_.reset();
    if (HasCapture()) ReleaseMouse();
  } else if (type == wxEVT_LEFT_DCLICK) {
    FitView();
  }
}

void TPreviewPane::OnKey(wxKeyEvent& e) {
  const wxSize client = GetClientSize();
  const wxPoint middle(client.x / 2, client.y / 2);
  if (e.GetEventType() == wxEVT_KEY_DOWN) {
    const int key = e.GetKeyCode();
    if ((key == WXK_HOME || key == WXK_NUMPAD_HOME) && !e.HasAnyModifiers()) return FitView();
    if (key == WXK_NUMPAD_ADD) return ZoomAbout(kZoomStep, middle);
    if (key == WXK_NUMPAD_SUBTRACT) return ZoomAbout(1 / kZoomStep, middle);
    e.Skip();
    return;
  }
  // Characters, whatever keys give them on the keyboard's layout.
  const wxChar c = e.GetUnicodeKey();
  if (c == '+' || c == 0xFF0B) return ZoomAbout(kZoomStep, middle);
  if (c == '-' || c == 0x2212 || c == 0xFF0D) return ZoomAbout(1 / kZoomStep, middle);
  e.Skip();
}

String TPreviewPane::NoteText() const {
  switch (state_) {
    case State::kNone: return String(kPreviewNoFile);
    case State::kLoading: return String(kPreviewLoading);
    case State::kNote: return String(notConverted_ ? kPreviewNotConverted : kPreviewUnavailable);
    case State::kPicture: break;
  }
  return String();
}

const wxBitmap& TPreviewPane::Picture() {
  const wxSize client = GetClientSize();
  if (!scene_ || client.x <= 0 || client.y <= 0) {
    bitmap_ = wxBitmap();
    return bitmap_;
  }
  // A pane of a new size shows the whole drawing again until it is zoomed or panned.
  if (view_.Fitted() && client != fittedSize_) {
    view_.Fit(scene_->bounds, client.x, client.y, kFitMargin);
    fittedSize_ = client;
    bitmapStale_ = true;
  }
  if (!bitmapStale_ && bitmap_.IsOk() && bitmap_.GetSize() == client) return bitmap_;
  const auto start = std::chrono::steady_clock::now();
  raster::RasterPicture picture;
  raster::PaintStats stats;
  bitmap_ = raster::PaintScene(*scene_, view_, client.x, client.y, picture, &stats) ? ToBitmap(picture) : wxBitmap();
  lastPaintMs_ = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  lastStats_ = stats;
  bitmapStale_ = false;
  return bitmap_;
}

void TPreviewPane::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  const wxSize client = GetClientSize();
  if (state_ == State::kPicture) {
    const wxBitmap& picture = Picture();
    if (picture.IsOk()) dc.DrawBitmap(picture, 0, 0);
    return;
  }
  const String note = NoteText();
  if (note.empty()) return;
  dc.SetFont(GetFont());
  dc.SetTextForeground(wxColour(96, 96, 96));
  const wxString text = Wx(note);
  const wxSize extent = dc.GetTextExtent(text);
  dc.DrawText(text, std::max(0, (client.x - extent.x) / 2), std::max(0, (client.y - extent.y) / 2));
}

}  // namespace plandown::app
