#include "dos/dos_header.h"

#include <array>
#include <limits>
#include <span>

#include "archive/archive_read.h"
#include "util/codepage.h"
#include "util/files.h"
#include "util/text.h"

namespace plandown::dos {
namespace {

using Block = std::array<std::uint8_t, kBlockSize>;

// Reads up to one block; the bytes that are missing at the end of the file stay 0.
std::size_t ReadBlock(InStream& in, Block& block) {
  block.fill(0);
  std::size_t got = in.Read(block.data(), block.size());
  if (got == 0) throw ArchiveError(kMsgFileIo);
  return got;
}

String FixedField(const Block& block, std::size_t offset, std::size_t length) {
  return AnsiBytesToText(std::span<const std::uint8_t>(block).subspan(offset, length));
}

// A double outside the float range becomes an infinity of its sign instead of an
// undefined conversion.
float ToSingle(double d) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (d > kMax) return std::numeric_limits<float>::infinity();
  if (d < -kMax) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(d);
}

}  // namespace

bool FileHasIdent(std::u16string_view path, std::u16string_view ident) {
  bool match = false;
  ReadHeaderFile(path, [&](InStream& in) {
    std::array<std::uint8_t, kIdentLength> head{};
    std::size_t got = in.Read(head.data(), head.size());
    match = AnsiBytesToText(std::span<const std::uint8_t>(head.data(), got)) == ident;
    return match;
  });
  return match;
}

bool ReadHeaderFile(std::u16string_view path, const std::function<bool(InStream&)>& read) {
  if (!FileExistsAt(path)) return false;
  InStream in(path);
  if (!in.ok()) return false;
  return read(in);
}

void ReadIdentBlock(InStream& in, String& jwID, String& comment1, String& comment2) {
  Block block;
  ReadBlock(in, block);
  jwID = FixedField(block, 0, 40);
  comment1 = FixedField(block, 40, 32);
  comment2 = FixedField(block, 72, 32);
}

String ReadTextBlock(InStream& in) {
  Block block;
  const std::size_t got = ReadBlock(in, block);
  // Decoded run by run between NUL bytes: the code page decoder stops at a NUL, and a NUL
  // is never part of a double-byte character, so the runs decode as the whole would.
  String text;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= got; ++i) {
    if (i < got && block[i] != 0) continue;
    if (i > start) text += AnsiBytesToText(std::span<const std::uint8_t>(block.data() + start, i - start));
    if (i < got) text.push_back(u'\0');
    start = i + 1;
  }
  return text;
}

void SplitFields(std::u16string_view text, int count, std::vector<String>& para) {
  para.assign(count > 0 ? static_cast<std::size_t>(count) : 0, String(u"0"));
  for (std::size_t j = 0; j < para.size(); ++j) {
    std::size_t comma = text.find(u',');
    if (comma == std::u16string_view::npos) {
      para[j] = String(text);
      break;
    }
    para[j] = String(text.substr(0, comma));
    text.remove_prefix(comma + 1);
    if (text.empty()) break;  // a trailing comma makes no empty field
  }
}

std::int32_t FieldInt(const std::vector<String>& para, int j) {
  return (j >= 0 && static_cast<std::size_t>(j) < para.size()) ? TextToInt(para[static_cast<std::size_t>(j)]) : 0;
}

float FieldFloat(const std::vector<String>& para, int j) {
  return (j >= 0 && static_cast<std::size_t>(j) < para.size()) ? ToSingle(TextToFloat(para[static_cast<std::size_t>(j)]))
                                                               : 0.0f;
}

std::int32_t FieldSegmentAddress(const std::vector<String>& para, int j) {
  if (j < 0 || static_cast<std::size_t>(j) >= para.size()) return 0;
  const String& field = para[static_cast<std::size_t>(j)];
  std::int32_t segment = TextToInt(u"$" + CopyMid(field, 0, 4));
  std::int32_t offset = TextToInt(u"$" + CopyMid(field, 5, 4));
  return segment * 16 + offset;
}

}  // namespace plandown::dos
