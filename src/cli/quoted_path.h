// A path that swallowed its closing quote: cmd and PowerShell pass "D:\out\" as D:\out"
// (the backslash escapes the quote), and a Windows path cannot hold a quote.
#pragma once
#include <optional>
#include <span>
#include <string>

namespace plandown::cli {

// The usage error for the first word that holds a quote, naming the word as received;
// none when no word holds one.
std::optional<std::string> SwallowedQuoteError(std::span<const std::string> words);

}  // namespace plandown::cli
