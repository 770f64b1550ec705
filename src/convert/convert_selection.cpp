#include "convert/convert_selection.h"

#include "util/paths.h"

namespace plandown {

std::vector<ConversionJob> SelectionJobs(const String& preFolder, const String& destination,
                                         const std::vector<String>& captions) {
  std::vector<ConversionJob> jobs;
  jobs.reserve(captions.size());
  for (const String& caption : captions) jobs.push_back({AddPathDelim(preFolder) + caption, destination});
  return jobs;
}

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
  run.ConvertAll(SelectionJobs(preFolder, destination, captions), 1);
  outcome.completion = run.Finish();
  outcome.written = run.WrittenCount();
  outcome.results = run.Results();
  return outcome;
}

}  // namespace plandown
