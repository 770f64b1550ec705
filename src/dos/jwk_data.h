// The DOS-era shape file (JWK), as far as the file list uses it: recognition and the
// header. The entity part of the file is never read.
#pragma once
#include <vector>

#include "archive/instream.h"
#include "dos/dos_types.h"
#include "util/ustring.h"

namespace plandown {

class TJwkData {
 public:
  TJwkData() { DataInit(); }

  TEntJwkHeader Enthd;

  void DataInit();
  void DataFree() { DataInit(); }
  // Whether the file starts with the shape identification.
  bool FileCheck(std::u16string_view FName);
  // Empties the document and reads the header; false when the file cannot be opened or a
  // header block is missing.
  bool FileHeaderIn(std::u16string_view FName);

 private:
  bool ReadDosHeader(InStream& in);
  void SplitFields(std::u16string_view text, int count);
};

}  // namespace plandown
