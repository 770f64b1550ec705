#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "util/console.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> words = plandown::CommandLineWords(argc, argv);
  std::ostream& out = plandown::StandardOutput();
  std::ostream& err = plandown::StandardError();
  const int status = plandown::cli::Run(words, out, err);
  out.flush();
  err.flush();
  return status;
}
