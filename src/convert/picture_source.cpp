#include "convert/picture_source.h"

#include "convert/converted_in_memory.h"
#include "convert/read_step.h"
#include "convert/status_texts.h"
#include "jww/versions.h"
#include "util/paths.h"

namespace plandown {

namespace {

void Refuse(PictureSource& out, Refusal why, String note) {
  out.refusal = why;
  out.note = std::move(note);
  out.jww.reset();
  out.jws.reset();
}

// Reads the source into `doc`; false (with the refusal noted) when there is nothing to draw.
template <class Document>
bool ReadSource(const String& path, Document& doc, bool converting, PictureSource& out) {
  Refusal why = Refusal::kNone;
  if (!RecogniseSource(doc, path, why, out.reason)) {
    Refuse(out, why, UnrecognisedSourceText(why, path));
    return false;
  }
  out.cleanRead = doc.FileIn(path);
  if (!doc.HeaderRead()) {
    Refuse(out, Refusal::kUnreadable, UnreadableText(path));
    return false;
  }
  out.sourceVersion = doc.Enthd.jwVer;
  if (converting && out.sourceVersion < kMinConvertVersion) {
    Refuse(out, Refusal::kOldVersion, OldVersionText(path));
    return false;
  }
  return true;
}

template <class Document>
void Convert(std::unique_ptr<Document>& doc, const ConversionSettings& settings, PictureSource& out, int target) {
  auto after = std::make_unique<Document>();
  RenamedImageTexts renamed;
  if (!ConvertInMemory(*doc, settings, *after, out.report, &renamed)) {
    out.failed = true;
    out.note = u"the conversion in memory failed";
    doc.reset();
    return;
  }
  if (out.images) out.images->AddRenamed(renamed);
  doc = std::move(after);
  out.targetVersion = target;
}

}  // namespace

render::DrawingInput PictureSource::Input() const {
  if (jww) return render::InputOf(*jww);
  if (jws) return render::InputOf(*jws);
  return {};
}

void ReadForPicture(const String& path, const std::optional<ConversionSettings>& after, PictureSource& out) {
  out = PictureSource{};
  out.kind = FileKindOf(path);
  if (out.kind == FileKind::kJww) {
    out.jww = std::make_unique<TJwwData>();
    out.imageFolder = std::make_unique<ImageFolderScope>(String());
    PrepareBoundImageReading(*out.jww, out.imageFolder->folder());
    if (!ReadSource(path, *out.jww, after.has_value(), out)) return;
    out.images = std::make_unique<DrawingImages>(path, out.imageFolder->folder(), out.jww->BindImage);
    if (after) Convert(out.jww, *after, out, TargetVersion(after->OutVersionIndex));
  } else if (out.kind == FileKind::kJws) {
    out.jws = std::make_unique<TJwsData>();
    if (!ReadSource(path, *out.jws, after.has_value(), out)) return;
    out.images = std::make_unique<DrawingImages>(path, String(), std::vector<TBindImageType>{});
    if (after && out.jws->Enthd.n1 == 0) {
      Refuse(out, Refusal::kEmptyShape, String(kEmptyShapeText));
      return;
    }
    if (after) Convert(out.jws, *after, out, TJwsData::AdjustedVersion(TargetVersion(after->OutVersionIndex)));
  } else {
    Refuse(out, Refusal::kUnsupportedKind, UnsupportedExtensionText(ExtractName(path), ExtensionOf(path)));
  }
}

}  // namespace plandown
