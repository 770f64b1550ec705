#include "archive/archive_read.h"

#include <algorithm>
#include <vector>

#include "archive/cp932_codec.h"
#include "util/codepage.h"

namespace plandown {

std::uint8_t ReadU8(InStream& in) {
  std::uint8_t b = 0;
  in.Read(&b, 1);
  return b;
}
std::uint16_t ReadU16(InStream& in) {
  std::uint8_t b[2] = {0, 0};
  in.Read(b, 2);
  return GetU16(b);
}
std::uint32_t ReadU32(InStream& in) {
  std::uint8_t b[4] = {0, 0, 0, 0};
  in.Read(b, 4);
  return GetU32(b);
}
std::int32_t ReadI32(InStream& in) { return static_cast<std::int32_t>(ReadU32(in)); }
double ReadF64(InStream& in) {
  std::uint8_t b[8] = {};
  in.Read(b, 8);
  return GetF64(b);
}
std::int32_t ReadI32Guarded(InStream& in) {
  std::uint8_t b[4] = {};
  if (in.Read(b, 4) == 0) throw ArchiveError(kMsgFileIo);
  return GetI32(b);
}
double ReadF64Guarded(InStream& in) {
  std::uint8_t b[8] = {};
  if (in.Read(b, 8) == 0) throw ArchiveError(kMsgFileIo);
  return GetF64(b);
}

namespace {

// One archive string; `clean` leaves out every character below U+0020.
String ReadArchiveString(InStream& in, bool clean) {
  std::uint32_t len = ReadU8(in);
  bool unicode = false;
  if (len == kStrLongLength) {
    std::uint16_t w = ReadU16(in);
    if (w == kStrUnicodeMark) {
      unicode = true;
      len = ReadU8(in);
      if (len == kStrLongLength) len = ReadU16(in);
    } else {
      len = w;
    }
  }
  std::size_t bytes = unicode ? std::size_t{len} * 2 : len;
  if (bytes == 0) return String();
  // At most 128 KiB by construction; never more than the bytes left.
  if (bytes > in.remaining()) bytes = static_cast<std::size_t>(in.remaining());
  String s;
  if (!unicode) {
    // Decoded in place through the table; whatever it leaves goes to the converter.
    if (const std::uint8_t* p = in.Contiguous(bytes); p && TableDecodeCp932({p, bytes}, clean, s)) {
      in.Advance(bytes);
      return s;
    }
  }
  // Most strings fit on the stack; no thread_local buffer, whose destructor would run on
  // freed storage when a worker thread ends under the mingw-w64 runtime.
  std::uint8_t small[512];
  std::vector<std::uint8_t> large;
  std::uint8_t* buf = small;
  if (bytes > sizeof small) {
    large.resize(bytes);
    buf = large.data();
  }
  std::size_t got = in.Read(buf, bytes);
  std::span<const std::uint8_t> data(buf, got);
  s = unicode ? Utf16BytesToText(data) : AnsiBytesToText(data);
  if (clean) std::erase_if(s, [](char16_t c) { return c < 0x20; });
  return s;
}

}  // namespace

String ReadString(InStream& in) { return ReadArchiveString(in, false); }

String ReadCleanString(InStream& in) { return ReadArchiveString(in, true); }

std::uint32_t ReadCount(InStream& in, bool guarded) {
  std::uint8_t b[2] = {0, 0};
  if (in.Read(b, 2) == 0 && guarded) throw ArchiveError(kMsgFileIo);
  std::uint16_t w = GetU16(b);
  if (w != kCountEscape) return w;
  return ReadU32(in);
}

ObjectTag ReadObjectTag(InStream& in) {
  std::uint8_t b[2] = {0, 0};
  if (in.Read(b, 2) == 0) throw ArchiveError(kMsgFileIo);
  std::uint16_t t = GetU16(b);
  ObjectTag tag;
  if (t == kTagNewClass) {
    tag.isNewClass = true;
    ReadU16(in);  // schema, not interpreted
    std::uint16_t n = ReadU16(in);
    std::size_t k = std::min<std::uint64_t>(n, in.remaining());
    tag.className.resize(k);
    k = in.Read(tag.className.data(), k);
    tag.className.resize(k);
    // Decoded as text, the name ends at its first NUL.
    if (auto z = tag.className.find('\0'); z != std::string::npos) tag.className.resize(z);
  } else if (t == kTagLongClassRef) {
    tag.index = ReadU32(in) & ~kTagLongFlag;
  } else {
    tag.index = static_cast<std::int64_t>(t) - kTagClassRefBase;
  }
  return tag;
}

}  // namespace plandown
