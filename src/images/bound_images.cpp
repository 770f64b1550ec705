// The bound-image files of a read drawing: inflation, copying and clean-up in the image
// folder. Every file name used here is a plain name derived from the stored one, so a
// hostile stored name cannot reach outside the image and destination folders.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "images/gzip.h"
#include "images/image_names.h"
#include "jww/entity_doc.h"
#include "util/files.h"
#include "util/paths.h"

namespace plandown {

namespace {

// Calls f(stored name) for each valid entry of the list; BindImageN is the count, but
// the list may be shorter when a read was cut short.
template <class F>
void ForEachBoundImage(const TJwEntityDoc& doc, F f) {
  const std::size_t n = std::min<std::size_t>(std::max(doc.BindImageN, 0), doc.BindImage.size());
  for (std::size_t i = 0; i < n; ++i) f(doc.BindImage[i].Fname);
}

// The image folder with its separator; empty when unset, so that nothing falls back on
// the working directory.
String ImageFolder(const TJwEntityDoc& doc) {
  return doc.BindImageFolder.empty() ? String() : AddPathDelim(doc.BindImageFolder);
}

void DeleteIfPresent(const String& path) {
  if (FileExistsAt(path)) DeleteFileAt(path);
}

}  // namespace

void TJwEntityDoc::BindImageExplode() {
  const String folder = ImageFolder(*this);
  if (folder.empty()) return;
  ForEachBoundImage(*this, [&](const String& stored) {
    const String gz = PlainImageFileName(stored);
    if (!IsCompressedImageName(gz)) return;
    const String plain = InflatedImageName(gz);
    if (plain.empty() || !FileExistsAt(folder + gz)) return;
    // A damaged or oversized stream leaves what was inflated so far; the file is then
    // copied and cleaned up like any other.
    InflateGzipFile(folder + gz, folder + plain, kMaxInflatedImageBytes);
  });
}

void TJwEntityDoc::BindImageCopy(const String& dst) {
  const String folder = ImageFolder(*this);
  if (folder.empty() || dst.empty()) return;
  const String target = AddPathDelim(dst);
  ForEachBoundImage(*this, [&](const String& stored) {
    const String plain = InflatedImageName(stored);
    if (plain.empty() || !FileExistsAt(folder + plain)) return;
    // Copying a file onto itself would truncate it before it is read.
    if (SameFile(ToFsPath(folder + plain), ToFsPath(target + plain))) return;
    CopyFileWithTimes(folder + plain, target + plain);
  });
}

void TJwEntityDoc::BindImageDeleteGzFile() {
  const String folder = ImageFolder(*this);
  if (folder.empty()) return;
  ForEachBoundImage(*this, [&](const String& stored) {
    const String gz = PlainImageFileName(stored);
    if (IsCompressedImageName(gz)) DeleteIfPresent(folder + gz);
  });
}

void TJwEntityDoc::BindImageDeleteNonGzFile() {
  const String folder = ImageFolder(*this);
  if (folder.empty()) return;
  ForEachBoundImage(*this, [&](const String& stored) {
    const String plain = InflatedImageName(stored);
    if (!plain.empty()) DeleteIfPresent(folder + plain);
  });
}

}  // namespace plandown
