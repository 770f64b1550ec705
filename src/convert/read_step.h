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

// Whether `doc` recognises the file at `path` as its own. Regular files only: FileCheck
// would wait for ever on a pipe with no writer. When not, `why` tells a missing file, one
// that cannot be opened (`reason`: the system's words) and one that is simply not
// recognised apart.
template <class Document>
bool RecogniseSource(Document& doc, const String& path, Refusal& why, std::string& reason) {
  if (FileExistsAt(path) && doc.FileCheck(path)) return true;
  const SourceAccessCheck access = CheckSourceAccess(path);
  why = Refusal::kNotRecognised;
  if (access.access == SourceAccess::kMissing) why = Refusal::kNoSuchFile;
  if (access.access == SourceAccess::kNotOpenable) why = Refusal::kCannotOpen;
  if (access.access == SourceAccess::kInUse) why = Refusal::kInUse;
  reason = access.reason;
  return false;
}

// The text for a source RecogniseSource refused: one held by another program is named so,
// for it may well be read after that program closes it.
inline String UnrecognisedSourceText(Refusal why, std::u16string_view source) {
  return why == Refusal::kInUse ? SourceInUseText(source) : UnreadableText(source);
}

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
  Refusal why = Refusal::kNone;
  if (!RecogniseSource(doc, request.source, why, result.reason)) {
    // The status text is the same for every file that cannot be read; the refusal says what is wrong.
    Refuse(result, why, UnrecognisedSourceText(why, request.source), ui);
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
