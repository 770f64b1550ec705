// Converting one file of any kind: the choice of document class by extension.
#pragma once
#include "convert/conversion_request.h"
#include "convert/conversion_result.h"
#include "convert/conversion_ui.h"
#include "convert/settings.h"

namespace plandown {

// ".jww" files go to ConvertJww (".jws" will go to the shape converter); every other
// extension is refused with a message. The status text is cleared after a written file;
// a refusal or failure text stays for the user to read.
FileConversion ConvertFile(const ConversionRequest& request, const ConversionSettings& settings, ConversionUi& ui);

}  // namespace plandown
