// `plandown list`: the six columns of a folder's files, their sort, filter and JSON form,
// on fixtures written by the project's own writers and on the shared corpus.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>

#include "cli/text_output.h"
#include "jws/jws_data.h"
#include "support/file_text.h"
#include "support/plan_drawing.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/text.h"

namespace plandown {
namespace {

namespace fs = std::filesystem;
using testing::CliRun;
using testing::RunPlandown;
using testing::TempDir;
using testing::WriteBytes;

// The names of a table's rows, in order: the first word of each line between the header
// and the closing status text.
std::vector<std::string> TableNames(const std::string& out) {
  std::vector<std::string> names;
  std::istringstream lines(out);
  std::string line;
  std::getline(lines, line);  // header
  while (std::getline(lines, line))
    if (line.rfind("ファイル検索しました", 0) != 0) names.push_back(line.substr(0, line.find(' ')));
  return names;
}

constexpr std::int64_t kWhen = 1600000000;

class CliList : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = tmp_.path() / "L";
    fs::create_directories(folder_ / "sub.jww");  // folders are not listed
    ASSERT_TRUE(testing::WritePlan(FromFsPath(folder_ / "a.jww"), 700));
    ASSERT_TRUE(testing::WritePlan(FromFsPath(folder_ / "c.jww"), 600));
    ASSERT_TRUE(testing::WritePlan(FromFsPath(folder_ / "Z.JWW"), 351));
    TJwsData shape;
    shape.Enthd.jwVer = 700;
    shape.EntLgrp.assign(16, {});
    ASSERT_TRUE(shape.FileOut(FromFsPath(folder_ / "b.jws"), 420));
    WriteBytes(folder_ / "x999.txt", std::string(999, 'x'));
    WriteBytes(folder_ / "x1000.txt", std::string(1000, 'x'));
    for (const auto& e : fs::directory_iterator(folder_)) {
      if (!e.is_regular_file()) continue;
      FileTimes t;
      t.write = t.access = FileTime{true, kWhen, 0};
      ASSERT_TRUE(WriteFileTimes(FromFsPath(e.path()), t));
    }
  }
  CliRun List(std::vector<std::string> options) {
    options.insert(options.begin(), "list");
    options.push_back("L");
    return RunPlandown(tmp_.path(), options);
  }
  // The names ordered by size, smallest first.
  std::vector<std::string> BySize() const {
    std::vector<std::string> names = {"a.jww", "b.jws", "c.jww", "x1000.txt", "x999.txt", "Z.JWW"};
    std::stable_sort(names.begin(), names.end(), [&](const std::string& x, const std::string& y) {
      return fs::file_size(folder_ / x) < fs::file_size(folder_ / y);
    });
    return names;
  }
  static std::string ModifiedText() {
    char text[32];
    const std::time_t t = static_cast<std::time_t>(kWhen);
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", std::localtime(&t));
    return text;
  }

  TempDir tmp_;
  fs::path folder_;
};

TEST_F(CliList, FilterAndSort) {
  using Names = std::vector<std::string>;
  const Names byName = {"a.jww", "b.jws", "c.jww", "x1000.txt", "x999.txt", "Z.JWW"};
  Names reversed(byName.rbegin(), byName.rend());
  Names bySizeDown = BySize();
  std::reverse(bySizeDown.begin(), bySizeDown.end());
  const struct {
    std::vector<std::string> options;
    Names names;
  } cases[] = {
      {{}, byName},  // letters compared without regard to case
      {{"--desc"}, reversed},
      {{"--sort", "name", "--desc"}, reversed},
      {{"--sort", "size"}, BySize()},  // 999 before 1000: sizes compare by magnitude
      {{"--sort", "size", "--desc"}, bySizeDown},
      {{"--filter", "jww"}, {"a.jww", "c.jww", "Z.JWW"}},
      {{"--filter", "jw", "--sort", "version"}, {"Z.JWW", "b.jws", "c.jww", "a.jww"}},
      {{"--filter", "jw", "--sort", "type", "--desc"}, {"a.jww", "c.jww", "Z.JWW", "b.jws"}},  // equal types in name order
      {{"--filter", "jws"}, {"b.jws"}},
      {{"--filter", "jwk"}, {}},
  };
  for (const auto& c : cases) {
    std::string name;
    for (const std::string& o : c.options) name += o + " ";
    SCOPED_TRACE(name);
    const CliRun r = List(c.options);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(TableNames(r.out), c.names) << r.out;
    EXPECT_NE(r.out.find("ファイル検索しました（ファイル数：" + std::to_string(c.names.size()) + "）\n"), std::string::npos);
  }
  const Names bySize = BySize();
  EXPECT_LT(std::find(bySize.begin(), bySize.end(), "x999.txt"), std::find(bySize.begin(), bySize.end(), "x1000.txt"));
}

TEST_F(CliList, ColumnsLineUpAndJsonHoldsTheSameTexts) {
  const CliRun table = List({"--filter", "jw"});
  ASSERT_EQ(table.status, 0);
  // Every line starts its "modified" column where the header does, wide memo characters
  // and all, and the size stands right-aligned under its header.
  std::istringstream lines(table.out);
  std::string header, line;
  std::getline(lines, header);
  EXPECT_EQ(header.substr(0, 4), "name");
  const auto columnOf = [](const std::string& l, std::size_t byte) { return cli::DisplayWidth(FromUtf8(l.substr(0, byte))); };
  const std::size_t modified = columnOf(header, header.find("modified"));
  const std::size_t sizeEnd = columnOf(header, header.find("size") + 4);
  int rows = 0;
  while (std::getline(lines, line) && line.rfind("ファイル検索", 0) != 0) {
    ++rows;
    EXPECT_EQ(columnOf(line, line.find(ModifiedText())), modified) << line;
    const std::string size = std::to_string(fs::file_size(folder_ / line.substr(0, line.find(' '))));
    EXPECT_EQ(columnOf(line, line.find(" " + size + " ") + 1 + size.size()), sizeEnd) << line;
  }
  EXPECT_EQ(rows, 4);
  EXPECT_NE(table.out.find("サンプル平面図Plandownexample"), std::string::npos) << table.out;

  const CliRun json = List({"--json", "--filter", "jw", "--sort", "version", "--desc"});
  EXPECT_EQ(json.status, 0);
  const auto row = [&](const char* name, const char* type, const char* memo, const char* version) {
    return std::string("{\"name\": \"") + name + "\", \"type\": \"" + type + "\", \"memo\": \"" + memo +
           "\", \"modified\": \"" + ModifiedText() + "\", \"size\": " + std::to_string(fs::file_size(folder_ / name)) +
           ", \"version\": \"" + version + "\"}";
  };
  const char* memo = "サンプル平面図Plandownexample";
  EXPECT_EQ(json.out, "[\n " + row("a.jww", ".jww", memo, "700") + ",\n " + row("c.jww", ".jww", memo, "600") + ",\n " +
                          row("b.jws", ".jws", "", "420") + ",\n " + row("Z.JWW", ".jww", memo, "351") + "\n]\n");
  const CliRun none = List({"--json", "--filter", "jwc"});
  EXPECT_EQ(none.out, "[]\n");
}

TEST_F(CliList, ReadsNoMoreThanHeaders) {
  // A drawing cut right after its header lists with its version: only the header is read.
  const std::string whole = testing::ReadBytes(folder_ / "a.jww");
  const std::size_t cut = whole.find("CData");
  ASSERT_NE(cut, std::string::npos);
  WriteBytes(folder_ / "cut.jww", whole.substr(0, cut));
  const CliRun r = List({"--json", "--filter", "jww"});
  EXPECT_NE(r.out.find("{\"name\": \"cut.jww\", \"type\": \".jww\", \"memo\": \"サンプル平面図Plandownexample\""),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find(", \"version\": \"700\"}"), std::string::npos);
}

TEST(CliListCorpus, EveryDrawingAndShapeWithItsVersion) {
  const fs::path corpus = testing::CorpusDir();
  if (corpus.empty()) GTEST_SKIP() << "corpus folder ../shared/corpus not present; nothing to list";
  std::vector<fs::path> folders = {corpus};
  for (const auto& e : fs::recursive_directory_iterator(corpus))
    if (e.is_directory()) folders.push_back(e.path());
  const std::regex rowPattern(R"re(^ ?\{"name": "(.*)", "type": "(\.[a-z0-9$]*)", "memo": .*, "version": "(.*)"\},?$)re");
  std::size_t listed = 0;
  for (const fs::path& folder : folders) {
    SCOPED_TRACE(folder.string());
    const CliRun r = RunPlandown(folder, {"list", "--json", "--filter", "jw", "."});
    ASSERT_EQ(r.status, 0) << r.err;
    std::set<std::string> names;
    std::istringstream lines(r.out);
    std::string line;
    while (std::getline(lines, line)) {
      std::smatch m;
      if (!std::regex_match(line, m, rowPattern)) continue;
      names.insert(m[1]);
      const int version = std::atoi(m[3].str().c_str());
      const int lowest = m[2] == ".jws" ? 230 : 220;
      if (m[2] == ".jww" || m[2] == ".jws") {
        EXPECT_TRUE(version >= lowest && version <= 700) << m[1] << " version \"" << m[3] << "\"";
        ++listed;
      }
    }
    for (const auto& e : fs::directory_iterator(folder)) {
      const std::string ext = ToUtf8(LowerText(FromFsPath(e.path().extension())));
      if (e.is_regular_file() && (ext == ".jww" || ext == ".jws")) {
        EXPECT_TRUE(names.contains(e.path().filename().string())) << e.path().filename() << " not listed";
      }
    }
  }
  EXPECT_GT(listed, 0u);
}

}  // namespace
}  // namespace plandown
