#include "convert/convert_selection.h"

#include "convert/conversion_run.h"
#include "util/paths.h"

namespace plandown {

SelectionConversion ConvertSelectedFiles(const String& preFolder, const String& destination,
                                         const std::vector<String>& captions, const ConversionSettings& settings,
                                         ConversionUi& ui, const String& imageFolder) {
  SelectionConversion outcome;
  outcome.problem = CheckDestinationFolder(destination, preFolder);
  if (outcome.problem != DestinationProblem::kNone) {
    ui.Message(DestinationProblemText(outcome.problem));
    return outcome;
  }
  ConversionRun run(settings, ui);
  run.SetImageFolder(imageFolder);
  for (const String& caption : captions) run.Convert(AddPathDelim(preFolder) + caption, destination);
  outcome.completion = run.Finish();
  outcome.written = run.WrittenCount();
  return outcome;
}

}  // namespace plandown
