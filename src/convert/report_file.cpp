#include "convert/report_file.h"

#include <cstdio>
#include <sstream>

#include "convert/conversion_report.h"
#include "util/files.h"

namespace plandown {

bool SaveConversionReport(const String& path, const ConversionSettings& settings,
                          const std::vector<FileConversion>& results) {
  std::ostringstream report;
  WriteConversionReport(report, settings, results);
  const std::string text = report.str();
  const String temporary = TemporaryNameBeside(path);
  std::FILE* f = OpenFileAt(temporary, "wbx");
  if (f == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  if (std::fclose(f) == 0 && written && RenameFileOver(temporary, path)) return true;
  DeleteFileAt(temporary);
  return false;
}

}  // namespace plandown
