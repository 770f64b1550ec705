#include "window_harness.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/statusbr.h>
#include <wx/dcclient.h>
#include <wx/listctrl.h>
#include <wx/utils.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "app/wx_text.h"
#include "support/file_text.h"
#include "util/paths.h"

namespace plandown::testing {

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    wxTheApp->Yield(true);
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    wxMilliSleep(5);  // lets the toolkit's timers come due between two passes
  }
}

void Settle() {
  for (int i = 0; i < 3; ++i) wxTheApp->Yield(true);
}

app::WindowServices Recorder::Services() {
  app::WindowServices s;
  s.message = [this](wxWindow*, const String& text, app::MessageKind kind) { messages.push_back({text, kind}); };
  s.chooseFolder = [this](wxWindow*, const String& title, const String&) {
    browseTitles.push_back(title);
    return folderToChoose;
  };
  s.beep = [this] { ++beeps; };
  s.open = [this](const String& path) {
    opened.push_back(path);
    return true;
  };
  return s;
}

MainWindowHarness::MainWindowHarness() = default;

MainWindowHarness::~MainWindowHarness() {
  if (form_) Close();
}

String MainWindowHarness::SettingsFile() const { return program.file("plandown-gui.dat"); }

void MainWindowHarness::WriteSettings(const std::vector<std::string>& lines) const {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  WriteBytes(ToFsPath(SettingsFile()), text);
}

std::vector<std::string> MainWindowHarness::SettingsLines() const {
  std::vector<std::string> lines;
  const std::string text = ReadBytes(ToFsPath(SettingsFile()));
  std::size_t start = 0;
  for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
    lines.push_back(text.substr(start, at - start));
  if (start < text.size()) lines.push_back(text.substr(start) + "<no CR LF>");
  return lines;
}

app::TForm1& MainWindowHarness::Open() {
  app::MainFormSetup setup;
  setup.programFolder = program.folder();
  setup.settingsFileName = SettingsFile();
  setup.services = recorder.Services();
  auto* form = new app::TForm1(std::move(setup));
  form_ = form;
  form->FormShow();
  form->Show();
  EXPECT_TRUE(WaitFor([form] { return form->IsShownOnScreen(); }));
  Settle();
  return *form;
}

void MainWindowHarness::Close() {
  Click(form_->ButtonX);
  EXPECT_TRUE(WaitFor([this] { return !form_; })) << "the main window did not go";
}

std::vector<std::vector<String>> MainWindowHarness::Rows() const {
  std::vector<std::vector<String>> rows;
  wxListCtrl* list = form_->ListView1;
  for (long item = 0; item < list->GetItemCount(); ++item) {
    std::vector<String> row;
    for (int c = 0; c < list->GetColumnCount(); ++c) row.push_back(app::FromWx(list->GetItemText(item, c)));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<String> MainWindowHarness::Captions() const {
  std::vector<String> captions;
  for (const auto& row : Rows()) captions.push_back(row[0]);
  return captions;
}

void MainWindowHarness::SelectRows(const std::vector<String>& captions) {
  wxListCtrl* list = form_->ListView1;
  for (long item = 0; item < list->GetItemCount(); ++item) {
    const String caption = app::FromWx(list->GetItemText(item));
    const bool wanted = std::find(captions.begin(), captions.end(), caption) != captions.end();
    list->SetItemState(item, wanted ? wxLIST_STATE_SELECTED : 0, wxLIST_STATE_SELECTED);
  }
}

void Click(wxButton* button) {
  wxCommandEvent event(wxEVT_BUTTON, button->GetId());
  event.SetEventObject(button);
  button->ProcessWindowEvent(event);
}

void Choose(wxChoice* choice, int index) {
  choice->SetSelection(index);
  wxCommandEvent event(wxEVT_CHOICE, choice->GetId());
  event.SetEventObject(choice);
  event.SetInt(index);
  choice->ProcessWindowEvent(event);
}

void ClickColumn(wxListCtrl* list, int column) {
  wxListEvent event(wxEVT_LIST_COL_CLICK, list->GetId());
  event.SetEventObject(list);
  event.m_col = column;
  list->ProcessWindowEvent(event);
}

namespace {

// The client area, and for a frame its status bar below it: what the window shows without
// the decorations of a window manager.
wxImage CaptureWindow(wxWindow* window) {
  const wxSize client = window->GetClientSize();
  wxStatusBar* status = nullptr;
  if (auto* frame = dynamic_cast<wxFrame*>(window)) status = frame->GetStatusBar();
  const wxSize statusSize = status ? status->GetSize() : wxSize(0, 0);
  wxBitmap picture(client.x, client.y + statusSize.y, 24);
  {
    wxMemoryDC memory(picture);
    wxClientDC source(window);
    memory.Blit(0, 0, client.x, client.y, &source, 0, 0);
    if (status) {
      wxClientDC bar(status);
      memory.Blit(0, client.y, statusSize.x, statusSize.y, &bar, 0, 0);
    }
  }
  return picture.ConvertToImage();
}

bool SamePixels(const wxImage& a, const wxImage& b) {
  return a.GetSize() == b.GetSize() &&
         std::equal(a.GetData(), a.GetData() + 3 * a.GetWidth() * a.GetHeight(), b.GetData());
}

}  // namespace

void SaveScreenshot(wxWindow* window, const std::string& name) {
  const char* folder = std::getenv("PLANDOWN_SCREENSHOTS");
  if (folder == nullptr || *folder == 0) return;
  window->Raise();
  window->Refresh();
  window->Update();
  // The toolkit paints when its frame clock says so: the picture is taken once the screen
  // stopped changing for a few passes of the event loop.
  wxImage last = CaptureWindow(window);
  int unchanged = 0;
  WaitFor(
      [&] {
        wxImage now = CaptureWindow(window);
        unchanged = SamePixels(now, last) ? unchanged + 1 : 0;
        last = std::move(now);
        return unchanged >= 10;
      },
      std::chrono::seconds(5));
#ifdef _WIN32
  // The Windows build's pictures stand beside the others.
  const std::filesystem::path path = std::filesystem::path(folder) / ("windows-" + name);
#else
  const std::filesystem::path path = std::filesystem::path(folder) / name;
#endif
  std::filesystem::create_directories(path.parent_path());
  EXPECT_TRUE(last.SaveFile(path.string(), wxBITMAP_TYPE_PNG)) << path;
}

}  // namespace plandown::testing
