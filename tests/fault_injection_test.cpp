// Faults from outside while files convert: a destination folder that vanishes, is replaced
// or refuses writes, a disk that fills up, sources deleted after they were listed, images
// that cannot be placed. Whatever happens, nothing crashes, no file is reported converted
// unless it reads back complete, and the sources and the existing backups stay as they were.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>

#include "convert/conversion_run.h"
#include "convert/convert_file.h"
#include "convert/file_listing.h"
#include "images/image_convert.h"
#include "jww/jww_data.h"
#include "support/drawing_builder.h"
#include "support/file_text.h"
#include "support/full_disk.h"
#include "support/image_fixtures.h"
#include "support/plan_drawing.h"
#include "support/temp_dir.h"
#include "util/paths.h"

#ifndef _WIN32
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace plandown {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Runs a fault at a chosen moment of a run: when file k starts (between files) or when its
// progress text is shown (inside its conversion, before anything is written). At the end
// of every file it notes whether the file's destination reads back complete.
class FaultUi final : public ConversionUi {
 public:
  explicit FaultUi(std::vector<fs::path> destinations) : destinations_(std::move(destinations)) {}
  std::function<void(int)> beforeFile;  // file index from 0
  std::function<void(int)> inFile;

  void FileStarted() override {
    progressDue_ = true;
    if (beforeFile) beforeFile(file_);
  }
  void Status(const String&) override {
    if (!progressDue_) return;
    progressDue_ = false;
    if (inFile) inFile(file_);
  }
  void Message(const String&) override {}
  void FileFinished() override {
    TJwwData back;
    completeAtEnd.push_back(back.FileIn(FromFsPath(destinations_[static_cast<std::size_t>(file_)])));
    ++file_;
  }
  std::vector<bool> completeAtEnd;

 private:
  std::vector<fs::path> destinations_;
  int file_ = 0;
  bool progressDue_ = false;
};

std::map<fs::path, std::string> Snapshot(const fs::path& dir) {
  std::map<fs::path, std::string> files;
  std::error_code ec;
  for (const auto& e : fs::recursive_directory_iterator(dir, ec))
    if (e.is_regular_file()) files[e.path()] = ReadBytes(e.path());
  return files;
}

bool TemporaryFilesLeft(const fs::path& dir) {
  std::error_code ec;
  for (const auto& e : fs::recursive_directory_iterator(dir, ec))
    if (e.path().filename().string().find(".plandown-") != std::string::npos) return true;
  return false;
}

// Three drawings a, b, c in src/; in dst/ b has a former destination and an older backup.
struct Batch {
  TempDir tmp;
  fs::path src = tmp.path() / "src";
  fs::path dst = tmp.path() / "dst";
  std::vector<String> sources;
  std::vector<fs::path> destinations;
  std::map<fs::path, std::string> sourcesBefore, backupsBefore, formerBefore;

  Batch() {
    fs::create_directories(src);
    fs::create_directories(dst);
    for (const char* name : {"a.jww", "b.jww", "c.jww"}) {
      EXPECT_TRUE(testing::WritePlan(FromFsPath(src / name), 700));
      sources.push_back(FromFsPath(src / name));
      destinations.push_back(dst / name);
    }
    WriteBytes(dst / "b.jww", "former b");
    WriteBytes(dst / "b.BAK", "older backup of b");
    sourcesBefore = Snapshot(src);
    backupsBefore = {{dst / "b.BAK", ReadBytes(dst / "b.BAK")}};
    formerBefore = {{dst / "b.jww", "former b"}};
  }

  // The promises every faulty run keeps.
  void ExpectPromisesKept(const ConversionRun& run, const FaultUi& ui, const std::set<fs::path>& touchedSources = {}) const {
    const auto& results = run.Results();
    int written = 0;
    for (std::size_t k = 0; k < results.size(); ++k) {
      const FileConversion& r = results[k];
      SCOPED_TRACE(ToFsPath(r.source).filename().string());
      if (r.Written()) {
        ++written;
        ASSERT_LT(k, ui.completeAtEnd.size());
        EXPECT_TRUE(ui.completeAtEnd[k]) << "reported converted, but the file was not complete";
        continue;
      }
      const fs::path d = ToFsPath(r.destination);
      // Not written: no file at the destination, or the former one as it was.
      if (fs::exists(d) && fs::is_regular_file(d)) {
        ASSERT_TRUE(formerBefore.contains(d)) << "a file was left at a destination that was not written";
        EXPECT_EQ(ReadBytes(d), formerBefore.at(d));
      }
      if (!r.backup.empty()) {
        EXPECT_EQ(ReadBytes(ToFsPath(r.backup)), formerBefore.at(d));
      }
    }
    EXPECT_EQ(run.WrittenCount(), written);
    for (const auto& [path, bytes] : sourcesBefore)
      if (!touchedSources.contains(path)) {
        EXPECT_EQ(ReadBytes(path), bytes) << path;
      }
    // An older backup is replaced only by a complete copy of the destination it keeps.
    for (const auto& [path, bytes] : backupsBefore) {
      if (!fs::is_directory(dst)) continue;
      const std::string now = ReadBytes(path);
      if (now != bytes) {
        EXPECT_EQ(now, formerBefore.at(dst / "b.jww")) << path;
      }
    }
    EXPECT_FALSE(TemporaryFilesLeft(tmp.path()));
  }
};

std::vector<Outcome> Outcomes(const ConversionRun& run) {
  std::vector<Outcome> out;
  for (const FileConversion& r : run.Results()) out.push_back(r.outcome);
  return out;
}

constexpr Outcome kOk = Outcome::kConverted;
constexpr Outcome kFail = Outcome::kFailed;
constexpr Outcome kRefused = Outcome::kRefused;

void RemoveFolder(const fs::path& p) { fs::remove_all(p); }
void FileInPlaceOfFolder(const fs::path& p) {
  fs::remove_all(p);
  WriteBytes(p, "not a folder");
}

TEST(FaultInjection, DestinationAndSourcesChangingDuringARun) {
  struct Case {
    const char* name;
    std::function<void(Batch&, FaultUi&)> arm;
    std::vector<Outcome> outcomes;
    std::set<std::string> touched;  // sources the fault itself changes
  };
  const Case cases[] = {
      {"destination folder removed between files",
       [](Batch& b, FaultUi& ui) { ui.beforeFile = [&b](int k) { if (k == 1) RemoveFolder(b.dst); }; },
       {kOk, kFail, kFail}},
      {"destination folder removed while a file converts",
       [](Batch& b, FaultUi& ui) { ui.inFile = [&b](int k) { if (k == 1) RemoveFolder(b.dst); }; },
       {kOk, kFail, kFail}},
      {"a file in place of the destination folder",
       [](Batch& b, FaultUi& ui) { ui.beforeFile = [&b](int k) { if (k == 1) FileInPlaceOfFolder(b.dst); }; },
       {kOk, kFail, kFail}},
      {"a folder in place of a destination file",
       [](Batch& b, FaultUi& ui) {
         ui.inFile = [&b](int k) {
           if (k != 2) return;
           fs::create_directories(b.dst / "c.jww" / "inside");
         };
       },
       {kOk, kOk, kFail}},
      {"source deleted before its turn",
       [](Batch& b, FaultUi& ui) { ui.beforeFile = [&b](int k) { if (k == 0) fs::remove(b.src / "b.jww"); }; },
       {kOk, kRefused, kOk},
       {"b.jww"}},
      {"source deleted as its conversion starts",
       [](Batch& b, FaultUi& ui) { ui.inFile = [&b](int k) { if (k == 1) fs::remove(b.src / "b.jww"); }; },
       {kOk, kRefused, kOk},
       {"b.jww"}},
      {"a folder in place of a source",
       [](Batch& b, FaultUi& ui) {
         ui.beforeFile = [&b](int k) {
           if (k != 1) return;
           fs::remove(b.src / "b.jww");
           fs::create_directories(b.src / "b.jww");
         };
       },
       {kOk, kRefused, kOk},
       {"b.jww"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Batch b;
    FaultUi ui(b.destinations);
    c.arm(b, ui);
    ConversionRun run(ConversionSettings{}, ui);
    for (const String& s : b.sources) run.Convert(s, FromFsPath(b.dst));
    EXPECT_EQ(Outcomes(run), c.outcomes);
    std::set<fs::path> touched;
    for (const std::string& t : c.touched) touched.insert(b.src / t);
    b.ExpectPromisesKept(run, ui, touched);
    if (fs::is_directory(b.dst / "c.jww")) {
      EXPECT_TRUE(fs::is_directory(b.dst / "c.jww" / "inside"));
    }
    if (fs::is_regular_file(b.dst)) {
      EXPECT_EQ(ReadBytes(b.dst), "not a folder");
    }
  }
}

TEST(FaultInjection, SourcesListedThenDeletedAreRefusedAndTheirDestinationsKept) {
  Batch b;
  const FileListing listing = ListFiles(AddPathDelim(FromFsPath(b.src)), 0);
  ASSERT_EQ(listing.rows.size(), 3u);
  fs::remove(b.src / "b.jww");
  FaultUi ui(b.destinations);
  ConversionRun run(ConversionSettings{}, ui);
  for (const FileListRow& row : listing.rows) run.Convert(FromFsPath(b.src) + u"/" + row.caption(), FromFsPath(b.dst));
  std::map<String, Outcome> byName;
  for (const FileConversion& r : run.Results()) byName[ExtractName(r.source)] = r.outcome;
  EXPECT_EQ(byName, (std::map<String, Outcome>{{u"a.jww", kOk}, {u"b.jww", kRefused}, {u"c.jww", kOk}}));
  EXPECT_EQ(ReadBytes(b.dst / "b.jww"), "former b");
  EXPECT_EQ(ReadBytes(b.dst / "b.BAK"), "older backup of b");
  EXPECT_EQ(run.Finish(), u"2個のファイルを変換しました。");
}

#ifdef _WIN32
TEST(FaultInjection, ReadOnlyDestinationFolderFailsTheRestOfTheRun) {
  GTEST_SKIP() << "a Windows folder cannot be made read-only by its attributes, and wine enforces no access lists";
}
#else
// Runs `body` where folder permissions hold: as it is for an ordinary user; as root (whose
// writes permissions do not stop) in a child process that has become the unprivileged
// user "nobody". The child's failures are printed by the child and fail this test.
void WithPermissionsEnforced(const std::function<void()>& body) {
  if (geteuid() != 0) {
    body();
    return;
  }
  constexpr int kCannotDrop = 77;
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const passwd* nobody = getpwnam("nobody");
    std::error_code ec;
    const fs::path temp = fs::temp_directory_path(ec);
    if (nobody == nullptr || setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0 ||
        geteuid() == 0 || ec || access(temp.c_str(), W_OK | X_OK) != 0)
      _exit(kCannotDrop);
    body();
    std::fflush(nullptr);
    _exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status) && WEXITSTATUS(status) == kCannotDrop)
    GTEST_SKIP() << "running as root, and an unprivileged user with a writable temporary folder is not available";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the unprivileged run failed (its output is above)";
}

TEST(FaultInjection, ReadOnlyDestinationFolderFailsTheRestOfTheRun) {
  WithPermissionsEnforced([] {
    Batch b;
    FaultUi ui(b.destinations);
    ui.beforeFile = [&b](int k) {
      if (k == 1) fs::permissions(b.dst, fs::perms::owner_read | fs::perms::owner_exec);
    };
    ConversionRun run(ConversionSettings{}, ui);
    for (const String& s : b.sources) run.Convert(s, FromFsPath(b.dst));
    fs::permissions(b.dst, fs::perms::owner_all);
    // b's former destination cannot be backed up (no new file in the folder) nor replaced.
    EXPECT_EQ(Outcomes(run), (std::vector<Outcome>{kOk, kFail, kFail}));
    EXPECT_EQ(ReadBytes(b.dst / "b.jww"), "former b");
    b.ExpectPromisesKept(run, ui);
  });
}
#endif

// The outcome and the backup of a one-file conversion, as an exit code.
int Code(const FileConversion& r) {
  return static_cast<int>(r.outcome) + (r.backupFailed ? 10 : 0) + (r.backup.empty() ? 0 : 20);
}

TEST(FaultInjection, FullDiskDuringBackupOrWriteLosesNothing) {
  testing::FullDiskPlace place;
  if (!place.unavailable().empty()) GTEST_SKIP() << place.unavailable();
  TempDir tmp(place.folder());
  const fs::path src = tmp.path() / "src" / "plan.jww";
  fs::create_directories(src.parent_path());
  fs::create_directories(tmp.path() / "dst");
  ASSERT_TRUE(testing::WritePlan(FromFsPath(src), 700));
  const std::string drawing = ReadBytes(src);
  ASSERT_GT(drawing.size(), 12000u);
  const fs::path dst = tmp.path() / "dst" / "plan.jww";
  const fs::path bak = tmp.path() / "dst" / "plan.BAK";

  const struct {
    const char* name;
    std::string former;  // former destination; empty for none
    int code;            // expected Code()
    bool formerStays;    // the former destination is still there afterwards
  } cases[] = {
      // The former destination is too big to back up: it is the only copy left, so the
      // failed write keeps it, and the older backup is not touched either.
      {"backup does not fit", std::string(drawing.size(), 'x'), static_cast<int>(Outcome::kFailed) + 10, true},
      // The backup fits, the drawing does not: the backup keeps the former destination.
      {"drawing does not fit", "former", static_cast<int>(Outcome::kFailed) + 20, false},
      {"no former destination", "", static_cast<int>(Outcome::kFailed), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(dst);
    WriteBytes(bak, "older backup");
    if (!c.former.empty()) WriteBytes(dst, c.former);
    const int code = place.Run(8 * 1024, [&] {
      SilentConversionUi ui;
      return Code(ConvertFile({FromFsPath(src), FromFsPath(dst), {}}, ConversionSettings{}, ui));
    });
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(ReadBytes(src), drawing);
    if (c.formerStays) {
      EXPECT_TRUE(ReadBytes(dst) == c.former) << "the former destination changed";
      EXPECT_EQ(ReadBytes(bak), "older backup");
    } else {
      EXPECT_FALSE(fs::exists(dst));
      EXPECT_EQ(ReadBytes(bak), c.former.empty() ? "older backup" : c.former);
    }
    EXPECT_FALSE(TemporaryFilesLeft(tmp.path()));
  }
}

// A 7.00 drawing binding the compressed BMP photo.bmp.gz.
fs::path DrawingWithImage(const TempDir& tmp, const testing::Bytes8& bmp) {
  const fs::path images = tmp.path() / "images";
  fs::create_directories(images);
  const testing::Bytes8 gz = testing::GzipBytes(bmp);
  WriteBytes(images / "photo.bmp.gz", std::string(gz.begin(), gz.end()));
  TJwwData d;
  testing::PlanDrawing(d, 700);
  testing::ListBuilder(MainList(d)).Add(testing::Text(u"^@BM%temp%photo.bmp,100,50"));
  testing::Finish(d);
  d.BindImageFolder = AddPathDelim(FromFsPath(images));
  d.BindImageExp = true;
  d.BindImage.push_back({u"photo.bmp.gz", 0, false});
  d.BindImageN = 1;
  const fs::path src = tmp.path() / "src" / "plan.jww";
  fs::create_directories(src.parent_path());
  EXPECT_TRUE(d.FileOut(FromFsPath(src), 700));
  return src;
}

TEST(FaultInjection, AnImageThatCannotBePlacedLeavesTheDrawingConverted) {
  ASSERT_TRUE(InitImageLibrary());
  const testing::Bytes8 bmp = testing::Encoded(testing::TestPicture(64, 64), wxBITMAP_TYPE_BMP);
  const struct {
    const char* name;
    std::int32_t convertImages;
    const char* blocked;  // the destination file taken by a folder
    std::uintmax_t limit;  // file size limit; 0 for none
  } cases[] = {
      {"a folder where the image goes", 0, "photo.bmp", 0},
      {"a folder where the converted image goes", 1, "photo.png", 0},
      {"the disk fills with the image", 0, nullptr, 8 * 1024},
  };
  testing::FullDiskPlace place;
  if (!place.unavailable().empty()) GTEST_SKIP() << place.unavailable();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir tmp(place.folder());
    const fs::path src = DrawingWithImage(tmp, bmp);
    const std::string before = ReadBytes(src);
    const fs::path dstDir = tmp.path() / "dst";
    fs::create_directories(dstDir);
    if (c.blocked) fs::create_directories(dstDir / c.blocked / "inside");
    ConversionSettings s;
    s.OutVersionIndex = 2;  // 3.51: a drawing without SXF tables fits below the limit
    s.ConvertBoundImages = c.convertImages;
    s.ImageFormatIndex = 3;  // PNG
    auto convert = [&] {
      SilentConversionUi ui;
      return ConvertFile({FromFsPath(src), FromFsPath(dstDir / "plan.jww"), {}}, s, ui).outcome;
    };
    const Outcome outcome =
        c.limit ? static_cast<Outcome>(place.Run(c.limit, [&] { return static_cast<int>(convert()); })) : convert();
    EXPECT_EQ(outcome, Outcome::kConverted);
    TJwwData back;
    EXPECT_TRUE(back.FileIn(FromFsPath(dstDir / "plan.jww")));
    EXPECT_EQ(back.Enthd.jwVer, 351);
    EXPECT_EQ(ReadBytes(src), before);
    if (c.blocked) {
      EXPECT_TRUE(fs::is_directory(dstDir / c.blocked / "inside"));
    }
    EXPECT_FALSE(TemporaryFilesLeft(tmp.path()));
  }
}

}  // namespace
}  // namespace plandown
