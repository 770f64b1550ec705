// A document as a conversion would write it, made in memory: nothing touches the disk.
#pragma once
#include <utility>
#include <vector>

#include "convert/settings.h"
#include "jws/jws_data.h"
#include "jww/jww_data.h"
#include "jww/write_report.h"

namespace plandown {

// Image texts the conversion renamed: (text as written, text as read).
using RenamedImageTexts = std::vector<std::pair<String, String>>;

// Fills `after` with the document as the conversion with `settings` writes it: the image
// texts rewritten as the conversion rewrites them, the document written as the target
// generation into memory with the conversion's writer options and read back, so that
// every rule of the writer applies exactly as to a converted file. `doc` keeps its
// content. `report` receives what the write changed. False when the write failed.
bool ConvertInMemory(TJwwData& doc, const ConversionSettings& settings, TJwwData& after, WriteReport& report,
                     RenamedImageTexts* renamed = nullptr);
bool ConvertInMemory(TJwsData& doc, const ConversionSettings& settings, TJwsData& after, WriteReport& report,
                     RenamedImageTexts* renamed = nullptr);

}  // namespace plandown
