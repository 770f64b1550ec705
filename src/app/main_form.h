// The main window: the reference folder line, the folder tree, the command area, the file
// list and the status bar. It shows and forwards; listing, converting, the settings file
// and their texts belong to the conversion layer.
#pragma once
#include <wx/frame.h>

#include <memory>
#include <vector>

#include "app/window_services.h"
#include "convert/file_listing.h"
#include "convert/settings_file.h"
#include "util/ustring.h"

class wxButton;
class wxCloseEvent;
class wxChoice;
class wxListCtrl;
class wxListEvent;
class wxPanel;
class wxSplitterWindow;
class wxStaticText;
class wxStatusBar;
class wxTextCtrl;
class wxTimer;
class wxTimerEvent;

namespace plandown::app {

class TForm2;
class TplExplorerFolderTree;

inline constexpr int kPollInterval = 200;  // ms between two looks at the tree's selection

struct MainFormSetup {
  String programFolder;     // where the temporary folder is made
  String settingsFileName;  // read at the start, written at the end
  WindowServices services;
};

class TForm1 : public wxFrame {
 public:
  // Builds the controls, the folder tree and the hidden settings dialog.
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
  void ComboBox1Select();
  void ListView1ColumnClick(int column);
  void ListView1DblClick();

  // The status bar's text, repainted at once.
  void SetStatus(const String& text);
  String StatusText() const;

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
  wxListCtrl* ListView1 = nullptr;
  wxStatusBar* StatusBar1 = nullptr;
  std::unique_ptr<wxTimer> Timer1;
  TForm2* Form2 = nullptr;

 private:
  class DriverUi;

  void BuildCommandArea();
  void BuildFileList();
  void ApplySettings();
  void ListFiles(const String& folder);
  void FormClose(wxCloseEvent& event);
  void CreateDocuments();
  void FreeDocuments();
  const FileListRow* RowOfItem(long item) const;

  MainFormSetup setup_;
  AppSettings settings_;
  FileListSort sort_;
  std::unique_ptr<HeaderDocuments> docs_;
  std::vector<FileListRow> rows_;  // by the list items' data, fixed while listed
  bool closed_ = false;
};

}  // namespace plandown::app
