// A run of conversions into destination folders: one per command or button press.
#pragma once
#include <filesystem>
#include <set>
#include <vector>

#include "convert/conversion_result.h"
#include "convert/conversion_ui.h"
#include "convert/settings.h"

namespace plandown {

class ConversionRun {
 public:
  ConversionRun(const ConversionSettings& settings, ConversionUi& ui) : settings_(settings), ui_(ui) {}

  // Converts `source` into the file of the same name in `destinationFolder` (which the
  // caller has checked with CheckDestinationFolder). Within a run no destination is
  // written twice, and no backup made earlier in the run is overwritten: a second backup
  // that would take the same ".BAK" name keeps its extension (a.jws -> a.jws.BAK).
  const FileConversion& Convert(const String& source, const String& destinationFolder);

  // Where bound images are extracted while a drawing is converted (with a trailing
  // separator); empty, the default: a private folder for each conversion.
  void SetImageFolder(String folder) { imageFolder_ = std::move(folder); }

  // Shows and returns the completion text, which counts the files written.
  String Finish();

  const std::vector<FileConversion>& Results() const { return results_; }
  int WrittenCount() const;
  // Every file was written after a clean read.
  bool AllClean() const;

 private:
  ConversionSettings settings_;
  ConversionUi& ui_;
  String imageFolder_;
  std::vector<FileConversion> results_;
  std::set<std::filesystem::path> written_;
  std::set<std::filesystem::path> backups_;
};

}  // namespace plandown
