#include "app/preview_pane.h"

#include <wx/dcbuffer.h>
#include <wx/image.h>
#include <wx/settings.h>

#include <algorithm>
#include <cstring>

#include "app/preview_worker.h"
#include "app/window_texts.h"
#include "app/wx_text.h"

namespace plandown::app {

namespace {

// A file that answers within this time replaces the picture before at once; a slower one
// says that it is being read.
constexpr int kLoadingDelay = 150;  // ms
// A pane being resized is drawn again once its size has rested this long; meanwhile the
// picture before is scaled.
constexpr int kResizeDelay = 120;  // ms
// Sides smaller than this are not worth a picture (a pane being laid out).
constexpr int kLeastSide = 16;
constexpr int kLoadingTimerId = wxID_HIGHEST + 11;
constexpr int kResizeTimerId = wxID_HIGHEST + 12;

wxBitmap ToBitmap(const raster::RasterPicture& p) {
  if (p.width <= 0 || p.height <= 0) return {};
  wxImage image(p.width, p.height, false);
  std::memcpy(image.GetData(), p.rgb.data(), std::min(p.rgb.size(), static_cast<std::size_t>(p.width) * p.height * 3));
  return wxBitmap(image);
}

}  // namespace

TPreviewPane::TPreviewPane(wxWindow* parent, std::function<void(const String& path)> started)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_THEME | wxFULL_REPAINT_ON_RESIZE),
      started_(std::move(started)),
      loadingTimer_(this, kLoadingTimerId),
      resizeTimer_(this, kResizeTimerId) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  worker_ = std::make_unique<PreviewWorker>(
      *this, [this](PreviewAnswer& answer) { Answered(answer); }, started_);
  Bind(wxEVT_PAINT, &TPreviewPane::OnPaint, this);
  Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
    e.Skip();
    Refresh();
    if (!path_.empty() && GetClientSize() != requestedSize_) resizeTimer_.StartOnce(kResizeDelay);
  });
  Bind(
      wxEVT_TIMER,
      [this](wxTimerEvent&) {
        if (!waiting_) return;
        state_ = State::kLoading;
        shownPath_ = path_;
        bitmap_ = wxBitmap();
        ShownChanged();
      },
      kLoadingTimerId);
  Bind(
      wxEVT_TIMER,
      [this](wxTimerEvent&) {
        if (!path_.empty()) Request(true);
      },
      kResizeTimerId);
}

TPreviewPane::~TPreviewPane() {
  loadingTimer_.Stop();
  resizeTimer_.Stop();
  worker_.reset();  // no answer comes after this
}

void TPreviewPane::ShowFile(const String& path, const std::optional<ConversionSettings>& after, bool reload) {
  if (asked_ && path == path_ && after == after_ && !(reload && !path.empty())) return;
  path_ = path;
  after_ = path.empty() ? std::nullopt : after;
  Request(false);
}

void TPreviewPane::Clear() {
  path_.clear();
  after_.reset();
  Request(false);
}

void TPreviewPane::Request(bool sameDocument) {
  loadingTimer_.Stop();
  resizeTimer_.Stop();
  const wxSize size = GetClientSize();
  requestedSize_ = size;
  asked_ = true;
  PreviewRequest request;
  request.id = ++nextId_;
  request.path = path_;
  request.after = after_;
  request.width = std::max(size.x, kLeastSide);
  request.height = std::max(size.y, kLeastSide);
  worker_->Request(std::move(request));
  if (path_.empty()) {
    // The worker lets its document go and answers nothing.
    waiting_ = false;
    state_ = State::kNone;
    shownPath_.clear();
    bitmap_ = wxBitmap();
    ShownChanged();
    return;
  }
  waiting_ = true;
  if (!sameDocument) loadingTimer_.StartOnce(kLoadingDelay);
}

void TPreviewPane::Answered(PreviewAnswer& answer) {
  loadingTimer_.Stop();
  waiting_ = false;
  ++answers_;
  shownPath_ = answer.path;
  sourceVersion_ = answer.sourceVersion;
  targetVersion_ = answer.targetVersion;
  if (answer.drawn) {
    bitmap_ = ToBitmap(answer.picture);
    state_ = bitmap_.IsOk() ? State::kPicture : State::kNote;
  } else {
    bitmap_ = wxBitmap();
    state_ = State::kNote;
  }
  notConverted_ = answer.notConverted;
  ShownChanged();
}

void TPreviewPane::ShownChanged() {
  Refresh();
  if (changed_) changed_();
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

void TPreviewPane::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  const wxSize client = GetClientSize();
  if (bitmap_.IsOk()) {
    const wxSize picture = bitmap_.GetSize();
    if (picture == client) {
      dc.DrawBitmap(bitmap_, 0, 0);
    } else {
      // While the pane is resized, the picture before is fitted until the new one comes.
      const double scale = std::min(static_cast<double>(client.x) / picture.x, static_cast<double>(client.y) / picture.y);
      if (scale > 0) {
        const wxSize scaled(std::max(1, static_cast<int>(picture.x * scale)), std::max(1, static_cast<int>(picture.y * scale)));
        const wxBitmap fitted(bitmap_.ConvertToImage().Scale(scaled.x, scaled.y, wxIMAGE_QUALITY_NORMAL));
        dc.DrawBitmap(fitted, (client.x - scaled.x) / 2, (client.y - scaled.y) / 2);
      }
    }
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
