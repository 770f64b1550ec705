// The fixed texts of the two windows: titles, captions and labels. The texts that the
// conversion and the file list show live with them in src/convert.
#pragma once
#include <string_view>

#include "plandown/version.h"

namespace plandown::app {

inline constexpr std::u16string_view kAppTitle = u"Plandown";

// Main window.
// The title carries the version that `plandown --version` and the Windows download show.
inline constexpr std::u16string_view kMainCaption = u"Plandown Ver." PLANDOWN_VERSION_U16;
inline constexpr std::u16string_view kFileTypeLabel = u"ファイルの種類：";
inline constexpr std::u16string_view kDestinationButton = u"保存先フォルダ";
inline constexpr std::u16string_view kSettingsButton = u"変換設定(&S)";
inline constexpr std::u16string_view kTargetNote1 = u"※変換対象は";
inline constexpr std::u16string_view kTargetNote2 = u"JWW/JWSのみ";
inline constexpr std::u16string_view kConvertButton = u"変換 (&T)";
inline constexpr std::u16string_view kCloseButton = u"終了 (&X)";
inline constexpr std::u16string_view kHomeSection = u"ホーム";
inline constexpr std::u16string_view kDesktopSection = u"デスクトップ";
inline constexpr std::u16string_view kBrowseTitle = u"変換後のファイルを保存するフォルダを指定して下さい";

inline constexpr std::u16string_view kStopButton = u"中止 (&C)";
// Closing the window while files are converted.
inline constexpr std::u16string_view kStopAndCloseQuestion =
    u"変換中です。変換中のファイルが終わったところで変換を中止して、終了しますか？";
// While the headers of a listed folder are read, before the count "k / N".
inline constexpr std::u16string_view kReadingHeaders = u"ファイル情報を読み込み中…";
// The convert button with no row selected.
inline constexpr std::u16string_view kNothingSelected = u"変換するファイルが選択されていません。一覧でファイルを選択して下さい。";

// Preview pane.
inline constexpr std::u16string_view kPreviewCheck = u"プレビュー (&P)";
inline constexpr std::u16string_view kAfterConversionCheck = u"変換後";
inline constexpr std::u16string_view kAfterConversionTip = u"変換設定の保存バージョンで書いた場合の図面を表示します";
inline constexpr std::u16string_view kPreviewNoFile = u"ファイルが選択されていません";
inline constexpr std::u16string_view kPreviewLoading = u"読み込み中…";
inline constexpr std::u16string_view kPreviewUnavailable = u"プレビューできません";
inline constexpr std::u16string_view kPreviewNotConverted = u"変換対象外のためプレビューできません";

// Result view.
inline constexpr std::u16string_view kCopyButton = u"コピー (&O)";
inline constexpr std::u16string_view kSaveReportButton = u"レポートを保存 (&R)...";
inline constexpr std::u16string_view kCloseViewButton = u"閉じる";
inline constexpr std::u16string_view kSaveReportTitle = u"変換結果のレポートを保存";
inline constexpr std::u16string_view kReportFileName = u"plandown-report.json";
inline constexpr std::u16string_view kReportWildcard = u"JSON ファイル (*.json)|*.json|すべてのファイル (*)|*";
inline constexpr std::u16string_view kReportSaveFailed = u"レポートを保存できませんでした。";

// Settings dialog.
inline constexpr std::u16string_view kSettingsCaption = u"変換設定";
inline constexpr std::u16string_view kVersionGroup = u"バージョン指定";
inline constexpr std::u16string_view kAboutLabel = u"◆本ソフトは、Jw_cad 7.00形式データを旧バージョンに変換する為のソフトです。";
inline constexpr std::u16string_view kVersionLabel = u"保存バージョン：";
inline constexpr std::u16string_view kImageTextNote = u"＊画像同梱文字列を通常の画像文字列に変更します。";
inline constexpr std::u16string_view kExtractNote = u"＊同梱された画像を取り出して保存先に画像ファイルを作成します。(JWW形式)";
inline constexpr std::u16string_view kInflateNote = u"（圧縮されている場合は自動的に解凍を行います）";
inline constexpr std::u16string_view kOverwriteNote = u"※既に同じ名前の画像ファイルが存在する場合には上書きされますので注意。";
inline constexpr std::u16string_view kSxfDimensionNote = u"※Ver.3.51/3.00保存時、SXF対応拡張寸法は分解されます（寸法基点は仮点化）";
inline constexpr std::u16string_view kSxfLineNote = u"SXF対応拡張線色・線種は、通常線色・線種に置き換えます";
inline constexpr std::u16string_view kUserDefinedNote = u"（ユーザー定義線色は線色２、ユーザー定義線種は実線になります）";
inline constexpr std::u16string_view kUnicodeNote = u"※Ver.10.x のUnicode文字は「?」に文字化けします";
inline constexpr std::u16string_view kImageGroup = u"画像展開";
inline constexpr std::u16string_view kConvertImagesCheck = u"画像同梱BMPファイルを他形式に変換する";
inline constexpr std::u16string_view kDeleteSourceCheck = u"他形式に変換する際、展開した元の画像ファイルを削除する";
inline constexpr std::u16string_view kImageFormatLabel = u"変換先の画像ファイル形式：";
inline constexpr std::u16string_view kJpegGroup = u"JPEG保存時設定(&J)";
inline constexpr std::u16string_view kQualityLabel = u"圧縮品質：";
inline constexpr std::u16string_view kQualityLow = u"0:粗";
inline constexpr std::u16string_view kQualityHigh = u"100:綺麗";
inline constexpr std::u16string_view kOkButton = u"ＯＫ (&Y)";
inline constexpr std::u16string_view kCancelButton = u"キャンセル (&N)";

}  // namespace plandown::app
