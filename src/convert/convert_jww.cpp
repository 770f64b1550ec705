#include "convert/convert_jww.h"

#include <memory>

#include "convert/bound_image_steps.h"
#include "convert/destination_check.h"
#include "convert/image_texts.h"
#include "convert/status_texts.h"
#include "convert/write_step.h"
#include "jww/jww_data.h"
#include "jww/versions.h"
#include "util/paths.h"

namespace plandown {

namespace {
// Whatever the reader extracted goes on every path after the read.
struct BoundImageRelease {
  TJwwData& doc;
  ~BoundImageRelease() { ReleaseBoundImages(doc); }
};
}  // namespace

FileConversion ConvertJww(const ConversionRequest& request, const ConversionSettings& settings, ConversionUi& ui) {
  FileConversion result;
  result.source = request.source;
  result.destination = request.destination;
  ui.Status(ProgressText(request.source, request.destination));

  const String backup = request.backup.empty() ? BackupPathFor(request.destination) : request.backup;
  if (SameFileOrFolder(request.source, request.destination) || SameFileOrFolder(request.source, backup))
    return Refuse(result, Refusal::kSameFile, String(kDestinationIsSourceText), ui);

  auto doc = std::make_unique<TJwwData>();
  if (!doc->FileCheck(request.source))
    return Refuse(result, Refusal::kNotRecognised, UnreadableText(request.source), ui);
  const ImageFolderScope images(request.imageFolder);
  PrepareBoundImageReading(*doc, images.folder());
  BoundImageRelease release{*doc};
  const bool cleanRead = doc->FileIn(request.source);
  // Without a header there is nothing to convert; writing would only produce defaults.
  if (!doc->HeaderRead()) return Refuse(result, Refusal::kUnreadable, UnreadableText(request.source), ui);
  result.sourceVersion = doc->Enthd.jwVer;
  if (result.sourceVersion < kMinConvertVersion)
    return Refuse(result, Refusal::kOldVersion, OldVersionText(request.source), ui);

  RewriteImageTexts(*doc, settings);
  PlaceBoundImages(*doc, ExtractFolder(request.destination), settings);
  WriteConverted(*doc, ConversionRequest{request.source, request.destination, backup},
                 TargetVersion(settings.OutVersionIndex), cleanRead, result, ui);
  return result;
}

}  // namespace plandown
