// Reading the archive building blocks of JWW and JWS files: strings, counts and object
// tags. Format problems raise ArchiveError, which each document read catches itself.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

#include "archive/instream.h"
#include "util/ustring.h"

namespace plandown {

// The fixed messages of the readers.
inline constexpr const char* kMsgFileIo = "File I/O Error";
inline constexpr const char* kMsgJwwHeader = "JWW-Header Error";
inline constexpr const char* kMsgJwwVersion = "JWW-Version Error";
inline constexpr const char* kMsgJwsHeader = "JWS-Header Error";
inline constexpr const char* kMsgJwsVersion = "JWS-Version Error";

class ArchiveError : public std::runtime_error {
 public:
  explicit ArchiveError(const char* msg) : std::runtime_error(msg) {}
};

// Archive string markers.
inline constexpr std::uint8_t kStrLongLength = 0xFF;    // a Word length follows
inline constexpr std::uint16_t kStrUnicodeMark = 0xFFFE;  // UTF-16 form follows
// Count escape: a Cardinal follows.
inline constexpr std::uint16_t kCountEscape = 0xFFFF;
// Object tags.
inline constexpr std::uint16_t kTagNewClass = 0xFFFF;
inline constexpr std::uint16_t kTagLongClassRef = 0x7FFF;
inline constexpr std::uint16_t kTagClassRefBase = 0x8000;
inline constexpr std::uint32_t kTagLongFlag = 0x80000000u;
inline constexpr std::int64_t kShortClassRefLimit = 32767;  // writers use the short form below this

// Unguarded scalar reads: a short read leaves the missing bytes 0.
std::uint8_t ReadU8(InStream& in);
std::uint16_t ReadU16(InStream& in);
std::uint32_t ReadU32(InStream& in);
std::int32_t ReadI32(InStream& in);
double ReadF64(InStream& in);
// Guarded reads raise kMsgFileIo when no byte at all is delivered.
std::int32_t ReadI32Guarded(InStream& in);
double ReadF64Guarded(InStream& in);

String ReadString(InStream& in);       // line breaks kept
String ReadCleanString(InStream& in);  // every character below U+0020 removed
// Count form; raises kMsgFileIo when the stream is already at its end and `guarded`.
std::uint32_t ReadCount(InStream& in, bool guarded);

struct ObjectTag {
  bool isNewClass = false;
  std::string className;  // new class only
  std::int64_t index = 0; // class reference only; may be negative (names no class)
};
// Reads one tag; raises kMsgFileIo when the data ends before the tag word.
ObjectTag ReadObjectTag(InStream& in);

}  // namespace plandown
