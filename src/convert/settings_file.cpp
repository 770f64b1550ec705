#include "convert/settings_file.h"

#include <algorithm>
#include <string>
#include <type_traits>
#include <vector>

#include "archive/instream.h"
#include "convert/file_listing.h"
#include "jww/output_file.h"
#include "util/desktop.h"
#include "util/files.h"
#include "util/paths.h"
#include "util/text.h"

namespace plandown {
namespace {

// Enough for the two longest folder paths in hex; a larger file is read only this far so
// that a stray big file in its place cannot exhaust memory.
constexpr std::size_t kMaxSettingsBytes = 1 << 20;

// The values in the order of the file's lines; both directions walk this one list. The
// visitor gets an int32 or a String (the folders, stored as hex).
template <class Settings, class Visitor>
void VisitLines(Settings& s, Visitor&& v) {
  v(s.MainLeft);
  v(s.MainTop);
  v(s.MainWidth);
  v(s.MainHeight);
  v(s.FolderPanelWidth);
  v(s.preFolder);
  v(s.DestinationFolder);
  v(s.FileTypeIndex);
  for (auto& w : s.ColumnWidths) v(w);
  v(s.DialogLeft);
  v(s.DialogTop);
  v(s.Conversion.OutVersionIndex);
  v(s.Conversion.ConvertBoundImages);
  v(s.Conversion.DeleteSourceImage);
  v(s.Conversion.ImageFormatIndex);
  v(s.Conversion.JpegQuality);
}

// The lines after those, which older files do not have: they keep their defaults when
// absent, and trailing ones at their defaults are not written.
template <class Settings, class Visitor>
void VisitLaterLines(Settings& s, Visitor&& v) {
  v(s.PreviewShown, AppSettings{}.PreviewShown);
  v(s.PreviewAfter, AppSettings{}.PreviewAfter);
  v(s.PreviewSash, AppSettings{}.PreviewSash);
  v(s.MainMaximized, AppSettings{}.MainMaximized);
}

// Lines ended by CR LF, LF or CR; a last line without an ending counts.
std::vector<String> SplitLines(std::u16string_view text) {
  std::vector<String> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

bool ReadSettingsText(const String& path, String& text) {
  InStream in(path);
  if (!in.ok()) return false;
  std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(in.size(), kMaxSettingsBytes)), '\0');
  bytes.resize(in.Read(bytes.data(), bytes.size()));
  // The lines are ASCII; anything else decodes to characters no line form accepts.
  text = FromUtf8(bytes);
  return true;
}

}  // namespace

bool LoadSettings(const String& path, AppSettings& settings) {
  const String destination = settings.DestinationFolder;
  settings = AppSettings{};
  settings.DestinationFolder = destination;
  if (!FileExistsAt(path)) return false;
  String text;
  if (!ReadSettingsText(path, text)) return false;
  const std::vector<String> lines = SplitLines(text);
  std::size_t next = 0;
  VisitLines(settings, [&](auto& value) {
    const std::u16string_view line = next < lines.size() ? std::u16string_view(lines[next]) : std::u16string_view();
    ++next;
    if constexpr (std::is_same_v<std::decay_t<decltype(value)>, String>)
      value = DecodeHexText(line);
    else
      value = TextToInt(line);
  });
  VisitLaterLines(settings, [&](std::int32_t& value, std::int32_t) {
    if (next < lines.size()) value = TextToInt(lines[next]);
    ++next;
  });
  // What the type box holds: an index it has no entry for selects nothing.
  if (settings.FileTypeIndex < 0 || settings.FileTypeIndex >= static_cast<std::int32_t>(kFileTypeFilters.size()))
    settings.FileTypeIndex = -1;
  return true;
}

bool SaveSettings(const String& path, const AppSettings& settings) {
  std::string text;
  VisitLines(settings, [&](const auto& value) {
    if constexpr (std::is_same_v<std::decay_t<decltype(value)>, String>)
      text += ToUtf8(EncodeHexText(value));
    else
      text += std::to_string(value);
    text += "\r\n";
  });
  std::vector<std::int32_t> later;
  std::size_t needed = 0;
  VisitLaterLines(settings, [&](std::int32_t value, std::int32_t byDefault) {
    later.push_back(value);
    if (value != byDefault) needed = later.size();
  });
  for (std::size_t i = 0; i < needed; ++i) text += std::to_string(later[i]) + "\r\n";
  OutputFile file(path);
  if (!file.ok()) {
    file.Abandon();
    return false;
  }
  file.stream().Write(text.data(), text.size());
  return file.Commit();
}

String ChooseSettingsFileName(std::u16string_view exePath, bool exeFolderWritable, std::u16string_view configFolder) {
  if (!exePath.empty() && (exeFolderWritable || configFolder.empty())) return ChangeExt(exePath, u".dat");
  if (configFolder.empty()) return String();
  return AddPathDelim(String(configFolder) + u"plandown") + u"plandown.dat";
}

String DefaultSettingsFileName() {
  const String exe = ExecutablePath();
  const bool writable = !exe.empty() && FolderWritable(ExtractFolder(exe));
  const String config = writable ? String() : UserConfigFolder();
  const String name = ChooseSettingsFileName(exe, writable, config);
  if (!config.empty()) MakeFolder(ExtractFolder(name));
  return name;
}

}  // namespace plandown
