#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <map>
#include <optional>
#include <thread>

#include "convert/conversion_plan.h"
#include "convert/conversion_run.h"
#include "convert/convert_file.h"
#include "convert/convert_jww.h"
#include "convert/destination_check.h"
#include "convert/file_kind.h"
#include "convert/status_texts.h"
#include "jws/jws_data.h"
#include "jww/jww_data.h"
#include "support/circle_solids.h"
#include "support/drawing_builder.h"
#include "images/image_convert.h"
#include "support/file_text.h"
#include "support/image_fixtures.h"
#include "support/plan_drawing.h"
#include "support/temp_dir.h"
#include "util/paths.h"
#include "util/text.h"

namespace plandown {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Records what the conversion tells its user, in order: "S:" status, "M:" message,
// "[" and "]" for the start and end of a file.
class FakeUi final : public ConversionUi {
 public:
  void Status(const String& t) override { events.push_back(u"S:" + t); }
  void Message(const String& t) override { events.push_back(u"M:" + t); }
  void FileStarted() override { events.push_back(u"["); }
  void FileFinished() override { events.push_back(u"]"); }
  std::vector<String> events;
};

// A drawing of `version` at dir/name.
String Drawing(const fs::path& dir, const std::string& name, int version) {
  fs::create_directories(dir);
  const String path = FromFsPath(dir / name);
  EXPECT_TRUE(testing::WritePlan(path, version));
  return path;
}

ConversionSettings Target(int outVersionIndex) {
  ConversionSettings s;
  s.OutVersionIndex = outVersionIndex;
  return s;
}

struct Counts {
  int line, arc, point, text, dimension, solid, block, defs;
  friend bool operator==(const Counts&, const Counts&) = default;
};

Counts CountsOf(const TJwwData& d) {
  return {d.EntLineN, d.EntEnkoN, d.EntTenN, d.EntMojiN, d.EntSunpoN, d.EntSolidN, d.EntBlockN, d.EntBlockDefN};
}

TEST(ConvertJww, CleanDrawingIsWrittenAsTheChosenGenerationAndTheSourceIsLeftAlone) {
  // Index 7 is "any other value": 3.00. 351 is the oldest generation that converts.
  const struct {
    int sourceVersion, outVersionIndex, written;
  } cases[] = {{700, 0, 600}, {700, 1, 420}, {700, 2, 351}, {700, 3, 300}, {700, 7, 300}, {351, 2, 351}, {420, 3, 300}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.sourceVersion << " index " << c.outVersionIndex);
    TempDir tmp;
    const String src = Drawing(tmp.path() / "src", "plan.jww", c.sourceVersion);
    fs::create_directories(tmp.path() / "dst");
    const String dst = FromFsPath(tmp.path() / "dst" / "plan.jww");
    const std::string before = ReadBytes(ToFsPath(src));
    const auto mtime = fs::last_write_time(ToFsPath(src));

    FakeUi ui;
    const FileConversion r = ConvertFile({src, dst, {}}, Target(c.outVersionIndex), ui);

    EXPECT_EQ(r.outcome, Outcome::kConverted);
    EXPECT_EQ(r.refusal, Refusal::kNone);
    EXPECT_EQ(r.sourceVersion, c.sourceVersion);
    EXPECT_EQ(r.targetVersion, c.written);
    EXPECT_TRUE(r.backup.empty());
    EXPECT_TRUE(r.note.empty());
    EXPECT_TRUE(r.report.Empty()) << r.report.Items().front().first;
    EXPECT_EQ(ui.events, (std::vector<String>{u"[", u"S:" + ProgressText(src, dst), u"]", u"S:"}));
    EXPECT_EQ(ReadBytes(ToFsPath(src)), before);
    EXPECT_EQ(fs::last_write_time(ToFsPath(src)), mtime);

    TJwwData in, out;
    ASSERT_TRUE(in.FileIn(src));
    ASSERT_TRUE(out.FileIn(dst));
    EXPECT_EQ(out.Enthd.jwVer, c.written);
    EXPECT_EQ(CountsOf(out), CountsOf(in));
    EXPECT_EQ(out.Enthd.strMemo, in.Enthd.strMemo);
    EXPECT_EQ(out.EntMoji[0].str, in.EntMoji[0].str);
    EXPECT_EQ(out.EntBlockDef[0].mMoji[0].str, in.EntBlockDef[0].mMoji[0].str);
  }
}

// A file that starts like a drawing of version 600 and ends in the middle of its header.
void WriteCutHeader(const fs::path& p) {
  TempDir tmp;
  const String whole = Drawing(tmp.path(), "whole.jww", 600);
  WriteBytes(p, ReadBytes(ToFsPath(whole)).substr(0, 40));
}

TEST(ConvertJww, RefusesWhatItCannotOrMayNotConvertWithoutTouchingTheDestination) {
  const struct {
    const char* name;
    void (*make)(const fs::path&);
    Refusal refusal;
    bool oldVersion;
    int sourceVersion;
  } cases[] = {
      {"text file", [](const fs::path& p) { WriteBytes(p, "not a drawing\n"); }, Refusal::kNotRecognised, false, 0},
      {"missing file", [](const fs::path&) {}, Refusal::kNoSuchFile, false, 0},
      {"folder", [](const fs::path& p) { fs::create_directories(p); }, Refusal::kCannotOpen, false, 0},
      {"header cut short", WriteCutHeader, Refusal::kUnreadable, false, 0},
      {"version 300", [](const fs::path& p) { testing::WritePlan(FromFsPath(p), 300); }, Refusal::kOldVersion, true, 300},
      {"version 350", [](const fs::path& p) { testing::WritePlan(FromFsPath(p), 350); }, Refusal::kOldVersion, true, 350},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir tmp;
    fs::create_directories(tmp.path() / "src");
    fs::create_directories(tmp.path() / "dst");
    const String src = FromFsPath(tmp.path() / "src" / "a.jww");
    c.make(ToFsPath(src));
    const String dst = FromFsPath(tmp.path() / "dst" / "a.jww");
    WriteBytes(ToFsPath(dst), "former destination");

    FakeUi ui;
    const FileConversion r = ConvertFile({src, dst, {}}, Target(0), ui);

    EXPECT_EQ(r.outcome, Outcome::kRefused);
    EXPECT_EQ(r.refusal, c.refusal);
    // The system's words come only with a file that is there but cannot be opened.
    EXPECT_EQ(r.reason.empty(), c.refusal != Refusal::kCannotOpen) << r.reason;
    EXPECT_EQ(r.sourceVersion, c.sourceVersion);
    EXPECT_EQ(r.targetVersion, 0);
    const String note = c.oldVersion ? OldVersionText(src) : UnreadableText(src);
    EXPECT_EQ(r.note, note);
    // The refusal text stays: nothing clears it after the file.
    EXPECT_EQ(ui.events, (std::vector<String>{u"[", u"S:" + ProgressText(src, dst), u"S:" + note, u"]"}));
    EXPECT_EQ(ReadBytes(ToFsPath(dst)), "former destination");
    EXPECT_FALSE(fs::exists(tmp.path() / "dst" / "a.BAK"));
  }
}

TEST(ConvertJww, RefusalTextsAreTheFixedOnes) {
  EXPECT_EQ(OldVersionText(u"C:\\d\\a.jww"), u"ファイル「C:\\d\\a.jww」は旧バージョンデータですので変換しませんでした。");
  EXPECT_EQ(UnreadableText(u"x.jww"), u"ファイル「x.jww」は読み込めませんでしたので変換しませんでした。");
  EXPECT_EQ(ProgressText(u"s.jww", u"d.jww"), u"ファイル「s.jww」→「d.jww」変換中です。");
  EXPECT_EQ(CompletionText(0), u"0個のファイルを変換しました。");
  EXPECT_EQ(UnsupportedExtensionText(u"plan.bak", u".bak"),
            u"このファイル拡張子（種類）の変換には対応していません。\r\nファイル名：plan.bak\r\n　　拡張子：.bak");
}

TEST(ConvertJww, DamagedSourceIsConvertedWithWhatCouldBeReadAndSaysSo) {
  TempDir tmp;
  const std::string whole = ReadBytes(ToFsPath(Drawing(tmp.path(), "whole.jww", 700)));
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      // A class name that no entity has ends the main list after the first lines.
      {"bad class in the main list", [&] {
         std::string b = whole;
         b[b.find("CDataEnko") + 5] = 'X';
         return b;
       }()},
      // The file ends right after the first definition's class name.
      {"definitions cut short", whole.substr(0, whole.find("CDataList") + 9)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::create_directories(tmp.path() / "src");
    fs::create_directories(tmp.path() / "dst");
    const fs::path src = tmp.path() / "src" / "a.jww";
    WriteBytes(src, c.bytes);
    TJwwData probe;
    ASSERT_FALSE(probe.FileIn(FromFsPath(src)));
    ASSERT_TRUE(probe.HeaderRead());

    const String dst = FromFsPath(tmp.path() / "dst" / "a.jww");
    SilentConversionUi ui;
    const FileConversion r = ConvertFile({FromFsPath(src), dst, {}}, Target(0), ui);
    EXPECT_EQ(r.outcome, Outcome::kConvertedDamaged);
    EXPECT_TRUE(r.Written());
    TJwwData out;
    EXPECT_TRUE(out.FileIn(dst));
    EXPECT_EQ(CountsOf(out), CountsOf(probe));
    EXPECT_GT(out.EntLineN, 0);
  }
}

TEST(ConvertJww, FormerDestinationIsBackedUpWithItsTimesBeforeItIsReplaced) {
  TempDir tmp;
  const String src = Drawing(tmp.path() / "src", "plan.jww", 700);
  fs::create_directories(tmp.path() / "dst");
  const fs::path dst = tmp.path() / "dst" / "plan.jww";
  const fs::path bak = tmp.path() / "dst" / "plan.BAK";
  WriteBytes(dst, "former destination");
  WriteBytes(bak, "an older backup");
  const auto past = fs::file_time_type::clock::now() - std::chrono::hours(24 * 30);
  fs::last_write_time(dst, past);

  SilentConversionUi ui;
  const FileConversion r = ConvertFile({src, FromFsPath(dst), {}}, Target(0), ui);

  EXPECT_EQ(r.outcome, Outcome::kConverted);
  EXPECT_EQ(r.backup, FromFsPath(bak));
  EXPECT_FALSE(r.backupFailed);
  EXPECT_EQ(ReadBytes(bak), "former destination");
  EXPECT_EQ(std::chrono::duration_cast<std::chrono::seconds>(fs::last_write_time(bak) - past).count(), 0);
  TJwwData out;
  EXPECT_TRUE(out.FileIn(FromFsPath(dst)));
}

TEST(ConvertJww, FailedWriteLeavesNoDestinationButKeepsTheBackup) {
  TempDir tmp;
  const String src = Drawing(tmp.path() / "src", "plan.jww", 700);
  fs::create_directories(tmp.path() / "dst");
  // The writer works under a longer temporary name next to the destination; with a
  // destination name near the file-name limit that name cannot be created. The backup goes
  // to a short name elsewhere, so that it can be made.
  const std::string longName = std::string(245, 'a') + ".jww";
  const fs::path dst = tmp.path() / "dst" / longName;
  WriteBytes(dst, "former destination");
  fs::create_directories(tmp.path() / "bak");
  const fs::path bak = tmp.path() / "bak" / "plan.BAK";

  FakeUi ui;
  const FileConversion r = ConvertFile({src, FromFsPath(dst), FromFsPath(bak)}, Target(0), ui);

  EXPECT_EQ(r.outcome, Outcome::kFailed);
  EXPECT_FALSE(r.Written());
  EXPECT_EQ(r.note, WriteFailedText(FromFsPath(dst)));
  EXPECT_EQ(ui.events.back(), u"]");
  EXPECT_EQ(ui.events[ui.events.size() - 2], u"S:" + r.note);
  EXPECT_FALSE(fs::exists(dst));
  EXPECT_EQ(ReadBytes(bak), "former destination");
  EXPECT_EQ(r.backup, FromFsPath(bak));
  EXPECT_TRUE(fs::is_empty(tmp.path() / "dst"));
}

TEST(ConvertJww, BoundImageTextsOfDrawingAndBlocksNameTheExtractedFiles) {
  TempDir tmp;
  TJwwData doc;
  doc.Enthd.jwVer = 700;
  testing::InitTables(doc);
  testing::ListBuilder main(MainList(doc));
  main.Add(testing::Text(u"^@BM%temp%photo_jpg.bmp,100,100,0,0,1,0"));
  main.Add(testing::Text(u"^@BMlogo.png,10,10"));
  main.Add(testing::Insert(1));
  testing::ListBuilder(MemberList(testing::AddDefinition(doc, 1, u"b"))).Add(testing::Text(u"^@BM%temp%scan.bmp,1,1"));
  testing::Finish(doc);
  fs::create_directories(tmp.path() / "src");
  const String src = FromFsPath(tmp.path() / "src" / "img.jww");
  ASSERT_TRUE(doc.FileOut(src, 700));

  const struct {
    std::int32_t convertImages, formatIndex;
    const char16_t *main, *block;
  } cases[] = {
      {0, 0, u"^@BMphoto_jpg.bmp,100,100,0,0,1,0", u"^@BMscan.bmp,1,1"},
      {1, 3, u"^@BMphoto.png,100,100,0,0,1,0", u"^@BMscan.png,1,1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.formatIndex);
    const String dst = tmp.file("img.jww");
    ConversionSettings s = Target(0);
    s.ConvertBoundImages = c.convertImages;
    s.ImageFormatIndex = c.formatIndex;
    SilentConversionUi ui;
    ASSERT_EQ(ConvertJww({src, dst, {}}, s, ui).outcome, Outcome::kConverted);
    TJwwData out;
    ASSERT_TRUE(out.FileIn(dst));
    EXPECT_EQ(out.EntMoji[0].str, c.main);
    EXPECT_EQ(out.EntMoji[1].str, u"^@BMlogo.png,10,10");
    EXPECT_EQ(out.EntBlockDef[0].mMoji[0].str, c.block);
  }
}

TEST(ConvertJww, NeverWritesOntoItsSource) {
  TempDir tmp;
  const String src = Drawing(tmp.path() / "src", "plan.jww", 700);
  const std::string before = ReadBytes(ToFsPath(src));
  const String sameSpelledOtherwise = FromFsPath(tmp.path() / "src" / "." / "plan.jww");
  SilentConversionUi ui;
  const FileConversion r = ConvertJww({src, sameSpelledOtherwise, {}}, Target(0), ui);
  EXPECT_EQ(r.outcome, Outcome::kRefused);
  EXPECT_EQ(r.refusal, Refusal::kSameFile);
  EXPECT_EQ(ReadBytes(ToFsPath(src)), before);
  EXPECT_FALSE(fs::exists(tmp.path() / "src" / "plan.BAK"));
}

// A shape of `version` at dir/name with `lines` lines and a bound-image text.
String Shape(const fs::path& dir, const std::string& name, int version, int lines) {
  fs::create_directories(dir);
  TJwsData d;
  d.Enthd.jwVer = version;
  testing::ListBuilder main(MainList(d));
  for (int i = 0; i < lines; ++i) main.Add(testing::Line(0, i, 10, i));
  if (lines > 0) main.Add(testing::Text(u"^@BM%temp%pic.bmp,1,1"));
  TEntJwwBlockDef& def = testing::AddDefinition(d, 1, u"b");
  testing::ListBuilder(MemberList(def)).Add(testing::Line(0, 0, 1, 1));
  d.Enthd.n1 = static_cast<std::int32_t>(d.EntNo.size());
  d.Enthd.n2 = 1;
  d.EntBlockDefN = 1;
  d.MakeBlockTree();
  const String path = FromFsPath(dir / name);
  EXPECT_TRUE(d.FileOut(path, version));
  return path;
}

TEST(ConvertJws, ShapesConvertWithTheirOwnRules) {
  struct Case {
    int version, lines, index;
    Outcome outcome;
    int written;
    const char16_t* status;
  } cases[] = {
      {700, 3, 0, Outcome::kConverted, 600, nullptr},
      {700, 3, 3, Outcome::kConverted, 351, nullptr},  // 3.00 is written as 3.51
      {600, 0, 0, Outcome::kRefused, 0, u"変換出来ませんでした。"},
      {350, 3, 0, Outcome::kRefused, 0, nullptr},  // old version
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version * 10 + c.index);
    TempDir tmp;
    const String src = Shape(tmp.path() / "src", "part.jws", c.version, c.lines);
    fs::create_directories(tmp.path() / "dst");
    const String dst = FromFsPath(tmp.path() / "dst" / "part.jws");
    FakeUi ui;
    const FileConversion r = ConvertFile({src, dst, {}}, Target(c.index), ui);
    EXPECT_EQ(r.outcome, c.outcome);
    if (c.status) {
      EXPECT_EQ(ui.events[2], u"S:" + String(c.status));
    }
    if (c.outcome == Outcome::kRefused && c.version < 351) {
      EXPECT_EQ(ui.events[2], u"S:" + OldVersionText(src));
    }
    if (c.outcome != Outcome::kConverted) {
      EXPECT_FALSE(fs::exists(tmp.path() / "dst" / "part.jws"));
      continue;
    }
    TJwsData back;
    ASSERT_TRUE(back.FileIn(dst));
    EXPECT_EQ(back.Enthd.jwVer, c.written);
    EXPECT_EQ(back.EntLineN, c.lines);
    EXPECT_EQ(back.EntMoji[0].str, u"^@BMpic.bmp,1,1");  // the text is rewritten, no image made
    EXPECT_EQ(fs::directory_iterator(tmp.path() / "dst")->path().filename(), "part.jws");
  }
}

TEST(ConvertFile, OtherExtensionsAreRefusedWithOneMessage) {
  for (const char* name : {"plan.bak", "plan.jwc", "noext"}) {
    SCOPED_TRACE(name);
    TempDir tmp;
    const String src = tmp.file(name);
    WriteBytes(ToFsPath(src), "x");
    FakeUi ui;
    const FileConversion r = ConvertFile({src, tmp.file("out"), {}}, Target(0), ui);
    EXPECT_EQ(r.refusal, Refusal::kUnsupportedKind);
    const String ext = ExtensionOf(src);
    EXPECT_EQ(ui.events, (std::vector<String>{u"M:" + UnsupportedExtensionText(FromUtf8(name), ext)}));
  }
}

TEST(ConvertFile, UpperCaseExtensionIsADrawing) {
  TempDir tmp;
  const String src = Drawing(tmp.path() / "src", "PLAN.JWW", 700);
  fs::create_directories(tmp.path() / "dst");
  SilentConversionUi ui;
  EXPECT_EQ(ConvertFile({src, FromFsPath(tmp.path() / "dst" / "PLAN.JWW"), {}}, Target(0), ui).outcome,
            Outcome::kConverted);
}

TEST(ConversionRun, KeepsEveryFormerFileAndCountsOnlyWrittenFiles) {
  TempDir tmp;
  // Two sources named alike from different folders, and a destination folder that already
  // holds a.jww and a.JWW, whose backups would both be called a.BAK. Where the file system
  // takes a.JWW for a.jww (Windows), a.JWW is the destination already written.
  const String a1 = Drawing(tmp.path() / "s1", "a.jww", 700);
  const String a2 = Drawing(tmp.path() / "s2", "a.jww", 600);
  const String upper = Drawing(tmp.path() / "s3", "a.JWW", 700);
  const String old = Drawing(tmp.path() / "s1", "old.jww", 300);
  const fs::path d = tmp.path() / "dst";
  fs::create_directories(d);
  WriteBytes(d / "a.jww", "former a.jww");
  const bool foldsCase = fs::exists(d / "A.JWW");
  if (!foldsCase) WriteBytes(d / "a.JWW", "former a.JWW");

  FakeUi ui;
  ConversionRun run(Target(0), ui);
  const String folder = FromFsPath(d);
  EXPECT_EQ(run.Convert(a1, folder).outcome, Outcome::kConverted);
  const FileConversion& second = run.Convert(a2, folder);
  EXPECT_EQ(second.refusal, Refusal::kDuplicateDestination);
  EXPECT_EQ(second.note, DuplicateDestinationText(a2, second.destination));
  const FileConversion third = run.Convert(upper, folder);
  EXPECT_EQ(run.Convert(old, folder).refusal, Refusal::kOldVersion);

  EXPECT_EQ(ReadBytes(d / "a.BAK"), "former a.jww");
  if (foldsCase) {
    EXPECT_EQ(third.refusal, Refusal::kDuplicateDestination);
    EXPECT_FALSE(fs::exists(d / "a.JWW.BAK"));
  } else {
    EXPECT_EQ(third.outcome, Outcome::kConverted);
    EXPECT_EQ(ReadBytes(d / "a.JWW.BAK"), "former a.JWW");
    EXPECT_EQ(third.backup, FromFsPath(d / "a.JWW.BAK"));
  }
  TJwwData out;
  ASSERT_TRUE(out.FileIn(FromFsPath(d / "a.jww")));
  EXPECT_EQ(out.Enthd.jwVer, 600);

  const int written = foldsCase ? 1 : 2;
  EXPECT_EQ(run.WrittenCount(), written);
  EXPECT_FALSE(run.AllClean());
  EXPECT_EQ(run.Finish(), CompletionText(written));
  EXPECT_EQ(ui.events.back(), u"S:" + IntToText(written) + u"個のファイルを変換しました。");
}

TEST(ConversionRun, EmptyRunReportsZero) {
  FakeUi ui;
  ConversionRun run(Target(0), ui);
  EXPECT_TRUE(run.AllClean());
  EXPECT_EQ(run.Finish(), u"0個のファイルを変換しました。");
}

TEST(DestinationCheck, ComparesTheFoldersThemselves) {
  TempDir tmp;
  const fs::path src = tmp.path() / "Data";
  const fs::path other = tmp.path() / "Other";
  fs::create_directories(src);
  fs::create_directories(other);
  // Windows programs may not make symbolic links without a privilege (nor under wine).
  std::error_code noLink;
  fs::create_directory_symlink(src, tmp.path() / "link", noLink);
  const String s = FromFsPath(src);
  const struct {
    String destination;
    DestinationProblem problem;
  } cases[] = {
      {u"", DestinationProblem::kNotGiven},
      {FromFsPath(tmp.path() / "absent"), DestinationProblem::kMissing},
      {tmp.file("afile"), DestinationProblem::kMissing},
      {s, DestinationProblem::kIsSourceFolder},
      {s + u"/", DestinationProblem::kIsSourceFolder},
      {FromFsPath(tmp.path() / "Other" / ".." / "Data"), DestinationProblem::kIsSourceFolder},
      {FromFsPath(tmp.path() / "link"), DestinationProblem::kIsSourceFolder},
      {FromFsPath(other), DestinationProblem::kNone},
  };
  WriteBytes(tmp.path() / "afile", "x");
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.destination));
    if (noLink && c.destination == FromFsPath(tmp.path() / "link")) continue;
    EXPECT_EQ(CheckDestinationFolder(c.destination, s), c.problem);
  }
  // A source folder that does not exist is no reason to refuse.
  EXPECT_EQ(CheckDestinationFolder(FromFsPath(other), FromFsPath(tmp.path() / "gone")), DestinationProblem::kNone);
  EXPECT_EQ(DestinationProblemText(DestinationProblem::kNotGiven), u"保存先フォルダを指示して下さい。");
  EXPECT_EQ(DestinationProblemText(DestinationProblem::kMissing), u"保存先フォルダが存在しません。");
  EXPECT_EQ(DestinationProblemText(DestinationProblem::kIsSourceFolder), u"保存先フォルダは参照フォルダと同じにしないで下さい。");
  EXPECT_EQ(DestinationProblemText(DestinationProblem::kNone), u"");
}

TEST(ConvertJww, ConversionsOnSeveralThreadsGiveTheSameFilesAsOne) {
  TempDir tmp;
  const String src = Drawing(tmp.path() / "src", "plan.jww", 700);
  fs::create_directories(tmp.path() / "ref");
  SilentConversionUi quiet;
  const String ref = FromFsPath(tmp.path() / "ref" / "plan.jww");
  ASSERT_TRUE(ConvertJww({src, ref, {}}, Target(2), quiet).Written());

  constexpr int kThreads = 4;
  std::vector<Outcome> outcomes(kThreads);
  {
    std::vector<std::jthread> threads;
    for (int t = 0; t < kThreads; ++t) {
      const fs::path dir = tmp.path() / ("t" + std::to_string(t));
      fs::create_directories(dir);
      threads.emplace_back([&, t, dir] {
        SilentConversionUi ui;
        for (int round = 0; round < 5; ++round)
          outcomes[t] = ConvertJww({src, FromFsPath(dir / "plan.jww"), {}}, Target(2), ui).outcome;
      });
    }
  }
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(outcomes[t], Outcome::kConverted);
    EXPECT_EQ(ReadBytes(tmp.path() / ("t" + std::to_string(t)) / "plan.jww"), ReadBytes(ToFsPath(ref)));
  }
}

// A 7.00 drawing at `path` that binds a gzip-compressed w x h picture as "pic.bmp.gz",
// shown by one image text.
void DrawingWithImage(const fs::path& path, int w, int h) {
  const fs::path images = path.parent_path() / ("images-" + path.stem().string());
  fs::create_directories(images);
  const testing::Bytes8 gz = testing::GzipBytes(testing::Encoded(testing::TestPicture(w, h), wxBITMAP_TYPE_BMP));
  WriteBytes(images / "pic.bmp.gz", std::string(gz.begin(), gz.end()));
  TJwwData d;
  testing::SampleDrawing(d);
  testing::ListBuilder(MainList(d)).Add(testing::Text(u"^@BM%temp%pic.bmp,10,10"));
  testing::Finish(d);
  d.BindImageFolder = AddPathDelim(FromFsPath(images));
  d.BindImageExp = true;
  d.BindImage.push_back({u"pic.bmp.gz", 0, false});
  d.BindImageN = 1;
  EXPECT_TRUE(d.FileOut(FromFsPath(path), 700));
  fs::remove_all(images);
}

// Everything a run leaves behind: every file under root with its bytes, the results and
// the texts the UI heard.
struct RunOutcome {
  std::map<std::string, std::string> files;
  std::vector<std::string> results;
  std::vector<String> events;
};

// A run that needs every ordering rule: two sources for one destination, a drawing and a
// shape whose backups would share a name, two drawings placing an image of the same name
// into one folder (converted, its source deleted), refusals, a second folder, and enough
// plain drawings to keep the workers busy.
RunOutcome RunMixedJobs(const fs::path& root, int workers) {
  fs::remove_all(root);
  const fs::path d1 = root / "d1", d2 = root / "d2";
  fs::create_directories(d1);
  fs::create_directories(d2);
  WriteBytes(d1 / "a.jww", "former a.jww");
  WriteBytes(d1 / "a.jws", "former a.jws");
  // a.jww's image takes long to convert, so that b.jww's would overtake it if it could.
  DrawingWithImage(root / "s1" / "a.jww", 900, 700);
  Shape(root / "s1", "a.jws", 700, 2);
  Drawing(root / "s2", "a.jww", 600);
  DrawingWithImage(root / "s1" / "b.jww", 5, 4);
  Drawing(root / "s1", "old.jww", 300);
  WriteBytes(root / "s1" / "note.txt", "x");
  DrawingWithImage(root / "s3" / "c.jww", 3, 2);
  std::vector<ConversionJob> jobs;
  for (const char* name : {"a.jww", "b.jww", "a.jws"}) jobs.push_back({FromFsPath(root / "s1" / name), FromFsPath(d1)});
  jobs.push_back({FromFsPath(root / "s2" / "a.jww"), FromFsPath(d1)});  // a.jww written already
  for (int i = 0; i < 6; ++i)
    jobs.push_back({Drawing(root / "s4", "p" + std::to_string(i) + ".jww", 700), FromFsPath(i % 2 ? d1 : d2)});
  for (const char* name : {"old.jww", "note.txt"}) jobs.push_back({FromFsPath(root / "s1" / name), FromFsPath(d1)});
  jobs.push_back({FromFsPath(root / "s3" / "c.jww"), FromFsPath(d2)});
  jobs.push_back({FromFsPath(root / "s1" / "b.jww"), FromFsPath(d1)});  // written already

  ConversionSettings settings = Target(2);
  settings.ConvertBoundImages = 1;
  settings.ImageFormatIndex = 3;  // PNG
  settings.DeleteSourceImage = 1;
  FakeUi ui;
  ConversionRun run(settings, ui);
  RunOutcome outcome;
  std::size_t told = 0;
  run.ConvertAll(jobs, workers, [&](const FileConversion& r) {
    // Each result comes after its own texts and before those of the next file.
    EXPECT_EQ(&r, &run.Results()[told]);
    ++told;
  });
  EXPECT_EQ(told, jobs.size());
  outcome.files = testing::TreeBytes(root);
  for (const FileConversion& r : run.Results()) {
    std::string images;
    for (const String& i : r.images) images += " " + ToUtf8(i);
    outcome.results.push_back(ToUtf8(r.source + u" " + r.destination + u" " + r.note + u" " + r.backup) + " " +
                              OutcomeName(r.outcome) + " " + RefusalName(r.refusal) + images);
  }
  outcome.events = ui.events;
  return outcome;
}

TEST(ConversionRun, SideBySideGivesTheFilesResultsAndTextsOfOneAtATime) {
  ASSERT_TRUE(InitImageLibrary());
  TempDir tmp;
  const fs::path root = tmp.path() / "run";
  const RunOutcome serial = RunMixedJobs(root, 1);
  // The serial run itself: one destination written once, backups kept apart, the later
  // image of a name wins, converted and without its source.
  EXPECT_EQ(serial.files.at("d1/a.BAK"), "former a.jww");
  EXPECT_EQ(serial.files.at("d1/a.jws.BAK"), "former a.jws");
  EXPECT_NE(serial.results[3].find("destination already written in this run"), std::string::npos) << serial.results[3];
  EXPECT_NE(serial.results.back().find("destination already written in this run"), std::string::npos);
  EXPECT_TRUE(serial.files.contains("d1/pic.png"));
  EXPECT_FALSE(serial.files.contains("d1/pic.bmp"));
  EXPECT_NE(serial.results[1].find(ToUtf8(FromFsPath(root / "d1" / "pic.png"))), std::string::npos) << serial.results[1];
  wxImage picture;
  ASSERT_TRUE(picture.LoadFile(wxString::FromUTF8((root / "d1" / "pic.png").string()), wxBITMAP_TYPE_PNG));
  EXPECT_EQ(picture.GetWidth(), 5);  // b.jww's, converted after a.jww's

  for (int workers : {2, 4, 4}) {
    SCOPED_TRACE(workers);
    const RunOutcome parallel = RunMixedJobs(root, workers);
    EXPECT_EQ(parallel.files, serial.files);
    EXPECT_EQ(parallel.results, serial.results);
    EXPECT_EQ(parallel.events, serial.events);
  }
}

TEST(ConversionRun, SideBySideWithFewerJobsThanWorkersAndNone) {
  TempDir tmp;
  const String src = Drawing(tmp.path() / "src", "plan.jww", 700);
  fs::create_directories(tmp.path() / "dst");
  FakeUi ui;
  ConversionRun run(Target(0), ui);
  run.ConvertAll({}, 8);
  run.ConvertAll({{src, FromFsPath(tmp.path() / "dst")}}, 8);
  ASSERT_EQ(run.Results().size(), 1u);
  EXPECT_EQ(run.Results()[0].outcome, Outcome::kConverted);
  EXPECT_EQ(run.Results()[0].fileIn, std::optional<bool>(true));
}

// Cancels when file `at` starts (serial) or once file `at` is told (side by side).
class CancellingUi final : public ConversionUi {
 public:
  CancellingUi(ConversionRun*& run, int at) : run_(run), at_(at) {}
  void Status(const String&) override {}
  void Message(const String&) override {}
  void FileStarted() override {
    if (++started_ == at_) run_->RequestCancel();
  }

 private:
  ConversionRun*& run_;
  int at_;
  int started_ = 0;
};

TEST(ConversionRun, CancelFinishesTheFilesBeingConvertedAndStartsNoOther) {
  TempDir tmp;
  std::vector<ConversionJob> jobs;
  for (int i = 0; i < 12; ++i)
    jobs.push_back({Drawing(tmp.path() / "src", "p" + std::to_string(i) + ".jww", 700), FromFsPath(tmp.path() / "dst")});
  for (const int workers : {1, 3}) {
    SCOPED_TRACE(workers);
    fs::remove_all(tmp.path() / "dst");
    fs::create_directories(tmp.path() / "dst");
    ConversionRun* current = nullptr;
    CancellingUi ui(current, 3);
    ConversionRun run(Target(0), ui);
    current = &run;
    std::size_t told = 0;
    run.ConvertAll(jobs, workers, [&](const FileConversion&) {
      // Side by side the texts reach the UI only as files are told: cancel after the first.
      if (++told == 1 && workers > 1) run.RequestCancel();
    });
    EXPECT_TRUE(run.CancelRequested());
    ASSERT_EQ(run.Results().size(), jobs.size());
    EXPECT_EQ(told, jobs.size()) << "every file is told, the cancelled ones too";
    // Every file is either written whole or cancelled without a trace; one at a time, the
    // file being converted when the cancel came is the last written.
    const std::size_t written = static_cast<std::size_t>(run.WrittenCount());
    EXPECT_GE(written, 1u);
    EXPECT_LT(written, jobs.size());
    if (workers == 1) {
      EXPECT_EQ(written, 3u);
      EXPECT_TRUE(run.Results()[2].Written()) << "the file being converted when cancelled is finished";
    }
    for (std::size_t i = 0; i < jobs.size(); ++i) {
      const FileConversion& r = run.Results()[i];
      if (r.Written()) {
        TJwwData back;
        EXPECT_TRUE(back.FileIn(r.destination)) << i;
        continue;
      }
      EXPECT_EQ(r.outcome, Outcome::kRefused) << i;
      EXPECT_EQ(r.refusal, Refusal::kCancelled) << i;
      EXPECT_EQ(r.note, CancelledText(jobs[i].source));
      EXPECT_EQ(r.destination, FromFsPath(tmp.path() / "dst" / ("p" + std::to_string(i) + ".jww")));
      EXPECT_FALSE(fs::exists(ToFsPath(r.destination))) << i;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.path() / "dst"), fs::directory_iterator()),
              static_cast<std::ptrdiff_t>(written))
        << "no partial or temporary file";
  }
}

TEST(ConversionRun, SideBySideNamesWithoutExtensionDoNotWaitForThemselves) {
  TempDir tmp;
  fs::create_directories(tmp.path() / "dst");
  const String dst = FromFsPath(tmp.path() / "dst");
  // "plan" backs up to "plan.BAK" by either rule: one name, once.
  FakeUi ui;
  ConversionRun run(Target(0), ui);
  run.ConvertAll({{FromFsPath(tmp.path() / "plan"), dst}, {FromFsPath(tmp.path() / "other"), dst}}, 2);
  ASSERT_EQ(run.Results().size(), 2u);
  EXPECT_EQ(run.Results()[1].refusal, Refusal::kUnsupportedKind);
}

TEST(ConvertJww, RealDrawingConvertsToEveryGeneration) {
  const fs::path corpus = testing::CorpusDir();
  if (corpus.empty() || !fs::exists(corpus / "sample.jww")) GTEST_SKIP() << "shared corpus not present";
  const String src = FromFsPath(corpus / "sample.jww");
  TJwwData in;
  ASSERT_TRUE(in.FileIn(src));
  for (int index = 0; index < 4; ++index) {
    SCOPED_TRACE(index);
    TempDir tmp;
    const String dst = tmp.file("sample.jww");
    SilentConversionUi ui;
    const FileConversion r = ConvertJww({src, dst, {}}, Target(index), ui);
    EXPECT_EQ(r.outcome, Outcome::kConverted);
    TJwwData out;
    ASSERT_TRUE(out.FileIn(dst));
    EXPECT_EQ(out.Enthd.jwVer, TargetVersion(index));
    EXPECT_EQ(CountsOf(out), CountsOf(in));
    EXPECT_EQ(out.EntBlockNum, in.EntBlockNum);
  }
}

}  // namespace
}  // namespace plandown

namespace plandown {
namespace {

// Circle solids (line type 101) hold a centre, radius, flattening and angles in their
// corner fields: every generation keeps them, their line type and their own colour; only
// what every solid loses changes (SXF colours below 4.20, pen widths in 3.00).
TEST(ConvertJww, CircleSolidsKeepEveryFieldAtEveryGeneration) {
  TempDir tmp;
  TJwwData src;
  testing::CircleSolidDrawing(src);
  TEntJwwSolid sxf = testing::CircleSolid(60, 60, 5, 0.7, 0.3, 1, 4, 105);
  sxf.att.nPenWidth = 7;
  testing::ListBuilder(MainList(src)).Add(sxf);
  testing::Finish(src);
  fs::create_directories(tmp.path() / "dst");
  const String path = FromFsPath(tmp.path() / "discs.jww");
  ASSERT_TRUE(src.FileOut(path, 700));
  ASSERT_TRUE(src.FileIn(path));
  const auto fields = [](const TEntJwwSolid& s) {
    return std::vector<double>{s.start_x, s.start_y, s.end_x, s.end_y, s.DPoint2_x, s.DPoint2_y, s.DPoint3_x, s.DPoint3_y};
  };
  for (int index = 0; index < 4; ++index) {
    SCOPED_TRACE(index);
    const String dst = FromFsPath(tmp.path() / "dst" / ("discs" + std::to_string(index) + ".jww"));
    FakeUi ui;
    const FileConversion r = ConvertFile({path, dst, {}}, Target(index), ui);
    ASSERT_EQ(r.outcome, Outcome::kConverted) << ToUtf8(r.note);
    TJwwData out;
    ASSERT_TRUE(out.FileIn(dst));
    const std::vector<TEntJwwSolid>* lists[2][2] = {{&src.EntSolid, &out.EntSolid},
                                                    {&src.EntBlockDef[0].mSolid, &out.EntBlockDef[0].mSolid}};
    for (const auto& pair : lists) {
      ASSERT_EQ(pair[1]->size(), pair[0]->size());
      for (std::size_t i = 0; i < pair[0]->size(); ++i) {
        const TEntJwwSolid &a = (*pair[0])[i], &b = (*pair[1])[i];
        EXPECT_EQ(b.att.nPenStyle, 101);
        EXPECT_EQ(fields(b), fields(a));  // bit for bit: NaN is not among them
        EXPECT_EQ(b.Color, a.Color);
        const bool sxfColour = a.att.nPenColor > 100;
        EXPECT_EQ(b.att.nPenColor, sxfColour && r.targetVersion < 420 ? 4 : a.att.nPenColor);  // SXF yellow: 4
        EXPECT_EQ(b.att.nPenWidth, r.targetVersion < 351 ? 0 : a.att.nPenWidth);
      }
    }
  }
}

}  // namespace
}  // namespace plandown
