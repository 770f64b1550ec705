// The JSON report of a run saved as a file, as `plandown convert --report` writes it.
#pragma once
#include <vector>

#include "convert/conversion_result.h"
#include "convert/settings.h"
#include "util/ustring.h"

namespace plandown {

// Written beside `path` and renamed onto it only when complete, so that the report names
// every file or there is none (an existing file at path stays when the write fails).
bool SaveConversionReport(const String& path, const ConversionSettings& settings,
                          const std::vector<FileConversion>& results);

}  // namespace plandown
