// Large record arrays that the system backs with large pages where it can: a reader that
// fills a hundred megabytes of records then takes a few hundred page faults instead of
// tens of thousands (platform_memory.cpp).
#pragma once
#include <cstddef>
#include <new>
#include <stdexcept>
#include <vector>

namespace plandown {

// Whether reserved memory that is never touched costs nothing (the system commits pages
// on first use), so that reserving a generous upper bound is free.
bool ReservedMemoryIsLazy();

// A capacity of at least n elements of elemSize bytes whose allocation the system can back
// with large pages (n itself where it cannot).
std::size_t LargePageCapacity(std::size_t n, std::size_t elemSize);

// Asks for large pages behind [p, p + bytes), a fresh allocation not yet written.
void AdviseLargePages(void* p, std::size_t bytes);

// Gives back the memory of [p, p + bytes) that whole small pages cover: room of an array
// that it no longer needs. Its content becomes undefined.
void ReleaseUnusedPages(void* p, std::size_t bytes);

// Arrays below this size are left to the allocator as they are.
inline constexpr std::size_t kLargeArrayBytes = std::size_t{4} << 20;

// Reserves room for n more elements of an array about to be filled. A reservation that
// the system refuses is not made: the array then grows as it is filled.
template <class T>
void ReserveLargeArray(std::vector<T>& v, std::size_t n) {
  const std::size_t want = v.size() + n;
  if (want <= v.capacity()) return;
  try {
    if (want * sizeof(T) < kLargeArrayBytes) {
      v.reserve(want);
      return;
    }
    std::vector<T> fresh;
    fresh.reserve(LargePageCapacity(want, sizeof(T)));
    AdviseLargePages(fresh.data(), fresh.capacity() * sizeof(T));
    for (T& e : v) fresh.push_back(std::move(e));
    v.swap(fresh);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
}

}  // namespace plandown

namespace plandown {

// Gives back the room a large array filled to less than its reservation has touched (the
// rest of its last large page), keeping the reservation.
template <class T>
void ReleaseUnusedCapacity(std::vector<T>& v) {
  const std::size_t spare = (v.capacity() - v.size()) * sizeof(T);
  if (v.capacity() * sizeof(T) >= kLargeArrayBytes && spare > 0) ReleaseUnusedPages(v.data() + v.size(), spare);
}

}  // namespace plandown
