// File-system helpers, the copy with time stamps and the folder search, on scratch folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <set>

#include "support/drawing_builder.h"
#include "support/file_bytes.h"
#include "support/full_disk.h"
#include "support/temp_dir.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/search.h"
#include "util/text.h"


namespace plandown {
namespace {
namespace fs = std::filesystem;
using testing::PathIn;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

#ifdef _WIN32
constexpr const char* kNoLinksOnWindows =
    "symbolic links need a privilege on Windows, and wine has no folder links";
#endif

std::vector<std::uint8_t> Pattern(std::size_t n) {
  std::vector<std::uint8_t> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>((i * 7 + i / 251) & 0xFF);
  return v;
}

TEST(FileQueries, FilesFoldersAndMissingPaths) {
  TempDir dir;
  const String file = WriteFileBytes(dir, u"a.jww", "x");
  const String sub = PathIn(dir, u"sub");
  fs::create_directory(ToFsPath(sub));

  EXPECT_TRUE(FileExistsAt(file));
  EXPECT_FALSE(FolderExists(file));
  EXPECT_TRUE(FolderExists(sub));
  EXPECT_TRUE(FolderExists(dir.folder()));  // a trailing separator is fine
  EXPECT_FALSE(FileExistsAt(sub));
  EXPECT_FALSE(FileExistsAt(PathIn(dir, u"missing")));
  EXPECT_FALSE(FolderExists(PathIn(dir, u"missing")));
  EXPECT_FALSE(FileExistsAt(u""));
  EXPECT_FALSE(FolderExists(u""));
  // A NUL must not cut the path down to an existing file.
  EXPECT_FALSE(FileExistsAt(file + std::u16string(1, u'\0') + u"x"));
  EXPECT_EQ(FileSizeAt(file), 1);
  EXPECT_EQ(FileSizeAt(sub), -1);
  EXPECT_EQ(FileSizeAt(PathIn(dir, u"missing")), -1);
}

#ifdef _WIN32
TEST(FileQueries, LinksAreFollowed) { GTEST_SKIP() << kNoLinksOnWindows; }
#else
TEST(FileQueries, LinksAreFollowed) {
  TempDir dir;
  const String file = WriteFileBytes(dir, u"target.jww", "abc");
  fs::create_directory(dir.path() / "folder");
  fs::create_symlink(dir.path() / "target.jww", dir.path() / "link.jww");
  fs::create_directory_symlink(dir.path() / "folder", dir.path() / "dirlink");
  fs::create_symlink(dir.path() / "gone", dir.path() / "broken.jww");

  EXPECT_TRUE(FileExistsAt(PathIn(dir, u"link.jww")));
  EXPECT_EQ(FileSizeAt(PathIn(dir, u"link.jww")), 3);
  EXPECT_TRUE(FolderExists(PathIn(dir, u"dirlink")));
  EXPECT_FALSE(FileExistsAt(PathIn(dir, u"dirlink")));
  EXPECT_FALSE(FileExistsAt(PathIn(dir, u"broken.jww")));
  // Deleting a link deletes the link, not its target; a link to a folder is no folder
  // to remove.
  EXPECT_FALSE(RemoveFolder(PathIn(dir, u"dirlink")));
  EXPECT_TRUE(DeleteFileAt(PathIn(dir, u"link.jww")));
  EXPECT_TRUE(FileExistsAt(file));
  EXPECT_TRUE(FolderExists(PathIn(dir, u"folder")));
}
#endif

TEST(FileChanges, DeleteRemoveAndMakeFolders) {
  TempDir dir;
  const String file = WriteFileBytes(dir, u"a.bak", "x");
  const String empty = PathIn(dir, u"empty");
  const String full = PathIn(dir, u"full");
  fs::create_directory(ToFsPath(empty));
  fs::create_directory(ToFsPath(full));
  WriteFileBytes(dir, u"full/inner.txt", "x");

  EXPECT_FALSE(DeleteFileAt(empty));  // folders are not files
  EXPECT_TRUE(FolderExists(empty));
  EXPECT_TRUE(DeleteFileAt(file));
  EXPECT_FALSE(FileExistsAt(file));
  EXPECT_FALSE(DeleteFileAt(file));  // already gone

  EXPECT_FALSE(RemoveFolder(full));
  EXPECT_TRUE(FileExistsAt(PathIn(dir, u"full/inner.txt")));
  EXPECT_TRUE(RemoveFolder(empty));
  EXPECT_FALSE(FolderExists(empty));
  EXPECT_FALSE(RemoveFolder(empty));
  const String other = WriteFileBytes(dir, u"other.txt", "x");
  EXPECT_FALSE(RemoveFolder(other));
  EXPECT_TRUE(FileExistsAt(other));

  const String nested = PathIn(dir, u"n1") + String(1, PathDelim()) + u"n2" + String(1, PathDelim()) + u"TEMP" +
                        String(1, PathDelim());
  EXPECT_TRUE(MakeFolder(nested));
  EXPECT_TRUE(FolderExists(nested));
  EXPECT_TRUE(MakeFolder(nested));      // already there
  EXPECT_FALSE(MakeFolder(other));      // a file is in the way
  EXPECT_FALSE(MakeFolder(u""));
  EXPECT_FALSE(MakeFolder(std::u16string(u"a\0b", 3)));
}

// "x" is honoured on every platform (the Windows C runtime ignores it in fopen): a file that
// must be new is never opened, let alone truncated, when it exists.
TEST(OpenFileAt, ExclusiveCreateNeverOpensAnExistingFile) {
  TempDir dir;
  const std::string_view kept = "keep", written = "new";
  const String existing = WriteFileBytes(dir, u"a.jww", kept);
  fs::create_directory(dir.path() / "folder");
  for (const char* mode : {"wbx", "w+bx"}) {
    SCOPED_TRACE(mode);
    EXPECT_EQ(OpenFileAt(existing, mode), nullptr);
    EXPECT_EQ(OpenFileAt(PathIn(dir, u"folder"), mode), nullptr);
    EXPECT_EQ(ReadFileBytes(existing), std::vector<std::uint8_t>(kept.begin(), kept.end()));
  }
  const String fresh = PathIn(dir, u"新しい b.jww");
  std::FILE* f = OpenFileAt(fresh, "wbx");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(std::fwrite(written.data(), 1, written.size(), f), written.size());
  EXPECT_EQ(std::fclose(f), 0);
  EXPECT_EQ(ReadFileBytes(fresh), std::vector<std::uint8_t>(written.begin(), written.end()));
}

TEST(SameFile, OneFileOrFolderWhateverItsSpelling) {
  TempDir dir;
  const String file = WriteFileBytes(dir, u"Plan.jww", "abc");
  const String other = WriteFileBytes(dir, u"other.jww", "abc");
  fs::create_directory(dir.path() / "sub");
  const fs::path p = ToFsPath(file);
  EXPECT_TRUE(SameFile(p, p));  // what std::filesystem::equivalent of mingw denies
  EXPECT_TRUE(SameFile(p, dir.path() / "sub" / ".." / "Plan.jww"));
  EXPECT_TRUE(SameFile(dir.path(), dir.path() / "sub" / ".."));
  EXPECT_FALSE(SameFile(p, ToFsPath(other)));
  EXPECT_FALSE(SameFile(p, dir.path() / "missing.jww"));
  EXPECT_FALSE(SameFile(dir.path() / "missing.jww", dir.path() / "missing.jww"));
  EXPECT_FALSE(SameFile(p, {}));
}

TEST(PathIdentity, EqualForEverySpellingOfOnePath) {
  TempDir dir;
  const String file = WriteFileBytes(dir, u"Plan.jww", "abc");
  const String folder = FromFsPath(dir.path());
  const String key = PathIdentity(file);
  EXPECT_EQ(PathIdentity(folder + u"/sub/../Plan.jww"), key);
  EXPECT_EQ(PathIdentity(folder + u"/./Plan.jww"), key);
  EXPECT_EQ(PathIdentity(folder + u"/"), PathIdentity(folder));
  EXPECT_EQ(PathIdentity(folder + u"/new.jww"), PathIdentity(folder + u"/sub/../new.jww"));  // not there yet
  EXPECT_NE(PathIdentity(folder + u"/other.jww"), key);
#ifdef _WIN32
  // Windows' file systems take names without regard to case, and either separator.
  String upper = file;
  for (char16_t& c : upper) c = (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : (c == u'\\' ? u'/' : c);
  EXPECT_EQ(PathIdentity(upper), key);
#else
  EXPECT_NE(PathIdentity(folder + u"/PLAN.JWW"), key);
#endif
}

class CopyWithTimes : public ::testing::TestWithParam<std::size_t> {};

// Nanoseconds a file time keeps: Windows counts 100-ns units.
#ifdef _WIN32
constexpr std::int32_t kTimeResolution = 100;
#else
constexpr std::int32_t kTimeResolution = 1;
#endif

TEST_P(CopyWithTimes, CopiesContentAndTimesOntoAnyDestination) {
  TempDir dir;
  const auto content = Pattern(GetParam());
  const String src = WriteFileBytes(dir, u"a.jww", content);
  const String dst = WriteFileBytes(dir, u"a.BAK", Pattern(20000));  // longer: must be truncated

  FileTimes set;
  set.access = FileTime{true, 1000000000, 123456789};
  set.write = FileTime{true, 900000000, 987654321};
  ASSERT_TRUE(WriteFileTimes(src, set));

  EXPECT_TRUE(CopyFileWithTimes(src, dst));
  // Times first: reading the copy may move its access time.
  FileTimes got;
  ASSERT_TRUE(ReadFileTimes(dst, got));
  EXPECT_EQ(got.write.sec, set.write.sec);
  EXPECT_EQ(got.write.nsec, set.write.nsec / kTimeResolution * kTimeResolution);
  EXPECT_EQ(got.access.sec, set.access.sec);
  EXPECT_EQ(got.access.nsec, set.access.nsec / kTimeResolution * kTimeResolution);
  EXPECT_EQ(ReadFileBytes(dst), content);
  EXPECT_EQ(ReadFileBytes(src), content);
}

// Sizes around the 4096-byte copy block.
INSTANTIATE_TEST_SUITE_P(Sizes, CopyWithTimes, ::testing::Values(0, 1, 4095, 4096, 4097, 3 * 4096 + 17));

TEST(CopyFileWithTimes, RefusalsLeaveEverythingAsItWas) {
  TempDir dir;
  const auto content = Pattern(5000);
  const String src = WriteFileBytes(dir, u"a.jww", content);

  // Missing source: no destination appears.
  EXPECT_FALSE(CopyFileWithTimes(PathIn(dir, u"missing.jww"), PathIn(dir, u"m.BAK")));
  EXPECT_FALSE(FileExistsAt(PathIn(dir, u"m.BAK")));
  // Destination in a folder that does not exist.
  EXPECT_FALSE(CopyFileWithTimes(src, PathIn(dir, u"nofolder/a.BAK")));
  // Destination is a folder.
  fs::create_directory(dir.path() / "d.BAK");
  EXPECT_FALSE(CopyFileWithTimes(src, PathIn(dir, u"d.BAK")));
  EXPECT_TRUE(FolderExists(PathIn(dir, u"d.BAK")));
  // Source and destination are one file, also under another spelling of its path.
  EXPECT_FALSE(CopyFileWithTimes(src, src));
  EXPECT_FALSE(CopyFileWithTimes(src, PathIn(dir, u"sub/../a.jww")));
  fs::create_directory(dir.path() / "sub");
  EXPECT_FALSE(CopyFileWithTimes(src, PathIn(dir, u"sub/../a.jww")));
  EXPECT_EQ(ReadFileBytes(src), content);
}

// Writes fall short part-way through the copy: the partial destination must not be left
// behind.
TEST(CopyFileWithTimes, ShortWriteLeavesTheFormerDestinationAndNoPartialFile) {
  testing::FullDiskPlace place;
  if (!place.unavailable().empty()) GTEST_SKIP() << place.unavailable();
  TempDir dir(place.folder());
  const String src = WriteFileBytes(dir, u"big.jww", Pattern(64 * 1024));
  const String dst = WriteFileBytes(dir, u"big.BAK", "old backup");

  const int copied = place.Run(10000, [&] { return CopyFileWithTimes(src, dst) ? 1 : 0; });

  EXPECT_EQ(copied, 0);
  const std::string_view former = "old backup";
  EXPECT_EQ(ReadFileBytes(dst), std::vector<std::uint8_t>(former.begin(), former.end()));
  EXPECT_EQ(FileSizeAt(src), 64 * 1024);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

#ifdef _WIN32
TEST(CopyFileWithTimes, NonRegularDestinationIsNeverWrittenOrDeleted) {
  GTEST_SKIP() << "a link to a device needs /dev/null and symbolic links, which Windows programs lack";
}
#else
TEST(CopyFileWithTimes, NonRegularDestinationIsNeverWrittenOrDeleted) {
  TempDir dir;
  const String src = WriteFileBytes(dir, u"a.jww", "abc");
  fs::create_symlink("/dev/null", dir.path() / "null.BAK");
  // Writing through the link would "succeed" into a device; refusing keeps the copy honest.
  EXPECT_FALSE(CopyFileWithTimes(src, PathIn(dir, u"null.BAK")));
  EXPECT_TRUE(fs::exists(fs::path("/dev/null")));
}
#endif

std::set<String> Names(const std::vector<TFileField>& rows) {
  std::set<String> names;
  for (const TFileField& r : rows) names.insert(r.name);
  return names;
}

TEST(SearchFolder, MasksPickFilesButNeverFolders) {
  TempDir dir;
  for (std::u16string_view n : {u"a.jww", u"B.JWW", u"c.jws", u"d.jw", u"e.txt", u".hidden.jww", u"図面.jwk"})
    WriteFileBytes(dir, n, "x");
  fs::create_directory(dir.path() / "folder.jww");

  struct Case {
    std::u16string mask;
    std::set<String> names;
  };
  const std::vector<Case> cases = {
      {u"*.jww", {u"a.jww", u"B.JWW", u".hidden.jww"}},
      {u"*.JWW", {u"a.jww", u"B.JWW", u".hidden.jww"}},
      {u"*.jw?", {u"a.jww", u"B.JWW", u"c.jws", u"d.jw", u".hidden.jww", u"図面.jwk"}},
      {u"*", {u"a.jww", u"B.JWW", u"c.jws", u"d.jw", u"e.txt", u".hidden.jww", u"図面.jwk"}},
      {u"*.*", {u"a.jww", u"B.JWW", u"c.jws", u"d.jw", u"e.txt", u".hidden.jww", u"図面.jwk"}},
      {u"*.jwc", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Names(SearchFolder(dir.folder(), c.mask)), c.names) << ToUtf8(c.mask);
    EXPECT_EQ(Names(SearchFolder(FromFsPath(dir.path()), c.mask)), c.names) << "without separator";
  }
  EXPECT_TRUE(SearchFolder(PathIn(dir, u"missing"), u"*").empty());
  EXPECT_TRUE(SearchFolder(PathIn(dir, u"a.jww"), u"*").empty());
  EXPECT_TRUE(SearchFolder(u"", u"*").empty());
}

TEST(SearchFolder, RowsCarrySizeAndLocalWriteTime) {
  TempDir dir;
  const String file = WriteFileBytes(dir, u"a.jww", Pattern(1234));
  std::tm tm{};
  tm.tm_year = 2001 - 1900;
  tm.tm_mon = 1;
  tm.tm_mday = 3;
  tm.tm_hour = 4;
  tm.tm_min = 5;
  tm.tm_sec = 6;
  tm.tm_isdst = -1;
  FileTimes set;
  set.write = FileTime{true, static_cast<std::int64_t>(std::mktime(&tm)), 0};
  ASSERT_TRUE(WriteFileTimes(file, set));

  const auto rows = SearchFolder(dir.folder(), u"*.jww");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].name, u"a.jww");
  EXPECT_EQ(rows[0].size, 1234);
  EXPECT_EQ(rows[0].date, u"2001/02/03");
  EXPECT_EQ(rows[0].time, u"04:05:06");
  EXPECT_FALSE(rows[0].dirf);
}

TEST(SearchFolder, SizeIsTheLow32Bits) {
  TempDir dir;
  const fs::path big = dir.path() / "big.jww";
  WriteFileBytes(dir, u"big.jww", "");
  std::error_code ec;
  fs::resize_file(big, (std::uintmax_t{1} << 32) + 5, ec);  // sparse: no real 4 GiB written
  if (ec) GTEST_SKIP() << "no sparse file: " << ec.message();
  const auto rows = SearchFolder(dir.folder(), u"*");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].size, 5);
}

#ifdef _WIN32
TEST(SearchFolder, LinkedFilesCountLinkedFoldersAndBrokenLinksDoNot) { GTEST_SKIP() << kNoLinksOnWindows; }
#else
TEST(SearchFolder, LinkedFilesCountLinkedFoldersAndBrokenLinksDoNot) {
  TempDir dir;
  WriteFileBytes(dir, u"t.jww", "abc");
  fs::create_directory(dir.path() / "f");
  fs::create_symlink(dir.path() / "t.jww", dir.path() / "l.jww");
  fs::create_directory_symlink(dir.path() / "f", dir.path() / "fl.jww");
  fs::create_symlink(dir.path() / "none", dir.path() / "b.jww");
  EXPECT_EQ(Names(SearchFolder(dir.folder(), u"*.jww")), (std::set<String>{u"t.jww", u"l.jww"}));
}
#endif

TEST(SearchFiles, FillsAndClearsTheSharedList) {
  TempDir dir;
  for (int i = 0; i < 250; ++i) WriteFileBytes(dir, u"f" + IntToText(i) + u".jww", "x");
  WriteFileBytes(dir, u"other.txt", "x");

  SearchFiles(dir.folder(), u"*.jww");
  EXPECT_EQ(FoundCount, 250);
  EXPECT_EQ(FoundFiles.size(), 250u);
  std::set<String> names;
  for (const TFileField& r : FoundFiles) names.insert(r.name);
  EXPECT_EQ(names.size(), 250u);
  EXPECT_TRUE(names.count(u"f249.jww"));

  // A new search starts from an empty list; a failing one leaves it empty.
  SearchFiles(dir.folder(), u"*.txt");
  EXPECT_EQ(FoundCount, 1);
  ASSERT_EQ(FoundFiles.size(), 1u);
  SearchFiles(PathIn(dir, u"missing"), u"*");
  EXPECT_EQ(FoundCount, 0);
  EXPECT_TRUE(FoundFiles.empty());

  SearchFiles(dir.folder(), u"*");
  EXPECT_EQ(FoundCount, 251);
  ClearFoundFiles();
  EXPECT_EQ(FoundCount, 0);
  EXPECT_TRUE(FoundFiles.empty());
}

}  // namespace
}  // namespace plandown
