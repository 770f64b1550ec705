#include "window_harness.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/statusbr.h>
#include <wx/dcclient.h>
#include <wx/listctrl.h>
#include <wx/utils.h>

#include <fcntl.h>
#include <unistd.h>
#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "app/wx_text.h"
#include "support/file_text.h"
#include "util/paths.h"
#include "util/text.h"

#ifdef PLANDOWN_X11_CAPTURE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

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

std::vector<std::string> SettingsWith(const String& preFolder, const String& destination, int filter) {
  return {"64", "64", "600", "520", "200", ToUtf8(EncodeHexText(preFolder)), ToUtf8(EncodeHexText(destination)),
          std::to_string(filter), "80", "80", "80", "80", "80", "80", "64", "64", "0", "0", "0", "0", "75"};
}

app::WindowServices Recorder::Services() {
  app::WindowServices s;
  s.message = [this](wxWindow*, const String& text, app::MessageKind kind) { messages.push_back({text, kind}); };
  s.ask = [this](wxWindow*, const String& text) {
    questions.push_back(text);
    return answerYes;
  };
  s.chooseFolder = [this](wxWindow*, const String& title, const String& initial) {
    browseTitles.push_back(title);
    browseStarts.push_back(initial);
    return folderToChoose;
  };
  s.beep = [this] { ++beeps; };
  s.open = [this](const String& path) {
    opened.push_back(path);
    return openSucceeds;
  };
  s.copyText = [this](const String& text) { copied.push_back(text); };
  s.chooseSaveFile = [this](wxWindow*, const String&, const String& folder, const String&) {
    saveFolders.push_back(folder);
    return saveFileToChoose;
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
  setup.fileStarted = fileStarted;
  setup.previewStarted = previewStarted;
  setup.headerStarted = headerStarted;
  setup.startPaths = startPaths;
  auto* form = new app::TForm1(std::move(setup));
  form_ = form;
  form->FormShow();
  form->Show();
  EXPECT_TRUE(WaitFor([form] { return form->IsShownOnScreen(); }));
  // A window manager maps the window in steps (decorations, then the requested size):
  // the window is ready once its place and size have stopped changing.
  wxRect last = form->GetRect();
  int unchanged = 0;
  WaitFor(
      [&] {
        const wxRect now = form->GetRect();
        unchanged = now == last ? unchanged + 1 : 0;
        last = now;
        return unchanged >= 20;
      },
      std::chrono::seconds(3));
  Settle();
  // A test that holds the reading waits for it itself.
  if (!headerStarted) WaitForListing();
  return *form;
}

void MainWindowHarness::WaitForListing() const {
  app::TForm1* form = form_;
  EXPECT_TRUE(WaitFor([form] { return form == nullptr || !form->ReadingHeaders(); }));
}

void MainWindowHarness::ConvertAndWait() {
  Click(form_->ButtonT);
  EXPECT_TRUE(WaitFor([this] { return !form_->Converting(); }, std::chrono::seconds(60)))
      << "the conversion run did not end";
  Settle();
}

void MainWindowHarness::Close() {
  Click(form_->ButtonX);
  EXPECT_TRUE(WaitFor([this] { return !form_; })) << "the main window did not go";
}

std::vector<std::vector<String>> MainWindowHarness::Rows() const {
  WaitForListing();
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

void Tick(wxCheckBox* box, bool checked) {
  box->SetValue(checked);
  wxCommandEvent event(wxEVT_CHECKBOX, box->GetId());
  event.SetEventObject(box);
  event.SetInt(checked ? 1 : 0);
  box->ProcessWindowEvent(event);
}

void ClickColumn(wxListCtrl* list, int column) {
  wxListEvent event(wxEVT_LIST_COL_CLICK, list->GetId());
  event.SetEventObject(list);
  event.m_col = column;
  list->ProcessWindowEvent(event);
}

#ifdef PLANDOWN_X11_CAPTURE
// The window as the screen shows it: its outer rectangle, which holds the title bar and
// frame a window manager draws, read from the display server itself (the toolkit's
// screen device gives the first picture it took again).
wxImage CaptureWindow(wxWindow* window) {
  const wxRect outer = window->GetScreenRect();
  wxImage picture(outer.width, outer.height);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return picture;
  const int screenWidth = DisplayWidth(display, DefaultScreen(display));
  const int screenHeight = DisplayHeight(display, DefaultScreen(display));
  const wxRect shown = outer.Intersect(wxRect(0, 0, screenWidth, screenHeight));
  if (!shown.IsEmpty()) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), shown.x, shown.y, static_cast<unsigned>(shown.width),
                              static_cast<unsigned>(shown.height), AllPlanes, ZPixmap);
    if (image != nullptr) {
      // The virtual display's 24-bit colour: red, green and blue in the masks' bytes.
      for (int y = 0; y < shown.height; ++y) {
        unsigned char* out = picture.GetData() + 3 * ((shown.y - outer.y + y) * outer.width + (shown.x - outer.x));
        for (int x = 0; x < shown.width; ++x, out += 3) {
          const unsigned long p = XGetPixel(image, x, y);
          out[0] = static_cast<unsigned char>((p & image->red_mask) >> 16);
          out[1] = static_cast<unsigned char>((p & image->green_mask) >> 8);
          out[2] = static_cast<unsigned char>(p & image->blue_mask);
        }
      }
      XDestroyImage(image);
    }
  }
  XCloseDisplay(display);
  return picture;
}
#else
// The client area, and for a frame its status bar below it.
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
#endif

namespace {

bool SamePixels(const wxImage& a, const wxImage& b) {
  return a.GetSize() == b.GetSize() &&
         std::equal(a.GetData(), a.GetData() + 3 * a.GetWidth() * a.GetHeight(), b.GetData());
}

}  // namespace

bool WindowManagerRuns() {
  const char* wm = std::getenv("PLANDOWN_WINDOW_MANAGER");
  return wm != nullptr && *wm != 0;
}

void SaveScreenshot(wxWindow* window, const std::string& name) {
  const char* folder = std::getenv("PLANDOWN_SCREENSHOTS");
  if (folder == nullptr || *folder == 0) return;
  window->Raise();
  window->Refresh();
  window->Update();
  EXPECT_TRUE(WaitFor([window] { return window->IsShownOnScreen(); }));
  // The toolkit paints when its frame clock says so, and a window manager places the
  // window and draws its frame when it gets to it: the picture is taken once the window's
  // place and the screen there have stopped changing for a good many passes of the event
  // loop.
  wxRect lastRect = window->GetScreenRect();
  wxImage last = CaptureWindow(window);
  int unchanged = 0;
  WaitFor(
      [&] {
        const wxRect rect = window->GetScreenRect();
        wxImage now = CaptureWindow(window);
        unchanged = rect == lastRect && SamePixels(now, last) ? unchanged + 1 : 0;
        lastRect = rect;
        last = std::move(now);
        return unchanged >= 25;
      },
      std::chrono::seconds(10));
#ifdef _WIN32
  // The Windows build's pictures stand beside the others.
  const std::filesystem::path path = std::filesystem::path(folder) / ("windows-" + name);
#else
  const std::filesystem::path path = std::filesystem::path(folder) / name;
#endif
  std::filesystem::create_directories(path.parent_path());
  EXPECT_TRUE(last.SaveFile(path.string(), wxBITMAP_TYPE_PNG)) << path;
}

CapturedErrors::CapturedErrors() : file_(dir_.path() / "stderr.txt") {
  std::fflush(stderr);
  saved_ = dup(STDERR_FILENO);
#ifdef _WIN32
  const int fd = _wopen(file_.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
  const int fd = open(file_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
#endif
  if (fd >= 0) {
    dup2(fd, STDERR_FILENO);
    close(fd);
  }
}

CapturedErrors::~CapturedErrors() {
  std::fflush(stderr);
  if (saved_ >= 0) {
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
}

std::string CapturedErrors::Text() {
  std::fflush(stderr);
  return ReadBytes(file_);
}

}  // namespace plandown::testing
