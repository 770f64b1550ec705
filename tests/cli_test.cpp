#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "jww/jww_data.h"
#include "support/drawing_builder.h"
#include "support/file_text.h"
#include "support/plan_drawing.h"
#include "support/temp_dir.h"
#include "util/paths.h"

namespace plandown {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

struct CliRun {
  int status = -1;
  std::string out, err;
};

// Runs the built program in `cwd`; its output is kept outside `cwd`.
CliRun RunPlandown(const fs::path& cwd, const std::vector<std::string>& args) {
  TempDir io;
  std::string cmd = "cd " + Quote(cwd.string()) + " && " + Quote(PLANDOWN_CLI_PATH);
  for (const std::string& a : args) cmd += " " + Quote(a);
  cmd += " >" + Quote((io.path() / "out").string()) + " 2>" + Quote((io.path() / "err").string());
  const int raw = std::system(cmd.c_str());
  CliRun r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = ReadBytes(io.path() / "out");
  r.err = ReadBytes(io.path() / "err");
  return r;
}

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
       {"converted: src/new.jww -> out/new.jww (7.00 -> 6.00)\n", "\n1個のファイルを変換しました。\n"}, {}},
      {"target with =", {"convert", "--to=3.51", "--out=out", "src/new.jww"}, 0,
       {"converted: src/new.jww -> out/new.jww (7.00 -> 3.51)\n"}, {}},
      {"changes listed", {"convert", "--to", "3.00", "--out", "out", "src/sxf.jww"}, 0,
       {"converted: src/sxf.jww -> out/sxf.jww (7.00 -> 3.00)\n  changes: colours mapped=2\n"}, {}},
      {"damaged source", {"convert", "--out", "out", "src/damaged.jww", "src/new.jww"}, 1,
       {"converted from a damaged source: src/damaged.jww -> out/damaged.jww (7.00 -> 6.00)\n",
        "2個のファイルを変換しました。\nconverted from a damaged source: 1\n  src/damaged.jww\n"},
       {}},
      {"refusals go on and are listed again",
       {"convert", "--out", "out", "src/old.jww", "src/note.txt", "src/cut.jww", "src/absent.jww", "src/new.jww"}, 1,
       {"refused: src/old.jww: ファイル「src/old.jww」は旧バージョンデータですので変換しませんでした。\n",
        "refused: src/note.txt: このファイル拡張子（種類）の変換には対応していません。\n    ファイル名：note.txt\n"
        "    　　拡張子：.txt\n",
        "refused: src/cut.jww: ファイル「src/cut.jww」は読み込めませんでしたので変換しませんでした。\n",
        "refused: src/absent.jww: ファイル「src/absent.jww」は読み込めませんでしたので変換しませんでした。\n",
        "converted: src/new.jww -> out/new.jww (7.00 -> 6.00)\n",
        "\n1個のファイルを変換しました。\nnot converted: 4\n  src/old.jww: old version (3.00)\n"
        "  src/note.txt: unsupported kind\n  src/cut.jww: header unreadable\n  src/absent.jww: not a readable drawing\n"},
       {}},
      {"verbose shows status texts", {"convert", "--verbose", "--out", "out", "src/old.jww"}, 1, {},
       {"ファイル「src/old.jww」→「out/old.jww」変換中です。\n"
        "ファイル「src/old.jww」は旧バージョンデータですので変換しませんでした。\n0個のファイルを変換しました。\n"}},
      {"info", {"info", "src/new.jww"}, 0,
       {"src/new.jww\n  kind:        jww\n  recognised:  yes\n  read:        ok\n  version:     7.00\n"
        "  memo:        サンプル平面図\n               Plandown example\n"
        "  objects:     11 declared; line 4, arc 1, point 1, text 1, dimension 1, solid 1, block 2\n"
        "  blocks:      1 definitions, 1 referenced, 2 tree nodes\n  images:      0\n"},
       {}},
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
    if (c.status == 2) {
      EXPECT_TRUE(fs::is_empty(root() / "out")) << "a usage error wrote something";
    }
  }
}

TEST_F(CliFixture, ConvertBacksUpAndWritesReadableDrawings) {
  WriteBytes(root() / "out" / "new.jww", "former");
  const CliRun r = RunPlandown(root(), {"convert", "--to", "4.20", "--out", "out", "src/new.jww"});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("  backup: out/new.BAK\n"), std::string::npos) << r.out;
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

// A 7.00 drawing that carries one image, with a memo that needs JSON escapes.
void WriteDrawingWithImage(const fs::path& path, const fs::path& imageFolder) {
  fs::create_directories(imageFolder);
  WriteBytes(imageFolder / "pic.png", std::string(3000, 'p'));
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
            " {\"path\": \"src/img.jww\", \"kind\": \"jww\", \"recognised\": true, \"read_ok\": true, \"version\": 700, "
            "\"memo\": \"a \\\"quoted\\\" \\\\ memo\\r\\n\\t二行目\", \"counts\": {\"line\": 0, \"arc\": 0, \"point\": 0, "
            "\"text\": 1, \"dimension\": 0, \"solid\": 0, \"block\": 0}, \"declared_objects\": 1, \"block_definitions\": 0, "
            "\"referenced_definitions\": 0, \"block_tree_nodes\": 0, \"bound_images\": [{\"name\": \"pic.png\", \"size\": 3000}]},\n"
            " {\"path\": \"src/note.txt\", \"kind\": \"unknown\", \"recognised\": false, \"read_ok\": false, \"version\": null, "
            "\"memo\": \"\", \"counts\": {\"line\": 0, \"arc\": 0, \"point\": 0, \"text\": 0, \"dimension\": 0, \"solid\": 0, "
            "\"block\": 0}, \"declared_objects\": 0, \"block_definitions\": 0, \"referenced_definitions\": 0, "
            "\"block_tree_nodes\": 0, \"bound_images\": []}\n"
            "]\n");
  EXPECT_EQ(FilesBelow(root()), before);
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
