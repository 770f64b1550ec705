// The command line as a newcomer meets it: usage errors, --version, help per command, the
// DOS-era files in `info`, lists of files from other programs, and the shell completion.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>

#include "cli/arguments.h"
#include "cli/cli.h"
#include "plandown/version.h"
#include "support/file_text.h"
#include "support/plan_drawing.h"
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

constexpr const char* kHint = "Run 'plandown --help' for usage.\n";

TEST(CliUsage, AnErrorIsOneLineAndAHint) {
  const struct {
    std::vector<std::string> args;
    const char* error;
  } cases[] = {
      {{"frob"}, "unknown command 'frob'"},
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"convert", "--to", "5.00", "--out", "out", "a.jww"}, "unknown target version '5.00' (6.00, 4.20, 3.51 or 3.00)"},
      {{"convert", "--bogus=1", "--out", "out", "a.jww"}, "unknown option '--bogus' for convert"},
      {{"info", "--to", "3.00", "a.jww"}, "unknown option '--to' for info"},
      {{"convert", "a.jww", "-o"}, "option '--out' needs a value"},
      {{"info", "--json=yes", "a.jww"}, "option '--json' takes no value"},
      {{"convert", "--jpeg-quality", "101", "--out", "out", "a.jww"}, "--jpeg-quality takes a whole number from 0 to 100"},
      {{"convert", "--null", "--out", "out", "a.jww"}, "--null goes with --files-from"},
      {{"convert", "--out", "out"}, "no FILE given"},
      {{"list"}, "no FOLDER given"},
      {{"--", "info"}, "no command given"},
      {{"help", "frob"}, "unknown command 'frob'"},
      {{"help", "info", "list"}, "help takes one COMMAND"},
      {{"convert", "--files-from", "absent.txt", "--out", "out"}, "cannot read the file list absent.txt"},
      {{"render", "--format", "gif", "--out", "out", "a.jww"}, "unknown picture format 'gif' (svg or png)"},
      {{"render", "--to", "7.00", "--out", "out", "a.jww"}, "unknown target version '7.00' (6.00, 4.20, 3.51 or 3.00)"},
      {{"render", "--size", "800", "--out", "out", "a.jww"}, "--size takes WIDTHxHEIGHT, each a whole number from 1 to 8192"},
      {{"render", "--size", "0x600", "--out", "out", "a.jww"}, "--size takes WIDTHxHEIGHT, each a whole number from 1 to 8192"},
      {{"render", "--size", "800x9000", "--out", "out", "a.jww"}, "--size takes WIDTHxHEIGHT, each a whole number from 1 to 8192"},
      {{"render", "--jobs", "2", "--out", "out", "a.jww"}, "unknown option '--jobs' for render"},
      {{"render", "--out", "out"}, "no FILE given"},
      {{"render", "a.jww", "--format"}, "option '--format' needs a value"},
  };
  TempDir tmp;
  fs::create_directories(tmp.path() / "out");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.front() + " " + c.error);
    const CliRun r = RunPlandown(tmp.path(), c.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    // A problem of the files, not of the words, gets no hint.
    const bool words = std::string(c.error).find("file list") == std::string::npos;
    EXPECT_EQ(r.err, std::string("plandown: ") + c.error + "\n" + (words ? kHint : ""));
  }
  // With no word at all, the overview follows the error.
  const CliRun bare = RunPlandown(tmp.path(), {});
  EXPECT_EQ(bare.status, 2);
  EXPECT_EQ(bare.err, "plandown: no command given\n" + RunPlandown(tmp.path(), {"--help"}).out);
  // After "--" every word is a file, "-h" too.
  const CliRun marked = RunPlandown(tmp.path(), {"info", "a.jww", "--", "-h", "--json"});
  EXPECT_EQ(marked.status, 1);
  EXPECT_NE(marked.out.find("\n-h\n  kind:        unknown\n\n--json\n  kind:        unknown\n"), std::string::npos) << marked.out;
}

TEST(CliUsage, VersionAndHelpOfEachCommand) {
  TempDir tmp;
  const std::string version = std::string("plandown ") + kVersion + "\n";
  const std::string overview = RunPlandown(tmp.path(), {"--help"}).out;
  const struct {
    std::vector<std::string> args;
    std::vector<std::string> has, hasNot;
  } cases[] = {
      {{"--version"}, {version}, {"Usage:"}},
      {{"-V"}, {version}, {"Usage:"}},
      {{"--help"},
       {"plandown info [--json] FILE...", "plandown list [--filter", "[--files-from FILE|- [--null]] FILE|FOLDER...",
        "plandown help [COMMAND]", "plandown --help | --version", "Exit status:"},
       {}},
      {{"help"}, {overview}, {}},
      {{"help", "convert"}, {"Usage:\n  plandown convert [--to", "--files-from FILE", "--delete-source-image", "Exit status:"},
       {"plandown info", "plandown list", "--filter"}},
      {{"help", "info"}, {"Usage:\n  plandown info [--json] FILE...\n\ninfo     describes", ".jwc"},
       {"plandown convert", "--filter"}},
      {{"help", "list"}, {"Usage:\n  plandown list [--filter", "--sort    the column"}, {"plandown info", "plandown convert"}},
      {{"help", "render"}, {"Usage:\n  plandown render [--format svg|png] [--size WxH]", "--to      the drawing as", "Exit status:"},
       {"plandown convert", "--recursive"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.size() > 1 ? c.args[1] : c.args[0]);
    const CliRun r = RunPlandown(tmp.path(), c.args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    for (const std::string& s : c.has) EXPECT_NE(r.out.find(s), std::string::npos) << "missing: " << s << "\nin:\n" << r.out;
    for (const std::string& s : c.hasNot) EXPECT_EQ(r.out.find(s), std::string::npos) << "unexpected: " << s << "\nin:\n" << r.out;
  }
  // "COMMAND --help" is "help COMMAND", and wins over what else is on the line.
  for (const char* command : {"info", "list", "convert", "render"}) {
    SCOPED_TRACE(command);
    const CliRun viaHelp = RunPlandown(tmp.path(), {"help", command});
    const CliRun viaOption = RunPlandown(tmp.path(), {command, "--bogus", "-h"});
    EXPECT_EQ(viaOption.status, 0);
    EXPECT_EQ(viaOption.out, viaHelp.out);
    EXPECT_NE(viaHelp.out, overview);
  }
}

// A DOS-era header: the identification block with the two comments, then `blocks` text
// blocks of which the first holds `counts`; NUL bytes pad every block.
std::string DosFile(std::string_view ident, std::string_view c1, std::string_view c2, std::string_view counts,
                    int blocks) {
  std::string b(200 * static_cast<std::size_t>(1 + blocks), '\0');
  b.replace(0, ident.size(), ident);
  b.replace(40, c1.size(), c1);
  b.replace(72, c2.size(), c2);
  b.replace(200, counts.size(), counts);
  return b;
}

TEST(CliDos, InfoShowsTheHeaderOfJwcAndJwkFiles) {
  TempDir tmp;
  const std::string jwc = DosFile("jw_cad(c)data.......", "comment one", "part two", "5,0,3,2,9", 3);
  WriteBytes(tmp.path() / "d.jwc", jwc);
  // "図面 1" in code page 932; lineCount, arcCount, tenCount, mojiCount, then the origin.
  WriteBytes(tmp.path() / "s.JWK", DosFile("jw_cad(c)sym........", "\x90\x7d\x96\xca 1", "A", "7,1,4,6,0.5", 1));
  WriteBytes(tmp.path() / "short.jwc", jwc.substr(0, 600));  // block 4 missing
  WriteBytes(tmp.path() / "shape.jwc", DosFile("jw_cad(c)sym........", "", "", "1", 3));
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out;
  } cases[] = {
      {{"info", "d.jwc", "s.JWK"}, 0,
       "d.jwc\n  kind:        jwc\n  recognised:  yes\n  read:        ok\n  version:     DOS\n"
       "  memo:        comment one part two\n  objects:     line 5, arc 0, point 2, text 3\n\n"
       "s.JWK\n  kind:        jwk\n  recognised:  yes\n  read:        ok\n  version:     DOS\n"
       "  memo:        図面 1 A\n  objects:     line 7, arc 1, point 4, text 6\n"},
      {{"info", "short.jwc", "shape.jwc"}, 1,
       "short.jwc\n  kind:        jwc\n  recognised:  yes\n  read:        failed\n\n"
       "shape.jwc\n  kind:        jwc\n  recognised:  no\n"},
      {{"info", "--json", "d.jwc", "short.jwc", "s.JWK"}, 1,
       "[\n"
       " {\"path\": \"d.jwc\", \"kind\": \"jwc\", \"recognised\": true, \"in_use\": false, \"read_ok\": true, \"version\": \"DOS\", "
       "\"memo\": \"comment one part two\", \"counts\": {\"line\": 5, \"arc\": 0, \"point\": 2, \"text\": 3}, "
       "\"declared_objects\": null, \"block_definitions\": null, \"referenced_definitions\": null, "
       "\"block_tree_nodes\": null, \"bound_images\": [], \"extent\": null},\n"
       " {\"path\": \"short.jwc\", \"kind\": \"jwc\", \"recognised\": true, \"in_use\": false, \"read_ok\": false, \"version\": null, "
       "\"memo\": \"\", \"counts\": {\"line\": 0, \"arc\": 0, \"point\": 0, \"text\": 0}, "
       "\"declared_objects\": null, \"block_definitions\": null, \"referenced_definitions\": null, "
       "\"block_tree_nodes\": null, \"bound_images\": [], \"extent\": null},\n"
       " {\"path\": \"s.JWK\", \"kind\": \"jwk\", \"recognised\": true, \"in_use\": false, \"read_ok\": true, \"version\": \"DOS\", "
       "\"memo\": \"図面 1 A\", \"counts\": {\"line\": 7, \"arc\": 1, \"point\": 4, \"text\": 6}, "
       "\"declared_objects\": null, \"block_definitions\": null, \"referenced_definitions\": null, "
       "\"block_tree_nodes\": null, \"bound_images\": [], \"extent\": null}\n"
       "]\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[1]);
    const CliRun r = RunPlandown(tmp.path(), c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, c.out);
  }
}

// Runs the command line in this process with `input` as standard input, in `cwd`.
CliRun RunWithInput(const fs::path& cwd, const std::vector<std::string>& args, const std::string& input) {
  const fs::path before = fs::current_path();
  fs::current_path(cwd);
  std::istringstream in(input);
  std::streambuf* const stdinBuffer = std::cin.rdbuf(in.rdbuf());
  std::ostringstream out, err;
  CliRun r;
  r.status = cli::Run(args, out, err);
  std::cin.rdbuf(stdinBuffer);
  fs::current_path(before);
  r.out = out.str();
  r.err = err.str();
  return r;
}

// The sources in the order of their "converted:" or "refused:" lines.
std::vector<std::string> SourcesInOrder(const std::string& out) {
  std::vector<std::string> sources;
  std::istringstream lines(out);
  // The summary starts after the first empty line.
  for (std::string line; std::getline(lines, line) && !line.empty();) {
    for (const std::string head : {"converted: ", "refused: "}) {
      if (line.rfind(head, 0) != 0) continue;
      const std::string rest = line.substr(head.size());
      std::string source = rest.substr(0, std::min(rest.find(" -> "), rest.find(": ")));
#ifdef _WIN32
      // A file found in a listed folder is joined with the native separator.
      std::replace(source.begin(), source.end(), '\\', '/');
#endif
      sources.push_back(std::move(source));
    }
  }
  return sources;
}

TEST(CliFilesFrom, ListedPathsAreConvertedAsIfGivenInThatOrder) {
  TempDir tmp;
  const fs::path& root = tmp.path();
  fs::create_directories(root / "src" / "sub");
  for (const char* name : {"a.jww", "b.jww", "c d.jww", "sub/e.jww"})
    ASSERT_TRUE(testing::WritePlan(FromFsPath(root / "src" / name), 700));
  // A name with a line break travels only in a NUL-separated list (Windows allows no line
  // break in a name: there the list carries a name with a space).
#ifdef _WIN32
  const std::string odd = "src/two lines.jww";
#else
  const std::string odd = "src/two\nlines.jww";
#endif
  ASSERT_TRUE(testing::WritePlan(FromFsPath(root / odd), 700));
  const struct {
    const char* name;
    std::string list;
    std::vector<std::string> options;  // before the positional source
    bool viaStdin;
    int status;
    std::vector<std::string> sources;
  } cases[] = {
      {"lines, CR LF and blank ones", "src/c d.jww\r\n\nsrc/a.jww\n", {}, false, 0,
       {"src/b.jww", "src/c d.jww", "src/a.jww"}},
      {"a folder and a missing file", "src/sub\nsrc/absent.jww", {}, false, 1,
       {"src/b.jww", "src/sub/e.jww", "src/absent.jww"}},
      {"NUL-separated", odd + std::string("\0src/a.jww\0", 11), {"--null"}, false, 0,
       {"src/b.jww", odd, "src/a.jww"}},
      {"lines on standard input", "src/a.jww\nsrc/c d.jww\n", {}, true, 0, {"src/b.jww", "src/a.jww", "src/c d.jww"}},
      {"NUL-separated on standard input", std::string("src/c d.jww\0", 12), {"--null"}, true, 0,
       {"src/b.jww", "src/c d.jww"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(root / "out");
    fs::create_directories(root / "out");
    std::vector<std::string> args = {"convert", "--out", "out", "--files-from", c.viaStdin ? "-" : "list.txt"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back("src/b.jww");
    WriteBytes(root / "list.txt", c.list);
    const CliRun r = c.viaStdin ? RunWithInput(root, args, c.list) : RunPlandown(root, args);
    EXPECT_EQ(r.status, c.status) << r.out << r.err;
    std::vector<std::string> expected = c.sources;
    // A line break in a name continues the line of the output; compare the first part.
    for (std::string& s : expected) s = s.substr(0, s.find('\n'));
    EXPECT_EQ(SourcesInOrder(r.out), expected) << r.out;
  }
  // A list of NUL-ended paths read as lines would give paths that hold NUL bytes.
  WriteBytes(root / "list.txt", std::string("src/a.jww\0src/b.jww\0", 20));
  const CliRun forgotten = RunPlandown(root, {"convert", "--out", "out", "--files-from", "list.txt"});
  EXPECT_EQ(forgotten.status, 2);
  EXPECT_EQ(forgotten.err, "plandown: the file list list.txt is separated by NUL bytes: add --null\n");
  EXPECT_EQ(forgotten.out, "");
}

TEST(CliFilesFrom, AnEmptyListConvertsNothingAndSucceeds) {
  TempDir tmp;
  fs::create_directories(tmp.path() / "out");
  const CliRun r = RunWithInput(tmp.path(), {"convert", "--files-from", "-", "--out", "out"}, "");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("0個のファイルを変換しました。\n"), std::string::npos) << r.out;
}

#ifndef _WIN32
TEST(CliUsage, APipeIsRefusedWithoutWaitingForAWriter) {
  TempDir tmp;
  fs::create_directories(tmp.path() / "out");
  for (const char* name : {"pipe.jww", "pipe.jws", "pipe.jwc"}) ASSERT_EQ(mkfifo((tmp.path() / name).c_str(), 0600), 0);
  const CliRun info = RunPlandown(tmp.path(), {"info", "pipe.jww", "pipe.jws", "pipe.jwc"});
  EXPECT_EQ(info.status, 1);
  EXPECT_NE(info.out.find("pipe.jww\n  kind:        jww\n  recognised:  no\n"), std::string::npos) << info.out;
  for (const char* command : {"convert", "render"}) {
    const CliRun r = RunPlandown(tmp.path(), {command, "--out", "out", "pipe.jww", "pipe.jws"});
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_NE(r.out.find("  pipe.jww: cannot be opened (not a regular file)\n"
                         "  pipe.jws: cannot be opened (not a regular file)\n"),
              std::string::npos)
        << r.out;
  }
}
#endif

// What the completion script offers for a command line that ends at the cursor ("|").
std::vector<std::string> Complete(const fs::path& cwd, const std::string& line) {
  const fs::path script = fs::path(PLANDOWN_SOURCE_DIR) / "completion" / "plandown.bash";
  const std::string cmd = "cd '" + cwd.string() + "' && bash -c 'source \"$0\"; read -ra COMP_WORDS <<< \"${1%|}\"; "
                          "[[ $1 == *\" |\" ]] && COMP_WORDS+=(\"\"); COMP_CWORD=$((${#COMP_WORDS[@]}-1)); _plandown; "
                          "printf \"%s\\n\" \"${COMPREPLY[@]}\"' '" + script.string() + "' '" + line + "' >completion.txt";
  if (std::system(cmd.c_str()) != 0) return {"(bash failed)"};
  std::vector<std::string> words;
  std::istringstream text(ReadBytes(cwd / "completion.txt"));
  for (std::string w; std::getline(text, w);)
    if (!w.empty()) words.push_back(w);
  std::sort(words.begin(), words.end());
  return words;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

TEST(CliCompletion, OffersEveryOptionOfTheParserAndTheirValues) {
  if (std::system("command -v bash >/dev/null 2>&1") != 0) GTEST_SKIP() << "no bash";
  TempDir tmp;
  fs::create_directories(tmp.path() / "folder");
  WriteBytes(tmp.path() / "plan.jww", "x");
  using cli::Command;
  // The script's options are exactly those the parser knows.
  EXPECT_EQ(Complete(tmp.path(), "plandown -|"), Sorted(cli::OptionNames(Command::kHelp)));
  EXPECT_EQ(Complete(tmp.path(), "plandown info -|"), Sorted(cli::OptionNames(Command::kInfo)));
  EXPECT_EQ(Complete(tmp.path(), "plandown list -|"), Sorted(cli::OptionNames(Command::kList)));
  EXPECT_EQ(Complete(tmp.path(), "plandown convert -r -|"), Sorted(cli::OptionNames(Command::kConvert)));
  EXPECT_EQ(Complete(tmp.path(), "plandown render -|"), Sorted(cli::OptionNames(Command::kRender)));
  // Every value offered is one the parser takes.
  for (const std::string& v : Complete(tmp.path(), "plandown convert --to |")) EXPECT_TRUE(cli::OutVersionIndexOf(v)) << v;
  for (const std::string& v : Complete(tmp.path(), "plandown convert --image-format |"))
    EXPECT_TRUE(cli::ImageFormatIndexOf(v)) << v;
  for (const std::string& v : Complete(tmp.path(), "plandown render --to |")) EXPECT_TRUE(cli::OutVersionIndexOf(v)) << v;
  for (const std::string& v : Complete(tmp.path(), "plandown render --format |")) EXPECT_TRUE(cli::PictureFormatOf(v)) << v;
  for (const std::string& v : Complete(tmp.path(), "plandown list --filter |")) EXPECT_TRUE(cli::FilterIndexOf(v)) << v;
  for (const std::string& v : Complete(tmp.path(), "plandown list --sort |")) EXPECT_TRUE(cli::SortColumnOf(v)) << v;
  const struct {
    const char* line;
    std::vector<std::string> words;
  } cases[] = {
      {"plandown |", {"convert", "help", "info", "list", "render"}},
      {"plandown help r|", {"render"}},
      {"plandown render --format |", {"png", "svg"}},
      {"plandown render --out |", {"folder"}},
      {"plandown help c|", {"convert"}},
      {"plandown convert --to |", {"3.00", "3.51", "4.20", "6.00"}},
      {"plandown convert --to = 3|", {"3.00", "3.51"}},  // "--to=3", as bash splits it
      {"plandown list --sort m|", {"memo", "modified"}},
      {"plandown convert --out |", {"folder"}},
      {"plandown list |", {"folder"}},
      {"plandown info p|", {"plan.jww"}},
      {"plandown convert -o folder |", {"completion.txt", "folder", "plan.jww"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Complete(tmp.path(), c.line), c.words) << c.line;
}

}  // namespace
}  // namespace plandown
