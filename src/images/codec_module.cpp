#include "images/codec_module.h"

#include <mutex>

#ifdef PLANDOWN_CODECS_LINKED
extern "C" const PlandownCodecTable* plandown_codec_table(void);
#else
#include "util/module_loader.h"
#endif

namespace plandown {

const PlandownCodecTable* CodecModule() {
  static std::once_flag once;
  static const PlandownCodecTable* table = nullptr;
  std::call_once(once, [] {
    const PlandownCodecTable* t = nullptr;
#ifdef PLANDOWN_CODECS_LINKED
    t = plandown_codec_table();
#else
    // Beside the executable in the build folder; under the library folder once installed.
    const auto entry = reinterpret_cast<PlandownCodecEntry>(
        LoadProgramModule(u"" PLANDOWN_CODEC_MODULE_FILE, {u"", u"" PLANDOWN_CODEC_MODULE_DIR}, PLANDOWN_CODEC_ENTRY));
    if (entry) t = entry();
#endif
    if (t && t->abi == kPlandownCodecAbi) table = t;
  });
  return table;
}

}  // namespace plandown
