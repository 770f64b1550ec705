// Drives the real windows in tests: a temporary program folder, recorders in place of
// the modal message boxes and the folder dialog, events as the controls send them, and
// waiting on the event loop with a time limit instead of fixed sleeps.
#pragma once
#include <type_traits>  // before wx/weakref.h, which uses it without including it

#include <wx/weakref.h>

class wxImage;

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "support/temp_dir.h"
#include "util/ustring.h"

class wxButton;
class wxCheckBox;
class wxChoice;
class wxListCtrl;

namespace plandown::testing {

// Runs the event loop until `done` answers true; false when `limit` passed first.
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));
// Runs the pending events once.
void Settle();

// A settings file of 21 lines naming the reference and destination folders and the type
// filter, the rest at defaults.
std::vector<std::string> SettingsWith(const String& preFolder, const String& destination, int filter = 0);

// What the desktop would have shown or done.
struct Recorder {
  struct Message {
    String text;
    app::MessageKind kind;
  };
  std::vector<Message> messages;
  std::vector<String> questions;  // texts of the Yes/No questions asked
  bool answerYes = true;          // the answer to them
  std::vector<String> opened;
  int beeps = 0;
  String folderToChoose;  // the folder dialog's answer; empty: cancelled
  std::vector<String> browseTitles;
  std::vector<String> browseStarts;  // the folder each folder dialog opened on
  bool openSucceeds = true;          // the desktop's answer to opening a file
  std::vector<String> copied;        // texts put on the clipboard
  String saveFileToChoose;           // the save dialog's answer; empty: cancelled
  std::vector<String> saveFolders;   // the folder each save dialog opened on

  app::WindowServices Services();
};

// The main window on a temporary program folder.
class MainWindowHarness {
 public:
  MainWindowHarness();
  ~MainWindowHarness();

  String SettingsFile() const;
  // Writes the settings file the window will read.
  void WriteSettings(const std::vector<std::string>& lines) const;
  std::vector<std::string> SettingsLines() const;  // lines of the file, CR LF removed

  // Builds, starts and shows the window.
  app::TForm1& Open();
  // Presses the convert button and waits until the run has ended.
  void ConvertAndWait();
  // Closes it as the close button does and waits until it is gone.
  void Close();
  app::TForm1& form() { return *form_; }
  bool IsOpen() const { return form_ != nullptr; }

  // Rows of the list as shown, one text per row and column.
  std::vector<std::vector<String>> Rows() const;
  std::vector<String> Captions() const;
  // Selects exactly the rows with these captions.
  void SelectRows(const std::vector<String>& captions);

  TempDir program;
  Recorder recorder;
  std::function<void()> fileStarted;  // the window's hook, on the converting thread
  std::function<void(const String&)> previewStarted;  // the window's hook, on the preview's thread
  std::function<void(const String&)> headerStarted;   // the window's hook, on the listing's thread
  std::vector<String> startPaths;                     // the program's arguments
  // Waits until the listed folder's headers are read.
  void WaitForListing() const;

 private:
  wxWeakRef<app::TForm1> form_;
};

// Control events as the user's actions send them.
void Click(wxButton* button);
void Choose(wxChoice* choice, int index);
void ClickColumn(wxListCtrl* list, int column);
void Tick(wxCheckBox* box, bool checked);

// The window as the screen shows it now: on X11 its outer rectangle read from the display
// server, elsewhere its client area (and a frame's status bar).
wxImage CaptureWindow(wxWindow* window);

// Saves a window's picture as PNG into the folder named by PLANDOWN_SCREENSHOTS, when set:
// as the screen shows it, with the title bar and frame of a window manager when one runs.
void SaveScreenshot(wxWindow* window, const std::string& name);

// A window manager runs on the display (with_display.sh --window-manager says so).
bool WindowManagerRuns();

// What the toolkit writes to the standard error stream while this lives (its warnings).
class CapturedErrors {
 public:
  CapturedErrors();
  ~CapturedErrors();
  std::string Text();

 private:
  TempDir dir_;
  std::filesystem::path file_;
  int saved_ = -1;
};

}  // namespace plandown::testing
