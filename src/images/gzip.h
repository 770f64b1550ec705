// Inflation of gzip-framed data (the form in which drawings store compressed images),
// with a bound on the output so that a small hostile stream cannot fill the disk.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "util/ustring.h"

namespace plandown {

class InStream;
class OutStream;

// Most bytes one bound image may inflate to; the output stops there.
inline constexpr std::uint64_t kMaxInflatedImageBytes = std::uint64_t{512} << 20;

// Inflates one gzip member from `in` into `out`, writing at most `limit` bytes. True only
// when the stream ended properly within the limit; otherwise `out` keeps what was
// inflated before the damage, the end of input or the limit.
bool InflateGzip(InStream& in, OutStream& out, std::uint64_t limit);

// The same over memory; `out` is replaced.
bool InflateGzip(std::span<const std::uint8_t> in, std::vector<std::uint8_t>& out, std::size_t limit);

// The same from file `src` into file `dst` (created or replaced). Nothing is created when
// `src` cannot be opened; a partial output stays.
bool InflateGzipFile(std::u16string_view src, std::u16string_view dst, std::uint64_t limit);

}  // namespace plandown
