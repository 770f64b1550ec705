#include "convert/reference_folder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "convert/session_temp_folder.h"
#include "images/temp_folder.h"
#include "util/desktop.h"
#include "util/files.h"
#include "util/paths.h"

namespace plandown {

String ReferenceFolderCaption(std::u16string_view preFolder) { return String(kReferenceFolderLabel) + String(preFolder); }

bool ReferenceFolderChanged(std::u16string_view selected, std::u16string_view preFolder) {
  return !selected.empty() && selected != preFolder;
}

String BrowseStartFolder(std::u16string_view destination, std::u16string_view preFolder, std::u16string_view home) {
  for (const std::u16string_view folder : {destination, preFolder})
    if (!folder.empty() && FolderExists(folder)) return String(folder);
  return String(home);
}

String DialogFolderPath(std::u16string_view folder) {
  if (folder.empty()) return String();
  String text(folder);
  if (PathDelim() == u'\\') {
    if (text.starts_with(u"\\\\?\\UNC\\"))
      text = u"\\\\" + text.substr(8);
    else if (text.starts_with(u"\\\\?\\"))
      text = text.substr(4);
  }
  if (PathDelim() == u'\\' && text.size() > 2 && IsPathDelim(text[0]) && IsPathDelim(text[1])) {
    // A share (\\server\share\...): the library's paths would take it for a folder of the
    // current drive.
    std::replace(text.begin(), text.end(), u'/', u'\\');
    while (IsPathDelim(text.back())) text.pop_back();
    return text;
  }
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(ToFsPath(text), ec);
  if (ec) return String(folder);
  const std::filesystem::path normal = absolute.lexically_normal();
  String out = FromFsPath(normal);
  const String root = FromFsPath(normal.root_path());
  while (out.size() > root.size() && IsPathDelim(out.back())) out.pop_back();
  return out;
}

String CreateSessionTempFolder(std::u16string_view programFolder) {
  if (!programFolder.empty()) {
    const String folder = AddPathDelim(AddPathDelim(programFolder) + u"TEMP");
    if (MakeFolder(folder) && FolderWritable(folder)) {
      ClaimSessionTempFolder(folder);
      return folder;
    }
  }
  return CreatePrivateTempFolder();
}

}  // namespace plandown
