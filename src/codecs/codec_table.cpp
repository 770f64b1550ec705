// The codec module's table: one entry per facility (see images/codec_module.h).
#include "codecs/image_codec.h"
#include "images/codec_module.h"

#include <cstdlib>

namespace {

void FreeBytes(std::uint8_t* data) { std::free(data); }

const PlandownCodecTable kTable = {
    kPlandownCodecAbi,
    &plandown::codecs::InitImageCodecs,
    &FreeBytes,
    &plandown::codecs::EncodeImage,
};

}  // namespace

// The module is built with hidden symbols; its entry alone is seen from outside.
#ifdef PLANDOWN_CODECS_LINKED
#define PLANDOWN_CODEC_EXPORT
#else
#define PLANDOWN_CODEC_EXPORT __attribute__((visibility("default")))
#endif

extern "C" PLANDOWN_CODEC_EXPORT const PlandownCodecTable* plandown_codec_table(void) {
  return &kTable;
}
