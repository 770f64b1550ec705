#include "convert/bound_image_steps.h"

#include <algorithm>

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

std::vector<String> PlaceBoundImages(TJwwData& doc, const String& destinationFolder,
                                     const ConversionSettings& settings) {
  std::vector<String> placed;
  if (!doc.BindImageExp) return placed;
  doc.BindImageExplode();
  doc.BindImageCopy(destinationFolder);
  const String target = AddPathDelim(destinationFolder);
  const auto note = [&placed](const String& path) {
    if (std::find(placed.begin(), placed.end(), path) == placed.end()) placed.push_back(path);
  };
  for (const TBindImageType& img : doc.BindImage) {
    // Every image whose text was renamed is converted, compressed or not: otherwise the
    // texts of uncompressed images would name files that are never written.
    const String stored = PlainImageFileName(img.Fname);
    String converted;
    if (settings.ConvertBoundImages != 0 && !stored.empty() && FileExistsAt(doc.BindImageFolder + stored))
      converted = ConvertExtractedImage(img.Fname, destinationFolder, settings);
    // Only what this drawing extracted counts as placed, not a file of that name from before.
    const String plain = InflatedImageName(img.Fname);
    if (!plain.empty() && FileExistsAt(doc.BindImageFolder + plain) && FileExistsAt(target + plain)) note(target + plain);
    if (!converted.empty()) note(converted);
  }
  return placed;
}

void ReleaseBoundImages(TJwwData& doc) {
  if (doc.BindImageExp) JwwDataFree(doc);
}

}  // namespace plandown
