// A one-line progress bar redrawn in place on a terminal.
#pragma once
#include <cstddef>
#include <iosfwd>
#include <string>

namespace plandown::cli {

class ProgressBar {
 public:
  // Draws nothing when `enabled` is false.
  ProgressBar(std::ostream& err, bool enabled, std::size_t total) : err_(err), enabled_(enabled), total_(total) {}
  ~ProgressBar() { Clear(); }
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // Shows `done` of the total with the name of the last file done.
  void Show(std::size_t done, const std::string& name);
  // Removes the bar, so that other output starts on a clean line.
  void Clear();

  // The text of the bar: "[#####.....]  5/10  name", the name cut to keep within `columns`.
  static std::string Line(std::size_t done, std::size_t total, const std::string& name, std::size_t columns);

 private:
  std::ostream& err_;
  bool enabled_;
  std::size_t total_;
  std::size_t shown_ = 0;  // columns of the bar on screen
};

}  // namespace plandown::cli
