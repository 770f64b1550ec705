#include "cli/conversion_report.h"

#include <ostream>

#include "cli/json.h"
#include "cli/text_output.h"

namespace plandown::cli {

namespace {

std::string VersionOrNull(int version) { return version == 0 ? "null" : std::to_string(version); }
std::string PathOrNull(const String& path) { return path.empty() ? "null" : JsonString(path); }

void PrintFile(std::ostream& out, const FileConversion& r) {
  out << "{\"source\": " << JsonString(r.source) << ", \"destination\": " << JsonString(r.destination)
      << ", \"outcome\": \"" << OutcomeName(r.outcome) << "\", \"refusal\": ";
  if (r.outcome == Outcome::kRefused) out << "\"" << RefusalName(r.refusal) << "\"";
  else out << "null";
  out << ", \"note\": " << JsonString(r.note) << ", \"file_in\": ";
  if (r.fileIn) out << (*r.fileIn ? "true" : "false");
  else out << "null";
  out << ", \"source_version\": " << VersionOrNull(r.sourceVersion)
      << ", \"target_version\": " << VersionOrNull(r.targetVersion) << ", \"backup\": " << PathOrNull(r.backup)
      << ", \"backup_failed\": " << (r.backupFailed ? "true" : "false") << ", \"images\": [";
  for (std::size_t i = 0; i < r.images.size(); ++i) out << (i ? ", " : "") << JsonString(r.images[i]);
  out << "], \"changes\": {";
  const auto items = r.report.Items();
  for (std::size_t i = 0; i < items.size(); ++i)
    out << (i ? ", " : "") << JsonString(FromUtf8(items[i].first)) << ": " << items[i].second;
  out << "}}";
}

}  // namespace

OutcomeCounts CountOutcomes(const std::vector<FileConversion>& results) {
  OutcomeCounts n;
  for (const FileConversion& r : results) {
    switch (r.outcome) {
      case Outcome::kConverted: ++n.converted; break;
      case Outcome::kConvertedDamaged: ++n.convertedDamaged; break;
      case Outcome::kRefused: ++n.refused; break;
      case Outcome::kFailed: ++n.failed; break;
    }
  }
  return n;
}

void PrintConversionReport(std::ostream& out, const ConversionSettings& settings,
                           const std::vector<FileConversion>& results) {
  out << "{\"settings\": {\"target\": \"" << VersionText(TargetVersion(settings.OutVersionIndex))
      << "\", \"convert_images\": " << (settings.ConvertBoundImages != 0 ? "true" : "false")
      << ", \"delete_source_image\": " << (settings.DeleteSourceImage != 0 ? "true" : "false")
      << ", \"image_format_index\": " << settings.ImageFormatIndex << ", \"jpeg_quality\": " << settings.JpegQuality
      << "},\n \"files\": [";
  for (std::size_t i = 0; i < results.size(); ++i) {
    out << (i ? ",\n  " : "\n  ");
    PrintFile(out, results[i]);
  }
  const OutcomeCounts n = CountOutcomes(results);
  out << (results.empty() ? "],\n" : "\n ],\n") << " \"summary\": {\"converted\": " << n.converted
      << ", \"converted_damaged\": " << n.convertedDamaged << ", \"refused\": " << n.refused
      << ", \"failed\": " << n.failed << "}}\n";
}

}  // namespace plandown::cli
