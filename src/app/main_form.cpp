#include "app/main_form.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/display.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <algorithm>

#include "app/folder_tree.h"
#include "app/layout.h"
#include "app/settings_dialog.h"
#include "app/window_texts.h"
#include "app/wx_text.h"
#include "convert/conversion_ui.h"
#include "convert/convert_selection.h"
#include "convert/reference_folder.h"
#include "convert/window_placement.h"
#include "jww/substitution.h"
#include "util/files.h"

namespace plandown::app {

namespace {

constexpr int kDefaultOffset = 64;     // where a window goes that would not show
constexpr int kMinFolderPanel = 100;   // the least the folder tree keeps when space is short
constexpr int kMinListHeight = 80;     // rows the list shows at the least

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

// The list's order before a sort, so that rows that compare equal keep it.
struct SortContext {
  const FileListSort* sort;
  const std::vector<FileListRow>* rows;
  const std::vector<long>* position;  // by item data
};

int wxCALLBACK CompareItems(wxIntPtr item1, wxIntPtr item2, wxIntPtr data) {
  const auto& c = *reinterpret_cast<const SortContext*>(data);
  const auto a = static_cast<std::size_t>(item1), b = static_cast<std::size_t>(item2);
  const int order = c.sort->Compare((*c.rows)[a], (*c.rows)[b]);
  if (order != 0) return order;
  return (*c.position)[a] < (*c.position)[b] ? -1 : ((*c.position)[a] > (*c.position)[b] ? 1 : 0);
}

}  // namespace

// The conversion's texts go to the status bar and to message boxes; the folder polling
// pauses while a file is converted.
class TForm1::DriverUi final : public ConversionUi {
 public:
  explicit DriverUi(TForm1& form) : form_(form) {}
  void Status(const String& text) override { form_.SetStatus(text); }
  void Message(const String& text) override { form_.setup_.services.message(&form_, text, MessageKind::kPlain); }
  void FileStarted() override { form_.Timer1->Stop(); }
  void FileFinished() override { form_.Timer1->Start(kPollInterval); }

 private:
  TForm1& form_;
};

TForm1::TForm1(MainFormSetup setup)
    : wxFrame(nullptr, wxID_ANY, Wx(kMainCaption), wxPoint(kDefaultOffset, kDefaultOffset), wxSize(600, 520)),
      setup_(std::move(setup)) {
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

  // Folder tree | command area over the file list.
  Splitter1 = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSP_LIVE_UPDATE | wxSP_3DSASH);
  Splitter1->SetSashGravity(0.0);
  Splitter1->SetMinimumPaneSize(20);
  Panel1 = new wxPanel(Splitter1);
  plExplorerFolderTree1 = new TplExplorerFolderTree(Panel1);
  auto* treeSizer = new wxBoxSizer(wxVERTICAL);
  treeSizer->Add(plExplorerFolderTree1, 1, wxEXPAND);
  Panel1->SetSizer(treeSizer);
  Panel2 = new wxPanel(Splitter1);
  BuildCommandArea();
  BuildFileList();
  auto* rightSizer = new wxBoxSizer(wxVERTICAL);
  rightSizer->Add(Panel3, 0, wxEXPAND);
  rightSizer->Add(ListView1, 1, wxEXPAND);
  Panel2->SetSizer(rightSizer);
  Splitter1->SplitVertically(Panel1, Panel2, settings_.FolderPanelWidth);

  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(Label1Panel, 0, wxEXPAND);
  sizer->Add(Splitter1, 1, wxEXPAND);
  SetSizer(sizer);

  StatusBar1 = CreateStatusBar(1);
  Timer1 = std::make_unique<wxTimer>(this);
  Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Timer1Timer(); });
  Bind(wxEVT_CLOSE_WINDOW, &TForm1::FormClose, this);

  Form2 = new TForm2(this, settings_.Conversion);
}

TForm1::~TForm1() {
  if (Timer1) Timer1->Stop();
}

void TForm1::BuildCommandArea() {
  Panel3 = new wxPanel(Panel2);
  wxArrayString filters;
  for (const FileTypeFilter& f : kFileTypeFilters) filters.Add(Wx(f.entry));
  ComboBox1 = new wxChoice(Panel3, wxID_ANY, wxDefaultPosition, wxSize(198, -1), filters);
  ComboBox1->SetMinSize(wxSize(198, -1));
  Button1 = MakeButton(Panel3, kDestinationButton, 105, 25);
  Edit1 = new wxTextCtrl(Panel3, wxID_ANY, wxString(), wxDefaultPosition, wxSize(303, -1), wxTE_READONLY);
  Edit1->SetMinSize(wxSize(303, -1));
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
  Panel3->SetMinSize(wxSize(-1, std::max(80, area->GetMinSize().y)));

  ComboBox1->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { ComboBox1Select(); });
  Button1->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Button1Click(); });
  Button2->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Button2Click(); });
  ButtonT->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ButtonTClick(); });
  ButtonX->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ButtonXClick(); });
}

void TForm1::BuildFileList() {
  ListView1 = new wxListCtrl(Panel2, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                             wxLC_REPORT | wxLC_HRULES | wxLC_VRULES | wxBORDER_THEME);
  for (int c = 0; c < kFileListColumns; ++c)
    ListView1->InsertColumn(c, Wx(kFileListHeaders[static_cast<std::size_t>(c)]),
                            c == kColumnSize ? wxLIST_FORMAT_RIGHT : wxLIST_FORMAT_LEFT, 80);
  ListView1->SetMinSize(wxSize(-1, kMinListHeight));
  ListView1->Bind(wxEVT_LIST_COL_CLICK, [this](wxListEvent& e) { ListView1ColumnClick(e.GetColumn()); });
  ListView1->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent&) { ListView1DblClick(); });
}

void TForm1::FormShow() {
  TempFolder = CreateSessionTempFolder(setup_.programFolder);
  LoadSettings(setup_.settingsFileName, settings_);
  ApplySettings();
  CreateDocuments();
  plExplorerFolderTree1->SetSelectFolder(settings_.preFolder);
  preFolder = settings_.preFolder;
  sort_ = FileListSort{};
  Label1->SetLabelText(Wx(ReferenceFolderCaption(preFolder)));
  Label1->SetToolTip(Wx(preFolder));
  ListFiles(preFolder);
  Timer1->Start(kPollInterval);
}

void TForm1::ApplySettings() {
  Edit1->ChangeValue(Wx(settings_.DestinationFolder));
  ComboBox1->SetSelection(settings_.FileTypeIndex);
  for (int c = 0; c < kFileListColumns; ++c)
    ListView1->SetColumnWidth(c, settings_.ColumnWidths[static_cast<std::size_t>(c)]);

  // The window keeps the saved size, but grows to show the whole command area beside the
  // saved tree width, and comes back onto a display when it would not show.
  const wxSize command = Panel3->GetBestSize();
  const int sash = Splitter1->GetSashSize();
  const wxSize decoration = GetSize() - GetClientSize();
  const int fixedHeight = Label1Panel->GetMinSize().y + command.y + kMinListHeight + StatusBar1->GetSize().y;
  const wxSize least(kMinFolderPanel + sash + command.x + decoration.x, fixedHeight + decoration.y);
  SetMinSize(least);
  const int panelWidth = std::max(kMinFolderPanel, settings_.FolderPanelWidth);
  ScreenRect saved{settings_.MainLeft, settings_.MainTop, settings_.MainWidth, settings_.MainHeight};
  saved.width = std::max(saved.width, panelWidth + sash + command.x + decoration.x);
  const ScreenRect placed = VisibleWindowRect(saved, least.x, least.y, WorkAreas(), kDefaultOffset);
  SetSize(ToWxRect(placed));
  // Where the window could not grow enough, the tree gives up width first.
  const int clientWidth = placed.width - decoration.x;
  Splitter1->SetSashPosition(std::max(kMinFolderPanel, std::min(panelWidth, clientWidth - sash - command.x)));
  Layout();

  const wxSize dialog = Form2->GetSize();
  const ScreenRect dialogRect = VisibleWindowRect({settings_.DialogLeft, settings_.DialogTop, dialog.x, dialog.y},
                                                  dialog.x, dialog.y, WorkAreas(), kDefaultOffset);
  Form2->Move(dialogRect.x, dialogRect.y);
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
  StatusBar1->Update();
}

String TForm1::StatusText() const { return FromWx(StatusBar1->GetStatusText()); }

void TForm1::ListFiles(const String& folder) {
  Timer1->Stop();
  SetStatus(String(kSearchingText));
  ListView1->DeleteAllItems();
  rows_.clear();
  FileListing listing = plandown::ListFiles(folder, ComboBox1->GetSelection(), *docs_);
  const String done = ListingStatusText(listing);
  rows_ = std::move(listing.rows);
  ListView1->Freeze();
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const long item = ListView1->InsertItem(static_cast<long>(i), Wx(rows_[i].caption()));
    for (int c = 1; c < kFileListColumns; ++c) ListView1->SetItem(item, c, Wx(rows_[i].text[static_cast<std::size_t>(c)]));
    ListView1->SetItemData(item, static_cast<long>(i));
  }
  ListView1->Thaw();
  SetStatus(done);
  Timer1->Start(kPollInterval);
}

const FileListRow* TForm1::RowOfItem(long item) const {
  if (item < 0 || item >= ListView1->GetItemCount()) return nullptr;
  const auto index = static_cast<std::size_t>(ListView1->GetItemData(item));
  return index < rows_.size() ? &rows_[index] : nullptr;
}

void TForm1::Timer1Timer() {
  Timer1->Stop();
  const String selected = plExplorerFolderTree1->SelectFolder();
  if (ReferenceFolderChanged(selected, preFolder)) {
    Label1->SetLabelText(Wx(ReferenceFolderCaption(selected)));
    Label1->SetToolTip(Wx(selected));
    ListFiles(selected);
    preFolder = selected;
  }
  Timer1->Start(kPollInterval);
}

void TForm1::Button1Click() {
  const String chosen = setup_.services.chooseFolder(this, String(kBrowseTitle), FromWx(Edit1->GetValue()));
  if (!chosen.empty()) Edit1->ChangeValue(Wx(chosen));
}

void TForm1::Button2Click() {
  Timer1->Stop();
  plExplorerFolderTree1->IdleStop();
  Form2->FormShow();
  Form2->ShowModal();
  const wxPoint at = Form2->GetPosition();
  settings_.DialogLeft = at.x;
  settings_.DialogTop = at.y;
  plExplorerFolderTree1->IdleRestart();
  Timer1->Start(kPollInterval);
}

void TForm1::ButtonTClick() {
  std::vector<String> captions;
  for (long item = 0; item < ListView1->GetItemCount(); ++item) {
    if (ListView1->GetItemState(item, wxLIST_STATE_SELECTED) == 0) continue;
    if (const FileListRow* row = RowOfItem(item)) captions.push_back(row->caption());
  }
  DriverUi ui(*this);
  const SelectionConversion outcome =
      ConvertSelectedFiles(preFolder, FromWx(Edit1->GetValue()), captions, settings_.Conversion, ui, TempFolder);
  if (outcome.problem != DestinationProblem::kNone) Button1->SetFocus();
}

void TForm1::ButtonXClick() { Close(); }

void TForm1::ComboBox1Select() { ListFiles(preFolder); }

void TForm1::ListView1ColumnClick(int column) {
  if (column < 0 || column >= kFileListColumns) return;
  // Records the column and flips the direction; the rows themselves are the list's items.
  std::vector<FileListRow> none;
  sort_.ColumnClick(column, none);
  std::vector<long> position(rows_.size());
  for (long item = 0; item < ListView1->GetItemCount(); ++item)
    position[static_cast<std::size_t>(ListView1->GetItemData(item))] = item;
  SortContext context{&sort_, &rows_, &position};
  ListView1->SortItems(CompareItems, reinterpret_cast<wxIntPtr>(&context));
  ListView1->ShowSortIndicator(column, sort_.Sort2 == 0);
}

void TForm1::ListView1DblClick() {
  const long current = ListView1->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
  const OpenFileOutcome outcome = OpenCurrentFile(preFolder, RowOfItem(current), setup_.services.open);
  if (outcome.beep) setup_.services.beep();
  if (outcome.messageBox)
    setup_.services.message(this, outcome.statusText, outcome.beep ? MessageKind::kError : MessageKind::kPlain);
  SetStatus(outcome.statusText);
}

AppSettings TForm1::CurrentSettings() const {
  AppSettings s = settings_;
  const wxRect r = GetRect();
  s.MainLeft = r.x;
  s.MainTop = r.y;
  s.MainWidth = r.width;
  s.MainHeight = r.height;
  s.FolderPanelWidth = Splitter1->GetSashPosition();
  s.preFolder = preFolder;
  s.DestinationFolder = FromWx(Edit1->GetValue());
  s.FileTypeIndex = ComboBox1->GetSelection();
  for (int c = 0; c < kFileListColumns; ++c) s.ColumnWidths[static_cast<std::size_t>(c)] = ListView1->GetColumnWidth(c);
  return s;
}

void TForm1::FormClose(wxCloseEvent&) {
  if (closed_) return;
  closed_ = true;
  Timer1->Stop();
  if (docs_) FreeDocuments();
  if (!TempFolder.empty()) RemoveFolder(TempFolder);
  SaveSettings(setup_.settingsFileName, CurrentSettings());
  Destroy();
}

}  // namespace plandown::app
