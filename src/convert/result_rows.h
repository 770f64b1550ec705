// The result view of the desktop window without its widgets: after a run, one row per
// file (what became of it, why, the backup made, the images placed and what the
// down-conversion changed, as the command line reports them) and a summary line.
#pragma once
#include <array>
#include <string_view>
#include <vector>

#include "convert/conversion_result.h"
#include "jww/write_report.h"
#include "util/ustring.h"

namespace plandown {

enum ResultColumn : int {
  kResultName = 0,
  kResultOutcome = 1,
  kResultDetail = 2,
  kResultChanges = 3,
  kResultBackup = 4,
  kResultImages = 5,
};
inline constexpr int kResultColumns = 6;
inline constexpr std::array<std::u16string_view, kResultColumns> kResultHeaders = {
    u"ファイル名", u"結果", u"内容", u"変更点", u"バックアップ", u"画像"};

// What became of a file, as the rows name it.
inline constexpr std::u16string_view kConvertedLabel = u"変換しました";
inline constexpr std::u16string_view kConvertedDamagedLabel = u"変換しました（元データに破損あり）";
inline constexpr std::u16string_view kRefusedLabel = u"変換しませんでした";
inline constexpr std::u16string_view kCancelledLabel = u"変換しませんでした（中止）";
inline constexpr std::u16string_view kFailedLabel = u"失敗しました";
inline constexpr std::u16string_view kBackupFailedText = u"作成できませんでした";

struct ResultRow {
  std::array<String, kResultColumns> text;
  Outcome outcome = Outcome::kRefused;
  bool cancelled = false;
  String note;  // the refusal or failure text as shown to the user, paths whole; one line
};

// One row per result, in the order of the run. The name is the source's file name; the
// detail is "Ver.7.00 → Ver.6.00" for a written file and the refusal or failure text
// otherwise, on one line and with the file's name where it names the source or the
// destination by its path (the view names the destination folder once); the backup and
// image columns name files without folder.
std::vector<ResultRow> ResultRows(const std::vector<FileConversion>& results);

// What the write changed, with the labels of the window: "未使用ブロック定義を削除：64、…";
// empty when nothing was changed. The items are those the command line reports.
String ChangeReportText(const WriteReport& report);

// "変換：3　破損データから変換：0　変換せず：1　失敗：0", with the files a cancel kept
// from starting named among those not converted.
String ResultSummaryText(const std::vector<FileConversion>& results);

// The rows as text to copy: a header line, then one line per row, columns separated by
// tabs, every line ended by "\n"; the detail is the note with its paths whole.
String ResultRowsText(const std::vector<const ResultRow*>& rows);

// Every text of one row, one "header：text" line per column that holds something, for
// the view's detail box (the list's columns cut long texts); the detail is the note with
// its paths whole.
String ResultRowDetails(const ResultRow& row);

// The title of the view and its line naming the destination folder.
inline constexpr std::u16string_view kResultTitle = u"変換結果";
String ResultDestinationText(std::u16string_view destinationFolder);

}  // namespace plandown
