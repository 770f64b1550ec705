// The JWW header in file order, for every generation: one field list that the reader and
// the writer both walk, so that both always agree on order and version conditions.
//
// The visitor F provides:
//   I(std::int32_t&), D(double&)            scalar fields
//   Reserved(std::size_t n, std::uint8_t fill)  bytes skipped on reading, filled on writing
//   Memo(String&)                           the memo (line breaks kept)
//   Name(String&)                           a table name (controls dropped / one-line form)
//   PrintWord(TEntJwwHeader&)               the combined nPrtDispOnlyNonDraw / nPrtDpi word
//   LastD(double&)                          the last field (a guarded read)
#pragma once
#include "jww/types.h"
#include "jww/versions.h"

namespace plandown {

struct JwwHeaderRefs {
  TEntJwwHeader& h;
  std::vector<TEntJwwLayerGroup>& lgrp;
  std::vector<TEntJwwLayer>& lay;
  std::vector<TEntJwwColorNo>& col;
  std::vector<TEntJwwLineTypeNo>& ltp1;
  std::vector<TEntJwwRandomLineNo>& ltp2;
  std::vector<TEntJwwLineTypeNo>& ltp3;
  std::vector<TEntJwwColorExNo>& colS;
  std::vector<TEntJwwLineTypeExNo>& ltpS;
  std::vector<TEntJwwMojiType>& moj;
};

inline constexpr int kLayerGroups = 16;
inline constexpr int kLayersPerGroup = 16;
inline constexpr int kPenRows = 10;
inline constexpr int kLineTypeRows = 8;
inline constexpr int kRandomLineRows = 5;
inline constexpr int kLineType3Rows = 4;
inline constexpr int kSxfColorRows = 257;
inline constexpr int kSxfLineTypeRows = 33;
inline constexpr int kMojiTypeRows = 10;
inline constexpr int kReservedAfterGroups = 56;  // written as 0x20
inline constexpr int kReservedAfterSunpou = 4;   // written as 0x00

// Everything after the signature and the version, rows in file order.
template <class F>
void VisitJwwHeader(F& f, JwwHeaderRefs r, int ver) {
  TEntJwwHeader& h = r.h;
  f.Memo(h.strMemo);
  f.I(h.nZumen);
  f.I(h.nWriteGLay);
  for (int g = 0; g < kLayerGroups; ++g) {
    TEntJwwLayerGroup& grp = r.lgrp[g];
    f.I(grp.anGLay);
    f.I(grp.anWriteLay);
    f.D(grp.adScale);
    f.I(grp.anGLayProtect);
    for (int l = 0; l < kLayersPerGroup; ++l) {
      TEntJwwLayer& lay = r.lay[g * kLayersPerGroup + l];
      f.I(lay.aanLay);
      f.I(lay.aanLayProtect);
    }
  }
  f.Reserved(kReservedAfterGroups, 0x20);
  f.I(h.lnSunpou1);
  f.I(h.lnSunpou2);
  f.I(h.lnSunpou3);
  f.I(h.lnSunpou4);
  f.I(h.lnSunpou5);
  f.Reserved(kReservedAfterSunpou, 0x00);
  f.I(h.nMaxDrawWid);
  f.D(h.DPPrtGenten_x);
  f.D(h.DPPrtGenten_y);
  f.D(h.dPrtBairitsu);
  f.I(h.nPrtSet);
  f.I(h.nMemoriMode);
  f.D(h.dMemoriHyoujiMin);
  f.D(h.dMemoriX);
  f.D(h.dMemoriY);
  f.D(h.DpMemoriKjTen_x);
  f.D(h.DpMemoriKjTen_y);
  for (int i = 0; i < kLayerGroups * kLayersPerGroup; ++i) f.Name(r.lay[i].aStrLayName);
  for (int g = 0; g < kLayerGroups; ++g) f.Name(r.lgrp[g].aStrGLayName);
  f.D(h.dKageLevel);
  f.D(h.dKageIdo);
  f.I(h.nKage9_15JiFlg);
  f.D(h.dKabeKageLevel);
  if (ver >= kVerTenkuu) {
    f.D(h.dTenkuuZuLevel);
    f.D(h.dTenkuuZuEnkoR);
  }
  f.I(h.nMMTani3D);
  f.D(h.dBairitsu);
  f.D(h.DPGenten_x);
  f.D(h.DPGenten_y);
  f.D(h.dHanniBairitsu);
  f.D(h.DPHanniGenten_x);
  f.D(h.DPHanniGenten_y);
  if (ver >= kVerZoom8) {
    for (int i = 1; i <= 8; ++i) {
      f.D(h.dZoomJumpBairitsu[i]);
      f.D(h.DPZoomJumpGenten_x[i]);
      f.D(h.DPZoomJumpGenten_y[i]);
      f.I(h.nZoomJumpGLay[i]);
    }
    f.D(h.dDm11);
    f.D(h.dDm12);
    f.D(h.dDm13);
    f.I(h.lnDm1);
    f.D(h.dDm21);
    f.D(h.dDm22);
    f.D(h.dMojiBG);
    f.I(h.nMojiBG);
  } else {
    for (int i = 1; i <= 4; ++i) {
      f.D(h.dZoomJumpBairitsu[i]);
      f.D(h.DPZoomJumpGenten_x[i]);
      f.D(h.DPZoomJumpGenten_y[i]);
    }
  }
  for (double& d : h.adFukusenSuuchi) f.D(d);
  f.D(h.dRyougawaFukusenTomeDe);
  for (int k = 0; k < kPenRows; ++k) {
    f.I(r.col[k].aPenColor);
    f.I(r.col[k].anPenWidth);
  }
  for (int k = 0; k < kPenRows; ++k) {
    f.I(r.col[k].aPrtPenColor);
    f.I(r.col[k].anPrtPenWidth);
    f.D(r.col[k].adPrtTenHankei);
  }
  for (int t = 0; t < kLineTypeRows; ++t) {
    f.I(r.ltp1[t].alLType);
    f.I(r.ltp1[t].anTokushuSenUintDot);
    f.I(r.ltp1[t].anTokushuSenPich);
    f.I(r.ltp1[t].anPrtTokushuSenPich);
  }
  for (int t = 0; t < kRandomLineRows; ++t) {
    f.I(r.ltp2[t].alLType);
    f.I(r.ltp2[t].anRandSenWide);
    f.I(r.ltp2[t].anTokushuSenPich);
    f.I(r.ltp2[t].anPrtRandSenWide);
    f.I(r.ltp2[t].anPrtTokushuSenPich);
  }
  for (int t = 0; t < kLineType3Rows; ++t) {
    f.I(r.ltp3[t].alLType);
    f.I(r.ltp3[t].anTokushuSenUintDot);
    f.I(r.ltp3[t].anTokushuSenPich);
    f.I(r.ltp3[t].anPrtTokushuSenPich);
  }
  f.I(h.nDrawGamenTen);
  f.I(h.nDrawPrtTen);
  f.I(h.nBitMapFirstDraw);
  f.I(h.nGyakuDraw);
  f.I(h.nGyakuSearch);
  f.I(h.nColorPrint);
  f.I(h.nLayJunPrint);
  f.I(h.nColJunPrint);
  f.I(h.nPrtRenzoku);
  f.I(h.nPrtKyoutsuuGray);
  f.PrintWord(h);
  if (ver >= kVerDrawTime) {
    f.I(h.lnDrawTime);
    f.I(h.nEyeInit);
    f.I(h.dEye_H_Ichi_1);
    f.I(h.dEye_H_Ichi_2);
    f.I(h.dEye_H_Ichi_3);
    f.D(h.dEye_Z_Ichi_1);
    f.D(h.dEye_Y_Ichi_1);
    f.D(h.dEye_Z_Ichi_2);
    f.D(h.dEye_Y_Ichi_2);
    f.D(h.dEye_V_Ichi_3);
  }
  if (ver >= kVerSunpouSizes) {
    f.D(h.dSenNagasaSnpou);
    f.D(h.dBoxSunpouX);
    f.D(h.dBoxSunpouY);
    f.D(h.dEnHankeiSnpou);
  }
  if (ver >= kVerSolidColor) {
    f.I(h.nSolidNinniColor);
    f.I(h.SolidColor);
  }
  if (ver >= kVerSxf) {
    for (int k = 0; k < kSxfColorRows; ++k) {
      f.I(r.colS[k].aPenColor);
      f.I(r.colS[k].anPenWidth);
    }
    for (int k = 0; k < kSxfColorRows; ++k) {
      f.Name(r.colS[k].astrUDColorName);
      f.I(r.colS[k].aPrtPenColor);
      f.I(r.colS[k].anPrtPenWidth);
      f.D(r.colS[k].adPrtTenHankei);
    }
    for (int t = 0; t < kSxfLineTypeRows; ++t) {
      f.I(r.ltpS[t].alLType);
      f.I(r.ltpS[t].anTokushuSenUintDot);
      f.I(r.ltpS[t].anTokushuSenPich);
      f.I(r.ltpS[t].anPrtTokushuSenPich);
    }
    for (int t = 0; t < kSxfLineTypeRows; ++t) {
      f.Name(r.ltpS[t].astrUDLTypeName);
      f.I(r.ltpS[t].anUDLTypeSegment);
      for (int i = 1; i <= 10; ++i) f.D(r.ltpS[t].aadUDLTypePitch[i]);
    }
  }
  for (int m = 0; m < kMojiTypeRows; ++m) {
    f.D(r.moj[m].adMojiX);
    f.D(r.moj[m].adMojiY);
    f.D(r.moj[m].adMojiD);
    f.I(r.moj[m].anMojiCol);
  }
  f.D(h.dMojiSizeX);
  f.D(h.dMojiSizeY);
  f.D(h.dMojiKankaku);
  f.I(h.nMojiColor);
  f.I(h.nMojiShu);
  f.D(h.dMojiSeiriGyouKan);
  f.D(h.dMojiSeiriSuu);
  f.I(h.nMojiKijunZureOn);
  f.D(h.adMojiKijunZureX0);
  f.D(h.adMojiKijunZureX1);
  f.D(h.adMojiKijunZureX2);
  f.D(h.adMojiKijunZureY0);
  f.D(h.adMojiKijunZureY1);
  f.LastD(h.adMojiKijunZureY2);
}

}  // namespace plandown
