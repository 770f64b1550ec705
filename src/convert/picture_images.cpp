#include "convert/picture_images.h"

#include "archive/instream.h"
#include "images/gzip.h"
#include "images/image_names.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/text.h"

namespace plandown {

namespace {

bool ReadWhole(const String& path, std::vector<std::uint8_t>& bytes) {
  if (path.empty() || !FileExistsAt(path)) return false;
  InStream in(path);
  if (!in.ok() || in.size() > render::kMaxImageBytesPerPicture) return false;
  bytes.resize(static_cast<std::size_t>(in.size()));
  return in.Read(bytes.data(), bytes.size()) == bytes.size();
}

// The platform's form of a path a drawing stores ("\" separates folders on Windows).
String LocalPath(String p) {
  for (char16_t& c : p)
    if (IsPathDelim(c)) c = PathDelim();
  return p;
}

bool Absolute(std::u16string_view p) {
  return (!p.empty() && IsPathDelim(p[0])) || (p.size() >= 2 && p[1] == u':');
}

}  // namespace

DrawingImages::DrawingImages(const String& drawing, const String& boundFolder, std::vector<TBindImageType> bound)
    : folder_(ExtractFolder(drawing)), boundFolder_(boundFolder), bound_(std::move(bound)) {}

void DrawingImages::AddRenamed(const RenamedImageTexts& renamed) {
  for (const auto& [written, read] : renamed) {
    const auto now = render::ParseImageText(written), was = render::ParseImageText(read);
    if (now && was && was->bound) renamed_.emplace(UpperText(now->name), was->name);
  }
}

bool DrawingImages::Fetch(const render::ImageRef& ref, std::vector<std::uint8_t>& bytes) {
  if (ref.bound) return FetchBound(ref.name, bytes);
  if (auto it = renamed_.find(UpperText(ref.name)); it != renamed_.end()) return FetchBound(it->second, bytes);
  return FetchLinked(ref.name, bytes);
}

bool DrawingImages::FetchBound(const String& name, std::vector<std::uint8_t>& bytes) const {
  if (boundFolder_.empty() || name.empty()) return false;
  // As the writer matches texts to images: the first stored name that begins with it.
  const String wanted = UpperText(name);
  for (const TBindImageType& b : bound_) {
    if (!UpperText(b.Fname).starts_with(wanted)) continue;
    const String stored = PlainImageFileName(b.Fname);
    if (stored.empty()) return false;
    if (!IsCompressedImageName(stored)) return ReadWhole(boundFolder_ + stored, bytes);
    std::vector<std::uint8_t> packed;
    return ReadWhole(boundFolder_ + stored, packed) && InflateGzip(packed, bytes, render::kMaxImageBytesPerPicture);
  }
  return false;
}

bool DrawingImages::FetchLinked(const String& name, std::vector<std::uint8_t>& bytes) const {
  if (name.empty()) return false;
  const String local = LocalPath(name);
  if (Absolute(name) && ReadWhole(local, bytes)) return true;
  // Relative names are relative to the drawing's folder (the working folder for a bare name).
  if (!Absolute(name) && ReadWhole(folder_ + local, bytes)) return true;
  // A converted drawing's images lie beside it under their plain names.
  const String plain = PlainImageFileName(ExtractName(name));
  return !plain.empty() && ReadWhole(folder_ + plain, bytes);
}

}  // namespace plandown
