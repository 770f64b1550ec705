#include "convert/convert_file.h"

#include "convert/convert_jws.h"
#include "convert/convert_jww.h"
#include "convert/file_kind.h"
#include "convert/status_texts.h"
#include "util/paths.h"

namespace plandown {

namespace {
struct FileBracket {
  ConversionUi& ui;
  explicit FileBracket(ConversionUi& u) : ui(u) { ui.FileStarted(); }
  ~FileBracket() { ui.FileFinished(); }
};
}  // namespace

FileConversion ConvertFile(const ConversionRequest& request, const ConversionSettings& settings, ConversionUi& ui) {
  const String ext = ExtensionOf(request.source);
  if (ext != u".jww" && ext != u".jws") {
    FileConversion result;
    result.source = request.source;
    result.destination = request.destination;
    result.refusal = Refusal::kUnsupportedKind;
    result.note = UnsupportedExtensionText(ExtractName(request.source), ext);
    ui.Message(result.note);
    return result;
  }
  FileConversion result;
  {
    FileBracket bracket(ui);
    result = ext == u".jww" ? ConvertJww(request, settings, ui) : ConvertJws(request, settings, ui);
  }
  if (result.Written()) ui.Status(u"");
  return result;
}

}  // namespace plandown
