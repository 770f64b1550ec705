// Whole files as byte strings at any path, for tests that compare file contents.
#pragma once
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace plandown::testing {

std::string ReadBytes(const std::filesystem::path& p);  // empty when unreadable
void WriteBytes(const std::filesystem::path& p, std::string_view bytes);
// Every file below root (by its path relative to root, with "/") and its bytes.
std::map<std::string, std::string> TreeBytes(const std::filesystem::path& root);

}  // namespace plandown::testing
