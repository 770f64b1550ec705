// Fixed parts of the entity records in file order: one field list per record, walked by
// the reader (decoding a byte buffer) and by the writer (encoding to a stream).
//
// The visitor F provides Attr(TEntJwwAttr&), D(double&) and U32(std::uint32_t&).
#pragma once
#include <cstdint>

#include "jww/types.h"
#include "jww/versions.h"

namespace plandown {

// Payload sizes after the attribute block.
inline constexpr int kLinePayload = 32;
inline constexpr int kEnkoPayload = 60;
inline constexpr int kTenPayload = 20;
inline constexpr int kTenExtra = 20;    // nCode, radKaitenKaku, dBairitsu when nPenStyle == 100
inline constexpr int kMojiPayload = 68;
inline constexpr int kSolidPayload = 64;
inline constexpr int kBlockPayload = 44;
inline constexpr int kBlockDefPayload = 12;
inline constexpr std::uint8_t kTenStyleWithCode = 100;
inline constexpr std::uint16_t kSolidOwnColor = 10;
inline constexpr std::uint32_t kLongTimeFlag = 0x80000000u;  // block definition dtime: 8 more bytes follow
inline constexpr int kLongTimeBytes = 8;

template <class F, class T> void LineFields(F& f, T& e) {
  f.Attr(e.att);
  f.D(e.start_x); f.D(e.start_y); f.D(e.end_x); f.D(e.end_y);
}
template <class F, class T> void EnkoFields(F& f, T& e) {
  f.Attr(e.att);
  f.D(e.start_x); f.D(e.start_y); f.D(e.dHankei); f.D(e.radKaishiKaku);
  f.D(e.radEnkoKaku); f.D(e.radKatamukiKaku); f.D(e.dHenpeiRitsu);
  f.U32(e.bZenEnFlg);
}
template <class F, class T> void TenFields(F& f, T& e) {
  f.Attr(e.att);
  f.D(e.start_x); f.D(e.start_y);
  f.U32(e.bKariten);
}
template <class F, class T> void TenExtraFields(F& f, T& e) {
  f.U32(e.nCode); f.D(e.radKaitenKaku); f.D(e.dBairitsu);
}
template <class F, class T> void MojiFields(F& f, T& e) {
  f.Attr(e.att);
  f.D(e.start_x); f.D(e.start_y); f.D(e.end_x); f.D(e.end_y);
  f.U32(e.nMojiShu);
  f.D(e.dSizeX); f.D(e.dSizeY); f.D(e.dKankaku); f.D(e.degKakudo);
}
template <class F, class T> void SolidFields(F& f, T& e) {
  f.Attr(e.att);
  f.D(e.start_x); f.D(e.start_y); f.D(e.end_x); f.D(e.end_y);
  f.D(e.DPoint2_x); f.D(e.DPoint2_y); f.D(e.DPoint3_x); f.D(e.DPoint3_y);
}
template <class F, class T> void BlockFields(F& f, T& e) {
  f.Attr(e.att);
  f.D(e.DPKijunTen_x); f.D(e.DPKijunTen_y); f.D(e.dBairitsuX); f.D(e.dBairitsuY); f.D(e.radKaitenKaku);
  f.U32(e.nNumber);
}
template <class F, class T> void BlockDefFields(F& f, T& e) {
  f.Attr(e.att);
  f.U32(e.nNumber); f.U32(e.bRefferd); f.U32(e.dtime);
}

inline bool TenHasExtra(const TEntJwwTen& t) { return t.att.nPenStyle == kTenStyleWithCode; }
inline bool SolidHasColor(const TEntJwwSolid& s) { return s.att.nPenColor == kSolidOwnColor; }

// The archive class names, by kind code 1..7, and the block definition's.
inline constexpr const char* kClassNames[kEntityKinds + 1] = {
    "", "CDataSen", "CDataEnko", "CDataTen", "CDataMoji", "CDataSunpou", "CDataSolid", "CDataBlock"};
inline constexpr const char* kClassBlockDef = "CDataList";

}  // namespace plandown
