// The rules behind the desktop windows that need no window: the settings dialog's form,
// where a saved window opens, the reference folder and the session's temporary folder,
// and the convert command over the selected rows.
#include <gtest/gtest.h>

#include <filesystem>

#include "convert/convert_selection.h"
#include "convert/reference_folder.h"
#include "convert/settings_form.h"
#include "convert/status_texts.h"
#include "convert/window_placement.h"
#include "jww/jww_data.h"
#include "support/file_text.h"
#include "support/plan_drawing.h"
#include "support/temp_dir.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/text.h"

namespace plandown {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

TEST(SettingsForm, OpeningShowsWhatTheControlsCanHold) {
  struct Case {
    ConversionSettings in;
    int version, format;
    const char16_t* quality;
  };
  const Case cases[] = {
      {{}, 0, 0, u"75"},
      {{3, 1, 1, 5, 0}, 3, 5, u"0"},
      {{4, 0, 0, 6, 101}, -1, 0, u"75"},
      {{-1, 0, 0, -1, -1}, -1, 0, u"75"},
  };
  for (const Case& c : cases) {
    const SettingsFormState form = OpenSettingsForm(c.in);
    EXPECT_EQ(form.versionIndex, c.version);
    EXPECT_EQ(form.formatIndex, c.format);
    EXPECT_EQ(form.qualityText, c.quality);
    EXPECT_EQ(form.qualityPosition, TextToInt(form.qualityText));
    EXPECT_EQ(form.convertImages, c.in.ConvertBoundImages != 0);
  }
}

TEST(SettingsForm, OkStoresValidInputAndNamesTheControlInError) {
  struct Case {
    int version;
    const char16_t* quality;
    SettingsFormFocus focus;
    int stored;
  };
  const Case cases[] = {
      {2, u"90", SettingsFormFocus::kNone, 90},
      {0, u"0", SettingsFormFocus::kNone, 0},
      {0, u"100", SettingsFormFocus::kNone, 100},
      {0, u"abc", SettingsFormFocus::kNone, 0},
      {0, u"", SettingsFormFocus::kNone, 0},
      {0, u"101", SettingsFormFocus::kQuality, -1},
      {0, u"-1", SettingsFormFocus::kQuality, -1},
      {-1, u"50", SettingsFormFocus::kVersion, -1},
      {-1, u"500", SettingsFormFocus::kVersion, -1},  // the version is checked first
      {4, u"50", SettingsFormFocus::kVersion, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.quality));
    ConversionSettings settings{1, 0, 0, 0, 33};
    SettingsFormState form = OpenSettingsForm(settings);
    form.versionIndex = c.version;
    form.convertImages = true;
    form.formatIndex = 4;
    form.qualityText = c.quality;
    EXPECT_EQ(AcceptSettingsForm(form, settings), c.focus);
    if (c.focus != SettingsFormFocus::kNone) {
      EXPECT_EQ(settings.JpegQuality, 33) << "a refused OK changes nothing";
      EXPECT_EQ(settings.ConvertBoundImages, 0);
      continue;
    }
    EXPECT_EQ(settings.OutVersionIndex, c.version);
    EXPECT_EQ(settings.ConvertBoundImages, 1);
    EXPECT_EQ(settings.ImageFormatIndex, 4);
    EXPECT_EQ(settings.JpegQuality, c.stored);
  }
}

TEST(SettingsForm, TheBarWritesTheText) {
  SettingsFormState form = OpenSettingsForm({});
  MoveQualityBar(form, 12);
  EXPECT_EQ(form.qualityText, u"12");
  EXPECT_EQ(form.qualityPosition, 12);
}

TEST(WindowPlacement, KeepsVisibleWindowsAndBringsBackLostOnes) {
  const std::vector<ScreenRect> one = {{0, 0, 1024, 768}};
  const std::vector<ScreenRect> two = {{0, 0, 1024, 768}, {1024, 0, 1920, 1080}};
  struct Case {
    const char* name;
    ScreenRect saved;
    const std::vector<ScreenRect>* areas;
    ScreenRect expected;
  };
  const Case cases[] = {
      {"visible", {100, 50, 600, 520}, &one, {100, 50, 600, 520}},
      {"partly off the right edge but grabbable", {900, 50, 600, 520}, &one, {900, 50, 600, 520}},
      {"off to the right", {5000, 50, 600, 520}, &one, {64, 64, 600, 520}},
      {"title bar above the display", {100, -500, 600, 520}, &one, {64, 64, 600, 520}},
      {"on a second display", {1500, 100, 600, 520}, &two, {1500, 100, 600, 520}},
      {"second display gone", {1500, 100, 600, 520}, &one, {64, 64, 600, 520}},
      {"smaller than it needs", {10, 10, 100, 50}, &one, {10, 10, 400, 300}},
      {"larger than the display", {5000, 0, 3000, 2000}, &one, {0, 0, 1024, 768}},
      {"default place shifted to fit", {-5000, 0, 1000, 720}, &one, {24, 48, 1000, 720}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ScreenRect r = VisibleWindowRect(c.saved, 400, 300, *c.areas, 64);
    EXPECT_EQ(r.x, c.expected.x);
    EXPECT_EQ(r.y, c.expected.y);
    EXPECT_EQ(r.width, c.expected.width);
    EXPECT_EQ(r.height, c.expected.height);
  }
  const ScreenRect noDisplay = VisibleWindowRect({-9000, -9000, 10, 10}, 400, 300, {}, 64);
  EXPECT_EQ(noDisplay.x, -9000);
  EXPECT_EQ(noDisplay.width, 400);
}

TEST(ReferenceFolder, OnlyAnotherFolderWithAPathReplacesIt) {
  EXPECT_EQ(ReferenceFolderCaption(u"/data/図面"), u"参照フォルダ：/data/図面");
  EXPECT_FALSE(ReferenceFolderChanged(u"", u"/data"));
  EXPECT_FALSE(ReferenceFolderChanged(u"/data", u"/data"));
  EXPECT_TRUE(ReferenceFolderChanged(u"/Data", u"/data"));
  EXPECT_TRUE(ReferenceFolderChanged(u"/data", u""));
}

TEST(ReferenceFolder, SessionTempFolderIsBesideTheProgramOrPrivate) {
  TempDir program;
  const String temp = CreateSessionTempFolder(program.folder());
  EXPECT_EQ(temp, program.folder() + u"TEMP" + PathDelim());
  EXPECT_TRUE(FolderExists(temp));

  // A file where the folder would go: a private folder instead, which the session removes.
  TempDir blocked;
  testing::WriteBytes(blocked.path() / "TEMP", "in the way");
  const String fallback = CreateSessionTempFolder(blocked.folder());
  ASSERT_FALSE(fallback.empty());
  EXPECT_NE(fallback.rfind(blocked.folder(), 0), 0u);
  EXPECT_TRUE(FolderExists(fallback));
  EXPECT_TRUE(RemoveFolder(fallback));
}

class RecordingUi final : public ConversionUi {
 public:
  void Status(const String& t) override { status.push_back(t); }
  void Message(const String& t) override { messages.push_back(t); }
  std::vector<String> status, messages;
};

TEST(ConvertSelection, RefusesTheRunOrConvertsTheCaptionsInOrder) {
  TempDir source, destination;
  ASSERT_TRUE(testing::WritePlan(source.file("a.jww"), 700));
  ASSERT_TRUE(testing::WritePlan(source.file("b.jww"), 700));
  testing::WriteBytes(source.path() / "c.txt", "text");
  const String src = FromFsPath(source.path());

  for (const auto& [dest, text] : {std::pair<String, std::u16string_view>{u"", kNoDestinationText},
                                  {src + u"/none", kDestinationMissingText},
                                  {src, kDestinationIsSourceText}}) {
    RecordingUi ui;
    const SelectionConversion refused = ConvertSelectedFiles(src, dest, {u"a.jww"}, {}, ui, u"");
    EXPECT_NE(refused.problem, DestinationProblem::kNone);
    EXPECT_EQ(ui.messages, std::vector<String>{String(text)});
    EXPECT_TRUE(ui.status.empty());
  }

  TempDir images;
  RecordingUi ui;
  const SelectionConversion run =
      ConvertSelectedFiles(src, FromFsPath(destination.path()), {u"c.txt", u"b.jww", u"a.jww"}, {}, ui, images.folder());
  EXPECT_EQ(run.problem, DestinationProblem::kNone);
  EXPECT_EQ(run.written, 2);
  EXPECT_EQ(run.completion, u"2個のファイルを変換しました。");
  EXPECT_EQ(ui.status.back(), run.completion);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], UnsupportedExtensionText(u"c.txt", u".txt"));
  EXPECT_TRUE(fs::exists(destination.path() / "a.jww"));
  EXPECT_TRUE(fs::exists(destination.path() / "b.jww"));
  // The progress texts name the files in the order given.
  std::vector<String> progress;
  for (const String& s : ui.status)
    if (s.find(u"変換中です。") != String::npos) progress.push_back(s);
  ASSERT_GE(progress.size(), 2u);
  EXPECT_NE(progress.front().find(u"b.jww"), String::npos);
  EXPECT_TRUE(fs::is_empty(images.path())) << "the image folder is left empty";
}

}  // namespace
}  // namespace plandown
