// The platform layer for memory: large pages behind large record arrays.
#include "util/large_arrays.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace plandown {

#if defined(__linux__)

namespace {
constexpr std::size_t kLargePage = std::size_t{2} << 20;
constexpr std::size_t kSmallPage = 4096;
// glibc serves large blocks from a mapping of their own with a 16-byte chunk header in
// front (and 8 bytes of it counted in the length): asking for k large pages less 32 bytes
// gives a mapping of exactly k large pages, which the kernel places on a large-page
// boundary, so that every part of it can be a large page.
constexpr std::size_t kAllocatorOverhead = 32;
#ifdef MADV_COLLAPSE
constexpr int kCollapse = MADV_COLLAPSE;
#else
constexpr int kCollapse = 25;  // Linux 6.1; older kernels refuse it, which changes nothing
#endif
}  // namespace

bool ReservedMemoryIsLazy() { return true; }

std::size_t LargePageCapacity(std::size_t n, std::size_t elemSize) {
  if (elemSize == 0 || n > (SIZE_MAX - kLargePage) / elemSize) return n;
  const std::size_t pages = (n * elemSize + kAllocatorOverhead + kLargePage - 1) / kLargePage;
  const std::size_t capacity = (pages * kLargePage - kAllocatorOverhead) / elemSize;
  return capacity >= n ? capacity : n;
}

void AdviseLargePages(void* p, std::size_t bytes) {
  if (!p) return;
  // Whole small pages around the block: the advice is only a hint about how to fault in.
  const auto begin = reinterpret_cast<std::uintptr_t>(p) & ~(kSmallPage - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(p) + bytes + kSmallPage - 1) & ~(kSmallPage - 1);
  if (end - begin < kLargePage) return;
  madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
  // The allocator wrote its header before the advice, so the first large page of a block
  // that begins a mapping is already made of small pages: join it into a large one.
  const auto first = reinterpret_cast<std::uintptr_t>(p) & ~(kLargePage - 1);
  if (reinterpret_cast<std::uintptr_t>(p) - first < kSmallPage && first + kLargePage <= end)
    madvise(reinterpret_cast<void*>(first), kLargePage, kCollapse);
}

void ReleaseUnusedPages(void* p, std::size_t bytes) {
  const auto begin = (reinterpret_cast<std::uintptr_t>(p) + kSmallPage - 1) & ~(kSmallPage - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(p) + bytes) & ~(kSmallPage - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
}

#else

// Elsewhere reserved memory may be committed at once, and large pages need privileges.
bool ReservedMemoryIsLazy() { return false; }
std::size_t LargePageCapacity(std::size_t n, std::size_t) { return n; }
void AdviseLargePages(void*, std::size_t) {}
void ReleaseUnusedPages(void*, std::size_t) {}

#endif

}  // namespace plandown
