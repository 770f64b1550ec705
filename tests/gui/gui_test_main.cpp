// Starts the toolkit once for all window tests; the tests drive its events themselves.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/init.h>

#include <cstdio>

#include "support/crash_report.h"

namespace {
// A failed assertion of the toolkit fails the running test with its text, instead of
// showing a dialog (or, where none can be shown, stopping at a breakpoint).
void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
  ADD_FAILURE() << "toolkit assertion at " << file.utf8_str() << ":" << line << " in " << func.utf8_str() << ": "
                << cond.utf8_str() << " " << msg.utf8_str();
}
}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  plandown::test::ReportCrashes();
  wxSetAssertHandler(FailOnAssert);
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "gui_tests: the window toolkit could not start (no display?)\n");
    return 1;
  }
  wxInitAllImageHandlers();
  int result = 0;
  {
    // The tests drive the toolkit with Yield, which on Windows dispatches messages (timers
    // among them) only through an active event loop; the loop itself never runs.
    wxEventLoop loop;
    wxEventLoopActivator activate(&loop);
    result = RUN_ALL_TESTS();
  }
  wxEntryCleanup();
  return result;
}
