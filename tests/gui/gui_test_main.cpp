// Starts the toolkit once for all window tests; the tests drive its events themselves.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/init.h>

#include <cstdio>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "gui_tests: the window toolkit could not start (no display?)\n");
    return 1;
  }
  wxInitAllImageHandlers();
  int result = 0;
  {
    // An event loop is active while the tests drive the windows, as in the program, so
    // that what needs one (the folder watcher) works.
    wxEventLoop loop;
    wxEventLoopActivator active(&loop);
    result = RUN_ALL_TESTS();
  }
  wxEntryCleanup();
  return result;
}
