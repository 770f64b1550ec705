#include "convert/settings_form.h"

#include <algorithm>

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

std::optional<int> QualityOfText(std::u16string_view text) {
  const auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'　'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == u'+' || text.front() == u'-')) {
    negative = text.front() == u'-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  int value = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
    if (value > kQualityMax) return std::nullopt;
  }
  if (negative && value != 0) return std::nullopt;
  return value;
}

void TypeQualityText(SettingsFormState& form, String text) {
  if (const std::optional<int> quality = QualityOfText(text)) {
    form.qualityPosition = *quality;
  } else if (!text.empty() && text.size() <= 9 &&
             std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
    // A number past the top ("150" typed on the way from "15") puts the bar at the top,
    // not where its first digits left it; OK still refuses it.
    form.qualityPosition = kQualityMax;
  }
  form.qualityText = std::move(text);
}

SettingsFormFocus AcceptSettingsForm(const SettingsFormState& form, ConversionSettings& settings) {
  if (form.versionIndex < 0 || form.versionIndex >= static_cast<int>(kVersionEntries.size()))
    return SettingsFormFocus::kVersion;
  const std::optional<int> quality = QualityOfText(form.qualityText);
  if (!quality) return SettingsFormFocus::kQuality;
  settings.ConvertBoundImages = form.convertImages ? 1 : 0;
  settings.DeleteSourceImage = form.deleteSourceImage ? 1 : 0;
  settings.ImageFormatIndex = form.formatIndex;
  settings.JpegQuality = *quality;
  settings.OutVersionIndex = form.versionIndex;
  return SettingsFormFocus::kNone;
}

}  // namespace plandown
