// The functions that need the graphics library (wxWidgets: image codecs and raster
// pictures), reached through one table so that a program that does not draw or convert
// images never loads the library. A program linked with the graphics code registers its
// table at start (the window, the Windows build, the tests); otherwise the first use loads
// the graphics module that is installed beside the program.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "util/ustring.h"

namespace plandown {

namespace render {
struct DrawingInput;
struct RenderOptions;
struct RenderResult;
}  // namespace render

// What an image is encoded as.
enum class ImageEncoding : int { kBmp, kGif, kPng, kTiff, kJpeg };

// What became of a PNG picture.
enum class PngPictureStatus : int {
  kWritten,
  kNoGraphics,   // the graphics library could not start: nothing drawn, no file
  kWriteFailed,  // the file could not be written: none is left at the path
};

// The table a graphics module hands out. To add a facility, append an entry here, fill it
// in src/graphics/entries.cpp and bump kGraphicsEntriesVersion.
inline constexpr std::uint32_t kGraphicsEntriesVersion = 1;
struct GraphicsEntries {
  std::uint32_t version;  // kGraphicsEntriesVersion of the code that made the table
  std::uint32_t size;     // sizeof(GraphicsEntries) there
  // Starts the library and its image handlers once; true when images can be coded.
  bool (*initImages)();
  // Decodes the image file held in `src` (any format the codecs know) and encodes it as
  // `encoding` into `out`; `quality` (0..100) applies to JPEG.
  bool (*encodeImage)(const std::uint8_t* src, std::size_t size, ImageEncoding encoding, int quality,
                      std::vector<std::uint8_t>* out);
  // Renders a document into a width × height picture and writes it to `path` as PNG.
  PngPictureStatus (*writePngPicture)(const render::DrawingInput& in, const render::RenderOptions& options,
                                      const String& path, render::RenderResult& result);
};

// Makes `entries` the program's table; called before the first use, from a static
// initialiser of the program's own.
void UseGraphicsEntries(const GraphicsEntries* entries);

// The program's table, loading the graphics module on the first call when none was
// registered; nullptr when there is none (the module is missing or does not match).
const GraphicsEntries* GraphicsModule();

}  // namespace plandown
