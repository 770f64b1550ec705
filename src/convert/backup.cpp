#include "convert/backup.h"

#include "util/files.h"
#include "util/paths.h"

namespace plandown {

String BackupPathFor(std::u16string_view destination) { return ChangeExt(destination, u".BAK"); }

void BackUpDestination(const String& backup, FileConversion& result) {
  if (!FileExistsAt(result.destination)) return;
  if (CopyFileWithTimes(result.destination, backup))
    result.backup = backup;
  else
    result.backupFailed = true;
}

}  // namespace plandown
