#include "cli/info_command.h"

#include <cstdio>
#include <memory>
#include <ostream>

#include "cli/exit_codes.h"
#include "cli/result_text.h"
#include "cli/text_output.h"
#include "convert/source_access.h"
#include "dos/jwc_data.h"
#include "dos/jwk_data.h"
#include "jws/jws_data.h"
#include "jww/jww_data.h"
#include "render/renderer.h"
#include "util/files.h"
#include "util/json_text.h"

namespace plandown::cli {

namespace {

constexpr const char* kCountNames[] = {"line", "arc", "point", "text", "dimension", "solid", "block"};
constexpr std::size_t kDosCounts = 4;  // line, arc, point and text

std::size_t CountsShown(const FileInfo& info) { return info.dos ? kDosCounts : info.counts.size(); }

// A file that another program holds could not be looked at: it is not "not recognised".
void NoteWhyUnrecognised(FileInfo& info) { info.inUse = CheckSourceAccess(info.path).access == SourceAccess::kInUse; }

// Drawings and shapes share everything listed here except the memo.
template <class Document>
void DescribeDocument(FileInfo& info) {
  auto doc = std::make_unique<Document>();
  // Regular files only: a pipe or device would block the read.
  info.recognised = FileExistsAt(info.path) && doc->FileCheck(info.path);
  if (!info.recognised) return NoteWhyUnrecognised(info);
  // Listing only: an image section is read past, so nothing is written anywhere.
  doc->BindImageExp = false;
  doc->BindImageExr = true;
  info.readOk = doc->FileIn(info.path);
  info.headerRead = doc->HeaderRead();
  if (!info.headerRead) return;
  const Document& d = *doc;
  info.version = d.Enthd.jwVer;
  if constexpr (requires { d.Enthd.strMemo; }) info.memo = d.Enthd.strMemo;
  info.counts = {d.EntLineN, d.EntEnkoN, d.EntTenN, d.EntMojiN, d.EntSunpoN, d.EntSolidN, d.EntBlockN};
  info.declaredObjects = d.Enthd.n1;
  info.blockDefinitions = d.Enthd.n2;
  info.referencedDefinitions = d.EntBlockNum;
  info.blockTreeNodes = d.EntBlockTreeN;
  for (std::int32_t i = 0; i < d.BindImageN && i < static_cast<std::int32_t>(d.BindImage.size()); ++i)
    info.boundImages.push_back(BoundImageInfo{d.BindImage[static_cast<std::size_t>(i)].Fname,
                                              d.BindImage[static_cast<std::size_t>(i)].Fsize});
  const render::Extent extent = render::DrawingExtent(render::InputOf(d));
  if (!extent.Empty()) info.extent = extent;
}

// DOS-era files: the header is all there is to read.
template <class Document>
void DescribeDosFile(FileInfo& info) {
  info.dos = true;
  Document doc;
  // Regular files only: a pipe or device would block the read.
  info.recognised = FileExistsAt(info.path) && doc.FileCheck(info.path);
  if (!info.recognised) return NoteWhyUnrecognised(info);
  info.readOk = info.headerRead = doc.FileHeaderIn(info.path);
  if (!info.headerRead) return;
  info.memo = doc.Enthd.comment1 + u" " + doc.Enthd.comment2;
  info.counts = {doc.Enthd.lineCount, doc.Enthd.arcCount, doc.Enthd.tenCount, doc.Enthd.mojiCount, 0, 0, 0};
}

const char* YesNo(bool b) { return b ? "yes" : "no"; }

// A coordinate as people write it: no exponent for drawing sizes, no trailing zeros.
std::string Coordinate(double v) {
  char b[32];
  std::snprintf(b, sizeof b, "%.10g", v == 0 ? 0.0 : v);
  return b;
}

Json ExtentJson(const std::optional<render::Extent>& e) {
  if (!e) return Json();
  return Json{{"min_x", e->minX}, {"min_y", e->minY}, {"max_x", e->maxX}, {"max_y", e->maxY}};
}

Json InfoObject(const FileInfo& f) {
  Json counts = Json::object();
  for (std::size_t k = 0; k < CountsShown(f); ++k) counts[kCountNames[k]] = f.counts[k];
  Json images = Json::array();
  for (const BoundImageInfo& img : f.boundImages) images.push_back(Json{{"name", ToUtf8(img.name)}, {"size", img.size}});
  // The block figures are not in a DOS-era header.
  const auto figure = [&](std::int32_t n) { return f.dos ? Json() : Json(n); };
  Json version;
  if (f.headerRead) version = f.dos ? Json("DOS") : Json(f.version);
  return Json{{"path", ToUtf8(f.path)},
              {"kind", FileKindName(f.kind)},
              {"recognised", f.inUse ? Json() : Json(f.recognised)},
              {"in_use", f.inUse},
              {"read_ok", f.readOk},
              {"version", std::move(version)},
              {"memo", ToUtf8(f.memo)},
              {"counts", std::move(counts)},
              {"declared_objects", figure(f.declaredObjects)},
              {"block_definitions", figure(f.blockDefinitions)},
              {"referenced_definitions", figure(f.referencedDefinitions)},
              {"block_tree_nodes", figure(f.blockTreeNodes)},
              {"bound_images", std::move(images)},
              {"extent", ExtentJson(f.extent)}};
}

}  // namespace

FileInfo DescribeFile(const String& path) {
  FileInfo info;
  info.path = path;
  info.kind = FileKindOf(path);
  switch (info.kind) {
    case FileKind::kJww: DescribeDocument<TJwwData>(info); break;
    case FileKind::kJws: DescribeDocument<TJwsData>(info); break;
    case FileKind::kJwc: DescribeDosFile<TJwcData>(info); break;
    case FileKind::kJwk: DescribeDosFile<TJwkData>(info); break;
    case FileKind::kUnknown: break;
  }
  return info;
}

void PrintInfoText(std::ostream& out, const FileInfo& info) {
  out << ToUtf8(info.path) << "\n";
  out << "  kind:        " << FileKindName(info.kind) << "\n";
  if (info.kind == FileKind::kUnknown) return;
  if (info.inUse) {
    out << "  read:        " << kInUseReason << "\n";
    return;
  }
  out << "  recognised:  " << YesNo(info.recognised) << "\n";
  if (!info.recognised) return;
  out << "  read:        " << (info.readOk ? "ok" : info.headerRead ? "with errors" : "failed") << "\n";
  if (!info.headerRead) return;
  out << "  version:     " << (info.dos ? std::string("DOS") : VersionText(info.version)) << "\n";
  out << "  memo:" << (info.memo.empty() ? "" : "        ") << IndentedLines(info.memo, "               ") << "\n";
  out << "  objects:     ";
  if (!info.dos) out << info.declaredObjects << " declared; ";
  for (std::size_t k = 0; k < CountsShown(info); ++k) out << (k ? ", " : "") << kCountNames[k] << " " << info.counts[k];
  out << "\n";
  if (info.dos) return;
  out << "  blocks:      " << info.blockDefinitions << " definitions, " << info.referencedDefinitions
      << " referenced, " << info.blockTreeNodes << " tree nodes\n";
  out << "  extent:      ";
  if (info.extent)
    out << "x " << Coordinate(info.extent->minX) << " to " << Coordinate(info.extent->maxX) << ", y "
        << Coordinate(info.extent->minY) << " to " << Coordinate(info.extent->maxY) << "\n";
  else
    out << "nothing drawn\n";
  out << "  images:      " << info.boundImages.size() << "\n";
  for (const BoundImageInfo& img : info.boundImages) out << "    " << ToUtf8(img.name) << " (" << img.size << " bytes)\n";
}

void PrintInfoJson(std::ostream& out, const std::vector<FileInfo>& infos) {
  Json list = Json::array();
  for (const FileInfo& f : infos) list.push_back(InfoObject(f));
  out << JsonDocument(list);
}

int RunInfo(const Arguments& args, std::ostream& out) {
  std::vector<FileInfo> infos;
  bool allRead = true;
  for (const std::string& file : args.files) {
    infos.push_back(DescribeFile(FromUtf8(file)));
    allRead = allRead && infos.back().readOk;
  }
  if (args.json) {
    PrintInfoJson(out, infos);
  } else {
    for (std::size_t i = 0; i < infos.size(); ++i) {
      if (i) out << "\n";
      PrintInfoText(out, infos[i]);
    }
  }
  return allRead ? kExitOk : kExitFileProblem;
}

}  // namespace plandown::cli
