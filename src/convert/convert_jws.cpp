#include "convert/convert_jws.h"

#include <memory>

#include "convert/image_texts.h"
#include "convert/read_step.h"
#include "jws/jws_data.h"

namespace plandown {

FileConversion ConvertJws(const ConversionRequest& request, const ConversionSettings& settings, ConversionUi& ui) {
  FileConversion result;
  result.source = request.source;
  result.destination = request.destination;
  ui.Status(ProgressText(request.source, request.destination));

  auto doc = std::make_unique<TJwsData>();
  doc->BindImageExp = false;
  doc->BindImageExr = false;
  bool cleanRead = false;
  if (!ReadForConversion(*doc, request, result, ui, cleanRead, [] {})) return result;
  if (doc->Enthd.n1 == 0) {
    Refuse(result, Refusal::kEmptyShape, String(kEmptyShapeText), ui);
    return result;
  }
  RewriteImageTexts(*doc, settings);
  const String backup = request.backup.empty() ? BackupPathFor(request.destination) : request.backup;
  WriteConverted(*doc, ConversionRequest{request.source, request.destination, backup, {}},
                 TJwsData::AdjustedVersion(TargetVersion(settings.OutVersionIndex)), cleanRead, result, ui);
  doc->DataFree();
  return result;
}

}  // namespace plandown
