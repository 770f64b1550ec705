// The command line as a function: words in, text out, an exit status back.
#pragma once
#include <iosfwd>
#include <span>
#include <string>

namespace plandown::cli {

// `words` excludes the program name. Every command ends here with its status.
int Run(std::span<const std::string> words, std::ostream& out, std::ostream& err);

}  // namespace plandown::cli
