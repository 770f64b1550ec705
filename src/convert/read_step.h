// The first half of every conversion, for any document class: the source must not be
// the destination, must be recognised, must have a readable header and must be of a
// generation that is converted.
#pragma once
#include "convert/backup.h"
#include "convert/conversion_request.h"
#include "convert/conversion_result.h"
#include "convert/conversion_ui.h"
#include "convert/destination_check.h"
#include "convert/source_access.h"
#include "convert/status_texts.h"
#include "convert/write_step.h"
#include "util/files.h"
#include "jww/versions.h"

namespace plandown {

// Reads request.source into doc. False when the file is refused (result says why);
// otherwise `cleanRead` tells whether the whole file was read without a problem.
template <class Document, class BeforeRead>
bool ReadForConversion(Document& doc, const ConversionRequest& request, FileConversion& result, ConversionUi& ui,
                       bool& cleanRead, BeforeRead beforeRead) {
  const String backup = request.backup.empty() ? BackupPathFor(request.destination) : request.backup;
  if (SameFileOrFolder(request.source, request.destination) || SameFileOrFolder(request.source, backup)) {
    Refuse(result, Refusal::kSameFile, String(kDestinationIsSourceText), ui);
    return false;
  }
  // Regular files only: FileCheck would wait for ever on a pipe with no writer.
  if (!FileExistsAt(request.source) || !doc.FileCheck(request.source)) {
    // The status text is the same in every case; the refusal says what is wrong.
    const SourceAccessCheck access = CheckSourceAccess(request.source);
    Refusal why = Refusal::kNotRecognised;
    if (access.access == SourceAccess::kMissing) why = Refusal::kNoSuchFile;
    if (access.access == SourceAccess::kNotOpenable) why = Refusal::kCannotOpen;
    result.reason = access.reason;
    Refuse(result, why, UnreadableText(request.source), ui);
    return false;
  }
  beforeRead();
  cleanRead = doc.FileIn(request.source);
  result.fileIn = cleanRead;
  // Without a header there is nothing to convert; writing would only produce defaults.
  if (!doc.HeaderRead()) {
    Refuse(result, Refusal::kUnreadable, UnreadableText(request.source), ui);
    return false;
  }
  result.sourceVersion = doc.Enthd.jwVer;
  if (result.sourceVersion < kMinConvertVersion) {
    Refuse(result, Refusal::kOldVersion, OldVersionText(request.source), ui);
    return false;
  }
  return true;
}

}  // namespace plandown
