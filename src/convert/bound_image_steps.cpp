#include "convert/bound_image_steps.h"

#include "images/image_convert.h"
#include "images/image_names.h"
#include "images/temp_folder.h"
#include "util/files.h"
#include "util/paths.h"

namespace plandown {

void JwwDataFree(TJwwData& JW) {
  JW.BindImageDeleteGzFile();
  JW.BindImageDeleteNonGzFile();
  JW.DataFree();
  JW.BindImageInit();
}

ImageFolderScope::ImageFolderScope(const String& given) : folder_(given) {
  if (folder_.empty()) {
    folder_ = CreatePrivateTempFolder();
    own_ = !folder_.empty();
  }
}

ImageFolderScope::~ImageFolderScope() {
  if (own_) RemovePrivateTempFolder(folder_);
}

void PrepareBoundImageReading(TJwwData& doc, const String& folder) {
  doc.BindImageFolder = folder;
  doc.BindImageExp = !folder.empty();
  // Without a folder the section is still read past, so that a cut-short section counts
  // as a damaged read.
  doc.BindImageExr = true;
}

void PlaceBoundImages(TJwwData& doc, const String& destinationFolder, const ConversionSettings& settings) {
  if (!doc.BindImageExp) return;
  doc.BindImageExplode();
  doc.BindImageCopy(destinationFolder);
  if (settings.ConvertBoundImages == 0) return;
  // Every image whose text was renamed is converted, compressed or not: otherwise the
  // texts of uncompressed images would name files that are never written.
  for (const TBindImageType& img : doc.BindImage) {
    const String plain = PlainImageFileName(img.Fname);
    if (plain.empty() || !FileExistsAt(doc.BindImageFolder + plain)) continue;
    ConvertExtractedImage(img.Fname, destinationFolder, settings);
  }
}

void ReleaseBoundImages(TJwwData& doc) {
  if (doc.BindImageExp) JwwDataFree(doc);
}

}  // namespace plandown
