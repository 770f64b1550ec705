#include "cli/info_command.h"

#include <memory>
#include <ostream>

#include "cli/exit_codes.h"
#include "cli/json.h"
#include "cli/text_output.h"
#include "jws/jws_data.h"
#include "jww/jww_data.h"

namespace plandown::cli {

namespace {

constexpr const char* kCountNames[] = {"line", "arc", "point", "text", "dimension", "solid", "block"};

// Drawings and shapes share everything listed here except the memo.
template <class Document>
void DescribeDocument(FileInfo& info) {
  auto doc = std::make_unique<Document>();
  info.recognised = doc->FileCheck(info.path);
  if (!info.recognised) return;
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
}

const char* YesNo(bool b) { return b ? "yes" : "no"; }

}  // namespace

FileInfo DescribeFile(const String& path) {
  FileInfo info;
  info.path = path;
  info.kind = FileKindOf(path);
  switch (info.kind) {
    case FileKind::kJww: DescribeDocument<TJwwData>(info); break;
    case FileKind::kJws: DescribeDocument<TJwsData>(info); break;
    default: info.kind = FileKind::kUnknown;  // no details for the DOS-era files yet
  }
  return info;
}

void PrintInfoText(std::ostream& out, const FileInfo& info) {
  out << ToUtf8(info.path) << "\n";
  out << "  kind:        " << FileKindName(info.kind) << "\n";
  if (info.kind == FileKind::kUnknown) return;
  out << "  recognised:  " << YesNo(info.recognised) << "\n";
  if (!info.recognised) return;
  out << "  read:        " << (info.readOk ? "ok" : info.headerRead ? "with errors" : "failed") << "\n";
  if (!info.headerRead) return;
  out << "  version:     " << VersionText(info.version) << "\n";
  out << "  memo:" << (info.memo.empty() ? "" : "        ") << IndentedLines(info.memo, "               ") << "\n";
  out << "  objects:     " << info.declaredObjects << " declared;";
  for (std::size_t k = 0; k < info.counts.size(); ++k) out << (k ? ", " : " ") << kCountNames[k] << " " << info.counts[k];
  out << "\n";
  out << "  blocks:      " << info.blockDefinitions << " definitions, " << info.referencedDefinitions
      << " referenced, " << info.blockTreeNodes << " tree nodes\n";
  out << "  images:      " << info.boundImages.size() << "\n";
  for (const BoundImageInfo& img : info.boundImages) out << "    " << ToUtf8(img.name) << " (" << img.size << " bytes)\n";
}

void PrintInfoJson(std::ostream& out, const std::vector<FileInfo>& infos) {
  out << "[";
  for (std::size_t i = 0; i < infos.size(); ++i) {
    const FileInfo& f = infos[i];
    out << (i ? ",\n " : "\n ") << "{\"path\": " << JsonString(f.path) << ", \"kind\": \"" << FileKindName(f.kind)
        << "\", \"recognised\": " << (f.recognised ? "true" : "false")
        << ", \"read_ok\": " << (f.readOk ? "true" : "false") << ", \"version\": ";
    if (f.headerRead) out << f.version;
    else out << "null";
    out << ", \"memo\": " << JsonString(f.memo) << ", \"counts\": {";
    for (std::size_t k = 0; k < f.counts.size(); ++k) out << (k ? ", \"" : "\"") << kCountNames[k] << "\": " << f.counts[k];
    out << "}, \"declared_objects\": " << f.declaredObjects << ", \"block_definitions\": " << f.blockDefinitions
        << ", \"referenced_definitions\": " << f.referencedDefinitions << ", \"block_tree_nodes\": " << f.blockTreeNodes
        << ", \"bound_images\": [";
    for (std::size_t k = 0; k < f.boundImages.size(); ++k)
      out << (k ? ", " : "") << "{\"name\": " << JsonString(f.boundImages[k].name) << ", \"size\": " << f.boundImages[k].size
          << "}";
    out << "]}";
  }
  out << (infos.empty() ? "]\n" : "\n]\n");
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
