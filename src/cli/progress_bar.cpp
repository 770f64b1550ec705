#include "cli/progress_bar.h"

#include <algorithm>
#include <ostream>

#include "cli/text_output.h"
#include "util/ustring.h"

namespace plandown::cli {

namespace {
constexpr std::size_t kBarCells = 24;
constexpr std::size_t kColumns = 79;  // stays on one line of the narrowest usual terminal
}  // namespace

std::string ProgressBar::Line(std::size_t done, std::size_t total, const std::string& name, std::size_t columns) {
  const std::size_t filled = total == 0 ? kBarCells : kBarCells * std::min(done, total) / total;
  std::string line = "[" + std::string(filled, '#') + std::string(kBarCells - filled, '.') + "] " +
                     std::to_string(done) + "/" + std::to_string(total);
  if (name.empty()) return line;
  line += "  ";
  // Long paths lose their beginning: the file name at the end says most.
  const String text = FromUtf8(name);
  const std::size_t used = DisplayWidth(FromUtf8(line));
  const std::size_t room = columns > used ? columns - used : 0;
  if (DisplayWidth(text) <= room) return line + name;
  std::size_t start = text.size(), cut = 3;  // "..." first
  while (start > 0) {
    std::size_t from = start - 1;
    if (from > 0 && text[from] >= 0xDC00 && text[from] <= 0xDFFF) --from;  // a pair stays whole
    const std::size_t w = DisplayWidth(text.substr(from, start - from));
    if (cut + w > room) break;
    cut += w;
    start = from;
  }
  return line + "..." + ToUtf8(text.substr(start));
}

void ProgressBar::Show(std::size_t done, const std::string& name) {
  if (!enabled_) return;
  const std::string line = Line(done, total_, name, kColumns);
  const std::size_t width = DisplayWidth(FromUtf8(line));
  err_ << "\r" << line;
  if (width < shown_) err_ << std::string(shown_ - width, ' ') << "\r" << line;
  err_.flush();
  shown_ = width;
}

void ProgressBar::Clear() {
  if (!enabled_ || shown_ == 0) return;
  err_ << "\r" << std::string(shown_, ' ') << "\r";
  err_.flush();
  shown_ = 0;
}

}  // namespace plandown::cli
