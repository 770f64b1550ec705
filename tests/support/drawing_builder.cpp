#include "support/drawing_builder.h"

#include <fstream>
#include <iterator>

#include "support/temp_dir.h"
#include "util/paths.h"

namespace plandown::testing {

TEntJwwAttr Attr(std::uint8_t style, std::uint16_t color, std::uint16_t width, std::uint16_t layer, std::uint16_t group) {
  TEntJwwAttr a;
  a.lGroup = 0;
  a.nPenStyle = style;
  a.nPenColor = color;
  a.nPenWidth = width;
  a.nLayer = layer;
  a.nGLayer = group;
  a.sFlg = 0;
  return a;
}

template <class T>
static void Push(std::vector<TEntJwwNo>& order, std::vector<T>& v, std::int32_t& n, const T& e, int kind) {
  v.push_back(e);
  order.push_back(TEntJwwNo{kind, n});
  ++n;
}

void ListBuilder::Add(const TEntJwwLine& e) { Push(l_.order, l_.line, l_.lineN, e, kKindLine); }
void ListBuilder::Add(const TEntJwwEnko& e) { Push(l_.order, l_.enko, l_.enkoN, e, kKindEnko); }
void ListBuilder::Add(const TEntJwwTen& e) { Push(l_.order, l_.ten, l_.tenN, e, kKindTen); }
void ListBuilder::Add(const TEntJwwMoji& e) { Push(l_.order, l_.moji, l_.mojiN, e, kKindMoji); }
void ListBuilder::Add(const TEntJwwSunpo& e) { Push(l_.order, l_.sunpo, l_.sunpoN, e, kKindSunpo); }
void ListBuilder::Add(const TEntJwwSolid& e) { Push(l_.order, l_.solid, l_.solidN, e, kKindSolid); }
void ListBuilder::Add(const TEntJwwBlock& e) { Push(l_.order, l_.block, l_.blockN, e, kKindBlock); }

TEntJwwLine Line(double x1, double y1, double x2, double y2, TEntJwwAttr a) {
  TEntJwwLine l;
  l.att = a;
  l.start_x = x1;
  l.start_y = y1;
  l.end_x = x2;
  l.end_y = y2;
  return l;
}

TEntJwwMoji Text(const String& s, TEntJwwAttr a) {
  TEntJwwMoji m;
  m.att = a;
  m.start_x = 1;
  m.start_y = 2;
  m.end_x = 30;
  m.end_y = 2;
  m.nMojiShu = 2;
  m.dSizeX = 3.5;
  m.dSizeY = 3.5;
  m.dKankaku = 0.5;
  m.degKakudo = 0;
  m.strFontName = u"ＭＳ ゴシック";
  m.str = s;
  return m;
}

TEntJwwBlock Insert(std::uint32_t number, double x, double y) {
  TEntJwwBlock b;
  b.att = Attr(1, 1);
  b.DPKijunTen_x = x;
  b.DPKijunTen_y = y;
  b.dBairitsuX = 1;
  b.dBairitsuY = 1;
  b.nNumber = number;
  return b;
}

TEntJwwSunpo Dimension(bool sxf) {
  TEntJwwSunpo d;
  d.att = Attr(1, 3);
  d.Sen = Line(0, 0, 100, 0, Attr(1, 3));
  d.Moji = Text(u"100", Attr(1, 3));
  d.bSxfMode = sxf ? 1 : 0;
  d.Ho1 = Line(0, -5, 0, 0, Attr(1, 3));
  d.Ho2 = Line(100, -5, 100, 0, Attr(1, 3));
  auto pt = [](double x, double y) {
    TEntJwwTen t;
    t.att = Attr(1, 3);
    t.start_x = x;
    t.start_y = y;
    return t;
  };
  d.Te1 = pt(0, 0);
  d.Te2 = pt(100, 0);
  d.Kt1 = pt(0, -5);
  d.Kt2 = pt(100, -5);
  return d;
}

TEntJwwBlockDef& AddDefinition(TJwEntityDoc& doc, std::uint32_t number, const String& name) {
  TEntJwwBlockDef& def = doc.EntBlockDef.emplace_back();
  def.att = Attr(1, 1);
  def.nNumber = number;
  def.dtime = 1;
  def.strName = name;
  ++doc.EntBlockDefN;
  return def;
}

void InitTables(TJwwData& d) {
  d.Enthd.jwID = u"JwwData.";
  d.EntLgrp.assign(16, {});
  d.EntLay.assign(256, {});
  d.EntCol.assign(10, {});
  d.EntLtp1.assign(8, {});
  d.EntLtp2.assign(5, {});
  d.EntLtp3.assign(4, {});
  d.EntColS.assign(257, {});
  d.EntLtpS.assign(33, {});
  d.EntMoj.assign(10, {});
  for (int g = 0; g < 16; ++g) {
    d.EntLgrp[g].adScale = 100;
    d.EntLgrp[g].anGLay = 2;
    d.EntLgrp[g].aStrGLayName = u"group" + String(1, static_cast<char16_t>(u'A' + g));
  }
  for (int i = 0; i < 256; ++i) d.EntLay[i].aanLay = 2;
  d.EntLay[0].aStrLayName = u"壁";
  for (int k = 0; k < 10; ++k) {
    d.EntCol[k].aPenColor = 0x000080 * k;
    d.EntCol[k].anPenWidth = 1 + k;
    d.EntCol[k].aPrtPenColor = k == 0 ? 0xFFFFFF : 0x102030;
    d.EntCol[k].anPrtPenWidth = 10 + k;
    d.EntCol[k].adPrtTenHankei = 0.5;
    d.EntMoj[k].adMojiX = d.EntMoj[k].adMojiY = 2.0 + k;
    d.EntMoj[k].adMojiD = 0.25;
    d.EntMoj[k].anMojiCol = k;
  }
  for (int k = 0; k < 257; ++k) {
    d.EntColS[k].aPenColor = k;
    d.EntColS[k].anPenWidth = 1;
    d.EntColS[k].astrUDColorName = u"Color_" + FromUtf8(std::to_string(k));
    d.EntColS[k].aPrtPenColor = k;
    d.EntColS[k].anPrtPenWidth = 5;
    d.EntColS[k].adPrtTenHankei = 0.3;
  }
  for (int t = 0; t < 33; ++t) {
    d.EntLtpS[t].alLType = 0x1F1F1F1F;
    d.EntLtpS[t].anUDLTypeSegment = 2;
    d.EntLtpS[t].astrUDLTypeName = u"LType_" + FromUtf8(std::to_string(t));
    d.EntLtpS[t].aadUDLTypePitch[1] = 1;
    d.EntLtpS[t].aadUDLTypePitch[2] = 2;
  }
  d.Enthd.strMemo = u"一行目\r\n二行目";
  d.Enthd.dMojiSizeX = d.Enthd.dMojiSizeY = 3;
  d.Enthd.nPrtDpi = 60;
  d.Enthd.nPrtDispOnlyNonDraw = 1;
  d.Enthd.lnDrawTime = 12345;
  d.Enthd.nMaxDrawWid = 5;
}

void Finish(TJwwData& d) {
  d.Enthd.n1 = static_cast<std::int32_t>(d.EntNo.size());
  d.Enthd.n2 = static_cast<std::int32_t>(d.EntBlockDef.size());
  d.EntBlockDefN = d.Enthd.n2;
  for (TEntJwwBlockDef& def : d.EntBlockDef) def.N = static_cast<std::int32_t>(def.mNo.size());
  d.MakeBlockTree();
}

void SampleDrawing(TJwwData& d) {
  d.DataInit();
  d.Enthd.jwVer = 700;
  InitTables(d);
  ListBuilder main(MainList(d));
  main.Add(Line(0, 0, 10, 10));
  main.Add(Line(5, 5, 15, 5, Attr(2, 5, 3, 4, 1)));
  TEntJwwEnko arc;
  arc.att = Attr(1, 4);
  arc.start_x = 50;
  arc.dHankei = 20;
  arc.radEnkoKaku = 3.14159;
  arc.dHenpeiRitsu = 1;
  main.Add(arc);
  TEntJwwTen pt;
  pt.att = Attr(1, 2);
  pt.start_x = 7;
  main.Add(pt);
  TEntJwwTen coded;
  coded.att = Attr(100, 2);
  coded.nCode = 4;
  coded.radKaitenKaku = 0.5;
  coded.dBairitsu = 2;
  main.Add(coded);
  main.Add(Text(u"平面図 A-1"));
  main.Add(Dimension(true));
  main.Add(Dimension(false));
  TEntJwwSolid solid;
  solid.att = Attr(1, 10);
  solid.end_x = 4;
  solid.DPoint2_y = 4;
  solid.Color = 0x00FF8800;
  main.Add(solid);
  TEntJwwSolid plain;
  plain.att = Attr(1, 6);
  main.Add(plain);
  main.Add(Insert(7, 100, 100));
  main.Add(Insert(5, 200, 100));

  // 7 inserts 5; 9 is referenced by nobody; 5 holds a text and an SXF dimension.
  TEntJwwBlockDef& d7 = AddDefinition(d, 7, u"外側");
  ListBuilder b7(MemberList(d7));
  b7.Add(Line(0, 0, 1, 1));
  b7.Add(Insert(5, 10, 0));
  TEntJwwBlockDef& d9 = AddDefinition(d, 9, u"unused");
  ListBuilder(MemberList(d9)).Add(Line(0, 0, 2, 2));
  TEntJwwBlockDef& d5 = AddDefinition(d, 5, u"内側");
  ListBuilder b5(MemberList(d5));
  b5.Add(Text(u"部品"));
  b5.Add(Dimension(true));
  Finish(d);
}

void SampleShape(TJwsData& s, int srcVer) {
  TJwwData d;
  SampleDrawing(d);
  s.DataInit();
  s.Enthd.jwVer = srcVer;
  s.Enthd.BasePoint_x = 12.5;
  s.Enthd.dmy03 = 7;
  s.Enthd.My2 = -4;
  s.EntLgrp.assign(16, {});
  s.EntLgrp[3].adScale = 50;
  s.EntNo = d.EntNo;
  s.EntLine = d.EntLine; s.EntLineN = d.EntLineN;
  s.EntEnko = d.EntEnko; s.EntEnkoN = d.EntEnkoN;
  s.EntTen = d.EntTen; s.EntTenN = d.EntTenN;
  s.EntMoji = d.EntMoji; s.EntMojiN = d.EntMojiN;
  s.EntSunpo = d.EntSunpo; s.EntSunpoN = d.EntSunpoN;
  s.EntSolid = d.EntSolid; s.EntSolidN = d.EntSolidN;
  s.EntBlock = d.EntBlock; s.EntBlockN = d.EntBlockN;
  s.EntBlockDef = d.EntBlockDef; s.EntBlockDefN = d.EntBlockDefN;
  s.Enthd.n1 = d.Enthd.n1;
  s.Enthd.n2 = d.Enthd.n2;
  s.MakeBlockTree();
}

void SyntheticDrawing(TJwwData& d, std::size_t objects) {
  d.DataInit();
  d.Enthd.jwVer = 700;
  InitTables(d);
  ListBuilder main(MainList(d));
  TEntJwwBlockDef& def = AddDefinition(d, 1, u"part");
  ListBuilder(MemberList(def)).Add(Line(0, 0, 1, 1));
  for (std::size_t i = 0; i < objects; ++i) {
    const double x = static_cast<double>(i);
    switch (i % 8) {
      case 0: case 1: case 2:
        main.Add(Line(x, 0, x + 1, 1, Attr(1, 1 + i % 9)));
        break;
      case 3: {
        TEntJwwEnko a;
        a.att = Attr(1, 2);
        a.start_x = x;
        a.dHankei = 5;
        a.dHenpeiRitsu = 1;
        main.Add(a);
        break;
      }
      case 4: {
        TEntJwwTen p;
        p.att = Attr(1, 3);
        p.start_x = x;
        main.Add(p);
        break;
      }
      case 5:
        main.Add(Text(i % 16 == 5 ? u"寸法 " + FromUtf8(std::to_string(i)) : u"Text " + FromUtf8(std::to_string(i))));
        break;
      case 6:
        if (i % 16 == 6) main.Add(Dimension(true));
        else main.Add(TEntJwwSolid{Attr(1, 4), x, 0, x + 1, 0, x, 1, x + 1, 1, 0});
        break;
      case 7:
        main.Add(Insert(1, x, 0));
        break;
    }
  }
  Finish(d);
}

void DistinctTextDrawing(TJwwData& d, std::size_t objects) {
  d.DataInit();
  d.Enthd.jwVer = 700;
  InitTables(d);
  ListBuilder main(MainList(d));
  const String names[3] = {u"窓", u"扉", u"柱"};
  for (std::uint32_t k = 0; k < 3; ++k) {
    ListBuilder part(MemberList(AddDefinition(d, k + 1, names[k])));
    part.Add(Line(0, 0, 1 + k, 1));
    part.Add(Line(1 + k, 1, 0, 2, Attr(2, 3)));
    part.Add(Text(names[k] + u"部品"));
  }
  for (std::size_t i = 0; i < objects; ++i) {
    const double x = static_cast<double>(i) * 0.5;
    const std::uint16_t n = static_cast<std::uint16_t>(i / 8);
    switch (i % 8) {
      case 0:
        main.Add(Line(x, 0, x + 1, 1, Attr(1, static_cast<std::uint16_t>(1 + n % 9))));
        break;
      case 1:
        main.Add(Line(x, 2, x + 3, 5, Attr(static_cast<std::uint8_t>(31 + n % 15), static_cast<std::uint16_t>(101 + n % 16))));
        break;
      case 2: {
        TEntJwwEnko c;
        c.att = Attr(1, 2);
        c.start_x = x;
        c.start_y = 10;
        c.dHankei = 5;
        c.radEnkoKaku = 6.283185307179586;
        c.dHenpeiRitsu = 1;
        c.bZenEnFlg = 1;
        main.Add(c);
        break;
      }
      case 3: {
        TEntJwwEnko a;
        a.att = Attr(1, 4);
        a.start_x = x;
        a.start_y = 20;
        a.dHankei = 8;
        a.radKaishiKaku = 0.25;
        a.radEnkoKaku = 2.5;
        a.radKatamukiKaku = 0.7;
        a.dHenpeiRitsu = 0.4;
        main.Add(a);
        break;
      }
      case 4: {
        TEntJwwTen p;
        p.att = Attr(1, 3);
        p.start_x = x;
        p.start_y = 30;
        main.Add(p);
        break;
      }
      case 5: {
        TEntJwwMoji t = Text(u"テキスト" + FromUtf8(std::to_string(n)));
        t.start_x = x;
        main.Add(t);
        break;
      }
      case 6:
        main.Add(TEntJwwSolid{Attr(1, 5), x, 40, x + 1, 40, x, 41, x + 1, 41, 0});
        break;
      case 7:
        main.Add(Insert(1 + n % 3, x, 50));
        break;
    }
  }
  Finish(d);
}

std::vector<std::uint8_t> WriteToBytes(TJwwData& d, int ver) {
  TempDir dir;
  const String path = dir.file("x.jww");
  if (!d.FileOut(path, ver)) return {};
  return ReadFileBytes(path);
}

std::vector<std::uint8_t> ReadFileBytes(const String& path) {
  std::ifstream f(ToFsPath(path), std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(f), {});
}

}  // namespace plandown::testing
