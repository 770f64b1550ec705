#include "cli/convert_command.h"

#include <filesystem>
#include <ostream>

#include "cli/exit_codes.h"
#include "cli/text_output.h"
#include "convert/conversion_run.h"
#include "convert/destination_check.h"
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

String FolderOf(const String& file) {
  const std::filesystem::path parent = ToFsPath(file).parent_path();
  return parent.empty() ? String(u".") : FromFsPath(parent);
}

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
}

std::string Reason(const FileConversion& r) {
  if (r.outcome == Outcome::kFailed) return "write failed";
  std::string reason = RefusalName(r.refusal);
  if (r.refusal == Refusal::kOldVersion) reason += " (" + VersionText(r.sourceVersion) + ")";
  return reason;
}

void PrintSummary(std::ostream& out, const ConversionRun& run, const String& completion) {
  out << "\n" << ToUtf8(completion) << "\n";
  std::vector<const FileConversion*> notConverted, damaged;
  for (const FileConversion& r : run.Results()) {
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

}  // namespace

int RunConvert(const Arguments& args, std::ostream& out, std::ostream& err) {
  const String destination = FromUtf8(args.out.value_or(std::string()));
  // Every source folder is checked before the first file is touched.
  for (const std::string& file : args.files) {
    const DestinationProblem problem = CheckDestinationFolder(destination, FolderOf(FromUtf8(file)));
    if (problem == DestinationProblem::kNone) continue;
    err << "plandown: " << ToUtf8(DestinationProblemText(problem));
    if (problem == DestinationProblem::kIsSourceFolder) err << " (" << file << ")";
    err << "\n";
    return kExitUsage;
  }

  const ConversionSettings settings = args.settings;
  ConsoleUi ui(args.verbose ? &err : nullptr);
  ConversionRun run(settings, ui);
  for (const std::string& file : args.files) PrintResult(out, run.Convert(FromUtf8(file), destination));
  PrintSummary(out, run, run.Finish());
  return run.AllClean() ? kExitOk : kExitFileProblem;
}

}  // namespace plandown::cli
