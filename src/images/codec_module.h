// The codec module: what needs the window toolkit's libraries (wxImage's codecs), behind
// a table of C functions. On Linux the module is a shared library of its own, loaded on
// first use, so that a command line run that converts no image never loads the toolkit
// (and the GTK stack behind it); where the programs are linked statically (Windows) the
// same table is reached by a direct call.
//
// Adding a facility: append one function pointer at the end of PlandownCodecTable,
// implement it in src/codecs (the module's sources) and fill it in the table there, then
// raise kPlandownCodecAbi so that a module of an older build is refused instead of
// called through a shorter table. Callers reach the table through CodecModule().
#pragma once
#include <cstddef>
#include <cstdint>

extern "C" {

// Bytes the module allocated for the caller, handed back through free_bytes.
struct PlandownBytes {
  std::uint8_t* data;
  std::size_t size;
};

// Image formats of encode_image.
enum PlandownImageFormat : int {
  kPlandownBmp = 1,
  kPlandownGif = 2,
  kPlandownPng = 3,
  kPlandownTiff = 4,
  kPlandownJpeg = 5,
};

struct PlandownCodecTable {
  std::uint32_t abi;  // kPlandownCodecAbi of the module's build
  // Starts the toolkit's base library and the image handlers once; non-zero when images
  // can be loaded and saved. Every other entry calls it itself.
  int (*init)(void);
  // Frees what an entry handed out in a PlandownBytes.
  void (*free_bytes)(std::uint8_t* data);
  // Decodes an image file of any format the codecs know from [src, src + size) and
  // encodes it as `format` into *out; `quality` (0..100) applies to JPEG. Non-zero on
  // success. Calls from several threads are serialised.
  int (*encode_image)(const std::uint8_t* src, std::size_t size, int format, int quality, PlandownBytes* out);
};

inline constexpr std::uint32_t kPlandownCodecAbi = 1;

// The module's one exported symbol: returns its table.
#define PLANDOWN_CODEC_ENTRY "plandown_codec_table"
typedef const PlandownCodecTable* (*PlandownCodecEntry)(void);

}  // extern "C"

namespace plandown {

// The codec table, loaded on the first call (from the executable's folder, then from the
// installed module folder); nullptr when the module is missing or of another build.
// Thread-safe.
const PlandownCodecTable* CodecModule();

}  // namespace plandown
