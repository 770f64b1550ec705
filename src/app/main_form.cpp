#include "app/main_form.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dirctrl.h>
#include <wx/display.h>
#include <wx/evtloop.h>
#include <wx/filename.h>
#include <wx/gauge.h>
#include <wx/listctrl.h>
#include <wx/log.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/settings.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <algorithm>
#include <map>
#include <set>

#include "app/conversion_worker.h"
#include "app/file_drop_target.h"
#include "app/folder_reader.h"
#include "app/open_request.h"
#include "app/folder_tree.h"
#include "app/layout.h"
#include "app/preview_pane.h"
#include "app/result_view.h"
#include "app/settings_dialog.h"
#include "app/window_texts.h"
#include "app/wx_text.h"
#include "convert/conversion_report.h"
#include "convert/reference_folder.h"
#include "convert/result_rows.h"
#include "convert/session_temp_folder.h"
#include "convert/status_texts.h"
#include "convert/window_placement.h"
#include "jww/substitution.h"
#include "jww/versions.h"
#include "util/files.h"
#include "util/paths.h"

namespace plandown::app {

namespace {

constexpr int kDefaultOffset = 64;     // where a window goes that would not show
constexpr int kMinFolderPanel = 100;   // the least the folder tree keeps when space is short
constexpr int kMinListHeight = 80;     // rows the list shows at the least
constexpr int kMinPreviewHeight = 120; // the preview pane, while it is on
constexpr int kPollTimerId = wxID_HIGHEST + 1;
constexpr int kRefreshTimerId = wxID_HIGHEST + 2;
constexpr int kWatchTimerId = wxID_HIGHEST + 3;
constexpr int kWatchInterval = 200;  // ms between two looks for changes in the shown folder

// Typical content of each column, for the widths of a first start.
constexpr std::u16string_view kTypicalContent[kFileListColumns] = {
    u"1階平面図_改訂02.jww", u".jww", u"図面メモ図面メモ図面メモ", u"2000/00/00 00:00:00", u"00000000", u"700"};
// No column grows past this to fit what it holds; the memo gives way first when the
// columns would not fit the list.
constexpr int kMaxFittedWidth = 320;
constexpr int kMinMemoWidth = 120;
// A header's margins either side of its caption and the room of the sort arrow beside it.
constexpr int kHeaderTextMargins = 12;
constexpr int kSortArrowRoom = 16;
constexpr std::size_t kRowsMeasured = 200;

// The usable areas of the displays, the primary display first.
std::vector<ScreenRect> WorkAreas() {
  std::vector<ScreenRect> areas;
  for (unsigned i = 0; i < wxDisplay::GetCount(); ++i) {
    const wxDisplay display(i);
    const wxRect r = display.GetClientArea();
    const ScreenRect area{r.x, r.y, r.width, r.height};
    if (display.IsPrimary())
      areas.insert(areas.begin(), area);
    else
      areas.push_back(area);
  }
  return areas;
}

wxRect ToWxRect(const ScreenRect& r) { return {r.x, r.y, r.width, r.height}; }

wxButton* MakeButton(wxWindow* parent, std::u16string_view text, int width, int height) {
  auto* button = new wxButton(parent, wxID_ANY, Wx(text), wxDefaultPosition, wxSize(width, height));
  const wxSize best = button->GetBestSize();
  button->SetMinSize(wxSize(std::max(width, best.x), std::max(height, best.y)));
  return button;
}

// The file list reads its rows where the window keeps them, in the order shown, so that a
// folder of thousands of files fills at once.
class FileListCtrl final : public wxListCtrl {
 public:
  FileListCtrl(wxWindow* parent, const std::vector<FileListRow>& rows, const std::vector<std::size_t>& order)
      : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                   wxLC_REPORT | wxLC_VIRTUAL | wxLC_HRULES | wxLC_VRULES | wxBORDER_THEME),
        rows_(rows),
        order_(order) {}

 protected:
  wxString OnGetItemText(long item, long column) const override {
    return Wx(rows_[order_[static_cast<std::size_t>(item)]].text[static_cast<std::size_t>(column)]);
  }

 private:
  const std::vector<FileListRow>& rows_;
  const std::vector<std::size_t>& order_;
};

// A status bar as tall as its font needs: the toolkit's own height leaves the lower part
// of the glyphs ("_", "g") off with the larger fonts that Japanese text brings. The
// height is set before the frame takes the bar, which keeps the height it has then.
wxStatusBar* MakeStatusBar(wxFrame* frame) {
  auto* bar = new wxStatusBar(frame, wxID_ANY, wxSTB_DEFAULT_STYLE);
  int height = 0;
  bar->GetTextExtent(wxString::FromUTF8("jw_cad 図面gy"), nullptr, &height);
  bar->SetMinHeight(height + 6);
  return bar;
}

// The letter after the "&" of a caption, upper case; 0 when it has none.
wxChar MnemonicOf(const wxString& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<wxChar>(wxToupper(caption[i + 1]));
  }
  return 0;
}

}  // namespace

TForm1::TForm1(MainFormSetup setup)
    : wxFrame(nullptr, wxID_ANY, Wx(kMainCaption), wxPoint(kDefaultOffset, kDefaultOffset), wxSize(600, 520)),
      setup_(std::move(setup)),
      refreshTimer_(this, kRefreshTimerId),
      watchTimer_(this, kWatchTimerId) {
  // The reference folder line across the top, on white.
  Label1Panel = new wxPanel(this);
  Label1Panel->SetBackgroundColour(*wxWHITE);
  Label1 = new wxStaticText(Label1Panel, wxID_ANY, Wx(ReferenceFolderCaption(u"")), wxDefaultPosition, wxDefaultSize,
                            wxST_ELLIPSIZE_MIDDLE);
  Label1->SetForegroundColour(*wxBLACK);
  auto* labelSizer = new wxBoxSizer(wxHORIZONTAL);
  labelSizer->Add(Label1, 1, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, 2);
  Label1Panel->SetSizer(labelSizer);
  Label1Panel->SetMinSize(wxSize(-1, std::max(kLineHeight, Label1->GetBestSize().y + 2)));

  // Folder tree | command area over the file list and the progress of a run.
  Splitter1 = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSP_LIVE_UPDATE | wxSP_3DSASH);
  Splitter1->SetSashGravity(0.0);
  Splitter1->SetMinimumPaneSize(20);
  Panel1 = new wxPanel(Splitter1);
  plExplorerFolderTree1 = new TplExplorerFolderTree(Panel1);
  auto* treeSizer = new wxBoxSizer(wxVERTICAL);
  treeSizer->Add(plExplorerFolderTree1, 1, wxEXPAND);
  Panel1->SetSizer(treeSizer);
  Panel1->SetMinSize(FromDIP(wxSize(kMinFolderPanel, -1)));
  Panel2 = new wxPanel(Splitter1);
  // The list over the preview pane, with a sash between them while the preview is on.
  PreviewSplitter = new wxSplitterWindow(Panel2, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                         wxSP_LIVE_UPDATE | wxSP_3DSASH);
  PreviewSplitter->SetSashGravity(0.0);
  PreviewSplitter->SetMinimumPaneSize(FromDIP(kMinListHeight));
  ListArea = new wxPanel(PreviewSplitter);
  BuildCommandArea();
  BuildFileList();
  BuildProgressArea();
  BuildPreviewArea();
  auto* rightSizer = new wxBoxSizer(wxVERTICAL);
  rightSizer->Add(Panel3, 0, wxEXPAND);
  auto* listSizer = new wxBoxSizer(wxVERTICAL);
  listSizer->Add(ListView1, 1, wxEXPAND);
  listSizer->Add(PreviewBar, 0, wxEXPAND);
  ListArea->SetSizer(listSizer);
  PreviewSplitter->Initialize(ListArea);
  rightSizer->Add(PreviewSplitter, 1, wxEXPAND);
  rightSizer->Add(ProgressPanel, 0, wxEXPAND);
  Panel2->SetSizer(rightSizer);
  // The command area never gets less than it needs: the tree gives way.
  Panel2->SetMinSize(wxSize(Panel3->GetMinSize().x, -1));
  Splitter1->SplitVertically(Panel1, Panel2, settings_.FolderPanelWidth);

  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(Label1Panel, 0, wxEXPAND);
  sizer->Add(Splitter1, 1, wxEXPAND);
  SetSizer(sizer);

  StatusBar1 = MakeStatusBar(this);
  SetStatusBar(StatusBar1);
  Timer1 = std::make_unique<wxTimer>(this, kPollTimerId);
  Bind(wxEVT_TIMER, guard_([this](wxTimerEvent&) { Timer1Timer(); }), kPollTimerId);
  Bind(wxEVT_TIMER, guard_([this](wxTimerEvent&) { RefreshList(false); }), kRefreshTimerId);
  Bind(wxEVT_CLOSE_WINDOW, &TForm1::FormClose, this);
  Bind(wxEVT_TIMER, guard_([this](wxTimerEvent&) {
    // Bursts (a copy of many files) are read once, when the folder is quiet.
    if (watch_.Changed()) refreshTimer_.StartOnce(kRefreshDelay);
  }), kWatchTimerId);
  Bind(wxEVT_MOVE, guard_([this](wxMoveEvent& e) {
    e.Skip();
    KeepNormalRect();
  }));
  Bind(wxEVT_SIZE, guard_([this](wxSizeEvent& e) {
    e.Skip();
    KeepNormalRect();
    UpdateMinSize();
  }));
  Bind(wxEVT_CHAR_HOOK, guard_([this](wxKeyEvent& e) {
    // Esc stops a run wherever the focus is.
    if (e.GetKeyCode() == WXK_ESCAPE && e.GetModifiers() == wxMOD_NONE && Converting()) return ButtonCClick();
    if (e.GetKeyCode() == WXK_F5 && e.GetModifiers() == wxMOD_NONE) {
      plExplorerFolderTree1->FollowDisk();
      return RefreshList(true);
    }
    // Alt+letter presses the control whose caption has that letter wherever the focus
    // is: the folder tree keeps letters for itself otherwise.
    if (e.GetModifiers() == wxMOD_ALT && AltKey(e.GetKeyCode())) return;
    wxWindow* focus = FindFocus();
    const bool inList = focus != nullptr && (focus == ListView1 || ListView1->IsDescendant(focus));
    if (inList && e.GetModifiers() == wxMOD_CONTROL && e.GetKeyCode() == 'A') return SelectAllRows();
    e.Skip();
  }));
  // The tree keeps the width the user gives it, and gives way only while the window is
  // too narrow for it beside the command area.
  Splitter1->Bind(wxEVT_SPLITTER_SASH_POS_RESIZE, guard_([this](wxSplitterEvent& e) {
    const int room = e.GetNewSize() - Splitter1->GetSashSize() - Panel2->GetMinSize().x;
    e.SetSashPosition(std::max(FromDIP(kMinFolderPanel), std::min(preferredSash_, room)));
  }));
  // Only the user's own moves of the sash change the width the tree is to have.
  Splitter1->Bind(wxEVT_SPLITTER_SASH_POS_CHANGING, guard_([this](wxSplitterEvent& e) {
    e.Skip();
    sashDragged_ = true;
  }));
  Splitter1->Bind(wxEVT_SPLITTER_SASH_POS_CHANGED, guard_([this](wxSplitterEvent& e) {
    e.Skip();
    if (sashDragged_) {
      preferredSash_ = e.GetSashPosition();
      CallAfter([this] { StoreSettings(); });
    }
    sashDragged_ = false;
  }));

  AcceptDroppedFiles(*this,
                     std::vector<wxWindow*>{this, Label1Panel, Panel2, Panel3, ListView1, PreviewPane,
                                            plExplorerFolderTree1, plExplorerFolderTree1->DirCtrl()->GetTreeCtrl()},
                     guard_([this](const std::vector<String>& paths) { OpenPaths(paths); }));

  Form2 = new TForm2(this, settings_.Conversion, setup_.services.message);
  ResultView = new TResultView(this, setup_.services);
}

TForm1::~TForm1() {
  // The children go after this destructor; they send events as they go (the list its
  // selection and focus) which must not reach this window any more.
  guard_.End();
  closed_ = true;
  reader_.reset();  // its thread posts to this window
  if (worker_) {
    worker_->Abandon();
    worker_.reset();
  }
  if (Timer1) Timer1->Stop();
  refreshTimer_.Stop();
  StopWatching();
  // The list reads its rows from this window while it is destroyed.
  delete ListView1;
  ListView1 = nullptr;
}

void TForm1::BuildCommandArea() {
  Panel3 = new wxPanel(Panel2);
  wxArrayString filters;
  for (const FileTypeFilter& f : kFileTypeFilters) filters.Add(Wx(f.entry));
  ComboBox1 = new wxChoice(Panel3, wxID_ANY, wxDefaultPosition, FromDIP(wxSize(198, -1)), filters);
  ComboBox1->SetMinSize(FromDIP(wxSize(198, -1)));
  Button1 = MakeButton(Panel3, kDestinationButton, 105, 25);
  Edit1 = new wxTextCtrl(Panel3, wxID_ANY, wxString(), wxDefaultPosition, FromDIP(wxSize(303, -1)), wxTE_READONLY);
  Edit1->SetMinSize(FromDIP(wxSize(303, -1)));
  Edit1->DisableFocusFromKeyboard();
  Button2 = MakeButton(Panel3, kSettingsButton, 106, 36);
  ButtonT = MakeButton(Panel3, kConvertButton, 106, 46);
  ButtonX = MakeButton(Panel3, kCloseButton, 106, 25);

  // Three columns: the filter, destination button and box; the settings button with its
  // note; convert over close.
  auto* left = new wxBoxSizer(wxVERTICAL);
  auto* filterRow = new wxBoxSizer(wxHORIZONTAL);
  filterRow->AddSpacer(3);
  filterRow->Add(LabelledRow(Panel3, kFileTypeLabel, 107 - 5, ComboBox1));
  left->Add(filterRow, 0, wxTOP, 2);
  left->Add(Button1, 0, wxTOP, 3);
  left->Add(Edit1, 0, wxEXPAND);
  auto* middle = new wxBoxSizer(wxVERTICAL);
  middle->Add(Button2, 0, wxEXPAND | wxTOP, 2);
  middle->Add(Label(Panel3, kTargetNote1), 0, wxLEFT | wxTOP, 2);
  middle->Add(Label(Panel3, kTargetNote2), 0, wxLEFT | wxTOP, 4);
  auto* right = new wxBoxSizer(wxVERTICAL);
  right->Add(ButtonT, 0, wxEXPAND | wxTOP, 2);
  right->Add(ButtonX, 0, wxEXPAND | wxTOP | wxBOTTOM, 3);
  auto* area = new wxBoxSizer(wxHORIZONTAL);
  area->AddSpacer(2);
  area->Add(left, 0);
  area->AddSpacer(6);
  area->Add(middle, 0);
  area->AddSpacer(6);
  area->Add(right, 0);
  area->AddSpacer(4);
  Panel3->SetSizer(area);
  Panel3->SetMinSize(wxSize(area->GetMinSize().x, std::max(80, area->GetMinSize().y)));

  ComboBox1->Bind(wxEVT_CHOICE, guard_([this](wxCommandEvent&) { ComboBox1Select(); }));
  Button1->Bind(wxEVT_BUTTON, guard_([this](wxCommandEvent&) { Button1Click(); }));
  Button2->Bind(wxEVT_BUTTON, guard_([this](wxCommandEvent&) { Button2Click(); }));
  ButtonT->Bind(wxEVT_BUTTON, guard_([this](wxCommandEvent&) { ButtonTClick(); }));
  ButtonX->Bind(wxEVT_BUTTON, guard_([this](wxCommandEvent&) { ButtonXClick(); }));
}

void TForm1::BuildFileList() {
  ListView1 = new FileListCtrl(ListArea, rows_, order_);
  for (int c = 0; c < kFileListColumns; ++c)
    ListView1->InsertColumn(c, Wx(kFileListHeaders[static_cast<std::size_t>(c)]),
                            c == kColumnSize ? wxLIST_FORMAT_RIGHT : wxLIST_FORMAT_LEFT, 80);
  ListView1->SetMinSize(FromDIP(wxSize(-1, kMinListHeight)));
  ListView1->Bind(wxEVT_LIST_COL_CLICK, guard_([this](wxListEvent& e) { ListView1ColumnClick(e.GetColumn()); }));
  ListView1->Bind(wxEVT_LIST_ITEM_ACTIVATED, guard_([this](wxListEvent&) { ListView1DblClick(); }));
  for (const auto type : {wxEVT_LIST_ITEM_SELECTED, wxEVT_LIST_ITEM_DESELECTED, wxEVT_LIST_ITEM_FOCUSED})
    ListView1->Bind(type, guard_([this](wxListEvent& e) {
      e.Skip();
      SchedulePreview();
    }));
  // Widths the user gives win over fitted ones.
  ListView1->Bind(wxEVT_LIST_COL_END_DRAG, guard_([this](wxListEvent& e) {
    e.Skip();
    fitColumns_ = false;
    CallAfter([this] { StoreSettings(); });  // once the new width is in place
  }));
}

void TForm1::BuildProgressArea() {
  ProgressPanel = new wxPanel(Panel2);
  ProgressBar1 = new wxGauge(ProgressPanel, wxID_ANY, 1, wxDefaultPosition, FromDIP(wxSize(-1, 18)));
  ProgressCount = new wxStaticText(ProgressPanel, wxID_ANY, Wx(ProgressCountText(0, 0)));
  ButtonC = MakeButton(ProgressPanel, kStopButton, 90, 25);
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(ProgressBar1, 1, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
  row->Add(ProgressCount, 0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, 8);
  row->Add(ButtonC, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
  auto* box = new wxBoxSizer(wxVERTICAL);
  box->Add(row, 0, wxEXPAND | wxTOP | wxBOTTOM, 3);
  ProgressPanel->SetSizer(box);
  ProgressPanel->Hide();
  ButtonC->Bind(wxEVT_BUTTON, guard_([this](wxCommandEvent&) { ButtonCClick(); }));
}

void TForm1::BuildPreviewArea() {
  PreviewBar = new wxPanel(ListArea);
  PreviewCheck = new wxCheckBox(PreviewBar, wxID_ANY, Wx(kPreviewCheck));
  AfterCheck = new wxCheckBox(PreviewBar, wxID_ANY, Wx(kAfterConversionCheck));
  AfterCheck->SetToolTip(Wx(kAfterConversionTip));
  AfterCheck->Disable();
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(PreviewCheck, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
  row->Add(AfterCheck, 0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, 12);
  // Ellipsized rather than widening the bar, so that the command area alone sets the width.
  PreviewInfo = new wxStaticText(PreviewBar, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                                 wxST_ELLIPSIZE_END | wxST_NO_AUTORESIZE);
  row->Add(PreviewInfo, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
  auto* box = new wxBoxSizer(wxVERTICAL);
  box->Add(row, 0, wxEXPAND | wxTOP | wxBOTTOM, 2);
  PreviewBar->SetSizer(box);
  PreviewPane = new TPreviewPane(PreviewSplitter, setup_.previewStarted);
  PreviewPane->SetMinSize(FromDIP(wxSize(-1, kMinPreviewHeight)));
  PreviewPane->Hide();
  PreviewPane->OnShownChanged(guard_([this] {
    const TPreviewPane& pane = *PreviewPane;
    String info;
    if (pane.GetState() == TPreviewPane::State::kPicture && pane.SourceVersion() > 0) {
      info = ExtractName(pane.ShownPath()) + u"  Ver." + FromUtf8(VersionText(pane.SourceVersion()));
      if (pane.TargetVersion() > 0) info += u" → " + FromUtf8(VersionText(pane.TargetVersion()));
    }
    PreviewInfo->SetLabelText(Wx(info));
    PreviewInfo->SetToolTip(Wx(pane.ShownPath()));
  }));
  PreviewCheck->Bind(wxEVT_CHECKBOX, guard_([this](wxCommandEvent&) { PreviewCheckClick(); }));
  AfterCheck->Bind(wxEVT_CHECKBOX, guard_([this](wxCommandEvent&) { AfterCheckClick(); }));
  // The preview keeps its least height when the sash is dragged down.
  PreviewSplitter->Bind(wxEVT_SPLITTER_SASH_POS_CHANGING, guard_([this](wxSplitterEvent& e) {
    const int most = PreviewSplitter->GetClientSize().y - PreviewSplitter->GetSashSize() - FromDIP(kMinPreviewHeight);
    if (e.GetSashPosition() > most) e.SetSashPosition(std::max(most, ListArea->GetMinSize().y));
    previewSashDragged_ = true;
  }));
  // The sash the user chose comes back whenever the height allows: the window's first
  // sizes (before a window manager has placed it) and a shrunk window only move it for
  // a while.
  PreviewSplitter->Bind(wxEVT_SPLITTER_SASH_POS_RESIZE,
                        guard_([this](wxSplitterEvent& e) { e.SetSashPosition(PreviewSashFor(e.GetNewSize())); }));
  PreviewSplitter->Bind(wxEVT_SPLITTER_SASH_POS_CHANGED, guard_([this](wxSplitterEvent& e) {
    e.Skip();
    // Only a sash the user moved is kept in the settings file.
    if (!previewSashDragged_) return;
    previewSashDragged_ = false;
    previewSash_ = e.GetSashPosition();
    settings_.PreviewSash = previewSash_;
    CallAfter([this] { StoreSettings(); });
  }));
  // The sash is never double-clicked away.
  PreviewSplitter->Bind(wxEVT_SPLITTER_DOUBLECLICKED, [](wxSplitterEvent& e) { e.Veto(); });
}

void TForm1::FormShow() {
  TempFolder = CreateSessionTempFolder(setup_.programFolder);
  // Without a settings file the columns are fitted to what they hold.
  fitColumns_ = !LoadSettings(setup_.settingsFileName, settings_);
  settingsRead_ = true;
  ApplySettings();
  CreateDocuments();
  plExplorerFolderTree1->SetSelectFolder(settings_.preFolder);
  preFolder = settings_.preFolder;
  sort_ = FileListSort{};
  Label1->SetLabelText(Wx(ReferenceFolderCaption(preFolder)));
  Label1->SetToolTip(Wx(preFolder));
  if (setup_.startPaths.empty())
    ListFiles(preFolder);
  else
    OpenPaths(setup_.startPaths);
  Timer1->Start(kPollInterval);
  // Once the tree has its size, the restored folder is scrolled into view.
  CallAfter([this] { plExplorerFolderTree1->ScrollToSelection(); });
}

wxSize TForm1::NeededClientSize() const {
  const wxSize command = Panel3->GetMinSize();
  const int width = FromDIP(kMinFolderPanel) + Splitter1->GetSashSize() + command.x;
  int height = Label1Panel->GetMinSize().y + command.y + FromDIP(kMinListHeight) + PreviewBar->GetBestSize().y +
               ProgressPanel->GetBestSize().y;
  if (PreviewPane->IsShown()) height += FromDIP(kMinPreviewHeight) + PreviewSplitter->GetSashSize();
  return {width, height};
}

void TForm1::UpdateMinSize() {
  // The frame's outer minimum depends on the decorations, which a window manager makes
  // known only once the window shows; so it is set again whenever the size changes. While
  // the window is being mapped it passes through a size of a few pixels, whose
  // decorations say nothing.
  const wxSize client = GetClientSize();
  if (client.x < 10 || client.y < 10) return;
  const wxSize outer = ClientToWindowSize(NeededClientSize());
  if (GetMinSize() != outer) SetMinSize(outer);
}

// The end of a long path is what tells folders apart: the box shows it.
void TForm1::ShowDestination(const String& folder) {
  Edit1->ChangeValue(Wx(folder));
  Edit1->SetInsertionPointEnd();
  Edit1->SetToolTip(Wx(folder));
}

void TForm1::ApplySettings() {
  ShowDestination(settings_.DestinationFolder);
  ComboBox1->SetSelection(settings_.FileTypeIndex);
  PreviewCheck->SetValue(settings_.PreviewShown != 0);
  AfterCheck->SetValue(settings_.PreviewAfter != 0);
  AfterCheck->Enable(settings_.PreviewShown != 0);
  PreviewPane->Show(settings_.PreviewShown != 0);
  previewSash_ = std::max(0, settings_.PreviewSash);

  // The window keeps the saved size, but grows to show the whole command area beside the
  // saved tree width, and comes back onto a display when it would not show.
  const wxSize command = Panel3->GetMinSize();
  const int sash = Splitter1->GetSashSize();
  const wxSize decoration = GetSize() - GetClientSize();
  const wxSize needed = NeededClientSize();
  const wxSize least = needed + decoration;
  UpdateMinSize();
  preferredSash_ = std::max(FromDIP(kMinFolderPanel), settings_.FolderPanelWidth);
  ScreenRect saved{settings_.MainLeft, settings_.MainTop, settings_.MainWidth, settings_.MainHeight};
  saved.width = std::max(saved.width, preferredSash_ + sash + command.x + decoration.x);
  if (fitColumns_) {
    // A first start opens wide enough for the fitted columns beside the tree, where the
    // display allows.
    int columns = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this) + 4;
    for (const int w : FittedColumnWidths()) columns += w;
    saved.width = std::max(saved.width, preferredSash_ + sash + columns + decoration.x);
  }
  const ScreenRect placed = VisibleWindowRect(saved, least.x, least.y, WorkAreas(), kDefaultOffset);
  SetSize(ToWxRect(placed));
  normalRect_ = GetRect();
  if (settings_.MainMaximized) Maximize(true);
  // Where the window could not grow enough, the tree gives up width first.
  const int clientWidth = placed.width - decoration.x;
  Splitter1->SetSashPosition(std::max(FromDIP(kMinFolderPanel), std::min(preferredSash_, clientWidth - sash - command.x)));
  Layout();
  if (PreviewPane->IsShown()) SplitPreview();
  if (fitColumns_) {
    FitColumns();
  } else {
    // The settings file keeps widths in pixels at 96 dpi, so they fit at any scale.
    for (int c = 0; c < kFileListColumns; ++c)
      ListView1->SetColumnWidth(c, FromDIP(settings_.ColumnWidths[static_cast<std::size_t>(c)]));
  }

  const wxSize dialog = Form2->GetSize();
  const ScreenRect dialogRect = VisibleWindowRect({settings_.DialogLeft, settings_.DialogTop, dialog.x, dialog.y},
                                                  dialog.x, dialog.y, WorkAreas(), kDefaultOffset);
  Form2->Move(dialogRect.x, dialogRect.y);
}

std::array<int, kFileListColumns> TForm1::FittedColumnWidths() const {
  const auto textWidth = [this](std::u16string_view text) { return ListView1->GetTextExtent(Wx(text)).x; };
  std::array<int, kFileListColumns> widths{};
  for (int c = 0; c < kFileListColumns; ++c) {
    const auto i = static_cast<std::size_t>(c);
    // The header leaves room for the sort arrow; cells for their margins.
    int width = std::max(HeaderWidth(c), textWidth(kTypicalContent[i]) + FromDIP(16));
    // The first rows are enough to judge by, and quick for a folder of thousands.
    for (std::size_t r = 0; r < rows_.size() && r < kRowsMeasured; ++r)
      width = std::max(width, std::min(textWidth(rows_[r].text[i]) + FromDIP(16), FromDIP(kMaxFittedWidth)));
    widths[i] = width;
  }
  return widths;
}

int TForm1::HeaderWidth(int column) const {
  return ListView1->GetTextExtent(Wx(HeaderCaption(column))).x + FromDIP(kHeaderTextMargins + kSortArrowRoom);
}

String TForm1::HeaderCaption(int column) const {
  String caption(kFileListHeaders[static_cast<std::size_t>(column)]);
#ifndef __WXMSW__
  // The generic header draws a right-aligned caption where the sort arrow goes, at the
  // column's right end: the sorted one ends in blanks that leave the arrow its room.
  if (sortShown_ && column == sort_.Sort1 && column == kColumnSize) {
    const int wanted = ListView1->GetTextExtent(Wx(caption)).x + FromDIP(kSortArrowRoom);
    // Bounded: a font whose blank had no width would never get there.
    for (int blanks = 0; blanks < 32 && ListView1->GetTextExtent(Wx(caption)).x < wanted; ++blanks) caption += u' ';
  }
#endif
  return caption;
}

void TForm1::ShowSortArrow(bool show) {
  sortShown_ = show = show && sort_.Sort1 >= 0;
  if (show)
    ListView1->ShowSortIndicator(sort_.Sort1, sort_.Sort2 == 0);
  else
    ListView1->RemoveSortIndicator();
  for (int c = 0; c < kFileListColumns; ++c) {
    wxListItem item;
    item.SetMask(wxLIST_MASK_TEXT);
    const wxString caption = Wx(HeaderCaption(c));
    if (ListView1->GetColumn(c, item) && item.GetText() != caption) {
      item.SetText(caption);
      ListView1->SetColumn(c, item);
    }
  }
  // However narrow the user made the column, the arrow never covers its caption.
  if (show && ListView1->GetColumnWidth(sort_.Sort1) < HeaderWidth(sort_.Sort1))
    ListView1->SetColumnWidth(sort_.Sort1, HeaderWidth(sort_.Sort1));
}

void TForm1::FitColumns() {
  std::array<int, kFileListColumns> widths = FittedColumnWidths();
  // The memo gives up width so that the other columns show whole beside the tree.
  int total = 0;
  for (const int w : widths) total += w;
  const int room = ListView1->GetClientSize().x;
  if (room > 0 && total > room)
    widths[kColumnMemo] = std::max(FromDIP(kMinMemoWidth), widths[kColumnMemo] - (total - room));
  for (int c = 0; c < kFileListColumns; ++c) ListView1->SetColumnWidth(c, widths[static_cast<std::size_t>(c)]);
}

void TForm1::CreateDocuments() {
  ResetSubstitutionTable();
  docs_ = std::make_unique<HeaderDocuments>();
}

void TForm1::FreeDocuments() {
  ResetSubstitutionTable();
  docs_.reset();
}

void TForm1::SetStatus(const String& text) {
  StatusBar1->SetStatusText(Wx(text));
  // The whole bar, so that nothing of a longer earlier text stays.
  StatusBar1->Refresh();
  StatusBar1->Update();
}

String TForm1::StatusText() const { return FromWx(StatusBar1->GetStatusText()); }

void TForm1::ListFiles(const String& folder, bool showStatus) {
  Timer1->Stop();
  if (showStatus && !folder.empty()) SetStatus(String(kSearchingText));
  // Rows of the same folder whose file did not change keep what their header said, so
  // that reading the folder again (F5, a change seen) reads only new or changed files.
  std::map<String, const FileListRow*> known;
  std::vector<FileListRow> previous;
  if (folder == listedFolder_) {
    previous = std::move(rows_);
    for (const FileListRow& row : previous) known.emplace(row.caption(), &row);
  }
  ListView1->DeleteAllItems();
  order_.clear();
  rows_.clear();
  // The folder's entries are quick to list; the headers are read off this thread.
  FileListing listing = ListFolderEntries(folder, ComboBox1->GetSelection());
  const String done = ListingStatusText(listing);
  rows_ = std::move(listing.rows);
  listedFolder_ = folder;
  const String base = AddPathDelim(folder);
  std::vector<std::pair<std::size_t, String>> toRead;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    FileListRow& row = rows_[i];
    const auto found = known.find(row.caption());
    if (found != known.end() && found->second->text[kColumnTime] == row.text[kColumnTime] &&
        found->second->text[kColumnSize] == row.text[kColumnSize]) {
      row.text[kColumnMemo] = found->second->text[kColumnMemo];
      row.text[kColumnVersion] = found->second->text[kColumnVersion];
    } else {
      toRead.emplace_back(i, base + row.caption());
    }
  }
  order_.resize(rows_.size());
  for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = i;
  ListView1->SetItemCount(static_cast<long>(rows_.size()));
  ListView1->Refresh();
  if (fitColumns_) FitColumns();
  // Filled in name order: no column is shown as sorted.
  if (sortShown_) ShowSortArrow(false);
  WatchFolder(listing.folderExists ? folder : String());
  SchedulePreview(true);
  ++listing_;
  headersTotal_ = headersPending_ = toRead.size();
  listingStatusShown_ = showStatus;
  if (!reader_)
    reader_ = std::make_unique<FolderReader>(
        *this,
        [this](std::uint64_t listing, std::vector<HeaderInfo> batch, bool last) {
          HeadersRead(listing, std::move(batch), last);
        },
        setup_.headerStarted);
  if (toRead.empty()) {
    reader_->Cancel();
    if (showStatus) SetStatus(done);
  } else {
    reader_->Start(listing_, std::move(toRead));
    if (showStatus) SetStatus(String(kReadingHeaders) + u"（" + ProgressCountText(0, headersTotal_) + u"）");
  }
  lastListingText_ = showStatus ? StatusText() : done;
  if (!Converting()) Timer1->Start(kPollInterval);
}

void TForm1::HeadersRead(std::uint64_t listing, std::vector<HeaderInfo> batch, bool done) {
  if (listing != listing_ || closed_) return;  // an older listing's
  for (HeaderInfo& h : batch) {
    if (h.row >= rows_.size()) continue;
    rows_[h.row].text[kColumnMemo] = std::move(h.info.memo);
    rows_[h.row].text[kColumnVersion] = std::move(h.info.version);
  }
  headersPending_ -= std::min(headersPending_, batch.size());
  if (done) headersPending_ = 0;
  ListView1->Refresh();
  // Another text in the status bar (a run's) is not replaced.
  const bool statusOurs = listingStatusShown_ && StatusText() == lastListingText_;
  if (headersPending_ > 0) {
    if (statusOurs)
      SetStatus(String(kReadingHeaders) + u"（" + ProgressCountText(headersTotal_ - headersPending_, headersTotal_) +
                u"）");
  } else {
    if (fitColumns_) FitColumns();
    // An order by memo or version was made on what was known then.
    if (sortShown_ && (sort_.Sort1 == kColumnMemo || sort_.Sort1 == kColumnVersion)) SortList();
    if (statusOurs) SetStatus(SearchDoneText(rows_.size()));
    SchedulePreview();
  }
  if (statusOurs) lastListingText_ = StatusText();
}

void TForm1::OpenPaths(const std::vector<String>& paths) {
  const OpenRequest request = MakeOpenRequest(paths);
  // The list and its folder stay as they are while a run goes on.
  if (!request.folder.empty() && !Converting()) {
    ShowFolder(request.folder);
    SelectCaptions(request.select);
  }
  if (!request.message.empty())
    CallAfter([this, text = request.message] {
      if (!closed_) setup_.services.message(this, text, MessageKind::kPlain);
    });
}

void TForm1::ShowFolder(const String& folder) {
  plExplorerFolderTree1->ChooseFolder(folder);
  preFolder = plExplorerFolderTree1->SelectFolder();
  Label1->SetLabelText(Wx(ReferenceFolderCaption(preFolder)));
  Label1->SetToolTip(Wx(preFolder));
  ListFiles(preFolder);
}

void TForm1::SelectCaptions(const std::vector<String>& captions) {
  if (captions.empty()) return;
  std::set<String> wanted;
  for (const String& c : captions) wanted.insert(PathIdentity(AddPathDelim(preFolder) + c));
  const auto rowKey = [this](const FileListRow& row) { return PathIdentity(AddPathDelim(preFolder) + row.caption()); };
  // A file the type filter hides is shown by showing every type.
  const bool hidden = std::any_of(wanted.begin(), wanted.end(), [&](const String& key) {
    return std::none_of(rows_.begin(), rows_.end(), [&](const FileListRow& row) { return rowKey(row) == key; });
  });
  if (hidden && ComboBox1->GetSelection() != 0) {
    ComboBox1->SetSelection(0);
    ListFiles(preFolder);
  }
  ListView1->SetItemState(-1, 0, wxLIST_STATE_SELECTED);
  long first = -1;
  for (long item = 0; item < ListView1->GetItemCount(); ++item) {
    const FileListRow* row = RowOfItem(item);
    if (row == nullptr || !wanted.contains(rowKey(*row))) continue;
    ListView1->SetItemState(item, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    if (first < 0) first = item;
  }
  if (first >= 0) {
    ListView1->SetItemState(first, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
    ListView1->EnsureVisible(first);
  }
  SchedulePreview();
}

void TForm1::SortList() {
  // The selection belongs to positions in the list: it follows its rows to their new places.
  std::vector<bool> selected(rows_.size());
  for (long item = -1; (item = ListView1->GetNextItem(item, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) != -1;)
    selected[order_[static_cast<std::size_t>(item)]] = true;
  const long focusedItem = ListView1->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED);
  const std::size_t focused = focusedItem >= 0 ? order_[static_cast<std::size_t>(focusedItem)] : rows_.size();
  // Stable, so that rows that compare equal keep the order they had.
  std::stable_sort(order_.begin(), order_.end(),
                   [this](std::size_t a, std::size_t b) { return sort_.Compare(rows_[a], rows_[b]) < 0; });
  for (long item = 0; item < static_cast<long>(order_.size()); ++item) {
    const std::size_t row = order_[static_cast<std::size_t>(item)];
    const long state = (selected[row] ? wxLIST_STATE_SELECTED : 0) | (row == focused ? wxLIST_STATE_FOCUSED : 0);
    if (state != 0 || ListView1->GetItemState(item, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED) != 0)
      ListView1->SetItemState(item, state, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  }
  ListView1->Refresh();
  ShowSortArrow(true);
  SchedulePreview();  // the first selected row may be another now
}

void TForm1::RefreshList(bool userAsked) {
  if (preFolder.empty()) return;
  if (Converting() && !userAsked) {
    refreshAfterRun_ = true;
    return;
  }
  refreshTimer_.Stop();
  std::set<String> selected;
  String focused;
  for (long item = 0; item < ListView1->GetItemCount(); ++item) {
    const long state = ListView1->GetItemState(item, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    if (const FileListRow* row = RowOfItem(item)) {
      if (state & wxLIST_STATE_SELECTED) selected.insert(row->caption());
      if (state & wxLIST_STATE_FOCUSED) focused = row->caption();
    }
  }
  const bool wasSorted = sortShown_;
  // A change seen in the folder does not replace a status that says something else (the
  // end of a conversion run, say).
  const String status = StatusText();
  ListFiles(preFolder, userAsked || status.empty() || status == lastListingText_);
  if (wasSorted) SortList();
  for (long item = 0; item < ListView1->GetItemCount(); ++item) {
    const FileListRow* row = RowOfItem(item);
    if (row == nullptr) continue;
    if (selected.contains(row->caption())) ListView1->SetItemState(item, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    if (!focused.empty() && row->caption() == focused) {
      ListView1->SetItemState(item, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
      ListView1->EnsureVisible(item);
    }
  }
}

void TForm1::WatchFolder(const String& folder) {
  // Changes are looked for on the window's own timer: nothing of the watch outlives it.
  if (folder.empty() || !watch_.Watch(folder)) return StopWatching();  // still listed, not followed
  if (!watchTimer_.IsRunning()) watchTimer_.Start(kWatchInterval);
}

void TForm1::StopWatching() {
  watchTimer_.Stop();
  watch_.Stop();
}

void TForm1::SchedulePreview(bool reload) {
  if (!PreviewPane->IsShown()) return;
  previewReload_ = previewReload_ || reload;
  if (previewQueued_) return;
  // Selecting a range sends an event a row: the pane is asked once, when they are done.
  previewQueued_ = true;
  CallAfter([this] {
    previewQueued_ = false;
    const bool again = previewReload_;
    previewReload_ = false;
    UpdatePreview(again);
  });
}

void TForm1::UpdatePreview(bool reload) {
  if (closed_ || !PreviewPane->IsShown()) return;
  const long first = ListView1->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
  const FileListRow* row = RowOfItem(first);
  const String path = row != nullptr ? AddPathDelim(preFolder) + row->caption() : String();
  std::optional<ConversionSettings> after;
  if (AfterCheck->IsChecked()) after = settings_.Conversion;
  PreviewPane->ShowFile(path, after, reload);
}

void TForm1::ShowPreviewPane(bool show) {
  AfterCheck->Enable(show);
  if (show == PreviewSplitter->IsSplit()) return;
  if (!show) {
    PreviewPane->Clear();
    PreviewSplitter->Unsplit(PreviewPane);
  }
  PreviewPane->Show(show);
  UpdateMinSize();
  // The window grows where it is too low for the pane under a list of its least height.
  const wxSize needed = NeededClientSize();
  const wxSize client = GetClientSize();
  if (client.y < needed.y) SetClientSize(client.x, needed.y);
  Panel2->Layout();
  if (show) {
    SplitPreview();
    UpdatePreview();
  }
}

int TForm1::PreviewSashFor(int height) const {
  const int room = height - PreviewSplitter->GetSashSize();
  // Until a sash is chosen the preview takes nearly half the window's height.
  const int sash = previewSash_ > 0 ? previewSash_ : room - (GetSize().y * 9 + 19) / 20;
  return std::max(ListArea->GetMinSize().y, std::min(sash, room - FromDIP(kMinPreviewHeight)));
}

void TForm1::SplitPreview() {
  const int sash = PreviewSashFor(PreviewSplitter->GetClientSize().y);
  if (PreviewSplitter->IsSplit())
    PreviewSplitter->SetSashPosition(sash);
  else
    PreviewSplitter->SplitHorizontally(ListArea, PreviewPane, sash);
}

void TForm1::PreviewCheckClick() {
  ShowPreviewPane(PreviewCheck->IsChecked());
  StoreSettings();
}

void TForm1::AfterCheckClick() {
  UpdatePreview();
  StoreSettings();
}

void TForm1::SelectAllRows() {
  // -1: every item at once.
  ListView1->SetItemState(-1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
}

const FileListRow* TForm1::RowOfItem(long item) const {
  if (item < 0 || static_cast<std::size_t>(item) >= order_.size()) return nullptr;
  return &rows_[order_[static_cast<std::size_t>(item)]];
}

void TForm1::Timer1Timer() {
  Timer1->Stop();
  const String selected = plExplorerFolderTree1->SelectFolder();
  if (ReferenceFolderChanged(selected, preFolder)) {
    Label1->SetLabelText(Wx(ReferenceFolderCaption(selected)));
    Label1->SetToolTip(Wx(selected));
    ListFiles(selected);
    preFolder = selected;
    StoreSettings();
  }
  // Selections made without an event (a range in some toolkits) are caught up with here.
  UpdatePreview();
  Timer1->Start(kPollInterval);
}

void TForm1::Button1Click() {
  const String initial = BrowseStartFolder(FromWx(Edit1->GetValue()), preFolder, FromWx(wxGetHomeDir()));
  const String chosen = setup_.services.chooseFolder(this, String(kBrowseTitle), initial);
  if (!chosen.empty()) {
    ShowDestination(chosen);
    StoreSettings();
  }
}

void TForm1::Button2Click() {
  Timer1->Stop();
  plExplorerFolderTree1->IdleStop();
  Form2->FormShow();
  Form2->ShowModal();
  const wxPoint at = Form2->GetPosition();
  settings_.DialogLeft = at.x;
  settings_.DialogTop = at.y;
  StoreSettings();  // the dialog's settings and place
  plExplorerFolderTree1->IdleRestart();
  UpdatePreview();  // the target version may have changed
  Timer1->Start(kPollInterval);
}

void TForm1::EnableCommands(bool enable) {
  for (wxWindow* control : {static_cast<wxWindow*>(ButtonT), static_cast<wxWindow*>(Button1),
                            static_cast<wxWindow*>(Button2), static_cast<wxWindow*>(ComboBox1)})
    control->Enable(enable);
}

void TForm1::ButtonTClick() {
  if (Converting()) return;
  SelectionRequest request;
  for (long item = 0; item < ListView1->GetItemCount(); ++item) {
    if (ListView1->GetItemState(item, wxLIST_STATE_SELECTED) == 0) continue;
    if (const FileListRow* row = RowOfItem(item)) request.captions.push_back(row->caption());
  }
  if (request.captions.empty()) {
    SetStatus(String(kNothingSelected));
    setup_.services.message(this, String(kNothingSelected), MessageKind::kPlain);
    return;
  }
  request.preFolder = preFolder;
  request.destination = FromWx(Edit1->GetValue());
  request.settings = settings_.Conversion;
  request.imageFolder = TempFolder;

  // The list, its folder and the settings stay as they are until the run ends; the
  // folder polling waits for it.
  Timer1->Stop();
  EnableCommands(false);
  ConversionEvents events;
  events.started = [this](std::size_t total) { RunStarted(total); };
  events.progress = [this](const String& status, std::size_t done, std::size_t total) {
    RunProgress(status, done, total);
  };
  events.message = [this](const String& text) {
    if (!closed_) setup_.services.message(this, text, MessageKind::kPlain);
  };
  events.finished = [this, destination = request.destination](const SelectionConversion& outcome) {
    RunFinished(outcome, destination);
  };
  events.fileStarted = setup_.fileStarted;
  worker_ = std::make_unique<ConversionWorker>(*this, std::move(request), std::move(events));
}

void TForm1::RunStarted(std::size_t total) {
  if (closed_) return;  // queued by a run abandoned when the window closed
  if (total == 0) return;  // nothing was selected: the run ends at once
  ProgressBar1->SetRange(static_cast<int>(std::max<std::size_t>(total, 1)));
  ProgressBar1->SetValue(0);
  ProgressCount->SetLabelText(Wx(ProgressCountText(0, total)));
  ButtonC->Enable();
  ProgressPanel->Show();
  Panel2->Layout();
}

void TForm1::RunProgress(const String& status, std::size_t done, std::size_t total) {
  if (closed_) return;
  SetStatus(status);
  ProgressBar1->SetValue(static_cast<int>(std::min(done, total)));
  ProgressCount->SetLabelText(Wx(ProgressCountText(done, total)));
  ProgressPanel->Layout();
}

void TForm1::RunFinished(const SelectionConversion& outcome, const String& destination) {
  if (closed_) return;
  worker_.reset();
  ProgressPanel->Hide();
  Panel2->Layout();
  EnableCommands(true);
  if (closeAfterRun_) {
    Close();
    return;
  }
  Timer1->Start(kPollInterval);
  if (outcome.problem != DestinationProblem::kNone) {
    Button1->SetFocus();
    return;
  }
  if (!outcome.completion.empty()) {
    // The count of files written alone hides those refused, failed or kept by a cancel.
    const OutcomeCounts n = CountOutcomes(outcome.results);
    const bool allWritten = n.refused == 0 && n.failed == 0;
    SetStatus(allWritten ? outcome.completion : outcome.completion + u"　" + ResultSummaryText(outcome.results));
  }
  if (!outcome.results.empty()) ResultView->ShowResults(destination, settings_.Conversion, outcome.results);
  if (refreshAfterRun_) {
    refreshAfterRun_ = false;
    RefreshList(false);
  }
}

void TForm1::ButtonCClick() {
  if (!worker_) return;
  worker_->Cancel();
  ButtonC->Disable();
}

void TForm1::ButtonXClick() { Close(); }

void TForm1::KeepNormalRect() {
  if (!IsMaximized() && !IsIconized()) normalRect_ = GetRect();
}

bool TForm1::AltKey(int keyCode) {
  if (keyCode <= 0 || keyCode > 0x7f || !wxIsalpha(keyCode)) return false;
  const auto letter = static_cast<wxChar>(wxToupper(keyCode));
  for (wxButton* button : {Button2, ButtonT, ButtonX, ButtonC}) {
    if (MnemonicOf(button->GetLabel()) != letter || !button->IsShownOnScreen() || !button->IsEnabled()) continue;
    wxCommandEvent event(wxEVT_BUTTON, button->GetId());
    event.SetEventObject(button);
    button->ProcessWindowEvent(event);
    return true;
  }
  for (wxCheckBox* box : {PreviewCheck, AfterCheck}) {
    if (MnemonicOf(box->GetLabel()) != letter || !box->IsShownOnScreen() || !box->IsEnabled()) continue;
    box->SetValue(!box->GetValue());
    wxCommandEvent event(wxEVT_CHECKBOX, box->GetId());
    event.SetEventObject(box);
    event.SetInt(box->GetValue() ? 1 : 0);
    box->ProcessWindowEvent(event);
    return true;
  }
  return false;
}

void TForm1::ComboBox1Select() {
  ListFiles(preFolder);
  StoreSettings();
}

void TForm1::ListView1ColumnClick(int column) {
  if (column < 0 || column >= kFileListColumns) return;
  // Records the column and flips the direction; the rows themselves are the list's items.
  std::vector<FileListRow> none;
  sort_.ColumnClick(column, none);
  SortList();
}

void TForm1::ListView1DblClick() {
  const long current = ListView1->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
  const OpenFileOutcome outcome = OpenCurrentFile(preFolder, RowOfItem(current), setup_.services.open);
  if (outcome.beep) setup_.services.beep();
  if (outcome.messageBox)
    setup_.services.message(this, outcome.statusText,
                            outcome.beep || outcome.openFailed ? MessageKind::kError : MessageKind::kPlain);
  SetStatus(outcome.statusText);
}

AppSettings TForm1::CurrentSettings() const {
  AppSettings s = settings_;
  // A maximised window keeps the edges it comes back to.
  const bool maximized = IsMaximized() && !IsIconized();
  const wxRect r = maximized && !normalRect_.IsEmpty() ? normalRect_ : GetRect();
  s.MainMaximized = maximized ? 1 : 0;
  s.MainLeft = r.x;
  s.MainTop = r.y;
  s.MainWidth = r.width;
  s.MainHeight = r.height;
  s.FolderPanelWidth = Splitter1->GetSashPosition();
  s.preFolder = preFolder;
  s.DestinationFolder = FromWx(Edit1->GetValue());
  s.FileTypeIndex = ComboBox1->GetSelection();
  for (int c = 0; c < kFileListColumns; ++c) s.ColumnWidths[static_cast<std::size_t>(c)] = ToDIP(ListView1->GetColumnWidth(c));
  s.PreviewShown = PreviewCheck->IsChecked() ? 1 : 0;
  s.PreviewAfter = AfterCheck->IsChecked() ? 1 : 0;
  return s;
}

void TForm1::FormClose(wxCloseEvent& event) {
  if (closed_) return;
  if (worker_) {
    // Asked first; the file being converted is finished, and the window closes when the
    // run ends.
    if (event.CanVeto()) {
      event.Veto();
      if (closeAfterRun_ || askingToClose_) return;
      askingToClose_ = true;
      const bool stop = setup_.services.ask(this, String(kStopAndCloseQuestion));
      askingToClose_ = false;
      if (!stop || closed_) return;
      if (!worker_) {  // the run ended while the question was up
        Close();
        return;
      }
      closeAfterRun_ = true;
      ButtonCClick();
      return;
    }
    worker_->Abandon();
    worker_.reset();
  }
  closed_ = true;
  reader_.reset();
  Timer1->Stop();
  refreshTimer_.Stop();
  StopWatching();
  PreviewPane->Stop();  // its thread reads the tables FreeDocuments resets
  if (docs_) FreeDocuments();
  ReleaseSessionTempFolder(TempFolder);
  SaveSettings(setup_.settingsFileName, CurrentSettings());
  Destroy();
}

void TForm1::StoreSettings() {
  if (settingsRead_ && !closed_) SaveSettings(setup_.settingsFileName, CurrentSettings());
}

}  // namespace plandown::app
