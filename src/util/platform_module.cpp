// The platform layer for the program's own shared libraries: dlopen, or LoadLibraryW on
// Windows.
#include "util/module_loader.h"

#include "util/desktop.h"
#include "util/paths.h"
#include "util/ustring.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace plandown {

void* LoadProgramModule(std::u16string_view fileName, std::initializer_list<std::u16string_view> folders,
                        const char* symbol) {
  const String base = ExtractFolder(ExecutablePath());
  if (base.empty()) return nullptr;
  for (std::u16string_view folder : folders) {
    String path = base;
    if (!folder.empty()) path += AddPathDelim(String(folder));
    path += fileName;
#ifdef _WIN32
    const std::wstring wide(path.begin(), path.end());
    HMODULE h = LoadLibraryExW(wide.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!h) continue;
    if (FARPROC f = GetProcAddress(h, symbol)) return reinterpret_cast<void*>(f);
#else
    // Local symbols: the library's own names never stand in for the program's.
    void* h = dlopen(ToUtf8(path).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) continue;
    if (void* f = dlsym(h, symbol)) return f;
#endif
  }
  return nullptr;
}

}  // namespace plandown
