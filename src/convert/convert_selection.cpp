#include "convert/convert_selection.h"

#include "util/paths.h"

namespace plandown {

namespace {
// The file of each caption in the reference folder, in the order given.
std::vector<ConversionJob> SelectionJobs(const String& preFolder, const String& destination,
                                         const std::vector<String>& captions) {
  std::vector<ConversionJob> jobs;
  jobs.reserve(captions.size());
  for (const String& caption : captions) jobs.push_back({AddPathDelim(preFolder) + caption, destination});
  return jobs;
}
}  // namespace

SelectionConversion ConvertSelectedFiles(const String& preFolder, const String& destination,
                                         const std::vector<String>& captions, const ConversionSettings& settings,
                                         ConversionUi& ui, const String& imageFolder) {
  ConversionRun run(settings, ui);
  run.SetImageFolder(imageFolder);
  return ConvertSelectedFiles(run, ui, preFolder, destination, captions, {});
}

SelectionConversion ConvertSelectedFiles(ConversionRun& run, ConversionUi& ui, const String& preFolder,
                                         const String& destination, const std::vector<String>& captions,
                                         const SelectionHooks& hooks) {
  SelectionConversion outcome;
  outcome.problem = CheckDestinationFolder(destination, preFolder);
  if (outcome.problem != DestinationProblem::kNone) {
    ui.Message(DestinationProblemText(outcome.problem));
    return outcome;
  }
  const std::vector<ConversionJob> jobs = SelectionJobs(preFolder, destination, captions);
  if (hooks.started) hooks.started(jobs.size());
  std::size_t done = 0;
  run.ConvertAll(jobs, 1, [&](const FileConversion& result) {
    ++done;
    if (hooks.finished) hooks.finished(result, done, jobs.size());
  });
  outcome.completion = run.Finish();
  outcome.written = run.WrittenCount();
  outcome.results = run.Results();
  return outcome;
}

}  // namespace plandown
