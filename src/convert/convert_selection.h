// The convert command of the desktop window: the selected files of the reference folder,
// in list order, into the destination folder.
#pragma once
#include <vector>

#include "convert/conversion_run.h"
#include "convert/conversion_ui.h"
#include "convert/destination_check.h"
#include "convert/settings.h"
#include "util/ustring.h"

namespace plandown {

// The jobs of a selection: the file of each caption in the reference folder, in the order
// given, into the destination folder.
std::vector<ConversionJob> SelectionJobs(const String& preFolder, const String& destination,
                                         const std::vector<String>& captions);

struct SelectionConversion {
  DestinationProblem problem = DestinationProblem::kNone;  // the whole run was refused
  int written = 0;                                          // files written
  String completion;                                        // the completion text shown
  std::vector<FileConversion> results;                      // one per caption, in order
};

// Refuses the whole run with a message when the destination is not given, does not exist
// or is the reference folder itself (the caller then moves the focus to its folder
// button). Otherwise converts the file of each caption from the reference folder through
// one ConversionRun, extracting bound images into `imageFolder` (empty: a private folder
// per file), and ends with the completion text, which counts the files written.
SelectionConversion ConvertSelectedFiles(const String& preFolder, const String& destination,
                                         const std::vector<String>& captions, const ConversionSettings& settings,
                                         ConversionUi& ui, const String& imageFolder);

}  // namespace plandown
