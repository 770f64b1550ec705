#include "convert/result_rows.h"

#include <algorithm>
#include <string>

#include "convert/conversion_report.h"

#include "util/paths.h"

namespace plandown {

namespace {

String VersionText(int version) {
  const std::string minor = std::to_string(version % 100);
  return FromUtf8("Ver." + std::to_string(version / 100) + "." + (minor.size() < 2 ? "0" : "") + minor);
}

// A note of several lines (the unsupported-kind message) on the one line of a row.
String OneLine(std::u16string_view text) {
  String line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      line += u' ';
    } else {
      line += text[i];
    }
  }
  return line;
}

// The text with every occurrence of `path` (a non-empty one) replaced by its file name.
String WithNameFor(String text, const String& path) {
  if (path.empty()) return text;
  const String name = ExtractName(path);
  for (std::size_t at = 0; (at = text.find(path, at)) != String::npos; at += name.size()) text.replace(at, path.size(), name);
  return text;
}

// The texts of a row with the note, paths whole, as its detail.
std::array<String, kResultColumns> WithWholeNote(const ResultRow& row) {
  std::array<String, kResultColumns> cells = row.text;
  if (!row.note.empty()) cells[kResultDetail] = row.note;
  return cells;
}

String Count(long long n) { return FromUtf8(std::to_string(n)); }

std::u16string_view OutcomeLabel(const FileConversion& r) {
  switch (r.outcome) {
    case Outcome::kConverted: return kConvertedLabel;
    case Outcome::kConvertedDamaged: return kConvertedDamagedLabel;
    case Outcome::kFailed: return kFailedLabel;
    case Outcome::kRefused: break;
  }
  return r.refusal == Refusal::kCancelled ? kCancelledLabel : kRefusedLabel;
}

}  // namespace

String ChangeReportText(const WriteReport& report) {
  // In the order of WriteReport::Items, which the command line prints.
  const std::pair<std::u16string_view, std::uint64_t> items[] = {
      {u"SXF線色を通常線色に置換", report.colorsMapped},
      {u"線色を既定に置換", report.colorsDefaulted},
      {u"SXF線種を通常線種に置換", report.lineTypesMapped},
      {u"線種を既定に置換", report.lineTypesDefaulted},
      {u"範囲外の属性値を置換", report.valuesReplaced},
      {u"SXF寸法を分解", report.dimensionsDecomposed},
      {u"「?」にした文字", report.charsReplaced},
      {u"切り詰めた文字列", report.stringsCut},
      {u"未使用ブロック定義を削除", report.definitionsDropped},
      {u"範囲外の数値を補正", report.valuesClamped},
      {u"SXF定義を補修", report.sxfRowsRepaired},
  };
  String text;
  for (const auto& [label, n] : items) {
    if (n == 0) continue;
    if (!text.empty()) text += u"、";
    text += String(label) + u"：" + FromUtf8(std::to_string(n));
  }
  return text;
}

std::vector<ResultRow> ResultRows(const std::vector<FileConversion>& results) {
  std::vector<ResultRow> rows;
  rows.reserve(results.size());
  for (const FileConversion& r : results) {
    ResultRow row;
    row.outcome = r.outcome;
    row.cancelled = r.outcome == Outcome::kRefused && r.refusal == Refusal::kCancelled;
    row.text[kResultName] = ExtractName(r.source);
    row.text[kResultOutcome] = String(OutcomeLabel(r));
    if (!r.Written()) row.note = OneLine(r.note);
    row.text[kResultDetail] = r.Written() ? VersionText(r.sourceVersion) + u" → " + VersionText(r.targetVersion)
                                          : WithNameFor(WithNameFor(row.note, r.source), r.destination);
    if (r.backupFailed) row.text[kResultBackup] = String(kBackupFailedText);
    else if (!r.backup.empty()) row.text[kResultBackup] = ExtractName(r.backup);
    for (const String& image : r.images) {
      if (!row.text[kResultImages].empty()) row.text[kResultImages] += u"、";
      row.text[kResultImages] += ExtractName(image);
    }
    row.text[kResultChanges] = ChangeReportText(r.report);
    rows.push_back(std::move(row));
  }
  return rows;
}

String ResultSummaryText(const std::vector<FileConversion>& results) {
  const OutcomeCounts n = CountOutcomes(results);
  const auto cancelled = std::count_if(results.begin(), results.end(), [](const FileConversion& r) {
    return r.outcome == Outcome::kRefused && r.refusal == Refusal::kCancelled;
  });
  String text = u"変換：" + Count(n.converted) + u"　破損データから変換：" + Count(n.convertedDamaged) +
                u"　変換せず：" + Count(n.refused);
  if (cancelled) text += u"（うち中止：" + Count(cancelled) + u"）";
  return text + u"　失敗：" + Count(n.failed);
}

String ResultRowsText(const std::vector<const ResultRow*>& rows) {
  String text;
  const auto line = [&text](const auto& cells) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
      if (c) text += u'\t';
      for (const char16_t ch : cells[c]) text += (ch == u'\t' || ch == u'\r' || ch == u'\n') ? u' ' : ch;
    }
    text += u'\n';
  };
  std::array<String, kResultColumns> header;
  for (int c = 0; c < kResultColumns; ++c) header[static_cast<std::size_t>(c)] = String(kResultHeaders[static_cast<std::size_t>(c)]);
  line(header);
  for (const ResultRow* row : rows) line(WithWholeNote(*row));
  return text;
}

String ResultRowDetails(const ResultRow& row) {
  String text;
  const std::array<String, kResultColumns> cells = WithWholeNote(row);
  for (int c = 0; c < kResultColumns; ++c) {
    const String& cell = cells[static_cast<std::size_t>(c)];
    if (cell.empty()) continue;
    if (!text.empty()) text += u'\n';
    text += String(kResultHeaders[static_cast<std::size_t>(c)]) + u"：" + cell;
  }
  return text;
}

String ResultDestinationText(std::u16string_view destinationFolder) {
  return u"保存先：" + String(destinationFolder);
}

}  // namespace plandown
