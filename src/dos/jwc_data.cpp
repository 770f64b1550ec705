#include "dos/jwc_data.h"

#include "archive/archive_read.h"
#include "dos/dos_header.h"

namespace plandown {
namespace {

constexpr int kBlock2Fields = 32;
constexpr int kBlock3Fields = 28;
constexpr int kBlock4Fields = 22;
constexpr std::int32_t kDefaultDrawWidth = 518;

// Paper width in millimetres of each paper size code (A0 to A4, then the oversize
// papers); 0 for the codes that name no paper.
std::int32_t PaperWidth(std::int32_t psize) {
  switch (psize) {
    case 0: return 1189;
    case 1: return 841;
    case 2: return 594;
    case 3: return 420;
    case 4: return 297;
    case 8: return 1682;
    case 9: return 2378;
    case 10: return 3364;
    case 11: return 4756;
    case 12: return 10000;
    case 13: return 50000;
    case 14: return 100000;
    default: return 0;
  }
}

}  // namespace

bool TJwcData::ReadDosHeader(InStream& in) {
  TEntJwcHeader& h = Enthd;
  const std::vector<String>& p = h.para;
  auto I = [&](int j) { return dos::FieldInt(p, j); };
  auto F = [&](int j) { return dos::FieldFloat(p, j); };
  bool ok = true;
  try {
    dos::ReadIdentBlock(in, h.jwID, h.comment1, h.comment2);
    h.scaleF = h.jwID.size() >= 23 && h.jwID[22] == u'f';  // the 23rd character

    SplitFields(dos::ReadTextBlock(in), kBlock2Fields);
    h.lineCount = I(0);
    h.arcCount = I(1);
    h.mojiCount = I(2);
    h.tenCount = I(3);
    h.vtenCount = I(4);
    h.curFno = I(5);
    h.curMfno = I(6);
    h.curMlcol = I(7);
    h.curMpcol = I(8);
    h.wLayScale = F(9);
    h.wLayNo = I(10);
    h.psize = I(11);
    h.lcol = I(12);
    h.ltyp = I(13);
    h.plotOrgX = F(14);
    h.plotOrgY = F(15);
    h.lpitch1 = F(16);
    h.lpitch2 = F(17);
    h.drawtime = I(18);
    for (int k = 0; k < 6; ++k) h.penWidth[static_cast<std::size_t>(k)] = I(19 + k);
    h.gridX = F(25);
    h.gridY = F(26);
    h.gridOrgX = F(27);
    h.gridOrgY = F(28);
    h.gridScale = F(29);
    h.drawWidth = I(30);
    if (h.drawWidth == 0) h.drawWidth = kDefaultDrawWidth;
    h.flgPthin = I(31);

    SplitFields(dos::ReadTextBlock(in), kBlock3Fields);
    h.mvDist = F(0);
    h.mtDist = F(1);
    h.arLen = F(2);
    h.arAng = F(3);
    h.locMR = I(4);
    h.flgMconma = I(5);
    h.flgMzeros = I(6);
    h.typLside = I(7);
    h.mvUnit = I(8);
    h.mvKeta = I(9);
    h.sOfsetXL = F(10);
    h.sOfsetXM = F(11);
    h.sOfsetXR = F(12);
    h.sOfsetYD = F(13);
    h.sOfsetYM = F(14);
    h.sOfsetYT = F(15);
    h.s1len = I(16);
    h.sOrgXm = I(17);
    h.sOrgYm = I(18);
    h.dlinDistB = F(19);
    for (int k = 0; k < 5; ++k) h.dlinDist[static_cast<std::size_t>(k)] = F(20 + k);
    h.svScrnOX = F(25);
    h.svScrnOY = F(26);
    h.svScrnScl = F(27);

    SplitFields(dos::ReadTextBlock(in), kBlock4Fields);
    h.sBufAdr1 = dos::FieldSegmentAddress(p, 0);
    h.sBufAdr2 = dos::FieldSegmentAddress(p, 1);
    float* const zoom[] = {&h.subZm0X, &h.subZm0Y, &h.subZm0S, &h.subZm1X, &h.subZm1Y,
                           &h.subZm1S, &h.subZm2X, &h.subZm2Y, &h.subZm2S, &h.subZm3X,
                           &h.subZm3Y, &h.subZm3S, &h.subZm4X, &h.subZm4Y, &h.subZm4S};
    for (int k = 0; k < 15; ++k) *zoom[k] = F(2 + k);
    h.hiIdo = F(17);
    h.hiHi = F(18);
    h.hiTaka = F(19);
    h.flgHok = I(20);
    h.flg25Dm = I(21);

    // Sizes without a paper of their own (5 to 7, negative, above 14) have a dataUnit of 1.
    const std::int32_t width = PaperWidth(h.psize);
    h.dataUnit = width == 0 ? 1.0f : static_cast<float>(width) / static_cast<float>(h.drawWidth);
  } catch (const ArchiveError&) {
    ok = false;
  }
  h.para.clear();
  return ok;
}

}  // namespace plandown
