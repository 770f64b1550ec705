#include "demo_home.h"

#include <wx/utils.h>

#include <system_error>

#include "app/wx_text.h"
#include "support/file_text.h"
#include "util/paths.h"

namespace plandown::testing {

namespace fs = std::filesystem;

namespace {
// Marks a home this test made, so that one left by a killed run is taken again and a real
// user's is never touched.
constexpr const char* kMark = ".plandown-demo-home";
}  // namespace

DemoHome::DemoHome() {
  // UTF-8 literals: a plain one would be taken in the ANSI code page on Windows.
#ifdef _WIN32
  home_ = fs::path(L"C:\\Users\\sato");
  drawings_ = home_ / "Documents" / fs::path(u8"図面");
#else
  home_ = fs::path("/home/sato");
  drawings_ = home_ / fs::path(u8"図面");
#endif
  std::error_code error;
  if (fs::exists(home_, error) && !fs::exists(home_ / kMark, error)) {
    problem_ = home_.string() + " exists and is not the test's: the screenshots are not taken";
    return;
  }
  fs::remove_all(home_, error);
  if (!fs::create_directories(drawings_, error)) {
    problem_ = home_.string() + " cannot be made (" + error.message() + "): the screenshots are not taken";
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
  std::error_code error;
  fs::remove_all(home_, error);
}

}  // namespace plandown::testing
