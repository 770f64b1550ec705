#include "cli/quoted_path.h"

namespace plandown::cli {

std::optional<std::string> SwallowedQuoteError(std::span<const std::string> words) {
  for (const std::string& word : words) {
    if (word.find('"') == std::string::npos) continue;
    return "'" + word +
           "': a path cannot hold '\"'. A backslash just before a closing quote (\"D:\\out\\\") "
           "keeps the quote in the path; leave that backslash out (\"D:\\out\") or double it "
           "(\"D:\\out\\\\\")";
  }
  return std::nullopt;
}

}  // namespace plandown::cli
