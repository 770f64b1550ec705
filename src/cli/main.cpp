#include <iostream>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/cli.h"
#include "cli/exit_codes.h"
#include "cli/quoted_path.h"
#include "util/console.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> words = plandown::CommandLineWords(argc, argv);
  std::ostream& out = plandown::StandardOutput();
  std::ostream& err = plandown::StandardError();
  if (plandown::QuotesCannotBeInWords()) {
    if (const auto error = plandown::cli::SwallowedQuoteError(words)) {
      err << "plandown: " << *error << "\nRun 'plandown --help' for usage.\n";
      err.flush();
      return plandown::cli::kExitUsage;
    }
  }
  // A JSON document is UTF-8 wherever it goes.
  const plandown::cli::ParsedArguments parsed = plandown::cli::ParseArguments(words);
  if (parsed.arguments && parsed.arguments->json) plandown::KeepStandardOutputUtf8();
  const int status = plandown::cli::Run(words, out, err);
  out.flush();
  err.flush();
  return status;
}
