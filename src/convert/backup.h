// The copy of a destination file that a conversion is about to replace.
#pragma once
#include <string_view>

#include "convert/conversion_result.h"
#include "util/ustring.h"

namespace plandown {

// The destination with the extension ".BAK": D/a.jww -> D/a.BAK.
String BackupPathFor(std::u16string_view destination);

// When a file exists at result.destination, copies it with its time stamps to `backup`
// (replacing an older backup) and records the result in result.backup or
// result.backupFailed. A failed copy does not stop the conversion.
void BackUpDestination(const String& backup, FileConversion& result);

}  // namespace plandown
