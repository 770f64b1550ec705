// The command line as a Windows user types it in cmd or PowerShell: the path whose
// closing quote a trailing backslash escaped, "/?" for help, and redirected output in the
// console's code page (checked as bytes by scripts/test-windows-packaging.sh).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/quoted_path.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace plandown {
namespace {

TEST(SwallowedQuote, NamesTheWordAsReceivedAndTheCause) {
  struct Case {
    std::vector<std::string> words;
    std::string named;  // empty: no error
  };
  const std::vector<Case> cases = {
      {{"convert", "--out", "D:\\out", "C:\\src"}, ""},
      {{"list", "D:\\図面\""}, "'D:\\図面\"'"},
      // The escaped quote keeps the quoted mode open: the next path joins the word.
      {{"convert", "--out", "D:\\out\" C:\\src"}, "'D:\\out\" C:\\src'"},
      {{"convert", "--out=D:\\out\""}, "'--out=D:\\out\"'"},
  };
  for (const Case& c : cases) {
    const auto error = cli::SwallowedQuoteError(c.words);
    if (c.named.empty()) {
      EXPECT_FALSE(error) << *error;
      continue;
    }
    ASSERT_TRUE(error) << c.named;
    EXPECT_EQ(error->rfind(c.named, 0), 0u) << *error;
    EXPECT_NE(error->find("backslash just before a closing quote"), std::string::npos) << *error;
  }
}

// On Windows both "/?" and a quote in a path are taken as a Windows user means them;
// elsewhere "/?" is a path like any other and a quote may be part of a file name.
TEST(WindowsHabits, HelpAndQuotesFollowThePlatform) {
  testing::TempDir tmp;
  const testing::CliRun help = testing::RunPlandown(tmp.path(), {"/?"});
  const testing::CliRun quote = testing::RunPlandown(tmp.path(), {"list", "D:\\out\""});
#ifdef _WIN32
  EXPECT_EQ(help.status, 0) << help.err;
  EXPECT_NE(help.out.find("Usage:"), std::string::npos) << help.out;
  EXPECT_EQ(quote.status, 2);
  EXPECT_NE(quote.err.find("'D:\\out\"': a path cannot hold"), std::string::npos) << quote.err;
#else
  EXPECT_EQ(help.status, 2);
  EXPECT_EQ(help.out, "");
  EXPECT_EQ(quote.err.find("a path cannot hold"), std::string::npos) << quote.err;
#endif
}

}  // namespace
}  // namespace plandown
