#include "convert/conversion_run.h"

#include <algorithm>

#include "convert/backup.h"
#include "convert/convert_file.h"
#include "convert/status_texts.h"
#include "convert/write_step.h"
#include "util/paths.h"

namespace plandown {

namespace {
// One key per file, whatever spelling of its path reached it.
std::filesystem::path PathKey(const String& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::weakly_canonical(ToFsPath(path), ec);
  if (ec) p = std::filesystem::absolute(ToFsPath(path), ec).lexically_normal();
  return p;
}
}  // namespace

const FileConversion& ConversionRun::Convert(const String& source, const String& destinationFolder) {
  ConversionRequest request{source, AddPathDelim(destinationFolder) + ExtractName(source), {}, imageFolder_};
  const auto destinationKey = PathKey(request.destination);
  if (written_.contains(destinationKey)) {
    FileConversion refused;
    refused.source = request.source;
    refused.destination = request.destination;
    Refuse(refused, Refusal::kDuplicateDestination, DuplicateDestinationText(request.source, request.destination), ui_);
    results_.push_back(std::move(refused));
    return results_.back();
  }
  request.backup = BackupPathFor(request.destination);
  if (backups_.contains(PathKey(request.backup))) request.backup = request.destination + u".BAK";

  FileConversion result = ConvertFile(request, settings_, ui_);
  if (result.Written()) written_.insert(destinationKey);
  if (!result.backup.empty()) backups_.insert(PathKey(result.backup));
  results_.push_back(std::move(result));
  return results_.back();
}

int ConversionRun::WrittenCount() const {
  return static_cast<int>(std::count_if(results_.begin(), results_.end(), [](const FileConversion& r) { return r.Written(); }));
}

bool ConversionRun::AllClean() const {
  return std::all_of(results_.begin(), results_.end(), [](const FileConversion& r) { return r.outcome == Outcome::kConverted; });
}

String ConversionRun::Finish() {
  String text = CompletionText(WrittenCount());
  ui_.Status(text);
  return text;
}

}  // namespace plandown
