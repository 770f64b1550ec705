// The rules behind the desktop windows that need no window: the settings dialog's form,
// where a saved window opens, the reference folder and the session's temporary folder,
// the convert command over the selected rows and the result view of a run.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <sstream>

#include "convert/convert_selection.h"
#include "convert/reference_folder.h"
#include "convert/conversion_report.h"
#include "convert/report_file.h"
#include "convert/result_rows.h"
#include "convert/session_temp_folder.h"
#include "convert/settings_form.h"
#include "convert/status_texts.h"
#include "convert/window_placement.h"
#include "jww/jww_data.h"
#include "support/file_text.h"
#include "support/plan_drawing.h"
#include "support/temp_dir.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/processes.h"
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
      {0, u" 7 ", SettingsFormFocus::kNone, 7},
      {0, u"abc", SettingsFormFocus::kQuality, -1},  // no whole number: refused, not taken for 0
      {0, u"7o", SettingsFormFocus::kQuality, -1},
      {0, u"", SettingsFormFocus::kQuality, -1},
      {0, u"$10", SettingsFormFocus::kQuality, -1},
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

TEST(SettingsForm, TheBarWritesTheTextAndFollowsAValidTypedQuality) {
  SettingsFormState form = OpenSettingsForm({});
  MoveQualityBar(form, 12);
  EXPECT_EQ(form.qualityText, u"12");
  EXPECT_EQ(form.qualityPosition, 12);
  for (const auto& [typed, bar] : {std::pair{u"90", 90}, {u"150", 100}, {u"9o", 100}, {u"", 100}, {u"0", 0}}) {
    TypeQualityText(form, typed);
    EXPECT_EQ(form.qualityText, typed);
    EXPECT_EQ(form.qualityPosition, bar) << ToUtf8(typed);
  }
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

// The Windows shell opens its dialogs on the desktop for a folder in another form.
TEST(ReferenceFolder, DialogsGetTheFolderInThePlainAbsoluteForm) {
  const String here = FromFsPath(std::filesystem::current_path());
  struct Case {
    std::u16string_view given;
    String expected;
  };
#ifdef _WIN32
  const Case cases[] = {
      {u"C:\\Users\\sato\\図面", u"C:\\Users\\sato\\図面"},
      {u"C:/Users/sato/図面/", u"C:\\Users\\sato\\図面"},
      {u"C:\\Users\\sato\\.\\x\\..\\図面\\\\", u"C:\\Users\\sato\\図面"},
      {u"\\\\?\\C:\\Users\\sato\\図面\\", u"C:\\Users\\sato\\図面"},
      {u"\\\\?\\UNC\\server\\share\\図面", u"\\\\server\\share\\図面"},
      {u"\\\\server\\share\\図面\\", u"\\\\server\\share\\図面"},
      {u"D:\\", u"D:\\"},
      {u"D:/", u"D:\\"},
      {u"図面", AddPathDelim(here) + u"図面"},
      {u"", u""},
  };
#else
  const Case cases[] = {
      {u"/home/sato/図面", u"/home/sato/図面"},
      {u"/home/sato/図面/", u"/home/sato/図面"},
      {u"/home/sato/./x/../図面//", u"/home/sato/図面"},
      {u"/", u"/"},
      {u"図面", AddPathDelim(here) + u"図面"},
      {u"", u""},
  };
#endif
  for (const Case& c : cases) EXPECT_EQ(DialogFolderPath(c.given), c.expected) << ToUtf8(String(c.given));
}

TEST(ReferenceFolder, TheFolderDialogStartsInTheFirstFolderThatExists) {
  TempDir dest, ref, home;
  const String gone = dest.folder() + u"gone";
  EXPECT_EQ(BrowseStartFolder(dest.folder(), ref.folder(), home.folder()), dest.folder());
  EXPECT_EQ(BrowseStartFolder(gone, ref.folder(), home.folder()), ref.folder());
  EXPECT_EQ(BrowseStartFolder(u"", ref.folder(), home.folder()), ref.folder());
  EXPECT_EQ(BrowseStartFolder(gone, u"", home.folder()), home.folder());
  EXPECT_EQ(BrowseStartFolder(u"", gone, home.folder()), home.folder());
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

// TEMP is shared by the windows started from one program folder: what a crashed session
// left goes at the next start, what a running session uses stays.
TEST(ReferenceFolder, SessionTempFolderLeftByACrashIsEmptiedUnlessASessionRuns) {
  TempDir program;
  const fs::path temp = program.path() / "TEMP";
  const auto mark = [&](std::int64_t id) { return temp / (".session-" + std::to_string(id)); };
  constexpr std::int64_t kEnded = 2147483644;  // no process has this id
  struct Case {
    std::int64_t markedBy;  // 0: no mark (a folder of an older version)
    bool cleared;
  };
  for (const Case c : {Case{kEnded, true}, Case{0, true}, Case{CurrentProcessId(), false}}) {
    SCOPED_TRACE(c.markedBy);
    fs::create_directories(temp / "sub");
    testing::WriteBytes(temp / "left.bmp", "image");
    testing::WriteBytes(temp / "sub" / "left.png", "image");
    if (c.markedBy != 0) testing::WriteBytes(mark(c.markedBy), "");
    const String folder = CreateSessionTempFolder(program.folder());
    ASSERT_EQ(folder, program.folder() + u"TEMP" + PathDelim());
    EXPECT_EQ(fs::exists(temp / "left.bmp"), !c.cleared);
    EXPECT_EQ(fs::exists(temp / "sub" / "left.png"), !c.cleared);
    EXPECT_TRUE(fs::exists(mark(CurrentProcessId())));
    EXPECT_EQ(fs::exists(mark(kEnded)), c.markedBy == kEnded && !c.cleared);
    // The end of the session takes its mark and the folder, only when nothing else is there.
    ReleaseSessionTempFolder(folder);
    EXPECT_EQ(fs::exists(temp), !c.cleared);
    fs::remove_all(temp);
  }
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

// --- The result view ------------------------------------------------------------------

FileConversion Result(const char16_t* source, Outcome outcome, Refusal refusal = Refusal::kNone) {
  FileConversion r;
  r.source = source;
  r.destination = String(u"/out/") + ExtractName(source);
  r.outcome = outcome;
  r.refusal = refusal;
  return r;
}

TEST(ResultView, OneRowPerFileWithWhatTheCommandLineReports) {
  std::vector<FileConversion> results;
  FileConversion changed = Result(u"/src/部品.jws", Outcome::kConverted);
  changed.sourceVersion = 700;
  changed.targetVersion = 351;
  changed.backup = u"/out/部品.BAK";
  changed.report.definitionsDropped = 64;
  changed.report.colorsMapped = 3;
  results.push_back(changed);
  FileConversion images = Result(u"/src/plan.jww", Outcome::kConvertedDamaged);
  images.sourceVersion = 700;
  images.targetVersion = 600;
  images.images = {u"/out/a.bmp", u"/out/b.png"};
  images.backupFailed = true;
  results.push_back(images);
  FileConversion old = Result(u"/src/old.jww", Outcome::kRefused, Refusal::kOldVersion);
  old.sourceVersion = 300;
  old.note = OldVersionText(old.source);
  results.push_back(old);
  FileConversion text = Result(u"/src/c.txt", Outcome::kRefused, Refusal::kUnsupportedKind);
  text.note = UnsupportedExtensionText(u"c.txt", u".txt");
  results.push_back(text);
  FileConversion failed = Result(u"/src/f.jww", Outcome::kFailed);
  failed.note = WriteFailedText(failed.destination);
  results.push_back(failed);
  FileConversion cancelled = Result(u"/src/z.jww", Outcome::kRefused, Refusal::kCancelled);
  cancelled.note = CancelledText(cancelled.source);
  results.push_back(cancelled);

  const std::vector<ResultRow> rows = ResultRows(results);
  ASSERT_EQ(rows.size(), results.size());
  using Texts = std::array<String, kResultColumns>;
  EXPECT_EQ(rows[0].text, (Texts{u"部品.jws", u"変換しました", u"Ver.7.00 → Ver.3.51",
                                 u"SXF線色を通常線色に置換：3、未使用ブロック定義を削除：64", u"部品.BAK", u""}));
  EXPECT_EQ(rows[1].text, (Texts{u"plan.jww", u"変換しました（元データに破損あり）", u"Ver.7.00 → Ver.6.00", u"",
                                 u"作成できませんでした", u"a.bmp、b.png"}));
  // The texts of the refusals, with the file's name for its path.
  EXPECT_EQ(rows[2].text, (Texts{u"old.jww", u"変換しませんでした", OldVersionText(u"old.jww"), u"", u"", u""}));
  EXPECT_EQ(rows[3].text[kResultDetail],
            u"このファイル拡張子（種類）の変換には対応していません。 ファイル名：c.txt 　　拡張子：.txt")
      << "one line";
  EXPECT_EQ(rows[4].text[kResultOutcome], u"失敗しました");
  EXPECT_EQ(rows[4].text[kResultDetail], u"ファイル「f.jww」に書き込めませんでした。");
  EXPECT_EQ(rows[5].text[kResultOutcome], u"変換しませんでした（中止）");
  EXPECT_TRUE(rows[5].cancelled);
  EXPECT_FALSE(rows[2].cancelled);

  EXPECT_EQ(ResultSummaryText(results), u"変換：1　破損データから変換：1　変換せず：3（うち中止：1）　失敗：1");
  EXPECT_EQ(ResultSummaryText({}), u"変換：0　破損データから変換：0　変換せず：0　失敗：0");
  EXPECT_EQ(ResultRowDetails(rows[1]),
            u"ファイル名：plan.jww\n結果：変換しました（元データに破損あり）\n内容：Ver.7.00 → Ver.6.00\n"
            u"バックアップ：作成できませんでした\n画像：a.bmp、b.png");

  // Copied rows: a header, then tab-separated lines; a tab or line break inside a text
  // cannot split a row.
#ifdef _WIN32
  // Windows allows no tab in a name.
  std::vector<ResultRow> odd = ResultRows({Result(u"/src/a b.jww", Outcome::kRefused)});
#else
  std::vector<ResultRow> odd = ResultRows({Result(u"/src/a\tb.jww", Outcome::kRefused)});
#endif
  odd[0].text[kResultDetail] = u"x\ny";
  // Copied and detailed texts give the note with its paths whole.
  EXPECT_EQ(ResultRowsText({&rows[2], &odd[0]}),
            u"ファイル名\t結果\t内容\t変更点\tバックアップ\t画像\n"
            u"old.jww\t変換しませんでした\t" + OldVersionText(u"/src/old.jww") + u"\t\t\t\n"
            u"a b.jww\t変換しませんでした\tx y\t\t\t\n");
  EXPECT_EQ(ResultRowDetails(rows[2]),
            u"ファイル名：old.jww\n結果：変換しませんでした\n内容：" + OldVersionText(u"/src/old.jww"));
}

TEST(ResultView, TheSavedReportIsTheCommandLinesAndWrittenWholeOrNotAtAll) {
  TempDir dir;
  FileConversion old = Result(u"/src/old.jww", Outcome::kRefused, Refusal::kOldVersion);
  old.note = OldVersionText(old.source);
  const std::vector<FileConversion> results = {old};
  const ConversionSettings settings{2, 1, 0, 3, 60};
  std::ostringstream expected;
  WriteConversionReport(expected, settings, results);

  const fs::path report = dir.path() / "report.json";
  testing::WriteBytes(report, "an earlier report");
  ASSERT_TRUE(SaveConversionReport(FromFsPath(report), settings, results));
  EXPECT_EQ(testing::ReadBytes(report), expected.str());
  // A folder that is not there: no report, and nothing left behind.
  EXPECT_FALSE(SaveConversionReport(FromFsPath(dir.path() / "none" / "report.json"), settings, results));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(ResultView, EveryChangeTheCommandLineNamesHasALabel) {
  // One field at a time, so that a field added to the write report without a label here shows.
  constexpr std::uint64_t WriteReport::*kFields[] = {
      &WriteReport::colorsMapped,        &WriteReport::colorsDefaulted, &WriteReport::lineTypesMapped,
      &WriteReport::lineTypesDefaulted,  &WriteReport::valuesReplaced,  &WriteReport::dimensionsDecomposed,
      &WriteReport::charsReplaced,       &WriteReport::stringsCut,      &WriteReport::definitionsDropped,
      &WriteReport::valuesClamped,       &WriteReport::sxfRowsRepaired};
  static_assert(sizeof(WriteReport) == sizeof(kFields) / sizeof(kFields[0]) * sizeof(std::uint64_t));
  std::vector<String> labels;
  for (auto field : kFields) {
    WriteReport report;
    report.*field = 7;
    ASSERT_EQ(report.Items().size(), 1u);
    const String text = ChangeReportText(report);
    ASSERT_TRUE(text.ends_with(u"：7")) << ToUtf8(text);
    labels.push_back(text);
  }
  EXPECT_EQ(std::set<String>(labels.begin(), labels.end()).size(), labels.size()) << "each label once";
  EXPECT_EQ(ChangeReportText({}), u"");
}

}  // namespace
}  // namespace plandown
