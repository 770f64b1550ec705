// Shared libraries of the program itself, loaded on first use (platform_module.cpp).
#pragma once
#include <initializer_list>
#include <string_view>

namespace plandown {

// Loads the library `fileName` from the first of `folders` (relative to the running
// executable's folder; "" is that folder) where it loads, and returns the address of its
// exported `symbol`; nullptr when no copy loads or the symbol is missing. A loaded
// library stays loaded for the life of the process.
void* LoadProgramModule(std::u16string_view fileName, std::initializer_list<std::u16string_view> folders,
                        const char* symbol);

}  // namespace plandown
