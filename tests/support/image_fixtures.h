// Pictures, encoded images and gzip data for bound-image tests.
#pragma once
#include <wx/image.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace plandown::testing {

using Bytes8 = std::vector<std::uint8_t>;

// A small picture whose pixels all differ, so that a lossless round trip can be checked.
wxImage TestPicture(int w = 7, int h = 5);
// The picture in a file format, in memory.
Bytes8 Encoded(const wxImage& img, wxBitmapType type);
// gzip framing, as the drawing program stores compressed images.
Bytes8 GzipBytes(const Bytes8& data);
// Every file under root, as paths relative to it.
std::set<std::string> FilesUnder(const std::filesystem::path& root);

}  // namespace plandown::testing
