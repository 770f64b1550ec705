// What the JWC and JWK documents share: the header record, recognition by the
// identification at the start of the file, and header-only reading. Each document supplies
// its identification and its header reader.
#pragma once
#include <string_view>
#include <vector>

#include "archive/instream.h"
#include "dos/dos_header.h"
#include "util/ustring.h"

namespace plandown {

template <typename Header>
class TDosData {
 public:
  Header Enthd;

  void DataInit() { Enthd = Header{}; }
  void DataFree() { DataInit(); }
  // Whether the file starts with this document's identification.
  bool FileCheck(std::u16string_view FName) { return dos::FileHasIdent(FName, ident_); }
  // Empties the document and reads the header; false when the file cannot be opened or a
  // header block is missing.
  bool FileHeaderIn(std::u16string_view FName) {
    DataInit();
    return dos::ReadHeaderFile(FName, [this](InStream& in) { return ReadDosHeader(in); });
  }

 protected:
  explicit TDosData(std::u16string_view ident) : ident_(ident) { DataInit(); }
  ~TDosData() = default;
  TDosData(const TDosData&) = default;
  TDosData& operator=(const TDosData&) = default;

  // Reads the header blocks into Enthd; false when a block yields no byte.
  virtual bool ReadDosHeader(InStream& in) = 0;
  void SplitFields(std::u16string_view text, int count) { dos::SplitFields(text, count, Enthd.para); }

 private:
  std::u16string_view ident_;
};

}  // namespace plandown
