// The window at the display's scale: scripts/test-windows-packaging.sh runs this under
// wine at 96 and at 144 dots per inch and checks that the measures written here grow
// by half (fonts, the fixed sizes in device-independent pixels, the fitted columns);
// each run keeps a picture of the window.
#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/listctrl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "app/main_form.h"
#include "util/paths.h"
#include "demo_home.h"
#include "window_harness.h"

namespace plandown {
namespace {

TEST(DisplayScale, WritesTheWindowsMeasures) {
  const char* report = std::getenv("PLANDOWN_SCALE_REPORT");
  if (report == nullptr || *report == 0) GTEST_SKIP() << "PLANDOWN_SCALE_REPORT not set";
  // Copied now: the demo home changes the environment, which may move its strings.
  const std::string reportPath = report;
  // The picture shows a user's drawings folder where one can be made.
  const testing::TempDir scratch;
  std::optional<testing::DemoHome> home;
  if (std::getenv("PLANDOWN_SCREENSHOTS") != nullptr) home.emplace();
  const std::filesystem::path drawings = home && home->problem().empty() ? home->drawings() : scratch.path();
  std::filesystem::copy_file(std::filesystem::path(PLANDOWN_SOURCE_DIR) / "examples" / "plan.jww",
                             drawings / std::filesystem::path(u8"1階平面図.jww"));
  testing::MainWindowHarness h;
  h.WriteSettings(testing::SettingsWith(FromFsPath(drawings), u""));
  app::TForm1& form = h.Open();
  testing::Settle();
  const int dpi = form.GetDPI().y;
  std::ofstream out(reportPath);
  out << "dpi " << dpi << "\n"
      << "min_width " << form.GetMinSize().x << "\n"
      << "min_height " << form.GetMinSize().y << "\n"
      << "filter_width " << form.ComboBox1->GetSize().x << "\n"
      << "name_column " << form.ListView1->GetColumnWidth(0) << "\n"
      << "font_height " << form.ListView1->GetCharHeight() << "\n";
  testing::SaveScreenshot(&form, "main-window-" + std::to_string(dpi) + "dpi.png");
}

}  // namespace
}  // namespace plandown
