#include "app/result_view.h"

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

#include "app/window_texts.h"
#include "app/wx_text.h"
#include "convert/report_file.h"
#include "util/paths.h"

namespace plandown::app {

namespace {

// Refused and failed rows stand out from the converted ones.
wxColour RowColour(const ResultRow& row) {
  if (row.outcome == Outcome::kFailed) return wxColour(176, 0, 0);
  if (row.cancelled) return wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT);
  if (row.outcome == Outcome::kRefused) return wxColour(160, 80, 0);
  return wxNullColour;
}

// The rows are read where they are kept, so that a run of thousands of files shows at once.
class ResultListCtrl final : public wxListCtrl {
 public:
  ResultListCtrl(wxWindow* parent, const std::vector<ResultRow>& rows)
      : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                   wxLC_REPORT | wxLC_VIRTUAL | wxLC_HRULES | wxLC_VRULES | wxBORDER_THEME),
        rows_(rows) {}

 protected:
  wxString OnGetItemText(long item, long column) const override {
    return Wx(rows_[static_cast<std::size_t>(item)].text[static_cast<std::size_t>(column)]);
  }
  wxItemAttr* OnGetItemAttr(long item) const override {
    const wxColour colour = RowColour(rows_[static_cast<std::size_t>(item)]);
    if (!colour.IsOk()) return nullptr;
    attr_.SetTextColour(colour);
    return &attr_;
  }

 private:
  const std::vector<ResultRow>& rows_;
  mutable wxItemAttr attr_;
};

// The width a column needs for its header and the texts of the first rows: enough to
// judge by, and quick for a run of thousands.
int FittedWidth(wxWindow* list, std::u16string_view header, const std::vector<ResultRow>& rows, int column) {
  constexpr std::size_t kRowsMeasured = 200;
  int width = list->GetTextExtent(Wx(header)).x + 24;
  for (std::size_t i = 0; i < rows.size() && i < kRowsMeasured; ++i)
    width = std::max(width, list->GetTextExtent(Wx(rows[i].text[static_cast<std::size_t>(column)])).x + 16);
  return width;
}

}  // namespace

TResultView::TResultView(wxWindow* parent, const WindowServices& services)
    : wxDialog(parent, wxID_ANY, Wx(kResultTitle), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER | wxMAXIMIZE_BOX),
      services_(services) {
  SummaryLabel = new wxStaticText(this, wxID_ANY, wxString());
  SummaryLabel->SetFont(SummaryLabel->GetFont().Bold());
  DestinationLabel = new wxStaticText(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                                      wxST_ELLIPSIZE_MIDDLE);
  ResultList = new ResultListCtrl(this, rows_);
  for (int c = 0; c < kResultColumns; ++c) ResultList->InsertColumn(c, Wx(kResultHeaders[static_cast<std::size_t>(c)]));
  ResultList->SetMinSize(wxSize(320, 120));
  DetailBox = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                             wxTE_MULTILINE | wxTE_READONLY | wxTE_WORDWRAP);
  // Six lines: a row's texts, with a long list of changes wrapped once.
  DetailBox->SetMinSize(wxSize(-1, DetailBox->GetCharHeight() * 6 + 12));

  CopyButton = new wxButton(this, wxID_ANY, Wx(kCopyButton));
  SaveButton = new wxButton(this, wxID_ANY, Wx(kSaveReportButton));
  CloseButton = new wxButton(this, wxID_CLOSE, Wx(kCloseViewButton));
  SetEscapeId(wxID_CLOSE);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->Add(CopyButton);
  buttons->AddSpacer(6);
  buttons->Add(SaveButton);
  buttons->AddStretchSpacer();
  buttons->Add(CloseButton);

  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(SummaryLabel, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 8);
  top->Add(DestinationLabel, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 8);
  top->Add(ResultList, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 8);
  top->Add(DetailBox, 0, wxEXPAND | wxALL, 8);
  top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
  SetSizer(top);
  SetMinClientSize(top->GetMinSize());
  SetClientSize(wxSize(980, 440));

  ResultList->Bind(wxEVT_LIST_ITEM_FOCUSED, guard_([this](wxListEvent& e) {
    e.Skip();
    ShowDetails();
  }));
  ResultList->Bind(wxEVT_LIST_ITEM_SELECTED, guard_([this](wxListEvent& e) {
    e.Skip();
    ShowDetails();
  }));
  CopyButton->Bind(wxEVT_BUTTON, guard_([this](wxCommandEvent&) { CopyRows(); }));
  SaveButton->Bind(wxEVT_BUTTON, guard_([this](wxCommandEvent&) { SaveReport(); }));
  CloseButton->Bind(wxEVT_BUTTON, guard_([this](wxCommandEvent&) { Hide(); }));
  Bind(wxEVT_CLOSE_WINDOW, guard_([this](wxCloseEvent&) { Hide(); }));
  // Ctrl+C and Ctrl+A work on the rows while the list has the focus; the detail box keeps
  // its own.
  Bind(wxEVT_CHAR_HOOK, guard_([this](wxKeyEvent& e) {
    wxWindow* focus = FindFocus();
    const bool inList = focus != nullptr && (focus == ResultList || ResultList->IsDescendant(focus));
    if (inList && e.GetModifiers() == wxMOD_CONTROL && e.GetKeyCode() == 'C') return CopyRows();
    if (inList && e.GetModifiers() == wxMOD_CONTROL && e.GetKeyCode() == 'A') return SelectAllRows();
    e.Skip();
  }));
}

TResultView::~TResultView() {
  // The list sends its focus as it is destroyed, after this destructor, and reads its
  // rows from here: its handlers stop now and it goes while the rows are still here.
  guard_.End();
  delete ResultList;
  ResultList = nullptr;
}

void TResultView::ShowResults(const String& destination, const ConversionSettings& settings,
                              std::vector<FileConversion> results) {
  destination_ = destination;
  settings_ = settings;
  results_ = std::move(results);
  rows_ = ResultRows(results_);
  SummaryLabel->SetLabelText(Wx(ResultSummaryText(results_)));
  DestinationLabel->SetLabelText(Wx(ResultDestinationText(destination_)));
  DestinationLabel->SetToolTip(Wx(destination_));

  ResultList->Freeze();
  for (long item = -1; (item = ResultList->GetNextItem(item, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) != -1;)
    ResultList->SetItemState(item, 0, wxLIST_STATE_SELECTED);
  ResultList->SetItemCount(static_cast<long>(rows_.size()));
  ResultList->Refresh();
  // The first run sizes the columns to what they hold; the user's widths win after that.
  // The detail box below shows what a narrower column cuts.
  if (!columnsFitted_) {
    columnsFitted_ = true;
    for (int c = 0; c < kResultColumns; ++c)
      ResultList->SetColumnWidth(c, std::min(FittedWidth(ResultList, kResultHeaders[static_cast<std::size_t>(c)], rows_, c), 270));
  }
  // The first row that was not converted cleanly is the one to look at first.
  const auto first = std::find_if(rows_.begin(), rows_.end(), [](const ResultRow& r) { return r.outcome != Outcome::kConverted; });
  if (!rows_.empty()) {
    const long focus = first == rows_.end() ? 0 : static_cast<long>(first - rows_.begin());
    ResultList->SetItemState(focus, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
    ResultList->EnsureVisible(focus);
  }
  ResultList->Thaw();
  ShowDetails();
  SaveButton->Enable(!results_.empty());
  CopyButton->Enable(!results_.empty());
  Layout();
  Show();
  Raise();
}

void TResultView::ShowDetails() {
  const long item = ResultList->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED);
  const bool shown = item >= 0 && static_cast<std::size_t>(item) < rows_.size();
  DetailBox->ChangeValue(shown ? Wx(ResultRowDetails(rows_[static_cast<std::size_t>(item)])) : wxString());
}

void TResultView::CopyRows() {
  std::vector<const ResultRow*> chosen;
  for (long item = -1; (item = ResultList->GetNextItem(item, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) != -1;)
    chosen.push_back(&rows_[static_cast<std::size_t>(item)]);
  if (chosen.empty())
    for (const ResultRow& row : rows_) chosen.push_back(&row);
  if (chosen.empty()) return;
  services_.copyText(ResultRowsText(chosen));
}

void TResultView::SaveReport() {
  if (results_.empty()) return;
  const String path = services_.chooseSaveFile(this, String(kSaveReportTitle), destination_, String(kReportFileName));
  if (path.empty()) return;
  if (!SaveConversionReport(path, settings_, results_)) services_.message(this, String(kReportSaveFailed), MessageKind::kError);
}

void TResultView::SelectAllRows() {
  // -1: every item at once.
  ResultList->SetItemState(-1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
}

}  // namespace plandown::app
