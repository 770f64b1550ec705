#include "convert/convert_jww.h"

#include <memory>

#include "convert/bound_image_steps.h"
#include "convert/read_step.h"
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

// A drawing without images leaves the destination folder alone: it passes its turn at
// once instead of waiting for it.
struct ImageTurnScope {
  ImagePlacementTurn* turn;
  ImageTurnScope(ImagePlacementTurn* t, bool placing) : turn(t) {
    if (turn && placing) turn->Begin();
  }
  ~ImageTurnScope() {
    if (turn) turn->End();
  }
  ImageTurnScope(const ImageTurnScope&) = delete;
  ImageTurnScope& operator=(const ImageTurnScope&) = delete;
};

}  // namespace

FileConversion ConvertJww(const ConversionRequest& request, const ConversionSettings& settings, ConversionUi& ui) {
  FileConversion result;
  result.source = request.source;
  result.destination = request.destination;
  ui.Status(ProgressText(request.source, request.destination));

  const String backup = request.backup.empty() ? BackupPathFor(request.destination) : request.backup;
  auto doc = std::make_unique<TJwwData>();
  const ImageFolderScope images(request.imageFolder);
  BoundImageRelease release{*doc};
  bool cleanRead = false;
  if (!ReadForConversion(*doc, request, result, ui, cleanRead, [&] { PrepareBoundImageReading(*doc, images.folder()); }))
    return result;

  RewriteImageTexts(*doc, settings);
  {
    const ImageTurnScope turn(request.imageTurn, !doc->BindImage.empty());
    result.images = PlaceBoundImages(*doc, ExtractFolder(request.destination), settings);
  }
  WriteConverted(*doc, ConversionRequest{request.source, request.destination, backup, {}},
                 TargetVersion(settings.OutVersionIndex), cleanRead, result, ui);
  return result;
}

}  // namespace plandown
