#include "util/graphics_module.h"

#include <atomic>
#include <mutex>

#include "util/desktop.h"
#include "util/paths.h"
#include "util/platform_module.h"

namespace plandown {

namespace {

std::atomic<const GraphicsEntries*> gEntries{nullptr};

bool Matches(const GraphicsEntries* e) {
  return e != nullptr && e->version == kGraphicsEntriesVersion && e->size == sizeof(GraphicsEntries);
}

const GraphicsEntries* LoadGraphicsModule() {
#ifdef PLANDOWN_GRAPHICS_MODULE_NAME
  const String folder = ExtractFolder(ExecutablePath());
  if (folder.empty()) return nullptr;
  // Beside the program (the build tree), then where the installation keeps it.
  for (const String& candidate : {AddPathDelim(folder) + FromUtf8(PLANDOWN_GRAPHICS_MODULE_NAME),
                                  AddPathDelim(folder) + FromUtf8(PLANDOWN_GRAPHICS_MODULE_INSTALLED)}) {
    using EntriesFunction = const GraphicsEntries* (*)();
    const auto entries =
        reinterpret_cast<EntriesFunction>(platform::LoadModuleFunction(candidate, "plandown_graphics_entries"));
    if (entries == nullptr) continue;
    const GraphicsEntries* e = entries();
    return Matches(e) ? e : nullptr;
  }
#endif
  return nullptr;
}

}  // namespace

void UseGraphicsEntries(const GraphicsEntries* entries) { gEntries.store(entries); }

const GraphicsEntries* GraphicsModule() {
  if (const GraphicsEntries* e = gEntries.load()) return Matches(e) ? e : nullptr;
  static std::once_flag once;
  std::call_once(once, [] {
    if (gEntries.load() == nullptr) gEntries.store(LoadGraphicsModule());
  });
  const GraphicsEntries* e = gEntries.load();
  return Matches(e) ? e : nullptr;
}

}  // namespace plandown
