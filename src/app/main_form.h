// The main window: the reference folder line, the folder tree, the command area, the file
// list, the progress of a conversion run and the status bar. It shows and forwards;
// listing, converting, the settings file and their texts belong to the conversion layer.
#pragma once
#include <wx/frame.h>
#include <wx/timer.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/life_guard.h"
#include "app/window_services.h"
#include "convert/convert_selection.h"
#include "convert/file_listing.h"
#include "convert/settings_file.h"
#include "util/folder_watch.h"
#include "util/ustring.h"

class wxButton;
class wxCheckBox;
class wxCloseEvent;
class wxChoice;
class wxGauge;
class wxListCtrl;
class wxListEvent;
class wxPanel;
class wxSplitterWindow;
class wxStaticText;
class wxStatusBar;
class wxTextCtrl;

namespace plandown::app {

class ConversionWorker;
class FolderReader;
struct HeaderInfo;
class TForm2;
class TPreviewPane;
class TResultView;
class TplExplorerFolderTree;

inline constexpr int kPollInterval = 200;     // ms between two looks at the tree's selection
inline constexpr int kRefreshDelay = 250;     // ms of quiet in the shown folder before it is read again

struct MainFormSetup {
  String programFolder;     // where the temporary folder is made
  String settingsFileName;  // read at the start, written at the end
  WindowServices services;
  // Called on the converting thread as each file starts (a hook for tests).
  std::function<void()> fileStarted;
  // Called on the preview's thread as it begins on a file (a hook for tests).
  std::function<void(const String& path)> previewStarted;
  // Called on the listing's thread before it reads a file's header (a hook for tests).
  std::function<void(const String& path)> headerStarted;
  // Folders or files to show at the start instead of the saved folder (the program's
  // arguments), as a drop on the window would.
  std::vector<String> startPaths;
};

class TForm1 : public wxFrame {
 public:
  // Builds the controls, the folder tree, the hidden settings dialog and result view.
  explicit TForm1(MainFormSetup setup);
  ~TForm1() override;

  // Before the window first shows: the temporary folder, the settings file, the header
  // documents, the saved reference folder selected and listed, polling on.
  void FormShow();

  // Commands, as the controls run them.
  void Timer1Timer();
  void Button1Click();  // destination folder
  void Button2Click();  // settings dialog
  void ButtonTClick();  // convert the selected rows
  void ButtonXClick();  // close
  void ButtonCClick();  // cancel the conversion run
  void ComboBox1Select();
  void ListView1ColumnClick(int column);
  void ListView1DblClick();
  // F5 and changes seen in the shown folder: reads the folder again, keeping the
  // selection of the rows still there and the order the list was sorted in.
  void RefreshList(bool userAsked = true);
  void SelectAllRows();  // Ctrl+A in the list
  // Files or folders given from outside (dropped on the window, the program's
  // arguments): lists their folder and selects the files; says what was left out.
  void OpenPaths(const std::vector<String>& paths);
  // The headers of the listed folder are still being read.
  bool ReadingHeaders() const { return headersPending_ > 0; }
  void PreviewCheckClick();  // the preview pane on or off
  void AfterCheckClick();    // the preview as it is or after conversion

  // The status bar's text, repainted at once.
  void SetStatus(const String& text);
  String StatusText() const;

  // A conversion run is going on.
  bool Converting() const { return worker_ != nullptr; }
  // The least client area that shows every control usable.
  wxSize NeededClientSize() const;

  // The settings the window would write now.
  AppSettings CurrentSettings() const;
  const AppSettings& Settings() const { return settings_; }
  const FileListSort& Sort() const { return sort_; }

  String preFolder;   // the folder the list shows
  String TempFolder;  // where bound images are extracted during conversions

  wxPanel* Label1Panel = nullptr;
  wxStaticText* Label1 = nullptr;
  wxSplitterWindow* Splitter1 = nullptr;
  wxPanel* Panel1 = nullptr;
  TplExplorerFolderTree* plExplorerFolderTree1 = nullptr;
  wxPanel* Panel2 = nullptr;
  wxPanel* Panel3 = nullptr;
  wxChoice* ComboBox1 = nullptr;
  wxButton* Button1 = nullptr;
  wxTextCtrl* Edit1 = nullptr;
  wxButton* Button2 = nullptr;
  wxButton* ButtonT = nullptr;
  wxButton* ButtonX = nullptr;
  wxSplitterWindow* PreviewSplitter = nullptr;  // the list over the preview pane
  wxPanel* ListArea = nullptr;                   // the list and the preview's switches
  wxListCtrl* ListView1 = nullptr;
  wxPanel* PreviewBar = nullptr;  // under the list: the preview's switches
  wxCheckBox* PreviewCheck = nullptr;
  wxCheckBox* AfterCheck = nullptr;
  wxStaticText* PreviewInfo = nullptr;  // the generations the picture shows
  TPreviewPane* PreviewPane = nullptr;  // under the splitter's sash while the preview is on
  wxPanel* ProgressPanel = nullptr;  // under the list while a run goes on
  wxGauge* ProgressBar1 = nullptr;
  wxStaticText* ProgressCount = nullptr;  // "k / N"
  wxButton* ButtonC = nullptr;            // cancel
  wxStatusBar* StatusBar1 = nullptr;
  std::unique_ptr<wxTimer> Timer1;
  TForm2* Form2 = nullptr;
  TResultView* ResultView = nullptr;

 private:
  class DriverUi;

  void BuildCommandArea();
  void BuildFileList();
  void BuildProgressArea();
  void BuildPreviewArea();
  void ShowPreviewPane(bool show);
  void SplitPreview();  // the preview under the list, at the sash chosen
  // Where the sash goes in a splitter of that height: where the user put it (or about
  // half way) as far as the list and the preview keep their least heights.
  int PreviewSashFor(int height) const;
  // The pane follows the first selected row, soon after the selection changed.
  // `reload`: the file may have changed.
  void SchedulePreview(bool reload = false);
  void UpdatePreview(bool reload = false);
  void ApplySettings();
  void ShowDestination(const String& folder);
  void UpdateMinSize();
  std::array<int, kFileListColumns> FittedColumnWidths() const;
  void FitColumns();
  // The width a column's header needs to show its caption beside the sort arrow.
  int HeaderWidth(int column) const;
  String HeaderCaption(int column) const;  // as the header shows it now
  // The sort arrow on the sorted column (or on none), with room for its caption.
  void ShowSortArrow(bool show);
  void ListFiles(const String& folder, bool showStatus = true);
  void SortList();
  void HeadersRead(std::uint64_t listing, std::vector<HeaderInfo> batch, bool done);
  void ShowFolder(const String& folder);
  void SelectCaptions(const std::vector<String>& captions);
  void WatchFolder(const String& folder);
  void StopWatching();
  void FormClose(wxCloseEvent& event);
  // Writes the settings file now, so that a crash later loses nothing already set.
  void StoreSettings();
  void CreateDocuments();
  void FreeDocuments();
  void RunStarted(std::size_t total);
  void RunProgress(const String& status, std::size_t done, std::size_t total);
  void RunFinished(const SelectionConversion& outcome, const String& destination);
  void EnableCommands(bool enable);
  // Alt+letter: presses the shown, enabled button or check box with that mnemonic.
  bool AltKey(int keyCode);
  void KeepNormalRect();  // records the window's edges while it is neither maximised nor minimised
  const FileListRow* RowOfItem(long item) const;

  MainFormSetup setup_;
  AppSettings settings_;
  FileListSort sort_;
  bool sortShown_ = false;  // the list is in the order of sort_, not in name order
  std::unique_ptr<HeaderDocuments> docs_;
  std::vector<FileListRow> rows_;    // as listed, in name order
  std::vector<std::size_t> order_;   // the rows shown, in the list's order
  String lastListingText_;         // the status a listing ended with
  std::unique_ptr<FolderReader> reader_;
  std::uint64_t listing_ = 0;        // the current listing: older readings' batches are dropped
  String listedFolder_;              // the folder rows_ belong to
  std::size_t headersPending_ = 0;   // headers of the current listing not yet read
  std::size_t headersTotal_ = 0;
  bool listingStatusShown_ = false;  // the current listing shows its progress in the status bar
  bool fitColumns_ = false;        // no saved widths: columns follow what they hold
  int preferredSash_ = 200;        // the tree's width the user chose
  bool sashDragged_ = false;
  std::unique_ptr<ConversionWorker> worker_;
  bool closeAfterRun_ = false;
  bool askingToClose_ = false;
  wxRect normalRect_;  // the edges the window had last while not maximised  // the question whether to stop the run and close is up
  bool refreshAfterRun_ = false;
  FolderWatch watch_;  // the listed folder's entries
  wxTimer refreshTimer_;
  wxTimer watchTimer_;
  bool closed_ = false;
  bool settingsRead_ = false;  // before, the window's settings are not yet the user's
  bool previewQueued_ = false;
  bool previewReload_ = false;
  int previewSash_ = 0;  // the list's height over the preview the user chose; 0: not chosen yet
  bool previewSashDragged_ = false;
  LifeGuard guard_;  // declared last: the handlers stop before any member goes
};

}  // namespace plandown::app
