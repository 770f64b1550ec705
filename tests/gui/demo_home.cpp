#include "demo_home.h"

#include <wx/utils.h>

#include <cstdio>
#include <system_error>

#include "app/wx_text.h"
#include "support/file_text.h"
#include "util/paths.h"
#include "window_harness.h"

namespace plandown::testing {

namespace fs = std::filesystem;

namespace {
// Marks a home this test made, so that one left by a killed run is taken again and a real
// user's is never touched.
constexpr const char* kMark = ".plandown-demo-home";
}  // namespace

DemoHome::DemoHome(const char8_t* folderName) {
  // UTF-8 literals: a plain one would be taken in the ANSI code page on Windows.
#ifdef _WIN32
  home_ = fs::path(L"C:\\Users\\sato");
  drawings_ = home_ / "Documents" / fs::path(folderName);
#else
  home_ = fs::path("/home/sato");
  drawings_ = home_ / fs::path(folderName);
#endif
  std::error_code error;
  if (fs::exists(home_, error) && !fs::exists(home_ / kMark, error)) {
    problem_ = home_.string() + " exists and is not the test's: the screenshots are not taken";
    return;
  }
  // A home an earlier test left is taken again.
  fs::remove_all(drawings_, error);
  error.clear();
  fs::create_directories(drawings_, error);
  if (error || !fs::is_directory(drawings_) || !fs::is_empty(drawings_)) {
    problem_ = drawings_.string() + " cannot be made empty (" + error.message() + "): the screenshots are not taken";
    return;
  }
  made_ = true;
  WriteBytes(home_ / kMark, "");
  wxString saved;
  hadHome_ = wxGetEnv("HOME", &saved);
  savedHome_ = app::FromWx(saved);
  // (HOME is the home folder for the toolkit on Windows too.)
  wxSetEnv("HOME", app::Wx(FromFsPath(home_)));
}

DemoHome::~DemoHome() {
  if (!made_) return;
  if (hadHome_)
    wxSetEnv("HOME", app::Wx(savedHome_));
  else
    wxUnsetEnv("HOME");
  // What the window read may stay open a moment after it closed, and an open file cannot
  // be removed on Windows: tried again for a while. The mark goes last, so that a home
  // left behind is still known as the test's.
  const auto emptied = [this] {
    std::error_code error;
    bool empty = true;
    for (fs::directory_iterator it(home_, error), end; !error && it != end; it.increment(error)) {
      if (it->path().filename() == kMark) continue;
      std::error_code removing;
      fs::remove_all(it->path(), removing);
      empty = empty && !removing;
    }
    return empty && !error;
  };
  if (!WaitFor(emptied, std::chrono::seconds(5))) {
    std::fprintf(stderr, "%s is left: a file in it is still open\n", home_.string().c_str());
    return;
  }
  std::error_code error;
  fs::remove_all(home_, error);
}

}  // namespace plandown::testing
