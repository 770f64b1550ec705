#include "images/gzip.h"

#include <zlib.h>

#include <algorithm>

#include "archive/instream.h"
#include "archive/outstream.h"

namespace plandown {

namespace {
constexpr std::size_t kChunk = 64 * 1024;
constexpr int kGzipWindowBits = 15 + 16;  // 32 KiB window, gzip framing only
}  // namespace

bool InflateGzip(InStream& in, OutStream& out, std::uint64_t limit) {
  z_stream zs{};
  if (inflateInit2(&zs, kGzipWindowBits) != Z_OK) return false;
  std::vector<std::uint8_t> inBuf(kChunk);
  std::vector<std::uint8_t> outBuf(kChunk);
  std::uint64_t written = 0;
  bool complete = false;
  for (;;) {
    if (zs.avail_in == 0) {
      const std::size_t got = in.Read(inBuf.data(), inBuf.size());
      if (got == 0) break;  // input ended inside the stream
      zs.next_in = inBuf.data();
      zs.avail_in = static_cast<uInt>(got);
    }
    const std::uint64_t room = limit - written;
    // With no room left, one byte of scratch tells whether the stream would go on.
    const uInt space = room == 0 ? 1 : static_cast<uInt>(std::min<std::uint64_t>(outBuf.size(), room));
    zs.next_out = outBuf.data();
    zs.avail_out = space;
    const int rc = inflate(&zs, Z_NO_FLUSH);
    const std::size_t produced = space - zs.avail_out;
    if (room == 0 && produced > 0) break;
    out.Write(outBuf.data(), produced);
    written += produced;
    if (!out.ok()) break;
    if (rc == Z_STREAM_END) {
      complete = true;
      break;
    }
    // Z_BUF_ERROR with the input used up only asks for more input.
    if (rc == Z_BUF_ERROR && zs.avail_in == 0) continue;
    if (rc != Z_OK) break;
  }
  inflateEnd(&zs);
  return complete;
}

bool InflateGzip(std::span<const std::uint8_t> in, std::vector<std::uint8_t>& out, std::size_t limit) {
  out.clear();
  InStream source(in);
  OutStream sink(&out);
  return InflateGzip(source, sink, limit);
}

bool InflateGzipFile(std::u16string_view src, std::u16string_view dst, std::uint64_t limit) {
  InStream source(src);
  if (!source.ok()) return false;
  OutStream sink(dst);
  if (!sink.ok()) return false;
  const bool complete = InflateGzip(source, sink, limit);
  return sink.Close() && complete;
}

}  // namespace plandown
