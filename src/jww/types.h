// Records of drawing content, shared by the JWW and JWS documents. Field names are the
// drawing program's own. Records hold decoded values; their byte layouts live in the
// readers and writers (entity_codec.cpp, header.cpp).
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "util/ustring.h"

namespace plandown {

// Entity kind codes (`EntType`) in archive order.
enum EntKind : std::int32_t {
  kKindNone = 0,
  kKindLine = 1,
  kKindEnko = 2,
  kKindTen = 3,
  kKindMoji = 4,
  kKindSunpo = 5,
  kKindSolid = 6,
  kKindBlock = 7,
};
inline constexpr int kEntityKinds = 7;

struct TEntJwwAttr {
  std::uint32_t lGroup = 0;
  std::uint8_t nPenStyle = 0;
  std::uint16_t nPenColor = 0;
  std::uint16_t nPenWidth = 0;
  std::uint16_t nLayer = 0;
  std::uint16_t nGLayer = 0;
  std::uint16_t sFlg = 0;
  friend bool operator==(const TEntJwwAttr&, const TEntJwwAttr&) = default;
};

struct TEntJwwLine {
  TEntJwwAttr att;
  double start_x = 0, start_y = 0, end_x = 0, end_y = 0;
  friend bool operator==(const TEntJwwLine&, const TEntJwwLine&) = default;
};

struct TEntJwwEnko {
  TEntJwwAttr att;
  double start_x = 0, start_y = 0;
  double dHankei = 0;
  double radKaishiKaku = 0;
  double radEnkoKaku = 0;
  double radKatamukiKaku = 0;
  double dHenpeiRitsu = 0;
  std::uint32_t bZenEnFlg = 0;
  friend bool operator==(const TEntJwwEnko&, const TEntJwwEnko&) = default;
};

struct TEntJwwTen {
  TEntJwwAttr att;
  double start_x = 0, start_y = 0;
  std::uint32_t bKariten = 0;
  std::uint32_t nCode = 0;       // stored only when att.nPenStyle == 100
  double radKaitenKaku = 0;      // idem
  double dBairitsu = 0;          // idem
  friend bool operator==(const TEntJwwTen&, const TEntJwwTen&) = default;
};

struct TEntJwwMoji {
  TEntJwwAttr att;
  double start_x = 0, start_y = 0, end_x = 0, end_y = 0;
  std::uint32_t nMojiShu = 0;
  double dSizeX = 0, dSizeY = 0;
  double dKankaku = 0;
  double degKakudo = 0;
  String strFontName;
  String str;
  friend bool operator==(const TEntJwwMoji&, const TEntJwwMoji&) = default;
};

struct TEntJwwSunpo {
  TEntJwwAttr att;
  TEntJwwLine Sen;
  TEntJwwMoji Moji;
  std::uint16_t bSxfMode = 0;
  TEntJwwLine Ho1, Ho2;
  TEntJwwTen Te1, Te2, Kt1, Kt2;
  friend bool operator==(const TEntJwwSunpo&, const TEntJwwSunpo&) = default;
};

struct TEntJwwSolid {
  TEntJwwAttr att;
  double start_x = 0, start_y = 0, end_x = 0, end_y = 0;
  double DPoint2_x = 0, DPoint2_y = 0, DPoint3_x = 0, DPoint3_y = 0;
  std::uint32_t Color = 0;  // stored only when att.nPenColor == 10
  friend bool operator==(const TEntJwwSolid&, const TEntJwwSolid&) = default;
};

struct TEntJwwBlock {
  TEntJwwAttr att;
  double DPKijunTen_x = 0, DPKijunTen_y = 0;
  double dBairitsuX = 0, dBairitsuY = 0;
  double radKaitenKaku = 0;
  std::uint32_t nNumber = 0;
  friend bool operator==(const TEntJwwBlock&, const TEntJwwBlock&) = default;
};

struct TEntJwwNo {
  std::int32_t EntType = 0;  // kind code 1..7, 0 for an entry that holds no entity
  std::int32_t EntNo = 0;    // index into that kind's array
  friend bool operator==(const TEntJwwNo&, const TEntJwwNo&) = default;
};

struct TEntJwwBlockDef {
  TEntJwwAttr att;
  std::uint32_t nNumber = 0;
  std::uint32_t bRefferd = 0;
  std::uint32_t dtime = 0;
  String strName;
  std::int32_t N = 0;  // members declared by the file
  std::vector<TEntJwwNo> mNo;
  std::int32_t mLineN = 0, mEnkoN = 0, mTenN = 0, mMojiN = 0, mSunpoN = 0, mSolidN = 0, mBlockN = 0;
  std::vector<TEntJwwLine> mLine;
  std::vector<TEntJwwEnko> mEnko;
  std::vector<TEntJwwTen> mTen;
  std::vector<TEntJwwMoji> mMoji;
  std::vector<TEntJwwSunpo> mSunpo;
  std::vector<TEntJwwSolid> mSolid;
  std::vector<TEntJwwBlock> mBlock;
  bool ref_flag = false;
  std::int32_t ref_no = -1;
};

struct TEntJwwBlockTree {
  TEntJwwAttr att;
  std::int32_t level = 0;
  std::int32_t parent = -1;
  std::uint32_t no = 0;
  std::int32_t defno = -1;
  String name;
  double x = 0, y = 0, r1 = 0, r2 = 0, r3 = 0, r4 = 0;
};

struct TEntJwwLayerGroup {
  std::int32_t anGLay = 0;
  std::int32_t anWriteLay = 0;
  double adScale = 0;
  std::int32_t anGLayProtect = 0;
  String aStrGLayName;
};

struct TEntJwwLayer {
  std::int32_t aanLay = 0;
  std::int32_t aanLayProtect = 0;
  String aStrLayName;
};

struct TEntJwwColorNo {
  std::int32_t aPenColor = 0;
  std::int32_t anPenWidth = 0;
  std::int32_t aPrtPenColor = 0;
  std::int32_t anPrtPenWidth = 0;
  double adPrtTenHankei = 0;
};

struct TEntJwwLineTypeNo {
  std::int32_t alLType = 0;
  std::int32_t anTokushuSenUintDot = 0;
  std::int32_t anTokushuSenPich = 0;
  std::int32_t anPrtTokushuSenPich = 0;
};

struct TEntJwwRandomLineNo {
  std::int32_t alLType = 0;
  std::int32_t anRandSenWide = 0;
  std::int32_t anTokushuSenPich = 0;
  std::int32_t anPrtRandSenWide = 0;
  std::int32_t anPrtTokushuSenPich = 0;
};

struct TEntJwwColorExNo {
  std::int32_t aPenColor = 0;
  std::int32_t anPenWidth = 0;
  String astrUDColorName;
  std::int32_t aPrtPenColor = 0;
  std::int32_t anPrtPenWidth = 0;
  double adPrtTenHankei = 0;
};

struct TEntJwwLineTypeExNo {
  std::int32_t alLType = 0;
  std::int32_t anTokushuSenUintDot = 0;
  std::int32_t anTokushuSenPich = 0;
  std::int32_t anPrtTokushuSenPich = 0;
  String astrUDLTypeName;
  std::int32_t anUDLTypeSegment = 0;
  std::array<double, 11> aadUDLTypePitch{};  // indexes 1..10 used
};

struct TEntJwwMojiType {
  double adMojiX = 0, adMojiY = 0, adMojiD = 0;
  std::int32_t anMojiCol = 0;
};

struct TBindImageType {
  String Fname;
  std::int32_t Fsize = 0;
  bool exf = false;
};

// Arrays indexed 1..8 keep the drawing program's numbering; index 0 is unused.
struct TEntJwwHeader {
  String jwID;
  std::int32_t jwVer = 0;
  String strMemo;
  std::int32_t nZumen = 0;
  std::int32_t nWriteGLay = 0;
  std::int32_t lnSunpou1 = 0, lnSunpou2 = 0, lnSunpou3 = 0, lnSunpou4 = 0, lnSunpou5 = 0;
  std::int32_t nMaxDrawWid = 0;
  bool bSenHaba100 = false;
  std::int32_t nMaxDrawWidBak = 0;
  double DPPrtGenten_x = 0, DPPrtGenten_y = 0, dPrtBairitsu = 0;
  std::int32_t nPrtSet = 0, nMemoriMode = 0;
  double dMemoriHyoujiMin = 0, dMemoriX = 0, dMemoriY = 0, DpMemoriKjTen_x = 0, DpMemoriKjTen_y = 0;
  double dKageLevel = 0, dKageIdo = 0;
  std::int32_t nKage9_15JiFlg = 0;
  double dKabeKageLevel = 0;
  double dTenkuuZuLevel = 0, dTenkuuZuEnkoR = 0;
  std::int32_t nMMTani3D = 0;
  double dBairitsu = 0, DPGenten_x = 0, DPGenten_y = 0;
  double dHanniBairitsu = 0, DPHanniGenten_x = 0, DPHanniGenten_y = 0;
  std::array<double, 9> dZoomJumpBairitsu{};
  std::array<double, 9> DPZoomJumpGenten_x{};
  std::array<double, 9> DPZoomJumpGenten_y{};
  std::array<std::int32_t, 9> nZoomJumpGLay{};
  double dDm11 = 0, dDm12 = 0, dDm13 = 0;
  std::int32_t lnDm1 = 0;
  double dDm21 = 0, dDm22 = 0, dMojiBG = 0;
  std::int32_t nMojiBG = 0;
  std::array<double, 10> adFukusenSuuchi{};
  double dRyougawaFukusenTomeDe = 0;
  std::int32_t nDrawGamenTen = 0, nDrawPrtTen = 0, nBitMapFirstDraw = 0, nGyakuDraw = 0,
               nGyakuSearch = 0, nColorPrint = 0, nLayJunPrint = 0, nColJunPrint = 0,
               nPrtRenzoku = 0, nPrtKyoutsuuGray = 0;
  std::int32_t nPrtDispOnlyNonDraw = 0, nPrtDpi = 0;
  std::int32_t lnDrawTime = 0, nEyeInit = 0;
  std::int32_t dEye_H_Ichi_1 = 0, dEye_H_Ichi_2 = 0, dEye_H_Ichi_3 = 0;  // Integers despite the prefix
  double dEye_Z_Ichi_1 = 0, dEye_Y_Ichi_1 = 0, dEye_Z_Ichi_2 = 0, dEye_Y_Ichi_2 = 0, dEye_V_Ichi_3 = 0;
  double dSenNagasaSnpou = 0, dBoxSunpouX = 0, dBoxSunpouY = 0, dEnHankeiSnpou = 0;
  std::int32_t nSolidNinniColor = 0, SolidColor = 0;
  double dMojiSizeX = 0, dMojiSizeY = 0, dMojiKankaku = 0;
  std::int32_t nMojiColor = 0, nMojiShu = 0;
  double dMojiSeiriGyouKan = 0, dMojiSeiriSuu = 0;
  std::int32_t nMojiKijunZureOn = 0;
  double adMojiKijunZureX0 = 0, adMojiKijunZureX1 = 0, adMojiKijunZureX2 = 0;
  double adMojiKijunZureY0 = 0, adMojiKijunZureY1 = 0, adMojiKijunZureY2 = 0;
  std::int32_t n1 = 0;  // objects the main list declares
  std::int32_t n2 = 0;  // block definitions the file declares
};

}  // namespace plandown
