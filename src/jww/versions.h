// Format generations (generation x 100) and every threshold that decides a layout.
#pragma once
#include <cstdio>
#include <string>

namespace plandown {

// Generations a JWW reader accepts.
inline constexpr int kJwwMinVersion = 220;
inline constexpr int kJwwMaxVersion = 700;

// Header rows (see header.cpp).
inline constexpr int kVerDrawTime = 223;      // drawing time and eye block
inline constexpr int kVerSunpouSizes = 225;   // dSenNagasaSnpou .. dEnHankeiSnpou
inline constexpr int kVerSolidColor = 230;    // nSolidNinniColor, SolidColor
inline constexpr int kVerZoom8 = 231;         // eight zoom jumps and the dDm block (four below)
inline constexpr int kVerTenkuu = 300;        // dTenkuuZuLevel, dTenkuuZuEnkoR
inline constexpr int kVerPrintDpi = 600;      // print dpi folded into the print word on writing

// Entity layouts.
inline constexpr int kVerPenWidth = 351;      // 15-byte attribute blocks (13 below)
inline constexpr int kVerSxf = 420;           // SXF tables and SXF dimension parts
inline constexpr int kVerBoundImages = 700;   // bound-image section

// Conversion.
inline constexpr int kMinConvertVersion = 351;  // 3.50 and lower are never converted
inline constexpr int kMaxDrawWidFloorVersion = 420;  // writer raises nMaxDrawWid to -101 up to here

inline constexpr int AttrSize(int ver) { return ver >= kVerPenWidth ? 15 : 13; }

// How a generation is written for people: 700 -> "7.00", 351 -> "3.51".
inline std::string VersionText(int version) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d.%02d", version / 100, version % 100);
  return buf;
}

}  // namespace plandown
