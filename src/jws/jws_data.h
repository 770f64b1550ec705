// The JWS shape document: a small header and the same entity lists as a drawing.
#pragma once
#include <cstdint>
#include <vector>

#include "jww/entity_doc.h"
#include "jww/types.h"
#include "jww/write_report.h"

namespace plandown {

class InStream;
class OutStream;

struct TEntJwsHeader {
  String jwID;
  std::int32_t jwVer = 0;
  double BasePoint_x = 0, BasePoint_y = 0;
  std::int32_t dmy01 = 0, dmy02 = 0, dmy03 = 0, dmy04 = 0, dmy05 = 0, dmy06 = 0;
  double dmy11 = 0, dmy12 = 0, dmy13 = 0, dmy14 = 0, dmy15 = 0, dmy16 = 0;
  double Mx1 = 0, My1 = 0, Mx2 = 0, My2 = 0;
  std::int32_t n1 = 0;
  std::int32_t n2 = 0;
};

// Generations a JWS reader accepts.
inline constexpr int kJwsMinVersion = 230;
inline constexpr int kJwsMaxVersion = 700;
// Shapes are never written below this generation, and a 3.00 request is written as 3.51.
inline constexpr int kJwsMinWriteVersion = 230;
inline constexpr int kJwsWrite300As = 351;

class TJwsData : public TJwEntityDoc {
 public:
  TEntJwsHeader Enthd;
  std::vector<TEntJwwLayerGroup> EntLgrp;  // 16; only adScale comes from the file
  std::vector<TEntJwwMojiType> EntMoj;     // a shape has none

  TJwsData() { DataInit(); }
  ~TJwsData() { DataFree(); }

  void DataInit();
  void DataFree();
  bool FileCheck(const String& FName) const;
  bool FileHeaderIn(const String& FName);
  bool FileIn(const String& FName);
  bool FileIn(InStream& in);
  bool FileOut(const String& FName, int Ver);
  bool FileOut(OutStream& out, int Ver);  // the same into any byte sink
  const WriteReport& LastWriteReport() const { return lastReport_; }
  bool HeaderRead() const { return headerRead_; }

  // The generation a request for Ver is written as.
  static int AdjustedVersion(int Ver);

 private:
  bool ReadJwsHeader(InStream& in);

  WriteReport lastReport_;
  bool headerRead_ = false;
};

}  // namespace plandown
