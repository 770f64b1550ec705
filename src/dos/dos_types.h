// Header records of the DOS-era drawing (JWC) and shape (JWK) files. Both headers are
// 200-byte blocks: block 1 holds the identification and two comment lines as fixed-width
// byte fields, every further block one line of comma-separated values. Field names are
// the drawing program's own; the comments give the block and field each comes from.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "util/ustring.h"

namespace plandown {

struct TEntJwcHeader {
  // Block 1.
  String jwID;      // bytes 0-39
  String comment1;  // bytes 40-71
  String comment2;  // bytes 72-103
  bool scaleF = false;  // character 23 of jwID is "f"
  // Block 2, fields 0-31.
  std::int32_t lineCount = 0, arcCount = 0, mojiCount = 0, tenCount = 0, vtenCount = 0;
  std::int32_t curFno = 0, curMfno = 0, curMlcol = 0, curMpcol = 0;
  float wLayScale = 0;
  std::int32_t wLayNo = 0, psize = 0, lcol = 0, ltyp = 0;
  float plotOrgX = 0, plotOrgY = 0, lpitch1 = 0, lpitch2 = 0;
  std::int32_t drawtime = 0;
  std::array<std::int32_t, 6> penWidth{};
  float gridX = 0, gridY = 0, gridOrgX = 0, gridOrgY = 0, gridScale = 0;
  std::int32_t drawWidth = 0;  // 0 in the file means 518
  std::int32_t flgPthin = 0;
  // Block 3, fields 0-27.
  float mvDist = 0, mtDist = 0, arLen = 0, arAng = 0;
  std::int32_t locMR = 0, flgMconma = 0, flgMzeros = 0, typLside = 0, mvUnit = 0, mvKeta = 0;
  float sOfsetXL = 0, sOfsetXM = 0, sOfsetXR = 0, sOfsetYD = 0, sOfsetYM = 0, sOfsetYT = 0;
  std::int32_t s1len = 0, sOrgXm = 0, sOrgYm = 0;
  float dlinDistB = 0;
  std::array<float, 5> dlinDist{};
  float svScrnOX = 0, svScrnOY = 0, svScrnScl = 0;
  // Block 4, fields 0-21. The buffer addresses are real-mode segment:offset pairs, kept
  // as the linear address segment * 16 + offset.
  std::int32_t sBufAdr1 = 0, sBufAdr2 = 0;
  float subZm0X = 0, subZm0Y = 0, subZm0S = 0;
  float subZm1X = 0, subZm1Y = 0, subZm1S = 0;
  float subZm2X = 0, subZm2Y = 0, subZm2S = 0;
  float subZm3X = 0, subZm3Y = 0, subZm3S = 0;
  float subZm4X = 0, subZm4Y = 0, subZm4S = 0;
  float hiIdo = 0, hiHi = 0, hiTaka = 0;
  std::int32_t flgHok = 0, flg25Dm = 0;
  // Fields of the block being split; empty outside a read.
  std::vector<String> para;
  // Paper width of psize in millimetres divided by drawWidth.
  float dataUnit = 0;
};

struct TEntJwkHeader {
  // Block 1.
  String jwID;
  String comment1;
  String comment2;
  // Block 2, fields 0-8.
  std::int32_t lineCount = 0, arcCount = 0, tenCount = 0, mojiCount = 0;
  float org_x = 0, org_y = 0, dispScale = 0;
  std::int32_t strSpace = 0;
  float scale = 0;  // a stored scale of 1e-14 or less means 1
  // Fields of the block being split; empty outside a read.
  std::vector<String> para;
};

}  // namespace plandown
