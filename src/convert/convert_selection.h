// The convert command of the desktop window: the selected files of the reference folder,
// in list order, into the destination folder.
#pragma once
#include <cstddef>
#include <functional>
#include <vector>

#include "convert/conversion_run.h"
#include "convert/conversion_ui.h"
#include "convert/destination_check.h"
#include "convert/settings.h"
#include "util/ustring.h"

namespace plandown {

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

// What a window follows of a run besides its texts.
struct SelectionHooks {
  // Before the first file; not called for a run refused as a whole.
  std::function<void(std::size_t total)> started;
  // After each file, in order: its result and how many files are done.
  std::function<void(const FileConversion& result, std::size_t done, std::size_t total)> finished;
};

// The same on a run the caller owns (with its settings, UI and image folder), so that it
// can be cancelled from another thread at any time: the file being converted is
// finished, and the files after it are reported cancelled. `ui` is the run's UI.
SelectionConversion ConvertSelectedFiles(ConversionRun& run, ConversionUi& ui, const String& preFolder,
                                         const String& destination, const std::vector<String>& captions,
                                         const SelectionHooks& hooks);

}  // namespace plandown
