// Whole files as byte strings at any path, for tests that compare file contents.
#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace plandown::testing {

std::string ReadBytes(const std::filesystem::path& p);  // empty when unreadable
void WriteBytes(const std::filesystem::path& p, std::string_view bytes);

}  // namespace plandown::testing
