// The JWW drawing document: header, tables, entity lists, block definitions, block tree
// and bound images of one drawing.
#pragma once
#include <cstdint>
#include <vector>

#include "jww/entity_doc.h"
#include "jww/types.h"
#include "jww/write_report.h"

namespace plandown {

class InStream;
class OutStream;

class TJwwData : public TJwEntityDoc {
 public:
  TEntJwwHeader Enthd;
  std::vector<TEntJwwLayerGroup> EntLgrp;  // 16
  std::vector<TEntJwwLayer> EntLay;        // 256, group * 16 + layer
  std::vector<TEntJwwColorNo> EntCol;      // 10
  std::vector<TEntJwwLineTypeNo> EntLtp1;  // 8
  std::vector<TEntJwwRandomLineNo> EntLtp2;  // 5
  std::vector<TEntJwwLineTypeNo> EntLtp3;  // 4
  std::vector<TEntJwwColorExNo> EntColS;   // 257
  std::vector<TEntJwwLineTypeExNo> EntLtpS;  // 33
  std::vector<TEntJwwMojiType> EntMoj;     // 10

  TJwwData() { DataInit(); }
  ~TJwwData() { DataFree(); }

  void DataInit();
  void DataFree();

  // A JWW file of a readable generation (signature and version only).
  bool FileCheck(const String& FName) const;
  // Resets the document and reads only the header and tables.
  bool FileHeaderIn(const String& FName);
  // Resets the document and reads the whole file; the block tree is built whenever the
  // header was accepted.
  bool FileIn(const String& FName);
  bool FileIn(InStream& in);  // the same over any byte source

  // Writes the document as generation Ver; false (and no file) on any failure.
  bool FileOut(const String& FName, int Ver);
  // The same into any byte sink (a file written elsewhere, or memory).
  bool FileOut(OutStream& out, int Ver);
  // What the last FileOut changed to fit the target.
  const WriteReport& LastWriteReport() const { return lastReport_; }

  // True when FileIn read the header (what the conversion needs at the least).
  bool HeaderRead() const { return headerRead_; }

 private:
  bool ReadHeader(InStream& in);
  void ReadBoundImages(InStream& in);

  WriteReport lastReport_;
  bool headerRead_ = false;
};

}  // namespace plandown
