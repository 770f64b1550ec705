// The JSON report of a conversion run: the settings, one object per file and the counts
// of the summary.
#pragma once
#include <iosfwd>
#include <vector>

#include "convert/conversion_result.h"
#include "convert/settings.h"

namespace plandown {

// How many files ended each way.
struct OutcomeCounts {
  int converted = 0;
  int convertedDamaged = 0;
  int refused = 0;
  int failed = 0;
};
OutcomeCounts CountOutcomes(const std::vector<FileConversion>& results);

// Settings: target ("6.00"), convert_images, delete_source_image, image_format_index and
// jpeg_quality. Per file: source, destination, outcome, refusal (null unless refused),
// note, file_in (the whole-file read: true, false, or null when not read), source_version
// and target_version (null when unknown), backup (null when none), backup_failed, images
// and changes (the write's non-zero change counts by name). Summary: the four counts.
void WriteConversionReport(std::ostream& out, const ConversionSettings& settings,
                           const std::vector<FileConversion>& results);

}  // namespace plandown
