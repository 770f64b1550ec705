#include "util/search.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "util/files.h"
#include "util/paths.h"
#include "util/text.h"

namespace plandown {
namespace fs = std::filesystem;

std::vector<TFileField> FoundFiles;
std::int32_t FoundCount = 0;

namespace {

constexpr std::size_t kGrowStep = 100;

bool MatchWildcards(std::u16string_view name, std::u16string_view mask) {
  constexpr std::size_t npos = std::u16string_view::npos;
  std::size_t n = 0, m = 0;
  std::size_t starMask = npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == u'*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() && (mask[m] == u'?' || LowerChar(mask[m]) == LowerChar(name[n]))) {
      ++m;
      ++n;
    } else if (starMask != npos) {
      // Let the last "*" take one more unit and retry from there.
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && (mask[m] == u'*' || mask[m] == u'?')) ++m;
  return m == mask.size();
}

String Padded(int v, int width) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%0*d", width, v);
  return FromUtf8(buf);
}

void FillTimes(std::u16string_view path, TFileField& row) {
  FileTimes times;
  LocalDateTime t;
  if (!ReadFileTimes(path, times) || !times.write.valid || !ToLocalDateTime(times.write.sec, t)) return;
  row.date = Padded(t.year, 4) + u"/" + Padded(t.month, 2) + u"/" + Padded(t.day, 2);
  row.time = Padded(t.hour, 2) + u":" + Padded(t.minute, 2) + u":" + Padded(t.second, 2);
}

}  // namespace

bool MaskMatches(std::u16string_view name, std::u16string_view mask) {
  if (MatchWildcards(name, mask)) return true;
  return mask.size() >= 2 && mask.substr(mask.size() - 2) == u".*" &&
         MatchWildcards(name, mask.substr(0, mask.size() - 2));
}

void ClearFoundFiles() {
  FoundFiles.clear();
  FoundFiles.shrink_to_fit();
  FoundCount = 0;
}

std::vector<TFileField> SearchFolder(std::u16string_view folder, std::u16string_view mask) {
  std::vector<TFileField> rows;
  if (folder.empty() || HasForbiddenPathChars(folder)) return rows;
  const String base = AddPathDelim(folder);
  std::error_code ec;
  fs::directory_iterator it(ToFsPath(base), fs::directory_options::skip_permission_denied, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code entryEc;
    if (it->is_directory(entryEc)) continue;
    String name = FromFsPath(it->path().filename());
    if (!MaskMatches(name, mask)) continue;
    // Asked again by name: a name that does not survive the round trip through the text
    // form cannot be opened by the callers either.
    String path = base + name;
    if (!FileExistsAt(path)) continue;
    if (rows.size() % kGrowStep == 0) rows.reserve(rows.size() + kGrowStep);
    TFileField row{name, 0, String(), String(), false};
    std::int64_t size = FileSizeAt(path);
    row.size = static_cast<std::int32_t>(static_cast<std::uint32_t>(size < 0 ? 0 : size));
    FillTimes(path, row);
    rows.push_back(std::move(row));
  }
  rows.shrink_to_fit();
  return rows;
}

void SearchFiles(std::u16string_view folder, std::u16string_view mask) {
  ClearFoundFiles();
  FoundFiles = SearchFolder(folder, mask);
  FoundCount = static_cast<std::int32_t>(FoundFiles.size());
}

}  // namespace plandown
