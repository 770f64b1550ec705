// The two ways a conversion ends, for any document class with FileOut and LastWriteReport:
// refused with a text for the user, or written after the former destination was kept.
#pragma once
#include "convert/backup.h"
#include "convert/conversion_request.h"
#include "convert/conversion_result.h"
#include "convert/conversion_ui.h"
#include "convert/status_texts.h"
#include "util/file_failure.h"
#include "util/files.h"

namespace plandown {

template <class Document>
void WriteConverted(Document& doc, const ConversionRequest& request, int targetVersion, bool cleanRead,
                    FileConversion& result, ConversionUi& ui) {
  BackUpDestination(request.backup.empty() ? BackupPathFor(request.destination) : request.backup, result);
  doc.SetFileOutOption(0);
  // A former destination that could not be backed up is the only copy of what it holds:
  // the document is then written beside it and takes its name only when complete, so that
  // a failed write (a full disk, say) leaves it as it was.
  const bool keepFormer = result.backupFailed;
  const String target = keepFormer ? TemporaryNameBeside(request.destination) : request.destination;
  bool written = doc.FileOut(target, targetVersion);
  if (written && keepFormer && !RenameFileOver(target, request.destination)) {
    DeleteFileAt(target);
    written = false;
  }
  // The last open or replace of a failed write is the one that failed, if any did.
  const bool inUse = !written && LastFileFailure() == FileFailure::kInUse;
  result.report = doc.LastWriteReport();
  if (!written) {
    // The writer removes its own output; a file that still stands there is no conversion,
    // unless it is the former destination that another program holds.
    if (!keepFormer && !inUse && FileExistsAt(request.destination)) DeleteFileAt(request.destination);
    result.outcome = Outcome::kFailed;
    result.destinationInUse = inUse;
    result.note = inUse ? DestinationInUseText(request.destination) : WriteFailedText(request.destination);
    ui.Status(result.note);
    return;
  }
  result.targetVersion = targetVersion;
  result.outcome = cleanRead ? Outcome::kConverted : Outcome::kConvertedDamaged;
}

// Records a refusal and tells the user.
inline FileConversion& Refuse(FileConversion& result, Refusal why, String note, ConversionUi& ui) {
  result.outcome = Outcome::kRefused;
  result.refusal = why;
  result.note = std::move(note);
  ui.Status(result.note);
  return result;
}

}  // namespace plandown
