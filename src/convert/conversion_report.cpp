#include "convert/conversion_report.h"

#include <ostream>

#include "jww/versions.h"
#include "util/json_text.h"

namespace plandown {

namespace {

Json VersionOrNull(int version) { return version == 0 ? Json() : Json(version); }
Json TextOrNull(const String& text) { return text.empty() ? Json() : Json(ToUtf8(text)); }

Json FileObject(const FileConversion& r) {
  Json images = Json::array();
  for (const String& image : r.images) images.push_back(ToUtf8(image));
  Json changes = Json::object();
  for (const auto& [name, count] : r.report.Items()) changes[name] = count;
  return Json{{"source", ToUtf8(r.source)},
              {"destination", ToUtf8(r.destination)},
              {"outcome", OutcomeName(r.outcome)},
              {"refusal", r.outcome == Outcome::kRefused ? Json(RefusalName(r.refusal)) : Json()},
              {"failure", FailureName(r) ? Json(FailureName(r)) : Json()},
              {"note", ToUtf8(r.note)},
              {"file_in", r.fileIn ? Json(*r.fileIn) : Json()},
              {"source_version", VersionOrNull(r.sourceVersion)},
              {"target_version", VersionOrNull(r.targetVersion)},
              {"backup", TextOrNull(r.backup)},
              {"backup_failed", r.backupFailed},
              {"images", std::move(images)},
              {"changes", std::move(changes)}};
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

void WriteConversionReport(std::ostream& out, const ConversionSettings& settings,
                           const std::vector<FileConversion>& results) {
  Json files = Json::array();
  for (const FileConversion& r : results) files.push_back(FileObject(r));
  const OutcomeCounts n = CountOutcomes(results);
  const Json report{{"settings",
                     {{"target", VersionText(TargetVersion(settings.OutVersionIndex))},
                      {"convert_images", settings.ConvertBoundImages != 0},
                      {"delete_source_image", settings.DeleteSourceImage != 0},
                      {"image_format_index", settings.ImageFormatIndex},
                      {"jpeg_quality", settings.JpegQuality}}},
                    {"files", std::move(files)},
                    {"summary",
                     {{"converted", n.converted},
                      {"converted_damaged", n.convertedDamaged},
                      {"refused", n.refused},
                      {"failed", n.failed}}}};
  out << JsonDocument(report);
}

}  // namespace plandown
