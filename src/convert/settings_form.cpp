#include "convert/settings_form.h"

#include "util/text.h"

namespace plandown {

SettingsFormState OpenSettingsForm(const ConversionSettings& settings) {
  SettingsFormState form;
  const auto inList = [](std::int32_t i, std::size_t n) { return i >= 0 && i < static_cast<std::int32_t>(n); };
  form.versionIndex = inList(settings.OutVersionIndex, kVersionEntries.size()) ? settings.OutVersionIndex : -1;
  form.convertImages = settings.ConvertBoundImages != 0;
  form.deleteSourceImage = settings.DeleteSourceImage != 0;
  form.formatIndex = inList(settings.ImageFormatIndex, kImageFormatEntries.size()) ? settings.ImageFormatIndex : 0;
  const bool qualityValid = settings.JpegQuality >= kQualityMin && settings.JpegQuality <= kQualityMax;
  MoveQualityBar(form, qualityValid ? settings.JpegQuality : kQualityDefault);
  return form;
}

void MoveQualityBar(SettingsFormState& form, int position) {
  form.qualityPosition = position;
  form.qualityText = IntToText(position);
}

SettingsFormFocus AcceptSettingsForm(const SettingsFormState& form, ConversionSettings& settings) {
  if (form.versionIndex < 0 || form.versionIndex >= static_cast<int>(kVersionEntries.size()))
    return SettingsFormFocus::kVersion;
  const std::int32_t quality = TextToInt(form.qualityText);
  if (quality < kQualityMin || quality > kQualityMax) return SettingsFormFocus::kQuality;
  settings.ConvertBoundImages = form.convertImages ? 1 : 0;
  settings.DeleteSourceImage = form.deleteSourceImage ? 1 : 0;
  settings.ImageFormatIndex = form.formatIndex;
  settings.JpegQuality = quality;
  settings.OutVersionIndex = form.versionIndex;
  return SettingsFormFocus::kNone;
}

}  // namespace plandown
