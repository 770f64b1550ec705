// The conversion settings dialog without its widgets: the entries of its two lists, what
// its controls show when it opens, the quality bar that writes its position into the
// quality text, and the OK rule that either stores the five settings or names the control
// that must take the focus.
#pragma once
#include <array>
#include <optional>
#include <string_view>

#include "convert/settings.h"
#include "util/ustring.h"

namespace plandown {

inline constexpr std::array<std::u16string_view, 4> kVersionEntries = {
    u"Ver.6.00形式", u"Ver.4.20形式", u"Ver.3.51形式", u"Ver.3.00形式"};
inline constexpr std::array<std::u16string_view, 6> kImageFormatEntries = {
    u"同梱前と同じ画像形式", u"BMP形式", u"GIF形式", u"PNG形式", u"JPEG形式", u"TIFF形式"};

inline constexpr int kQualityMin = 0;
inline constexpr int kQualityMax = 100;
inline constexpr int kQualityDefault = 75;
inline constexpr int kQualityTextLength = 3;  // characters the quality box accepts

// What the controls hold.
struct SettingsFormState {
  int versionIndex = 0;  // -1: no entry selected
  bool convertImages = false;
  bool deleteSourceImage = false;
  int formatIndex = 0;
  String qualityText = u"75";
  int qualityPosition = kQualityDefault;  // the bar
};

// The controls on opening: a version index outside the list selects nothing; a format
// index outside the list shows the first entry; a quality outside 0 to 100 shows 75.
SettingsFormState OpenSettingsForm(const ConversionSettings& settings);

// The bar moved: the text follows it.
void MoveQualityBar(SettingsFormState& form, int position);

// The quality a text gives: a whole number (decimal digits, an optional sign, blanks
// around) from 0 to 100; nothing for any other text, the empty one included.
std::optional<int> QualityOfText(std::u16string_view text);
// The text was typed: the bar follows a valid quality and stays for any other text.
void TypeQualityText(SettingsFormState& form, String text);

enum class SettingsFormFocus { kNone, kVersion, kQuality };

// Said when OK is refused for the quality text.
inline constexpr std::u16string_view kQualityRangeText = u"JPEGの圧縮品質には0～100の整数を入力して下さい。";

// OK: stores the five settings and answers kNone, or answers the control that must take
// the focus (no version chosen, or a quality text that is no whole number from 0 to 100)
// and leaves the settings alone. The quality is the text's number, whatever the bar shows.
SettingsFormFocus AcceptSettingsForm(const SettingsFormState& form, ConversionSettings& settings);

}  // namespace plandown
