// Files that another program holds open (Windows share modes, as when the CAD program has a
// drawing open): they are refused or fail with that reason, never as unreadable files or
// bare write failures, and nothing is left behind. On Windows the file is held for real;
// elsewhere, where no share modes exist, the platform layer is told to hold it.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "cli/info_command.h"
#include "cli/result_text.h"
#include "convert/conversion_report.h"
#include "convert/convert_file.h"
#include "convert/file_listing.h"
#include "convert/result_rows.h"
#include "convert/status_texts.h"
#include "support/file_text.h"
#include "support/plan_drawing.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "util/file_failure.h"
#include "util/files.h"
#include "util/paths.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace plandown {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Holds a file as another program does that opens it with no sharing (or, on Windows, that
// lets others read it), until destroyed.
class HeldFile {
 public:
  explicit HeldFile(const fs::path& p, bool othersMayRead = false) {
#ifdef _WIN32
    handle_ = CreateFileW(p.c_str(), GENERIC_READ | GENERIC_WRITE, othersMayRead ? FILE_SHARE_READ : 0, nullptr,
                          OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(handle_, INVALID_HANDLE_VALUE) << p;
#else
    (void)othersMayRead;
    HoldFileAsAnotherProgram(FromFsPath(p));
#endif
  }
  ~HeldFile() {
#ifdef _WIN32
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
#else
    ReleaseHeldFiles();
#endif
  }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

 private:
#ifdef _WIN32
  HANDLE handle_ = INVALID_HANDLE_VALUE;
#endif
};

bool TemporaryFilesLeft(const fs::path& dir) {
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (e.path().filename().string().find(".plandown-") != std::string::npos) return true;
  return false;
}

TEST(FileFailure, SharingAndLockViolationsMeanInUse) {
  const struct {
    std::uint32_t code;
    FileFailure kind;
  } cases[] = {
      {0, FileFailure::kNone},     {32, FileFailure::kInUse},   // ERROR_SHARING_VIOLATION
      {33, FileFailure::kInUse},                                 // ERROR_LOCK_VIOLATION
      {5, FileFailure::kOther},    {2, FileFailure::kOther},    // access denied, not found
      {112, FileFailure::kOther},  {0xFFFFFFFFu, FileFailure::kOther},
  };
  for (const auto& c : cases) EXPECT_EQ(FileFailureOfWindowsError(c.code), c.kind) << c.code;
}

TEST(FileFailure, HeldFileCannotBeOpenedReplacedOrDeleted) {
  TempDir tmp;
  const fs::path held = tmp.path() / "held.jww";
  WriteBytes(held, "held");
  WriteBytes(tmp.path() / "free.jww", "free");
  WriteBytes(tmp.path() / "new.tmp", "new");
  const String heldPath = FromFsPath(held);
  {
    HeldFile holder(held);
    for (const char* mode : {"rb", "wb", "r+b"}) {
      EXPECT_EQ(OpenFileAt(heldPath, mode), nullptr) << mode;
      EXPECT_EQ(LastFileFailure(), FileFailure::kInUse) << mode;
    }
    EXPECT_FALSE(RenameFileOver(FromFsPath(tmp.path() / "new.tmp"), heldPath));
    EXPECT_EQ(LastFileFailure(), FileFailure::kInUse);
    EXPECT_FALSE(DeleteFileAt(heldPath));
    // Every other file is as before; each open tells its own outcome.
    std::FILE* f = OpenFileAt(FromFsPath(tmp.path() / "free.jww"), "rb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_EQ(LastFileFailure(), FileFailure::kNone);
    EXPECT_EQ(OpenFileAt(FromFsPath(tmp.path() / "missing.jww"), "rb"), nullptr);
    EXPECT_EQ(LastFileFailure(), FileFailure::kOther);
  }
  EXPECT_EQ(ReadBytes(held), "held");
  EXPECT_TRUE(RenameFileOver(FromFsPath(tmp.path() / "new.tmp"), heldPath));
  EXPECT_EQ(ReadBytes(held), "new");
}

// A held source is refused and a held destination fails, each with its own reason, in the
// result, the window's rows, the command line's summary and the report; the source is
// untouched, the held destination kept, and no other file is left.
TEST(FileInUse, HeldSourceIsRefusedAndHeldDestinationFailsWithThatReason) {
  TempDir tmp;
  const fs::path src = tmp.path() / "src", dst = tmp.path() / "dst";
  fs::create_directories(src);
  fs::create_directories(dst);
  for (const char* name : {"a.jww", "b.jww"}) ASSERT_TRUE(testing::WritePlan(FromFsPath(src / name), 700));
  WriteBytes(dst / "b.jww", "former b");
  const std::string sourceA = ReadBytes(src / "a.jww"), sourceB = ReadBytes(src / "b.jww");

  std::vector<FileConversion> results;
  SilentConversionUi ui;
  {
    HeldFile heldSource(src / "a.jww");
    results.push_back(ConvertFile({FromFsPath(src / "a.jww"), FromFsPath(dst / "a.jww")}, {}, ui));
  }
  {
    HeldFile heldDestination(dst / "b.jww");
    results.push_back(ConvertFile({FromFsPath(src / "b.jww"), FromFsPath(dst / "b.jww")}, {}, ui));
  }
  const FileConversion& a = results[0];
  const FileConversion& b = results[1];

  EXPECT_EQ(a.outcome, Outcome::kRefused);
  EXPECT_EQ(a.refusal, Refusal::kInUse);
  EXPECT_EQ(a.note, SourceInUseText(FromFsPath(src / "a.jww")));
  EXPECT_EQ(b.outcome, Outcome::kFailed);
  EXPECT_TRUE(b.destinationInUse);
  EXPECT_EQ(b.note, DestinationInUseText(FromFsPath(dst / "b.jww")));
  EXPECT_EQ(SourceInUseText(u"x.jww"),
            u"ファイル「x.jww」は他のプログラムが使用中ですので変換しませんでした。閉じてからもう一度試して下さい。");
  EXPECT_EQ(DestinationInUseText(u"x.jww"),
            u"ファイル「x.jww」は他のプログラムが使用中ですので書き込めませんでした。閉じてからもう一度試して下さい。");

  // Nothing written, nothing left; the sources untouched and the held file as it was.
  EXPECT_FALSE(fs::exists(dst / "a.jww"));
  EXPECT_EQ(ReadBytes(dst / "b.jww"), "former b");
  EXPECT_EQ(ReadBytes(src / "a.jww"), sourceA);
  EXPECT_EQ(ReadBytes(src / "b.jww"), sourceB);
  EXPECT_FALSE(TemporaryFilesLeft(tmp.path()));

  // The window's rows show the notes; the command line's summary and report the reasons.
  const std::vector<ResultRow> rows = ResultRows(results);
  EXPECT_EQ(rows[0].note, a.note);
  EXPECT_NE(rows[0].text[kResultDetail].find(u"他のプログラムが使用中"), String::npos);
  EXPECT_EQ(rows[1].text[kResultOutcome], kFailedLabel);
  EXPECT_NE(rows[1].text[kResultDetail].find(u"他のプログラムが使用中"), String::npos);
  EXPECT_EQ(cli::NotDoneReason(a), "used by another program: close it and try again");
  EXPECT_EQ(cli::NotDoneReason(b), "destination used by another program: close it and try again");
  std::ostringstream report;
  WriteConversionReport(report, {}, results);
  EXPECT_NE(report.str().find("\"refusal\": \"used by another program\""), std::string::npos) << report.str();
  EXPECT_NE(report.str().find("\"failure\": \"destination used by another program\""), std::string::npos);

  // Once the other program lets go, the same files convert.
  EXPECT_TRUE(ConvertFile({FromFsPath(src / "a.jww"), FromFsPath(dst / "a.jww")}, {}, ui).Written());
  EXPECT_TRUE(ConvertFile({FromFsPath(src / "b.jww"), FromFsPath(dst / "b.jww")}, {}, ui).Written());
}

// `info` and the folder listing never call a held file unrecognised or give it a version.
TEST(FileInUse, InfoAndListingDoNotCallAHeldFileUnrecognised) {
  TempDir tmp;
  const fs::path plan = tmp.path() / "plan.jww";
  ASSERT_TRUE(testing::WritePlan(FromFsPath(plan), 700));
  HeldFile holder(plan);
  const cli::FileInfo info = cli::DescribeFile(FromFsPath(plan));
  EXPECT_TRUE(info.inUse);
  std::ostringstream text, json;
  cli::PrintInfoText(text, info);
  EXPECT_NE(text.str().find("  read:        used by another program: close it and try again\n"), std::string::npos)
      << text.str();
  EXPECT_EQ(text.str().find("recognised"), std::string::npos) << text.str();
  cli::PrintInfoJson(json, {info});
  EXPECT_NE(json.str().find("\"in_use\": true"), std::string::npos) << json.str();
  EXPECT_NE(json.str().find("\"recognised\": null"), std::string::npos) << json.str();
  EXPECT_TRUE(GetFileInfo(FromFsPath(plan)).version.empty());
}

#ifdef _WIN32
// The programs themselves, with the file held by this one.
TEST(FileInUse, CommandLineNamesTheReason) {
  TempDir tmp;
  fs::create_directories(tmp.path() / "out");
  ASSERT_TRUE(testing::WritePlan(FromFsPath(tmp.path() / "plan.jww"), 700));
  HeldFile holder(tmp.path() / "plan.jww");
  const testing::CliRun converted = testing::RunPlandown(tmp.path(), {"convert", "--out", "out", "plan.jww"});
  EXPECT_NE(converted.status, 0);
  EXPECT_NE(converted.out.find("plan.jww: used by another program: close it and try again"), std::string::npos)
      << converted.out;
  EXPECT_TRUE(fs::is_empty(tmp.path() / "out"));
  const testing::CliRun info = testing::RunPlandown(tmp.path(), {"info", "plan.jww"});
  EXPECT_NE(info.out.find("read:        used by another program: close it and try again"), std::string::npos)
      << info.out;
}

// A destination the other program lets others read is backed up, but neither replaced nor
// deleted after the failed write.
TEST(FileInUse, DestinationThatOthersMayReadIsKept) {
  TempDir tmp;
  fs::create_directories(tmp.path() / "out");
  ASSERT_TRUE(testing::WritePlan(FromFsPath(tmp.path() / "plan.jww"), 700));
  WriteBytes(tmp.path() / "out" / "plan.jww", "former");
  {
    HeldFile holder(tmp.path() / "out" / "plan.jww", true);
    const testing::CliRun r = testing::RunPlandown(tmp.path(), {"convert", "--out", "out", "plan.jww"});
    EXPECT_NE(r.out.find("plan.jww: destination used by another program: close it and try again"), std::string::npos)
        << r.out;
  }
  EXPECT_EQ(ReadBytes(tmp.path() / "out" / "plan.jww"), "former");
  EXPECT_FALSE(TemporaryFilesLeft(tmp.path()));
}
#endif

}  // namespace
}  // namespace plandown
