#include "cli/result_text.h"

#include <ostream>

#include "cli/text_output.h"

namespace plandown::cli {

std::string NotDoneReason(const FileConversion& r) {
  if (r.outcome == Outcome::kFailed)
    return r.destinationInUse ? std::string("destination ") + kInUseReason : std::string(FailureName(r));
  if (r.refusal == Refusal::kInUse) return kInUseReason;
  std::string reason = RefusalName(r.refusal);
  if (r.refusal == Refusal::kOldVersion) reason += " (" + VersionText(r.sourceVersion) + ")";
  if (r.refusal == Refusal::kCannotOpen && !r.reason.empty()) reason += " (" + r.reason + ")";
  return reason;
}

void PrintNotDone(std::ostream& out, const FileConversion& r) {
  if (r.Written()) return;
  out << (r.outcome == Outcome::kFailed ? "failed: " : "refused: ") << ToUtf8(r.source) << ": "
      << IndentedLines(r.note, "    ") << "\n";
}

void PrintChanges(std::ostream& out, const WriteReport& report) {
  const auto items = report.Items();
  if (items.empty()) return;
  out << "  changes:";
  for (std::size_t i = 0; i < items.size(); ++i) out << (i ? ", " : " ") << items[i].first << "=" << items[i].second;
  out << "\n";
}

}  // namespace plandown::cli
