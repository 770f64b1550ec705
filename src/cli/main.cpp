#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
  return plandown::cli::Run(words, std::cout, std::cerr);
}
