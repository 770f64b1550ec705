#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <set>

#include "convert/settings_file.h"
#include "jww/jww_data.h"
#include "support/drawing_builder.h"
#include "support/file_text.h"
#include "support/plan_drawing.h"
#include "support/process.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "util/paths.h"

namespace plandown {
namespace {

namespace fs = std::filesystem;
using testing::CliRun;
using testing::ReadBytes;
using testing::RunPlandown;
using testing::TempDir;
using testing::WriteBytes;

std::set<fs::path> FilesBelow(const fs::path& dir) {
  std::set<fs::path> files;
  for (const auto& e : fs::recursive_directory_iterator(dir)) files.insert(e.path());
  return files;
}

// A scratch folder with src/ (drawings of several kinds and states) and an empty out/.
class CliFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path src = root() / "src";
    fs::create_directories(src);
    fs::create_directories(root() / "out");
    ASSERT_TRUE(testing::WritePlan(FromFsPath(src / "new.jww"), 700));
    ASSERT_TRUE(testing::WritePlan(FromFsPath(src / "old.jww"), 300));
    const std::string plan = ReadBytes(src / "new.jww");
    WriteBytes(src / "cut.jww", plan.substr(0, 40));
    std::string damaged = plan;
    damaged[damaged.find("CDataEnko") + 5] = 'X';
    WriteBytes(src / "damaged.jww", damaged);
    WriteBytes(src / "note.txt", "not a drawing\n");

    TJwwData sxf;
    sxf.Enthd.jwVer = 700;
    testing::InitTables(sxf);
    testing::ListBuilder lines(MainList(sxf));
    lines.Add(testing::Line(0, 0, 10, 0, testing::Attr(1, 101)));  // SXF colours
    lines.Add(testing::Line(0, 5, 10, 5, testing::Attr(1, 102)));
    testing::Finish(sxf);
    ASSERT_TRUE(sxf.FileOut(FromFsPath(src / "sxf.jww"), 700));
  }
  const fs::path& root() const { return tmp_.path(); }

 private:
  TempDir tmp_;
};

TEST_F(CliFixture, ExitStatusAndKeyLines) {
  const struct {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::vector<std::string> out;  // lines (or parts of lines) expected on stdout
    std::vector<std::string> err;  // ... on stderr
    std::vector<std::string> notOut = {};  // ... never on stdout
  } cases[] = {
      {"help", {"--help"}, 0, {"Usage:", "plandown convert [--to 6.00|4.20|3.51|3.00] --out DEST"}, {}},
      {"no command", {}, 2, {}, {"plandown: no command given", "Usage:"}},
      {"unknown command", {"frob"}, 2, {}, {"unknown command 'frob'"}},
      {"unknown option", {"convert", "--bogus", "--out", "out", "src/new.jww"}, 2, {}, {"unknown option '--bogus'"}},
      {"json is no convert option", {"convert", "--json", "--out", "out", "src/new.jww"}, 2, {}, {"unknown option '--json'"}},
      {"unknown target", {"convert", "--to", "5.00", "--out", "out", "src/new.jww"}, 2, {}, {"unknown target version '5.00'"}},
      {"option without value", {"convert", "src/new.jww", "--out"}, 2, {}, {"option '--out' needs a value"}},
      {"no file", {"convert", "--out", "out"}, 2, {}, {"no FILE given"}},
      {"no destination", {"convert", "src/new.jww"}, 2, {}, {"plandown: 保存先フォルダを指示して下さい。"}},
      {"missing destination", {"convert", "--out", "absent", "src/new.jww"}, 2, {}, {"plandown: 保存先フォルダが存在しません。"}},
      {"destination is a source folder", {"convert", "--out", "./src/", "out/../src/new.jww"}, 2, {},
       {"plandown: 保存先フォルダは参照フォルダと同じにしないで下さい。 (out/../src/new.jww)"}},
      {"destination is the current folder", {"convert", "--out", ".", "out/x.jww", "new.jww"}, 2, {},
       {"保存先フォルダは参照フォルダと同じにしないで下さい。 (new.jww)"}},
      {"one clean file", {"convert", "--out", "out", "src/new.jww"}, 0,
       {"converted: src/new.jww -> out" PATH_SEP "new.jww (7.00 -> 6.00)\n", "\n1個のファイルを変換しました。\n"}, {}},
      {"target with =", {"convert", "--to=3.51", "--out=out", "src/new.jww"}, 0,
       {"converted: src/new.jww -> out" PATH_SEP "new.jww (7.00 -> 3.51)\n"}, {}},
      {"changes listed", {"convert", "--to", "3.00", "--out", "out", "src/sxf.jww"}, 0,
       {"converted: src/sxf.jww -> out" PATH_SEP "sxf.jww (7.00 -> 3.00)\n  changes: colours mapped=2\n"}, {}},
      {"damaged source", {"convert", "--out", "out", "src/damaged.jww", "src/new.jww"}, 1,
       {"converted from a damaged source: src/damaged.jww -> out" PATH_SEP "damaged.jww (7.00 -> 6.00)\n",
        "2個のファイルを変換しました。\nconverted: 1, converted from a damaged source: 1, refused: 0, failed: 0\n"
        "converted from a damaged source: 1\n  src/damaged.jww\n"},
       {}},
      {"refusals go on and are listed again",
       {"convert", "--out", "out", "src/old.jww", "src/note.txt", "src/cut.jww", "src/absent.jww", "src/new.jww"}, 1,
       {"refused: src/old.jww: ファイル「src/old.jww」は旧バージョンデータですので変換しませんでした。\n",
        "refused: src/note.txt: このファイル拡張子（種類）の変換には対応していません。\n    ファイル名：note.txt\n"
        "    　　拡張子：.txt\n",
        "refused: src/cut.jww: ファイル「src/cut.jww」は読み込めませんでしたので変換しませんでした。\n",
        "refused: src/absent.jww: ファイル「src/absent.jww」は読み込めませんでしたので変換しませんでした。\n",
        "converted: src/new.jww -> out" PATH_SEP "new.jww (7.00 -> 6.00)\n",
        "\n1個のファイルを変換しました。\nconverted: 1, converted from a damaged source: 0, refused: 4, failed: 0\n"
        "not converted: 4\n  src/old.jww: old version (3.00)\n"
        "  src/note.txt: unsupported kind\n  src/cut.jww: header unreadable\n  src/absent.jww: no such file\n"},
       {}},
      {"verbose shows status texts", {"convert", "--verbose", "--out", "out", "src/old.jww"}, 1, {},
       {"ファイル「src/old.jww」→「out" PATH_SEP "old.jww」変換中です。\n"
        "ファイル「src/old.jww」は旧バージョンデータですので変換しませんでした。\n0個のファイルを変換しました。\n"}},
      {"a folder stands for its drawings and shapes", {"convert", "--out", "out", "src"}, 1,
       {"refused: src" PATH_SEP "cut.jww: ", "converted from a damaged source: src" PATH_SEP "damaged.jww -> out" PATH_SEP "damaged.jww",
        "converted: src" PATH_SEP "new.jww -> out" PATH_SEP "new.jww (7.00 -> 6.00)\n", "refused: src" PATH_SEP "old.jww: ",
        "converted: src" PATH_SEP "sxf.jww -> out" PATH_SEP "sxf.jww", "\n3個のファイルを変換しました。\n"},
       {},
       {"note.txt"}},
      {"jobs must be a count", {"convert", "--jobs", "0", "--out", "out", "src/new.jww"}, 2, {},
       {"--jobs takes a whole number from 1 to 1024"}},
      {"settings file missing", {"convert", "--settings", "absent.dat", "--out", "out", "src/new.jww"}, 2, {},
       {"plandown: cannot read the settings file absent.dat\n"}},
      {"report folder missing", {"convert", "--report", "nowhere/r.json", "--out", "out", "src/new.jww"}, 2, {},
       {"plandown: the folder of the report nowhere/r.json does not exist\n"}},
      {"list without folder", {"list"}, 2, {}, {"plandown: no FOLDER given"}},
      {"list of two folders", {"list", "src", "out"}, 2, {}, {"plandown: list takes one FOLDER"}},
      {"list with an unknown filter", {"list", "--filter", "dwg", "src"}, 2, {}, {"unknown filter 'dwg'"}},
      {"list with an unknown column", {"list", "--sort", "colour", "src"}, 2, {}, {"unknown sort column 'colour'"}},
      {"list takes no convert option", {"list", "--to", "3.00", "src"}, 2, {}, {"unknown option '--to' for list"}},
      {"list of a missing folder", {"list", "absent"}, 2, {}, {"plandown: 参照フォルダが存在しません。 (absent)\n"}},
      {"a path from the root is a file, on Windows too", {"info", "/absent-plandown/x.jww"}, 1,
       {"/absent-plandown/x.jww\n  kind:        jww\n  recognised:  no\n"}, {}},
      {"info", {"info", "src/new.jww"}, 0,
       {"src/new.jww\n  kind:        jww\n  recognised:  yes\n  read:        ok\n  version:     7.00\n"
        "  memo:        サンプル平面図\n               Plandown example\n"
        "  objects:     11 declared; line 4, arc 1, point 1, text 1, dimension 1, solid 1, block 2\n"
        "  blocks:      1 definitions, 1 referenced, 2 tree nodes\n  extent:      x 0 to 100, y 0 to 65.5\n"
        "  images:      0\n"},
       {}},
      {"render: one picture per drawing, named after it",
       {"render", "--out", "out", "src/new.jww", "src/sxf.jww"}, 0,
       {"rendered: src/new.jww -> out" PATH_SEP "new.svg (7.00)\n", "rendered: src/sxf.jww -> out" PATH_SEP "sxf.svg (7.00)\n",
        "\nrendered: 2, rendered from a damaged source: 0, refused: 0, failed: 0\n"},
       {},
       {"not rendered"}},
      {"render --to: refusals as convert's, damage reported, what the conversion changes",
       {"render", "--to", "3.51", "--out", "out", "src/old.jww", "src/note.txt", "src/cut.jww", "src/absent.jww",
        "src/damaged.jww", "src/sxf.jww"},
       1,
       {"refused: src/old.jww: ファイル「src/old.jww」は旧バージョンデータですので変換しませんでした。\n",
        "refused: src/absent.jww: ファイル「src/absent.jww」は読み込めませんでしたので変換しませんでした。\n",
        "rendered from a damaged source: src/damaged.jww -> out" PATH_SEP "damaged.svg (7.00 -> 3.51)\n",
        "rendered: src/sxf.jww -> out" PATH_SEP "sxf.svg (7.00 -> 3.51)\n  changes: colours mapped=",
        "\nrendered: 1, rendered from a damaged source: 1, refused: 4, failed: 0\nnot rendered: 4\n"
        "  src/old.jww: old version (3.00)\n  src/note.txt: unsupported kind\n  src/cut.jww: header unreadable\n"
        "  src/absent.jww: no such file\n"},
       {}},
      {"render draws old drawings as they are", {"render", "--out", "out", "src/old.jww"}, 0,
       {"rendered: src/old.jww -> out" PATH_SEP "old.svg (3.00)\n"}, {}},
      {"render: a second picture of the same name is not written over the first",
       {"render", "--out", "out", "src/new.jww", "./src/new.jww"}, 1,
       {"refused: ./src/new.jww: ", "  ./src/new.jww: destination already written in this run\n"}, {}},
      {"render without DEST", {"render", "src/new.jww"}, 2, {}, {"plandown: 保存先フォルダを指示して下さい。\n"}},
      {"render to a missing DEST", {"render", "--out", "absent", "src/new.jww"}, 2, {},
       {"plandown: 保存先フォルダが存在しません。\n"}},
      {"info on poor files", {"info", "src/cut.jww", "src/damaged.jww", "src/note.txt", "src/absent.jww"}, 1,
       {"src/cut.jww\n  kind:        jww\n  recognised:  yes\n  read:        failed\n",
        "src/damaged.jww\n  kind:        jww\n  recognised:  yes\n  read:        with errors\n  version:     7.00\n",
        "src/note.txt\n  kind:        unknown\n", "src/absent.jww\n  kind:        jww\n  recognised:  no\n"},
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(root() / "out");
    fs::create_directories(root() / "out");
    const CliRun r = RunPlandown(root(), c.args);
    EXPECT_EQ(r.status, c.status) << r.out << r.err;
    for (const std::string& s : c.out) EXPECT_NE(r.out.find(s), std::string::npos) << "missing: " << s << "\nin:\n" << r.out;
    for (const std::string& s : c.err) EXPECT_NE(r.err.find(s), std::string::npos) << "missing: " << s << "\nin:\n" << r.err;
    for (const std::string& s : c.notOut) EXPECT_EQ(r.out.find(s), std::string::npos) << "unexpected: " << s << "\nin:\n" << r.out;
    if (c.status == 2) {
      EXPECT_TRUE(fs::is_empty(root() / "out")) << "a usage error wrote something";
    }
  }
}

TEST_F(CliFixture, ConvertBacksUpAndWritesReadableDrawings) {
  WriteBytes(root() / "out" / "new.jww", "former");
  const CliRun r = RunPlandown(root(), {"convert", "--to", "4.20", "--out", "out", "src/new.jww"});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("  backup: out" PATH_SEP "new.BAK\n"), std::string::npos) << r.out;
  EXPECT_EQ(ReadBytes(root() / "out" / "new.BAK"), "former");
  TJwwData d;
  ASSERT_TRUE(d.FileIn(FromFsPath(root() / "out" / "new.jww")));
  EXPECT_EQ(d.Enthd.jwVer, 420);
}

TEST_F(CliFixture, SecondFileOfTheSameNameIsNotWrittenOverTheFirst) {
  fs::create_directories(root() / "src2");
  ASSERT_TRUE(testing::WritePlan(FromFsPath(root() / "src2" / "new.jww"), 600));
  const CliRun r = RunPlandown(root(), {"convert", "--out", "out", "src/new.jww", "src2/new.jww"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("  src2/new.jww: destination already written in this run\n"), std::string::npos) << r.out;
  EXPECT_FALSE(fs::exists(root() / "out" / "new.BAK"));
}

// A 7.00 drawing that carries one image of 3000 `fill` bytes, with a memo that needs JSON
// escapes.
void WriteDrawingWithImage(const fs::path& path, const fs::path& imageFolder, char fill = 'p') {
  fs::create_directories(imageFolder);
  WriteBytes(imageFolder / "pic.png", std::string(3000, fill));
  TJwwData doc;
  doc.Enthd.jwVer = 700;
  testing::InitTables(doc);
  doc.Enthd.strMemo = u"a \"quoted\" \\ memo\r\n\t二行目";
  testing::ListBuilder(MainList(doc)).Add(testing::Text(u"^@BM%temp%pic.png,100,100,0,0,1,0"));
  testing::Finish(doc);
  doc.BindImageFolder = AddPathDelim(FromFsPath(imageFolder));
  doc.BindImageExr = true;
  doc.BindImage = {TBindImageType{u"pic.png", 3000, false}};
  doc.BindImageN = 1;
  ASSERT_TRUE(doc.FileOut(FromFsPath(path), 700));
}

TEST_F(CliFixture, InfoJsonIsExactAndCreatesNoFile) {
  WriteDrawingWithImage(root() / "src" / "img.jww", root() / "images");
  fs::remove_all(root() / "images");
  const auto before = FilesBelow(root());
  const CliRun r = RunPlandown(root(), {"info", "--json", "src/img.jww", "src/note.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "[\n"
            " {\"path\": \"src/img.jww\", \"kind\": \"jww\", \"recognised\": true, \"in_use\": false, \"read_ok\": true, \"version\": 700, "
            "\"memo\": \"a \\\"quoted\\\" \\\\ memo\\r\\n\\t二行目\", \"counts\": {\"line\": 0, \"arc\": 0, \"point\": 0, "
            "\"text\": 1, \"dimension\": 0, \"solid\": 0, \"block\": 0}, \"declared_objects\": 1, \"block_definitions\": 0, "
            "\"referenced_definitions\": 0, \"block_tree_nodes\": 0, \"bound_images\": [{\"name\": \"pic.png\", \"size\": 3000}], "
            // the image's rectangle: 100 × 100 from the text's base point (1, 2)
            "\"extent\": {\"min_x\": 1.0, \"min_y\": 2.0, \"max_x\": 101.0, \"max_y\": 102.0}},\n"
            " {\"path\": \"src/note.txt\", \"kind\": \"unknown\", \"recognised\": false, \"in_use\": false, \"read_ok\": false, \"version\": null, "
            "\"memo\": \"\", \"counts\": {\"line\": 0, \"arc\": 0, \"point\": 0, \"text\": 0, \"dimension\": 0, \"solid\": 0, "
            "\"block\": 0}, \"declared_objects\": 0, \"block_definitions\": 0, \"referenced_definitions\": 0, "
            "\"block_tree_nodes\": 0, \"bound_images\": [], \"extent\": null}\n"
            "]\n");
  EXPECT_EQ(FilesBelow(root()), before);
}

// The single bytes Windows defines beyond the JIS table keep their code page 932 bytes
// through every conversion, and info shows them as the characters Windows gives them.
TEST_F(CliFixture, SingleBytesOfTheWindowsTableSurviveEveryTarget) {
  const std::string stored = "m[\x80\xA0\xFD\xFE\xFF]m";
  const std::string utf8 = "m[\u0080\uF8F0\uF8F1\uF8F2\uF8F3]m";  // as info --json shows the memo
  TJwwData doc;
  doc.Enthd.jwVer = 700;
  testing::InitTables(doc);
  doc.Enthd.strMemo = u"m[xxxxx]m";  // replaced in the file by the bytes
  testing::Finish(doc);
  const std::vector<std::uint8_t> written = testing::WriteToBytes(doc, 700);
  std::string file(written.begin(), written.end());
  const std::size_t at = file.find("m[xxxxx]m");
  ASSERT_NE(at, std::string::npos);
  file.replace(at, stored.size(), stored);
  WriteBytes(root() / "src" / "bytes.jww", file);

  for (const char* to : {"6.00", "4.20", "3.51", "3.00"}) {
    SCOPED_TRACE(to);
    const std::string out = std::string("out") + to;
    fs::create_directories(root() / out);
    const CliRun c = RunPlandown(root(), {"convert", "--to", to, "--out", out, "src/bytes.jww"});
    ASSERT_EQ(c.status, 0) << c.out << c.err;
    EXPECT_NE(ReadBytes(root() / out / "bytes.jww").find(stored), std::string::npos);
    const CliRun i = RunPlandown(root(), {"info", "--json", out + "/bytes.jww"});
    EXPECT_EQ(i.status, 0) << i.err;
    EXPECT_NE(i.out.find("\"memo\": \"" + utf8 + "\""), std::string::npos) << i.out;
  }
}

TEST_F(CliFixture, ReportNamesEveryFileWithItsOutcome) {
  WriteDrawingWithImage(root() / "src" / "img.jww", root() / "images");
  fs::remove_all(root() / "images");
  WriteBytes(root() / "out" / "img.jww", "former");
  const CliRun r = RunPlandown(root(), {"convert", "--to", "3.00", "--report", "report.json", "--out", "out", "src/img.jww",
                                        "src/sxf.jww", "src/damaged.jww", "src/old.jww", "src/absent.jww", "src/note.txt"});
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  EXPECT_NE(r.out.find("  backup: out" PATH_SEP "img.BAK\n  image: out" PATH_SEP "pic.png\n"), std::string::npos) << r.out;
  // Every destination is a path the program joined.
  EXPECT_EQ(ReadBytes(root() / "report.json"), testing::ReplaceAll(R"json({"settings": {"target": "3.00", "convert_images": false, "delete_source_image": false, "image_format_index": 0, "jpeg_quality": 75},
 "files": [
  {"source": "src/img.jww", "destination": "out/img.jww", "outcome": "converted", "refusal": null, "failure": null, "note": "", "file_in": true, "source_version": 700, "target_version": 300, "backup": "out/img.BAK", "backup_failed": false, "images": ["out/pic.png"], "changes": {}},
  {"source": "src/sxf.jww", "destination": "out/sxf.jww", "outcome": "converted", "refusal": null, "failure": null, "note": "", "file_in": true, "source_version": 700, "target_version": 300, "backup": null, "backup_failed": false, "images": [], "changes": {"colours mapped": 2}},
  {"source": "src/damaged.jww", "destination": "out/damaged.jww", "outcome": "converted_damaged", "refusal": null, "failure": null, "note": "", "file_in": false, "source_version": 700, "target_version": 300, "backup": null, "backup_failed": false, "images": [], "changes": {}},
  {"source": "src/old.jww", "destination": "out/old.jww", "outcome": "refused", "refusal": "old version", "failure": null, "note": "ファイル「src/old.jww」は旧バージョンデータですので変換しませんでした。", "file_in": true, "source_version": 300, "target_version": null, "backup": null, "backup_failed": false, "images": [], "changes": {}},
  {"source": "src/absent.jww", "destination": "out/absent.jww", "outcome": "refused", "refusal": "no such file", "failure": null, "note": "ファイル「src/absent.jww」は読み込めませんでしたので変換しませんでした。", "file_in": null, "source_version": null, "target_version": null, "backup": null, "backup_failed": false, "images": [], "changes": {}},
  {"source": "src/note.txt", "destination": "out/note.txt", "outcome": "refused", "refusal": "unsupported kind", "failure": null, "note": "このファイル拡張子（種類）の変換には対応していません。\r\nファイル名：note.txt\r\n　　拡張子：.txt", "file_in": null, "source_version": null, "target_version": null, "backup": null, "backup_failed": false, "images": [], "changes": {}}
 ],
 "summary": {"converted": 2, "converted_damaged": 1, "refused": 3, "failed": 0}}
)json", "\"out/", "\"out" JSON_PATH_SEP));
}

TEST(CliJobs, SideBySideTheOutputIsThatOfOneAtATime) {
  // Sources for every ordering rule: a destination named twice, a former destination, two
  // drawings whose images share a name, refusals, a sub-folder.
  const auto setUp = [](const fs::path& root) {
    fs::create_directories(root / "src" / "sub");
    fs::create_directories(root / "src2");
    fs::create_directories(root / "out");
    for (int i = 0; i < 8; ++i) ASSERT_TRUE(testing::WritePlan(FromFsPath(root / "src" / ("p" + std::to_string(i) + ".jww")), 700));
    ASSERT_TRUE(testing::WritePlan(FromFsPath(root / "src" / "old.jww"), 300));
    ASSERT_TRUE(testing::WritePlan(FromFsPath(root / "src" / "sub" / "s.jww"), 600));
    ASSERT_TRUE(testing::WritePlan(FromFsPath(root / "src2" / "p0.jww"), 600));
    WriteDrawingWithImage(root / "src" / "img1.jww", root / "images1", '1');
    WriteDrawingWithImage(root / "src" / "img2.jww", root / "images2", '2');
    fs::remove_all(root / "images1");
    fs::remove_all(root / "images2");
    WriteBytes(root / "out" / "p1.jww", "former");
  };
  TempDir one, many;
  setUp(one.path());
  setUp(many.path());
  const std::vector<std::string> args = {"convert", "--recursive", "--report", "report.json", "--out", "out", "src", "src2/p0.jww"};
  std::vector<std::string> serialArgs = args, parallelArgs = args;
  serialArgs.insert(serialArgs.begin() + 1, {"--jobs", "1"});
  parallelArgs.insert(parallelArgs.begin() + 1, {"--jobs", "3"});
  const CliRun serial = RunPlandown(one.path(), serialArgs);
  const CliRun parallel = RunPlandown(many.path(), parallelArgs);
  EXPECT_EQ(serial.status, 1);
  EXPECT_NE(serial.out.find("  src2/p0.jww: destination already written in this run\n"), std::string::npos) << serial.out;
  EXPECT_NE(serial.out.find("converted: src" PATH_SEP "sub" PATH_SEP "s.jww -> out" PATH_SEP "sub" PATH_SEP "s.jww (6.00 -> 6.00)\n"), std::string::npos);
  EXPECT_EQ(ReadBytes(one.path() / "out" / "pic.png"), std::string(3000, '2'));
  EXPECT_EQ(parallel.status, serial.status);
  EXPECT_EQ(parallel.out, serial.out);
  EXPECT_EQ(parallel.err, "");  // no progress bar when stderr is no terminal
  EXPECT_EQ(serial.err, "");
  EXPECT_EQ(testing::TreeBytes(many.path()), testing::TreeBytes(one.path()));
}

TEST(CliRecursive, SubFoldersAreMirroredAndTheDestinationIsNeverInput) {
  TempDir tmp;
  const fs::path& root = tmp.path();
  for (const char* name : {"src/a.jww", "src/sub/b.jww", "src/sub/deeper/C.JWW", "nest/x.jww", "nest/nest/y.jww"}) {
    fs::create_directories((root / name).parent_path());
    ASSERT_TRUE(testing::WritePlan(FromFsPath(root / name), 700));
  }
  WriteBytes(root / "src" / "sub" / "note.txt", "x");
  WriteBytes(root / "src" / "text" / "only.txt", "x");
  fs::create_directories(root / "src" / "empty");
  std::error_code noLink;  // Windows programs may not make symbolic links without a privilege
  fs::create_directory_symlink(root / "src" / "sub", root / "src" / "link", noLink);
  fs::create_directories(root / "out");
  fs::create_directories(root / "flat");

  CliRun r = RunPlandown(root, {"convert", "--out", "flat", "src"});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_EQ(FilesBelow(root / "flat"), std::set<fs::path>{root / "flat" / "a.jww"});

  r = RunPlandown(root, {"convert", "-r", "--out", "out", "src"});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("converted: src" PATH_SEP "sub" PATH_SEP "deeper" PATH_SEP "C.JWW -> out" PATH_SEP "sub" PATH_SEP "deeper" PATH_SEP "C.JWW (7.00 -> 6.00)\n"), std::string::npos)
      << r.out;
  EXPECT_EQ(FilesBelow(root / "out"), (std::set<fs::path>{root / "out" / "a.jww", root / "out" / "sub", root / "out" / "sub" / "b.jww",
                                                         root / "out" / "sub" / "deeper",
                                                         root / "out" / "sub" / "deeper" / "C.JWW"}));

  // A destination inside the tree: what a run wrote there is not converted again.
  fs::create_directories(root / "src" / "conv");
  for (int round = 0; round < 2; ++round) {
    r = RunPlandown(root, {"convert", "-r", "--out", "src/conv", "src"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("\n3個のファイルを変換しました。\n"), std::string::npos) << r.out;
  }
  EXPECT_FALSE(fs::exists(root / "src" / "conv" / "conv"));

  // nest/nest/y.jww would be written into nest, the folder of nest/x.jww.
  r = RunPlandown(root, {"convert", "-r", "--out", ".", "nest"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "plandown: 保存先フォルダは参照フォルダと同じにしないで下さい。 (nest" PATH_SEP "x.jww)\n");
  EXPECT_FALSE(fs::exists(root / "x.jww"));
}

TEST_F(CliFixture, SettingsFileGivesTheConversionSettingsAndOptionsWin) {
  AppSettings app;
  app.Conversion.OutVersionIndex = 2;
  app.Conversion.ImageFormatIndex = 3;
  app.Conversion.JpegQuality = 40;
  ASSERT_TRUE(SaveSettings(FromFsPath(root() / "plandown.dat"), app));
  std::string sixteenLines;
  for (int i = 0; i < 16; ++i) sixteenLines += "1\r\n";
  WriteBytes(root() / "short.dat", sixteenLines);
  const struct {
    std::vector<std::string> options;
    const char* versions;
    const char* settings;
  } cases[] = {
      {{"--settings", "plandown.dat"}, "(7.00 -> 3.51)",
       R"({"target": "3.51", "convert_images": false, "delete_source_image": false, "image_format_index": 3, "jpeg_quality": 40})"},
      {{"--settings", "plandown.dat", "--to", "4.20", "--jpeg-quality", "90"}, "(7.00 -> 4.20)",
       R"({"target": "4.20", "convert_images": false, "delete_source_image": false, "image_format_index": 3, "jpeg_quality": 90})"},
      // A file that ends before the conversion settings gives them as 0.
      {{"--settings", "short.dat"}, "(7.00 -> 6.00)",
       R"({"target": "6.00", "convert_images": false, "delete_source_image": false, "image_format_index": 0, "jpeg_quality": 0})"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options[1] + (c.options.size() > 2 ? " with options" : ""));
    std::vector<std::string> args = {"convert", "--report", "r.json", "--out", "out", "src/new.jww"};
    args.insert(args.begin() + 1, c.options.begin(), c.options.end());
    const CliRun r = RunPlandown(root(), args);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_NE(r.out.find(c.versions), std::string::npos) << r.out;
    EXPECT_NE(ReadBytes(root() / "r.json").find(c.settings), std::string::npos) << ReadBytes(root() / "r.json");
  }
}

TEST_F(CliFixture, ProgressBarOnlyOnATerminal) {
#ifdef _WIN32
  GTEST_SKIP() << "on Windows the bar goes to a console, which a test cannot read back";
#else
  // The program's error stream is a pseudo-terminal; its output goes to a file.
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const fs::path terminalPath = ptsname(master);
  const int status = testing::RunProcess({PLANDOWN_CLI_PATH, {"convert", "--out", "out", "src/new.jww", "src/old.jww"},
                                         root(), root() / "stdout.txt", terminalPath});
  std::string terminal;
  char buffer[4096];
  // The output waits in the terminal; once it is read, the end comes as an error.
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  for (;;) {
    const ssize_t n = read(master, buffer, sizeof buffer);
    if (n <= 0) break;
    terminal.append(buffer, static_cast<std::size_t>(n));
  }
  close(master);
  ASSERT_EQ(status, 1);  // old.jww is refused
  EXPECT_NE(terminal.find("\r[........................] 0/2"), std::string::npos) << terminal;
  EXPECT_NE(terminal.find("\r[############............] 1/2  src/new.jww"), std::string::npos) << terminal;
  EXPECT_NE(terminal.find("\r[########################] 2/2  src/old.jww"), std::string::npos) << terminal;
  // The bar is gone at the end and never reaches the output.
  EXPECT_EQ(terminal.substr(terminal.find_last_not_of(" \r\n") + 1).find_first_not_of(" \r\n"), std::string::npos);
  const std::string out = ReadBytes(root() / "stdout.txt");
  EXPECT_EQ(out.find('\r'), std::string::npos);
  EXPECT_EQ(out.rfind("converted: src/new.jww -> out" PATH_SEP "new.jww (7.00 -> 6.00)\nrefused: src/old.jww: ", 0), 0u) << out;
#endif
}

TEST(CliExamples, BundledExamplesAreReadableDrawingsAndShapes) {
  const fs::path examples = fs::path(PLANDOWN_SOURCE_DIR) / "examples";
  std::vector<std::string> args = {"info"};
  for (const auto& e : fs::directory_iterator(examples))
    if (e.path().extension() == ".jww" || e.path().extension() == ".jws") args.push_back(e.path().string());
  ASSERT_GE(args.size(), 4u) << "no example drawings in " << examples;
  const CliRun r = RunPlandown(examples, args);
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("  kind:        jws\n  recognised:  yes\n  read:        ok\n  version:     7.00\n"), std::string::npos)
      << r.out;
}

// Japanese names with spaces reach the program and come back in its output as they are
// (on Windows through the UTF-16 command line, not the ANSI code page).
TEST(CliNames, JapaneseFolderAndFileNamesWithSpaces) {
  TempDir tmp;
  const fs::path src = tmp.path() / u8"図面 フォルダ";
  const fs::path out = tmp.path() / u8"出力 先";
  fs::create_directories(src / u8"平面");
  fs::create_directories(out);
  ASSERT_TRUE(testing::WritePlan(FromFsPath(src / u8"１階 平面図.jww"), 700));
  ASSERT_TRUE(testing::WritePlan(FromFsPath(src / u8"平面" / u8"立面図.jww"), 700));
  const CliRun r = RunPlandown(tmp.path(), {"convert", "--recursive", "--out", "出力 先", "図面 フォルダ"});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("converted: 図面 フォルダ" PATH_SEP "１階 平面図.jww -> 出力 先" PATH_SEP "１階 平面図.jww (7.00 -> 6.00)\n"),
            std::string::npos)
      << r.out;
  EXPECT_TRUE(fs::is_regular_file(out / u8"１階 平面図.jww"));
  EXPECT_TRUE(fs::is_regular_file(out / u8"平面" / u8"立面図.jww"));
  const std::string absolute = ToUtf8(FromFsPath(out / u8"平面" / u8"立面図.jww"));
  const CliRun info = RunPlandown(tmp.path(), {"info", absolute});
  EXPECT_EQ(info.status, 0) << info.out << info.err;
  EXPECT_EQ(info.out.rfind(absolute + "\n  kind:        jww\n", 0), 0u) << info.out;
}

TEST(CliCorpus, RealDrawingConverts) {
  const fs::path corpus = testing::CorpusDir();
  if (corpus.empty() || !fs::exists(corpus / "sample.jww")) GTEST_SKIP() << "shared corpus not present";
  TempDir tmp;
  const CliRun r = RunPlandown(tmp.path(), {"convert", "--to", "3.00", "--out", ".", (corpus / "sample.jww").string()});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("(7.00 -> 3.00)"), std::string::npos) << r.out;
  const CliRun info = RunPlandown(tmp.path(), {"info", "--json", "sample.jww"});
  EXPECT_EQ(info.status, 0);
  EXPECT_NE(info.out.find("\"version\": 300"), std::string::npos) << info.out;
}

}  // namespace
}  // namespace plandown
