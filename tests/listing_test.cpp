// The file list: details read from headers, the type filter, row texts, sorting and opening
// a file, on files written by the project's own writers and on hand-made DOS-era headers.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "convert/file_listing.h"
#include "dos/dos_header.h"
#include "support/drawing_builder.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"
#include "util/desktop.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/search.h"

namespace plandown {
namespace {

using testing::PathIn;
using testing::TempDir;
using testing::WriteFileBytes;
using Bytes = std::vector<std::uint8_t>;

// --- Fixtures -------------------------------------------------------------------------

String WriteDrawing(const TempDir& dir, std::u16string_view name, int ver, const String& memo) {
  TJwwData d;
  testing::SampleDrawing(d);
  d.Enthd.strMemo = memo;
  const String path = PathIn(dir, name);
  if (!d.FileOut(path, ver)) throw std::runtime_error("drawing fixture not written");
  return path;
}

String WriteShape(const TempDir& dir, std::u16string_view name, int ver) {
  TJwsData s;
  s.Enthd.jwVer = 700;
  s.EntLgrp.assign(16, {});
  const String path = PathIn(dir, name);
  if (!s.FileOut(path, ver)) throw std::runtime_error("shape fixture not written");
  return path;
}

// A DOS-era header: identification block (identification, then the two comments at 40 and
// 72), then `textBlocks` NUL-padded text blocks. A JWC header needs three text blocks, a
// JWK header one. Every field here is shorter than its room.
Bytes DosHeader(std::u16string_view ident, std::string_view c1, std::string_view c2, int textBlocks) {
  Bytes b(200 * static_cast<std::size_t>(1 + textBlocks), 0);
  const std::string id = ToUtf8(ident);
  std::copy(id.begin(), id.end(), b.begin());
  std::copy(c1.begin(), c1.end(), b.begin() + 40);
  std::copy(c2.begin(), c2.end(), b.begin() + 72);
  for (int k = 1; k <= textBlocks; ++k) b[200 * static_cast<std::size_t>(k)] = '1';
  return b;
}
constexpr std::u16string_view kJwcIdent = dos::kJwcIdent;
constexpr std::u16string_view kJwkIdent = dos::kJwkIdent;
// "図面 1" and "改 A" in code page 932.
constexpr std::string_view kSjisComment1 = "\x90\x7d\x96\xca 1";
constexpr std::string_view kSjisComment2 = "\x89\xfc A";

void SetWriteTime(const String& path, std::int64_t sec) {
  FileTimes t;
  t.write = FileTime{true, sec, 0};
  t.access = t.write;
  ASSERT_TRUE(WriteFileTimes(path, t));
}

std::vector<String> Names(const std::vector<FileListRow>& rows) {
  std::vector<String> n;
  for (const FileListRow& r : rows) n.push_back(r.caption());
  return n;
}
std::vector<String> Names(const FileListing& l) { return Names(l.rows); }

std::vector<String> Sorted(std::vector<String> v) {
  std::sort(v.begin(), v.end());
  return v;
}

FileListRow Row(std::u16string_view name, std::u16string_view size = u"0", std::u16string_view version = u"") {
  FileListRow r;
  r.text[kColumnName] = String(name);
  r.text[kColumnSize] = String(size);
  r.text[kColumnVersion] = String(version);
  return r;
}

// --- Details of one file --------------------------------------------------------------

TEST(FileInfo, ByExtensionFamilyFromTheHeaderOnly) {
  TempDir dir;
  const String memo = u"Plan A^m第1案　仮\\n";
  const String oneLine = u"PlanA第1案仮";
  const Bytes jwc = DosHeader(kJwcIdent, "comment one", "part two", 3);
  const Bytes jwk = DosHeader(kJwkIdent, kSjisComment1, kSjisComment2, 1);
  const Bytes drawing = testing::ReadFileBytes(WriteDrawing(dir, u"src.jww", 600, memo));
  // Only the header is read: the drawing cut to the shortest length whose header reads
  // lists fully, although it no longer reads as a whole.
  std::size_t lo = 0, hi = drawing.size();
  while (lo < hi) {
    const std::size_t mid = (lo + hi) / 2;
    TJwwData probe;
    if (probe.FileHeaderIn(WriteFileBytes(dir, u"probe.jww", Bytes(drawing.begin(), drawing.begin() + mid))))
      hi = mid;
    else
      lo = mid + 1;
  }
  const Bytes headerOnly(drawing.begin(), drawing.begin() + lo);
  ASSERT_LT(headerOnly.size(), drawing.size());
  ASSERT_FALSE(TJwwData().FileIn(WriteFileBytes(dir, u"probe.jww", headerOnly)));

  struct Case {
    std::u16string_view name;
    Bytes bytes;
    std::u16string_view version, memo;
  };
  const std::vector<Case> cases = {
      {u"a.jww", drawing, u"600", oneLine},
      {u"PLAN.BK3", drawing, u"600", oneLine},
      {u"x.bak", drawing, u"600", oneLine},
      {u"x.jw$", drawing, u"600", oneLine},
      {u"x.bk1", drawing, u"600", oneLine},
      {u"x.bk9", drawing, u"600", oneLine},
      {u"x.bk10", drawing, u"600", oneLine},  // between .bk1 and .bk9 in ordinal order
      {u"x.bk5a", drawing, u"600", oneLine},
      {u"cut.jww", headerOnly, u"600", oneLine},
      {u"x.bk0", drawing, u"", u""},
      {u"x.bk9a", drawing, u"", u""},
      {u"drawing.txt", drawing, u"", u""},
      {u"drawing.jws", drawing, u"", u""},  // the shape reader does not take a drawing
      {u"garbled.jww", Bytes(300, 0x41), u"", u""},
      {u"empty.jww", Bytes(), u"", u""},
      {u"x.jwc", jwc, u"DOS", u"commentoneparttwo"},
      {u"X.JWC", jwc, u"DOS", u"commentoneparttwo"},
      {u"x.jwk", jwk, u"DOS", u"図面1改A"},
      {u"shape-as.jwk", jwc, u"", u""},  // a drawing's identification in a shape's name
      {u"short.jwc", Bytes(jwc.begin(), jwc.begin() + 400), u"", u""},
  };
  HeaderDocuments docs;
  for (const Case& c : cases) {
    const String path = WriteFileBytes(dir, c.name, c.bytes);
    const FileInfoText info = GetFileInfo(path, docs);
    EXPECT_EQ(info.version, c.version) << ToUtf8(c.name);
    EXPECT_EQ(info.memo, c.memo) << ToUtf8(c.name);
  }
  EXPECT_EQ(GetFileInfo(PathIn(dir, u"missing.jww")).version, u"");
  EXPECT_EQ(GetFileInfo(dir.folder()).version, u"");
}

TEST(FileInfo, VersionOfEveryWrittenGenerationAndMemoEdges) {
  TempDir dir;
  for (int ver : {700, 600, 420, 351, 300}) {
    const String name = u"d" + FromUtf8(std::to_string(ver)) + u".jww";
    EXPECT_EQ(GetFileInfo(WriteDrawing(dir, name, ver, u"m")).version, FromUtf8(std::to_string(ver)));
  }
  // A shape asked for 3.00 is written as 3.51.
  for (auto [ask, shown] : {std::pair{700, u"700"}, {600, u"600"}, {420, u"420"}, {300, u"351"}}) {
    const String name = u"s" + FromUtf8(std::to_string(ask)) + u".JWS";
    const FileInfoText info = GetFileInfo(WriteShape(dir, name, ask));
    EXPECT_EQ(info.version, shown);
    EXPECT_EQ(info.memo, u"");
  }
  // A memo of line-break markers alone becomes one space, which the blanks removal drops.
  EXPECT_EQ(GetFileInfo(WriteDrawing(dir, u"breaks.jww", 600, u"^m^m\\n")).memo, u"");
  EXPECT_EQ(GetFileInfo(WriteDrawing(dir, u"none.jww", 600, u"")).memo, u"");
  const Bytes blankComments = DosHeader(kJwcIdent, "", "", 3);
  const FileInfoText dos = GetFileInfo(WriteFileBytes(dir, u"blank.jwc", blankComments));
  EXPECT_EQ(dos.version, u"DOS");
  EXPECT_EQ(dos.memo, u"");
}

// --- Listing a folder -----------------------------------------------------------------

class ListingFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteDrawing(dir, u"a.jww", 600, u"memo a");
    WriteShape(dir, u"b.jws", 420);
    WriteFileBytes(dir, u"c.jwc", DosHeader(kJwcIdent, "c one", "c two", 3));
    WriteFileBytes(dir, u"d.jwk", DosHeader(kJwkIdent, "d", "", 1));
    WriteFileBytes(dir, u"e.txt", std::string_view("text"));
    WriteDrawing(dir, u"PLAN.BK3", 351, u"backup");
    std::filesystem::create_directory(dir.path() / "sub.jww");
  }
  TempDir dir;
};

TEST_F(ListingFolder, TypeFilterMasks) {
  struct Case {
    int index;
    std::vector<String> names;
  };
  const std::vector<String> all = {u"PLAN.BK3", u"a.jww", u"b.jws", u"c.jwc", u"d.jwk", u"e.txt"};
  const std::vector<Case> cases = {
      {0, all},
      {1, {u"a.jww", u"b.jws", u"c.jwc", u"d.jwk"}},
      {2, {u"a.jww"}},
      {3, {u"b.jws"}},
      {4, {u"c.jwc"}},
      {5, {u"d.jwk"}},
      {-1, all},  // no entry selected
      {9, all},
  };
  HeaderDocuments docs;
  for (const Case& c : cases) {
    const FileListing l = ListFiles(dir.folder(), c.index, docs);
    EXPECT_TRUE(l.folderExists);
    EXPECT_EQ(Sorted(Names(l)), c.names) << c.index;
  }
  // The entries and masks as the type box shows them.
  EXPECT_EQ(kFileTypeFilters[1].entry, u"Jw_cad ファイル (*.jw?)");
  EXPECT_EQ(kFileTypeFilters[3].entry, u"Jw_cad 図形ファイル (*.jws)");
  EXPECT_EQ(kFileTypeFilters[5].entry, u"JW_CAD 図形ファイル (*.jwk)");
  EXPECT_EQ(FilterMask(1), u"*.jw?");
}

TEST_F(ListingFolder, RowTextsOfEveryColumn) {
  const std::int64_t when = 1600000000;  // 2020-09-13 UTC
  for (const char* n : {"a.jww", "b.jws", "c.jwc", "d.jwk", "e.txt", "PLAN.BK3"}) SetWriteTime(dir.file(n), when);
  char expectedTime[32];
  const std::time_t t = static_cast<std::time_t>(when);
  std::strftime(expectedTime, sizeof expectedTime, "%Y/%m/%d %H:%M:%S", std::localtime(&t));

  // The folder without its trailing separator, as the tree reports it.
  String folder = dir.folder();
  folder.pop_back();
  const FileListing l = ListFiles(folder, 0);
  ASSERT_EQ(l.rows.size(), 6u);
  // Rows come in name order, ASCII letters without regard to case, whatever the folder's own order.
  EXPECT_EQ(Names(l), (std::vector<String>{u"a.jww", u"b.jws", u"c.jwc", u"d.jwk", u"e.txt", u"PLAN.BK3"}));

  struct Expect {
    std::u16string_view type, memo, version;
  };
  const std::vector<std::pair<String, Expect>> expected = {
      {u"a.jww", {u".jww", u"memoa", u"600"}},     {u"b.jws", {u".jws", u"", u"420"}},
      {u"c.jwc", {u".jwc", u"conectwo", u"DOS"}},   {u"d.jwk", {u".jwk", u"d", u"DOS"}},
      {u"e.txt", {u".txt", u"", u""}},              {u"PLAN.BK3", {u".bk3", u"backup", u"351"}},
  };
  for (const auto& entry : expected) {
    const String& name = entry.first;
    const Expect& e = entry.second;
    auto it = std::find_if(l.rows.begin(), l.rows.end(), [&](const FileListRow& r) { return r.caption() == name; });
    ASSERT_NE(it, l.rows.end()) << ToUtf8(name);
    EXPECT_EQ(it->text[kColumnType], e.type) << ToUtf8(name);
    EXPECT_EQ(it->text[kColumnMemo], e.memo) << ToUtf8(name);
    EXPECT_EQ(it->text[kColumnTime], FromUtf8(expectedTime)) << ToUtf8(name);
    EXPECT_EQ(it->text[kColumnSize], FromUtf8(std::to_string(FileSizeAt(dir.folder() + name)))) << ToUtf8(name);
    EXPECT_EQ(it->text[kColumnVersion], e.version) << ToUtf8(name);
  }
  EXPECT_EQ(ListingStatusText(l), u"ファイル検索しました（ファイル数：6）");
}

TEST(Listing, MissingOrEmptyFolder) {
  TempDir dir;
  const FileListing missing = ListFiles(dir.folder() + u"nowhere", 0);
  EXPECT_FALSE(missing.folderExists);
  EXPECT_TRUE(missing.rows.empty());
  EXPECT_EQ(ListingStatusText(missing), u"参照フォルダが存在しません。");
  // No folder chosen yet: nothing is listed and nothing is said.
  const FileListing none = ListFiles(u"", 0);
  EXPECT_FALSE(none.folderExists);
  EXPECT_EQ(ListingStatusText(none), u"");
  // A file is no folder to list.
  EXPECT_FALSE(ListFiles(WriteFileBytes(dir, u"f.jww", std::string_view("x")), 0).folderExists);

  std::filesystem::create_directory(dir.path() / "empty");
  const FileListing empty = ListFiles(FromFsPath(dir.path() / "empty"), 2);
  EXPECT_TRUE(empty.folderExists);
  EXPECT_TRUE(empty.rows.empty());
  EXPECT_EQ(ListingStatusText(empty), u"ファイル検索しました（ファイル数：0）");
}

TEST(Listing, SizesBeyondThirtyTwoBits) {
  TempDir dir;
  const String path = PathIn(dir, u"huge.jww");
  {
    std::ofstream(ToFsPath(path)) << "x";
  }
  std::error_code ec;
  // Sparse where the file system allows; skip where it cannot hold the size.
  std::filesystem::resize_file(ToFsPath(path), (std::uint64_t{1} << 32) + 5, ec);
  if (ec) GTEST_SKIP() << "the scratch file system cannot hold a 4 GiB file";
  const FileListing l = ListFiles(dir.folder(), 0);
  ASSERT_EQ(l.rows.size(), 1u);
  EXPECT_EQ(l.rows[0].text[kColumnSize], u"4294967301");
  EXPECT_EQ(l.rows[0].text[kColumnVersion], u"");
}

// --- Sorting --------------------------------------------------------------------------

TEST(ListSort, TextComparisonFoldsOnlyAsciiLetters) {
  struct Case {
    std::u16string_view a, b;
    int sign;
  };
  const std::vector<Case> cases = {
      {u"abc", u"ABC", 0},
      {u"a", u"B", -1},
      {u"B", u"a", 1},
      {u"ax", u"_x", -1},  // folded to upper case: "A" (0x41) sorts before "_" (0x5F)
      {u"ab", u"abc", -1},
      {u"", u"", 0},
      {u"ä", u"Ä", 1},    // beyond ASCII the units compare as they are
      {u"ａ", u"Ａ", 1},  // full-width letters too
      {u"図面", u"図形", 1},
  };
  for (const Case& c : cases) {
    const int r = CompareTextAscii(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << ToUtf8(c.a) << " vs " << ToUtf8(c.b);
  }
}

TEST(ListSort, ClicksFlipTheDirectionWhicheverColumn) {
  std::vector<FileListRow> rows = {Row(u"b.jww", u"1000"), Row(u"A.jww", u"999"), Row(u"c.jww", u"20")};
  FileListSort sort;
  EXPECT_EQ(sort.Sort1, -1);
  EXPECT_EQ(sort.Sort2, 0);

  sort.ColumnClick(kColumnSize, rows);  // first click: descending
  EXPECT_EQ(Names(rows), (std::vector<String>{u"b.jww", u"A.jww", u"c.jww"}));
  sort.ColumnClick(kColumnSize, rows);  // ascending, by magnitude: 20, 999, 1000
  EXPECT_EQ(Names(rows), (std::vector<String>{u"c.jww", u"A.jww", u"b.jww"}));
  sort.ColumnClick(kColumnName, rows);  // another column continues the toggle: descending
  EXPECT_EQ(sort.Sort1, kColumnName);
  EXPECT_EQ(sort.Sort2, 1);
  EXPECT_EQ(Names(rows), (std::vector<String>{u"c.jww", u"b.jww", u"A.jww"}));

  // Without the padding the text 999 would sort after 1000.
  FileListSort asc;
  asc.Sort1 = kColumnSize;
  EXPECT_LT(asc.Compare(Row(u"x", u"999"), Row(u"y", u"1000")), 0);
  EXPECT_GT(asc.Compare(Row(u"x", u"1000"), Row(u"y", u"999")), 0);
  EXPECT_EQ(asc.Compare(Row(u"x", u"42"), Row(u"y", u"42")), 0);
  // Padding is for the size column only.
  asc.Sort1 = kColumnVersion;
  EXPECT_GT(asc.Compare(Row(u"x", u"0", u"99"), Row(u"y", u"0", u"700")), 0);
}

TEST(ListSort, EqualRowsKeepTheirOrderAndDatesSortAsText) {
  std::vector<FileListRow> rows;
  const std::vector<std::u16string_view> times = {u"2021/01/02 10:00:00", u"2020/12/31 23:59:59",
                                                 u"2021/01/02 09:59:59", u"2020/12/31 23:59:59"};
  for (std::size_t i = 0; i < times.size(); ++i) {
    FileListRow r = Row(FromUtf8(std::to_string(i)));
    r.text[kColumnTime] = String(times[i]);
    rows.push_back(r);
  }
  FileListSort sort;
  sort.Sort2 = 1;  // the next click sorts ascending
  sort.ColumnClick(kColumnTime, rows);
  EXPECT_EQ(Names(rows), (std::vector<String>{u"1", u"3", u"2", u"0"}));
}

// --- Opening a file -------------------------------------------------------------------

TEST(OpenFile, RefusalsAndTheOpenedPath) {
  TempDir dir;
  const FileListRow row = Row(u"図面 1.jww");
  const FileListRow blank = Row(u"");
  std::vector<String> opened;
  const FileOpener opener = [&](const String& p) {
    opened.push_back(p);
    return true;
  };
  struct Case {
    String folder;
    const FileListRow* current;
    bool beep, box;
    std::u16string_view status;
  };
  const std::vector<Case> cases = {
      {u"", &row, true, true, u"参照フォルダを指定して下さい。"},
      {u" \t　", &row, true, true, u"参照フォルダを指定して下さい。"},
      {dir.folder() + u"missing", &row, false, true, u"参照フォルダが存在しません。"},
      {dir.folder(), nullptr, false, true, u"ファイルを指示して下さい。"},
      {dir.folder(), &blank, false, false, u"ファイルを指示して下さい。"},
  };
  for (const Case& c : cases) {
    const OpenFileOutcome o = OpenCurrentFile(c.folder, c.current, opener);
    EXPECT_EQ(o.beep, c.beep) << ToUtf8(c.status);
    EXPECT_EQ(o.messageBox, c.box) << ToUtf8(c.status);
    EXPECT_EQ(o.statusText, c.status);
    EXPECT_TRUE(o.opened.empty());
  }
  EXPECT_TRUE(opened.empty());

  // The file is gone: said so, and nothing is handed to the desktop.
  const OpenFileOutcome missing = OpenCurrentFile(dir.folder(), &row, opener);
  EXPECT_TRUE(missing.openFailed);
  EXPECT_TRUE(missing.messageBox);
  EXPECT_EQ(missing.statusText, u"ファイル「" + dir.folder() + u"図面 1.jww」が見つかりません。削除されたか、名前が変更された可能性があります。");
  EXPECT_TRUE(opened.empty());

  WriteFileBytes(dir, u"図面 1.jww", Bytes{});
  // With and without a trailing separator the path has exactly one.
  String bare = dir.folder();
  bare.pop_back();
  for (const String& folder : {bare, dir.folder()}) {
    const OpenFileOutcome o = OpenCurrentFile(folder, &row, opener);
    const String path = dir.folder() + u"図面 1.jww";
    EXPECT_FALSE(o.beep);
    EXPECT_FALSE(o.messageBox);
    EXPECT_EQ(o.opened, path);
    EXPECT_EQ(o.statusText, u"ファイル「" + path + u"」");
  }
  EXPECT_EQ(opened.size(), 2u);
  // When the desktop cannot open the file, a message and the status say so.
  const OpenFileOutcome failed = OpenCurrentFile(dir.folder(), &row, [](const String&) { return false; });
  EXPECT_TRUE(failed.openFailed);
  EXPECT_TRUE(failed.messageBox);
  EXPECT_FALSE(failed.beep);
  EXPECT_EQ(failed.statusText, u"ファイル「" + dir.folder() +
                                   u"図面 1.jww」を開けませんでした。この種類のファイルを開くアプリケーションが見つかりません。");
}

#ifdef _WIN32
TEST(DefaultAppOpener, PassesThePathAsOneArgumentWithoutAShell) {
  GTEST_SKIP() << "on Windows the shell opens the file (ShellExecuteW); no stand-in opener can be put in its place";
}
#else
// Runs the opener with a stand-in "xdg-open" first on PATH that records its arguments.
class DefaultAppOpener : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("PATH");
    oldPath_ = old ? old : "";
    record_ = dir.path() / "args.txt";
    const std::filesystem::path script = dir.path() / "xdg-open";
    // Only shell built-ins and absolute paths: PATH holds nothing but this folder.
    std::ofstream(script) << "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" << record_.string()
                          << ".part'\n/bin/mv '" << record_.string() << ".part' '" << record_.string() << "'\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    setenv("PATH", dir.path().c_str(), 1);
  }
  void TearDown() override { setenv("PATH", oldPath_.c_str(), 1); }

  // The recorded arguments, waiting up to ten seconds for the detached opener.
  std::string Recorded() {
    for (int i = 0; i < 1000 && !std::filesystem::exists(record_); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(record_);
    std::string s((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(record_);
    return s;
  }

  TempDir dir;
  std::string oldPath_;
  std::filesystem::path record_;
};

TEST_F(DefaultAppOpener, PassesThePathAsOneArgumentWithoutAShell) {
  struct Case {
    String path;
    std::string args;
  };
  const std::vector<Case> cases = {
      {u"/tmp/図面 1; echo x $(id).jww", "1|/tmp/図面 1; echo x $(id).jww|"},
      {u"-rf.jww", "1|./-rf.jww|"},  // not taken for an option
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(OpenWithDefaultApp(c.path));
    EXPECT_EQ(Recorded(), c.args);
  }
  EXPECT_FALSE(OpenWithDefaultApp(u""));
  EXPECT_FALSE(OpenWithDefaultApp(String(u"a\0b", 3)));
  setenv("PATH", (dir.path() / "nothing-here").c_str(), 1);
  EXPECT_FALSE(OpenWithDefaultApp(u"/tmp/a.jww"));
}

TEST_F(DefaultAppOpener, AnOpenerThatFailsIsReportedOneThatKeepsRunningIsNot) {
  // The opener's answer: an exit status, or still running (an application it started in
  // the foreground).
  const std::filesystem::path script = dir.path() / "xdg-open";
  for (const auto& [body, opened] : {std::pair{"exit 3", false}, {"exit 0", true}, {"exec /bin/sleep 5", true}}) {
    std::ofstream(script, std::ios::trunc) << "#!/bin/sh\n" << body << "\n";
    EXPECT_EQ(OpenWithDefaultApp(u"/tmp/a.jww"), opened) << body;
  }
}
#endif

// --- The shared corpus ----------------------------------------------------------------

TEST(ListingCorpus, EveryDrawingAndShapeShowsItsVersion) {
  const std::filesystem::path corpus = testing::CorpusDir();
  if (corpus.empty()) GTEST_SKIP() << "corpus folder ../shared/corpus/jw_cad not present; nothing to list";
  std::vector<std::filesystem::path> folders = {corpus};
  for (const auto& e : std::filesystem::recursive_directory_iterator(corpus))
    if (e.is_directory()) folders.push_back(e.path());
  HeaderDocuments docs;
  std::size_t checked = 0;
  for (const std::filesystem::path& folder : folders) {
    const FileListing l = ListFiles(FromFsPath(folder), 1, docs);
    ASSERT_TRUE(l.folderExists);
    std::set<String> listed;
    for (const FileListRow& r : l.rows) {
      listed.insert(r.caption());
      const String& ext = r.text[kColumnType];
      if (ext != u".jww" && ext != u".jws") continue;
      const int ver = std::atoi(ToUtf8(r.text[kColumnVersion]).c_str());
      const int lowest = ext == u".jww" ? 220 : 230;
      EXPECT_TRUE(ver >= lowest && ver <= 700) << ToUtf8(FromFsPath(folder / ToFsPath(r.caption())))
                                               << " version \"" << ToUtf8(r.text[kColumnVersion]) << "\"";
      ++checked;
    }
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
      if (!e.is_regular_file()) continue;
      const String name = FromFsPath(e.path().filename());
      const String ext = LowerExt(name);
      if (ext == u".jww" || ext == u".jws") {
        EXPECT_TRUE(listed.count(name)) << ToUtf8(name) << " not listed";
      }
    }
  }
  EXPECT_GT(checked, 0u);
}

}  // namespace
}  // namespace plandown
