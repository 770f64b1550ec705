// What the window shows while files convert and after: the cancel button with its
// caption, the list with its rows, taken from the screen.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/image.h>
#include <wx/listctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/main_form.h"
#include "app/result_view.h"
#include "support/plan_drawing.h"
#include "support/temp_dir.h"
#include "util/paths.h"
#include "util/text.h"
#include "window_harness.h"

namespace plandown {
namespace {

using testing::Click;
using testing::MainWindowHarness;
using testing::TempDir;
using testing::WaitFor;

// Pixels inside the control's frame that stand out from its most common colour: text on
// a face or on rows, selected or not. A face drawn blank has none.
int InkPixels(const wxImage& shown) {
  constexpr int kFrame = 5;  // borders and focus marks are not content
  if (shown.GetWidth() <= 2 * kFrame || shown.GetHeight() <= 2 * kFrame) return 0;
  const wxImage picture = shown.GetSubImage(
      wxRect(kFrame, kFrame, shown.GetWidth() - 2 * kFrame, shown.GetHeight() - 2 * kFrame));
  const int n = picture.GetWidth() * picture.GetHeight();
  const unsigned char* data = picture.GetData();
  std::map<std::uint32_t, int> counts;
  for (int i = 0; i < n; ++i) ++counts[data[3 * i] << 16 | data[3 * i + 1] << 8 | data[3 * i + 2]];
  std::uint32_t common = 0;
  int most = 0;
  for (const auto& [colour, count] : counts)
    if (count > most) most = count, common = colour;
  int ink = 0;
  for (int i = 0; i < n; ++i) {
    const int dr = std::abs(data[3 * i] - static_cast<int>(common >> 16 & 0xFF));
    const int dg = std::abs(data[3 * i + 1] - static_cast<int>(common >> 8 & 0xFF));
    const int db = std::abs(data[3 * i + 2] - static_cast<int>(common & 0xFF));
    if (std::max({dr, dg, db}) > 80) ++ink;
  }
  return ink;
}

// Whether the screen shows the control with more than `ink` pixels of content within a
// few seconds: the toolkit paints when its frame clock says so, later on a busy machine.
// `seen` gets the last count.
bool ShownWithInk(wxWindow* control, int ink, int& seen) {
  control->Refresh();
  control->Update();
  return WaitFor([&] {
    seen = InkPixels(testing::CaptureWindow(control));
    return seen > ink;
  }, std::chrono::seconds(5));
}

TEST(RunPicture, TheCancelButtonAndTheListAreDrawnDuringAndAfterARun) {
  // Read from the screen: a window manager may put the window partly off the virtual
  // display or under its own, so the picture is trusted on the plain display only.
  if (testing::WindowManagerRuns()) GTEST_SKIP() << "the screen is read on the display without a window manager";
  TempDir source, out;
  std::vector<String> names;
  for (int i = 0; i < 6; ++i) {
    names.push_back(FromUtf8("plan" + std::to_string(i) + ".jww"));
    ASSERT_TRUE(testing::WritePlan(AddPathDelim(FromFsPath(source.path())) + names.back(), 700));
  }
  std::atomic<int> started{0};
  std::atomic<bool> release{false};
  MainWindowHarness h;
  h.fileStarted = [&] {
    if (++started == 2)
      while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  };
  h.WriteSettings(testing::SettingsWith(FromFsPath(source.path()), FromFsPath(out.path())));
  app::TForm1& form = h.Open();
  int listInkBefore = 0;
  EXPECT_TRUE(ShownWithInk(form.ListView1, 1000, listInkBefore)) << "the rows are not drawn: " << listInkBefore;

  h.SelectRows(names);
  Click(form.ButtonT);
  ASSERT_TRUE(WaitFor([&] { return started == 2; }));
  ASSERT_TRUE(form.ButtonC->IsShownOnScreen());
  // A blank face has no ink; the caption "中止 (&C)" has plenty.
  int seen = 0;
  EXPECT_TRUE(ShownWithInk(form.ButtonC, 30, seen)) << "the cancel button is drawn without its caption: " << seen;
  EXPECT_TRUE(ShownWithInk(form.ListView1, listInkBefore / 2, seen)) << "the rows are not drawn during the run: " << seen;

  release = true;
  ASSERT_TRUE(WaitFor([&] { return !form.Converting(); }, std::chrono::seconds(30)));
  testing::Settle();
  // The result view opens over the window: put aside, so the list can be seen.
  if (form.ResultView != nullptr) form.ResultView->Hide();
  EXPECT_EQ(form.ListView1->GetItemCount(), static_cast<long>(names.size())) << "a row is listed twice or lost";
  EXPECT_TRUE(ShownWithInk(form.ListView1, listInkBefore / 2, seen)) << "the rows are not drawn after the run: " << seen;
}

}  // namespace
}  // namespace plandown
