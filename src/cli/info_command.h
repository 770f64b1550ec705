// `plandown info`: what a file is and what it holds, without creating any file.
#pragma once
#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <vector>

#include "cli/arguments.h"
#include "convert/file_kind.h"
#include "render/geometry.h"
#include "util/ustring.h"

namespace plandown::cli {

struct BoundImageInfo {
  String name;
  std::int32_t size = 0;
};

struct FileInfo {
  String path;
  FileKind kind = FileKind::kUnknown;
  bool recognised = false;  // FileCheck
  bool inUse = false;       // not checked: another program holds the file open
  bool readOk = false;      // FileIn
  bool headerRead = false;  // version and memo are known
  bool dos = false;         // a DOS-era file: its header holds comments and four counts only
  int version = 0;          // format generation; none for DOS-era files
  String memo;
  std::array<std::int32_t, 7> counts{};  // line, arc, point, text, dimension, solid, block
                                         // (the first four for DOS-era files)
  std::int32_t declaredObjects = 0;
  std::int32_t blockDefinitions = 0;
  std::int32_t referencedDefinitions = 0;
  std::int32_t blockTreeNodes = 0;
  std::vector<BoundImageInfo> boundImages;
  // What is drawn of the document, in drawing coordinates; none when nothing is drawn or
  // nothing was read (DOS-era files included).
  std::optional<render::Extent> extent;
};

// Reads the whole drawing or shape file (bound images listed, never extracted); of a
// DOS-era file, its header.
FileInfo DescribeFile(const String& path);

void PrintInfoText(std::ostream& out, const FileInfo& info);
void PrintInfoJson(std::ostream& out, const std::vector<FileInfo>& infos);

// 0 when every file was recognised and read cleanly, 1 otherwise.
int RunInfo(const Arguments& args, std::ostream& out);

}  // namespace plandown::cli
