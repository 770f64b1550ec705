#include "convert/conversion_result.h"

namespace plandown {

const char* RefusalName(Refusal refusal) {
  switch (refusal) {
    case Refusal::kUnsupportedKind: return "unsupported kind";
    case Refusal::kNoSuchFile: return "no such file";
    case Refusal::kCannotOpen: return "cannot be opened";
    case Refusal::kNotRecognised: return "not a readable drawing";
    case Refusal::kUnreadable: return "header unreadable";
    case Refusal::kOldVersion: return "old version";
    case Refusal::kSameFile: return "destination is the source";
    case Refusal::kDuplicateDestination: return "destination already written in this run";
    case Refusal::kEmptyShape: return "empty shape";
    case Refusal::kCancelled: return "cancelled";
    case Refusal::kInUse: return "used by another program";
    case Refusal::kNone: break;
  }
  return "none";
}

const char* FailureName(const FileConversion& result) {
  if (result.outcome != Outcome::kFailed) return nullptr;
  return result.destinationInUse ? "destination used by another program" : "write failed";
}

const char* OutcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::kConverted: return "converted";
    case Outcome::kConvertedDamaged: return "converted_damaged";
    case Outcome::kRefused: return "refused";
    case Outcome::kFailed: return "failed";
  }
  return "refused";
}

}  // namespace plandown
