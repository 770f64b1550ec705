#include "util/platform_module.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "util/paths.h"

namespace plandown::platform {

void* LoadModuleFunction(const String& path, const char* name) {
  if (path.empty() || HasForbiddenPathChars(path)) return nullptr;
#ifdef _WIN32
  const std::wstring wide(path.begin(), path.end());
  HMODULE module = LoadLibraryW(wide.c_str());
  if (module == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(module, name));
#else
  // RTLD_LOCAL: the library's own symbols stay its own.
  void* module = dlopen(ToUtf8(path).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) return nullptr;
  return dlsym(module, name);
#endif
}

}  // namespace plandown::platform
