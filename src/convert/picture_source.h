// A drawing or shape read for a picture: as it is, or as the conversion with given
// settings would write it. The command line's `render` and the window's preview share it.
#pragma once
#include <memory>
#include <optional>

#include "convert/bound_image_steps.h"
#include "convert/conversion_result.h"
#include "convert/file_kind.h"
#include "convert/picture_images.h"
#include "convert/settings.h"
#include "jws/jws_data.h"
#include "jww/jww_data.h"
#include "render/drawing_input.h"

namespace plandown {

struct PictureSource {
  FileKind kind = FileKind::kUnknown;
  // The refusal, as for a conversion; kNone when there is a document to draw.
  Refusal refusal = Refusal::kNone;
  bool failed = false;      // the conversion in memory failed (nothing to draw)
  String note;              // the refusal or failure text
  std::string reason;       // kCannotOpen: the system's words
  bool cleanRead = false;   // the whole source read without a problem
  int sourceVersion = 0;    // 0 when no header was read
  int targetVersion = 0;    // the generation drawn after conversion; 0 for the source as it is
  WriteReport report;       // what the conversion changes (after conversion only)

  std::unique_ptr<TJwwData> jww;  // the document drawn: one of the two
  std::unique_ptr<TJwsData> jws;
  std::unique_ptr<ImageFolderScope> imageFolder;  // the drawing's extracted bound images
  std::unique_ptr<DrawingImages> images;

  bool Drawable() const { return refusal == Refusal::kNone && !failed && (jww || jws); }
  render::DrawingInput Input() const;
};

// Reads `path`; with `after`, the document as the conversion with those settings would
// write it (refused as the conversion refuses: generations 3.50 and older, empty shapes).
// Kinds other than drawings and shapes are refused.
void ReadForPicture(const String& path, const std::optional<ConversionSettings>& after, PictureSource& out);

}  // namespace plandown
