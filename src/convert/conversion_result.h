// What became of one file.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "jww/write_report.h"
#include "util/ustring.h"

namespace plandown {

enum class Outcome {
  kConverted,         // written after a clean read
  kConvertedDamaged,  // written, but the read of the source reported a problem
  kRefused,           // nothing written; see Refusal
  kFailed,            // the write failed; no destination file is left
};

enum class Refusal {
  kNone,
  kUnsupportedKind,       // an extension that is not converted
  kNoSuchFile,            // nothing at the source path
  kCannotOpen,            // the source is there but cannot be opened (see `reason`)
  kNotRecognised,         // not a drawing of a readable generation
  kUnreadable,            // recognised, but its header could not be read
  kOldVersion,            // generation 3.50 or older
  kSameFile,              // the destination (or its backup) is the source itself
  kDuplicateDestination,  // an earlier file of the same run was written there
  kEmptyShape,            // a shape whose entity list is empty
  kCancelled,             // the run was cancelled before this file was started
  kInUse,                 // another program holds the source open: it may be tried again
};

struct FileConversion {
  String source;
  String destination;
  Outcome outcome = Outcome::kRefused;
  Refusal refusal = Refusal::kNone;
  int sourceVersion = 0;  // generation read from the source header, 0 when none was read
  int targetVersion = 0;  // generation written, 0 when nothing was written
  String backup;          // the backup made of the former destination, empty when none
  bool backupFailed = false;  // a former destination existed but could not be copied
  bool destinationInUse = false;  // failed because another program holds the destination
  String note;            // the refusal or failure text given to the user, empty otherwise
  std::string reason;     // the system's words why the source cannot be opened, else empty
  WriteReport report;     // what the write changed to fit the target
  // The answer of the whole-file read: true clean, false with a problem; empty when the
  // file was refused before it was read.
  std::optional<bool> fileIn;
  // The bound-image files placed next to the destination (copied or converted), in the
  // order of the drawing's image list.
  std::vector<String> images;

  bool Written() const { return outcome == Outcome::kConverted || outcome == Outcome::kConvertedDamaged; }
};

// Short English names for summaries: "no such file", "old version", ...
const char* RefusalName(Refusal refusal);
// Why a write failed, for summaries: "write failed", "destination used by another program";
// null unless the outcome is kFailed.
const char* FailureName(const FileConversion& result);
// Names for machine-readable output: "converted", "converted_damaged", "refused", "failed".
const char* OutcomeName(Outcome outcome);

}  // namespace plandown
