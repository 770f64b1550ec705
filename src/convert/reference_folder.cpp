#include "convert/reference_folder.h"

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
