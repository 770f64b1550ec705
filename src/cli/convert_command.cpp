#include "cli/convert_command.h"

#include <fstream>
#include <ostream>
#include <sstream>
#include <thread>

#include "cli/exit_codes.h"
#include "cli/path_list.h"
#include "cli/progress_bar.h"
#include "cli/text_output.h"
#include "convert/conversion_plan.h"
#include "convert/conversion_report.h"
#include "convert/conversion_run.h"
#include "convert/settings_file.h"
#include "util/desktop.h"
#include "util/files.h"
#include "util/paths.h"

namespace plandown::cli {

namespace {

// Status texts and messages on stderr, for --verbose.
class ConsoleUi final : public ConversionUi {
 public:
  explicit ConsoleUi(std::ostream* err) : err_(err) {}
  void Status(const String& text) override {
    if (err_ && !text.empty()) *err_ << IndentedLines(text, "  ") << "\n";
  }
  void Message(const String& text) override {
    if (err_) *err_ << IndentedLines(text, "  ") << "\n";
  }

 private:
  std::ostream* err_;
};

void PrintResult(std::ostream& out, const FileConversion& r) {
  const std::string src = ToUtf8(r.source);
  switch (r.outcome) {
    case Outcome::kConverted:
    case Outcome::kConvertedDamaged:
      out << (r.outcome == Outcome::kConverted ? "converted: " : "converted from a damaged source: ") << src << " -> "
          << ToUtf8(r.destination) << " (" << VersionText(r.sourceVersion) << " -> " << VersionText(r.targetVersion)
          << ")\n";
      break;
    case Outcome::kRefused:
      out << "refused: " << src << ": " << IndentedLines(r.note, "    ") << "\n";
      break;
    case Outcome::kFailed:
      out << "failed: " << src << ": " << IndentedLines(r.note, "    ") << "\n";
      break;
  }
  const auto items = r.report.Items();
  if (!items.empty()) {
    out << "  changes:";
    for (std::size_t i = 0; i < items.size(); ++i) out << (i ? ", " : " ") << items[i].first << "=" << items[i].second;
    out << "\n";
  }
  if (!r.backup.empty()) out << "  backup: " << ToUtf8(r.backup) << "\n";
  if (r.backupFailed) out << "  warning: the former " << ToUtf8(r.destination) << " could not be backed up\n";
  for (const String& image : r.images) out << "  image: " << ToUtf8(image) << "\n";
}

std::string Reason(const FileConversion& r) {
  if (r.outcome == Outcome::kFailed) return "write failed";
  std::string reason = RefusalName(r.refusal);
  if (r.refusal == Refusal::kOldVersion) reason += " (" + VersionText(r.sourceVersion) + ")";
  if (r.refusal == Refusal::kCannotOpen && !r.reason.empty()) reason += " (" + r.reason + ")";
  return reason;
}

void PrintSummary(std::ostream& out, const std::vector<FileConversion>& results, const String& completion) {
  const OutcomeCounts n = CountOutcomes(results);
  out << "\n" << ToUtf8(completion) << "\n";
  out << "converted: " << n.converted << ", converted from a damaged source: " << n.convertedDamaged
      << ", refused: " << n.refused << ", failed: " << n.failed << "\n";
  std::vector<const FileConversion*> notConverted, damaged;
  for (const FileConversion& r : results) {
    if (!r.Written()) notConverted.push_back(&r);
    else if (r.outcome == Outcome::kConvertedDamaged) damaged.push_back(&r);
  }
  if (!notConverted.empty()) {
    out << "not converted: " << notConverted.size() << "\n";
    for (const FileConversion* r : notConverted) out << "  " << ToUtf8(r->source) << ": " << Reason(*r) << "\n";
  }
  if (!damaged.empty()) {
    out << "converted from a damaged source: " << damaged.size() << "\n";
    for (const FileConversion* r : damaged) out << "  " << ToUtf8(r->source) << "\n";
  }
}

// The five conversion settings: a settings file's, then those the command line gives.
bool ResolveSettings(const Arguments& args, ConversionSettings& settings, std::ostream& err) {
  settings = args.settings;
  if (!args.settingsFile) return true;
  const String path = FromUtf8(*args.settingsFile);
  AppSettings file;
  if (!FileExistsAt(path) || !LoadSettings(path, file)) {
    err << "plandown: cannot read the settings file " << *args.settingsFile << "\n";
    return false;
  }
  const ConversionSettings& s = file.Conversion;
  if (!args.given.outVersion) settings.OutVersionIndex = s.OutVersionIndex;
  if (!args.given.convertImages) settings.ConvertBoundImages = s.ConvertBoundImages;
  if (!args.given.deleteSourceImage) settings.DeleteSourceImage = s.DeleteSourceImage;
  if (!args.given.imageFormat) settings.ImageFormatIndex = s.ImageFormatIndex;
  if (!args.given.jpegQuality) settings.JpegQuality = s.JpegQuality;
  return true;
}

int Workers(const Arguments& args) {
  if (args.jobs) return *args.jobs;
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(cores);
}

// Written whole or not at all: the report names every file or there is none.
bool WriteTextFile(const String& path, const std::string& text) {
  const String temporary = path + u".tmp";
  {
    std::ofstream file(ToFsPath(temporary), std::ios::binary | std::ios::trunc);
    if (!file || !file.write(text.data(), static_cast<std::streamsize>(text.size())) || !file.flush()) {
      file.close();
      DeleteFileAt(temporary);
      return false;
    }
  }
  if (RenameFileOver(temporary, path)) return true;
  DeleteFileAt(temporary);
  return false;
}

}  // namespace

int RunConvert(const Arguments& args, std::ostream& out, std::ostream& err) {
  ConversionSettings settings;
  if (!ResolveSettings(args, settings, err)) return kExitUsage;

  std::vector<std::string> files = args.files;
  if (args.filesFrom) {
    const auto text = ReadPathListText(*args.filesFrom);
    if (!text) {
      err << "plandown: cannot read the file list " << *args.filesFrom << "\n";
      return kExitUsage;
    }
    // No path holds a NUL byte: a list with them was written for --null.
    if (!args.nullSeparated && text->find('\0') != std::string::npos) {
      err << "plandown: the file list " << *args.filesFrom << " is separated by NUL bytes: add --null\n";
      return kExitUsage;
    }
    const std::vector<std::string> listed = SplitPathList(*text, args.nullSeparated);
    files.insert(files.end(), listed.begin(), listed.end());
  }
  const String destination = FromUtf8(args.out.value_or(std::string()));
  std::vector<String> inputs;
  for (const std::string& file : files) inputs.push_back(FromUtf8(file));
  const std::vector<ConversionJob> jobs = PlanConversion(inputs, destination, args.recursive);
  // Every folder is checked before the first file is touched.
  const PlanProblem problem = CheckPlan(jobs, destination);
  if (problem.problem != DestinationProblem::kNone) {
    err << "plandown: " << ToUtf8(DestinationProblemText(problem.problem));
    if (problem.problem == DestinationProblem::kIsSourceFolder) err << " (" << ToUtf8(problem.source) << ")";
    err << "\n";
    return kExitUsage;
  }
  if (args.report && !FolderExists(SourceFolderOf(FromUtf8(*args.report)))) {
    err << "plandown: the folder of the report " << *args.report << " does not exist\n";
    return kExitUsage;
  }
  MakeDestinationFolders(jobs);

  ConsoleUi ui(args.verbose ? &err : nullptr);
  ConversionRun run(settings, ui);
  // The bar would be torn by the status texts of --verbose.
  ProgressBar bar(err, !args.verbose && ErrorStreamIsTerminal(), jobs.size());
  bar.Show(0, {});
  std::size_t done = 0;
  run.ConvertAll(jobs, Workers(args), [&](const FileConversion& r) {
    bar.Clear();
    PrintResult(out, r);
    out.flush();
    bar.Show(++done, ToUtf8(r.source));
  });
  bar.Clear();
  PrintSummary(out, run.Results(), run.Finish());

  int status = run.AllClean() ? kExitOk : kExitFileProblem;
  if (args.report) {
    std::ostringstream report;
    WriteConversionReport(report, settings, run.Results());
    if (!WriteTextFile(FromUtf8(*args.report), report.str())) {
      err << "plandown: the report " << *args.report << " could not be written\n";
      status = kExitFileProblem;
    }
  }
  return status;
}

}  // namespace plandown::cli
