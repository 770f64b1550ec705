#include "support/sample_drawings.h"

#include "jww/header_layout.h"

namespace plandown::samples {

namespace {
int Append(TJwwData& doc, std::int32_t kind, std::int32_t& count) {
  doc.EntNo.push_back(TEntJwwNo{kind, count});
  return count++;
}
}  // namespace

void StartDrawing(TJwwData& doc, int version, const String& memo) {
  doc.DataInit();
  doc.Enthd.jwID = u"JwwData.";
  doc.Enthd.jwVer = version;
  doc.Enthd.strMemo = memo;
  doc.Enthd.dMojiSizeX = doc.Enthd.dMojiSizeY = 3.0;
  doc.EntLgrp.assign(kLayerGroups, TEntJwwLayerGroup{});
  for (auto& g : doc.EntLgrp) {
    g.anGLay = 2;
    g.adScale = 1.0;
  }
  doc.EntLay.assign(kLayerGroups * kLayersPerGroup, TEntJwwLayer{});
  for (auto& l : doc.EntLay) l.aanLay = 2;
  doc.EntCol.assign(kPenRows, TEntJwwColorNo{});
  for (auto& c : doc.EntCol) {
    c.anPenWidth = 1;
    c.anPrtPenWidth = 1;
    c.adPrtTenHankei = 0.3;
  }
  doc.EntColS.assign(kSxfColorRows, TEntJwwColorExNo{});
  for (auto& c : doc.EntColS) {
    c.anPenWidth = 1;
    c.anPrtPenWidth = 1;
    c.adPrtTenHankei = 0.3;
  }
  doc.EntLtpS.assign(kSxfLineTypeRows, TEntJwwLineTypeExNo{});
  for (auto& t : doc.EntLtpS) t.anUDLTypeSegment = 2;
  doc.EntMoj.assign(kMojiTypeRows, TEntJwwMojiType{3.0, 3.0, 0.0, 1});
}

TEntJwwAttr Attr(std::uint16_t color, std::uint8_t style, std::uint16_t layer) {
  TEntJwwAttr a;
  a.nPenColor = color;
  a.nPenStyle = style;
  a.nLayer = layer;
  return a;
}

int AddLine(TJwwData& doc, double x1, double y1, double x2, double y2, TEntJwwAttr att) {
  doc.EntLine.push_back(TEntJwwLine{att, x1, y1, x2, y2});
  return Append(doc, kKindLine, doc.EntLineN);
}

int AddArc(TJwwData& doc, double cx, double cy, double r, TEntJwwAttr att) {
  TEntJwwEnko e;
  e.att = att;
  e.start_x = cx;
  e.start_y = cy;
  e.dHankei = r;
  e.radEnkoKaku = 6.283185307179586;
  e.dHenpeiRitsu = 1.0;
  e.bZenEnFlg = 1;
  doc.EntEnko.push_back(e);
  return Append(doc, kKindEnko, doc.EntEnkoN);
}

int AddPoint(TJwwData& doc, double x, double y) {
  TEntJwwTen t;
  t.att = Attr();
  t.start_x = x;
  t.start_y = y;
  doc.EntTen.push_back(t);
  return Append(doc, kKindTen, doc.EntTenN);
}

namespace {
TEntJwwMoji Text(double x, double y, const String& text, TEntJwwAttr att) {
  TEntJwwMoji m;
  m.att = att;
  m.start_x = x;
  m.start_y = y;
  m.end_x = x + 3.0 * static_cast<double>(text.size());
  m.end_y = y;
  m.nMojiShu = 1;
  m.dSizeX = m.dSizeY = 3.0;
  m.strFontName = u"ＭＳ ゴシック";
  m.str = text;
  return m;
}
}  // namespace

int AddText(TJwwData& doc, double x, double y, const String& text, TEntJwwAttr att) {
  doc.EntMoji.push_back(Text(x, y, text, att));
  return Append(doc, kKindMoji, doc.EntMojiN);
}

int AddSolid(TJwwData& doc, double x, double y, double size, TEntJwwAttr att) {
  TEntJwwSolid s;
  s.att = att;
  s.start_x = x;
  s.start_y = y;
  s.end_x = x + size;
  s.end_y = y;
  s.DPoint2_x = x + size;
  s.DPoint2_y = y + size;
  s.DPoint3_x = x;
  s.DPoint3_y = y + size;
  doc.EntSolid.push_back(s);
  return Append(doc, kKindSolid, doc.EntSolidN);
}

int AddDimension(TJwwData& doc, double x1, double y1, double x2, double y2, bool sxf) {
  TEntJwwSunpo d;
  d.att = Attr();
  d.Sen = TEntJwwLine{Attr(), x1, y1, x2, y2};
  d.Moji = Text((x1 + x2) / 2, y1 + 1.0, u"1000", Attr());
  d.bSxfMode = sxf ? 1 : 0;
  d.Ho1 = TEntJwwLine{Attr(), x1, y1 - 5.0, x1, y1};
  d.Ho2 = TEntJwwLine{Attr(), x2, y2 - 5.0, x2, y2};
  for (TEntJwwTen* t : {&d.Te1, &d.Te2, &d.Kt1, &d.Kt2}) t->att = Attr();
  d.Te1.start_x = d.Kt1.start_x = x1;
  d.Te2.start_x = d.Kt2.start_x = x2;
  doc.EntSunpo.push_back(d);
  return Append(doc, kKindSunpo, doc.EntSunpoN);
}

int AddInsert(TJwwData& doc, std::uint32_t number, double x, double y) {
  TEntJwwBlock b;
  b.att = Attr();
  b.DPKijunTen_x = x;
  b.DPKijunTen_y = y;
  b.dBairitsuX = b.dBairitsuY = 1.0;
  b.nNumber = number;
  doc.EntBlock.push_back(b);
  return Append(doc, kKindBlock, doc.EntBlockN);
}

TEntJwwBlockDef& AddDefinition(TJwwData& doc, std::uint32_t number, const String& name, const String& text) {
  TEntJwwBlockDef d;
  d.nNumber = number;
  d.strName = name;
  d.mLine.push_back(TEntJwwLine{Attr(), 0, 0, 10, 0});
  d.mNo.push_back(TEntJwwNo{kKindLine, d.mLineN++});
  d.mMoji.push_back(Text(0, 2, text, Attr()));
  d.mNo.push_back(TEntJwwNo{kKindMoji, d.mMojiN++});
  d.N = static_cast<std::int32_t>(d.mNo.size());
  doc.EntBlockDef.push_back(std::move(d));
  doc.EntBlockDefN = static_cast<std::int32_t>(doc.EntBlockDef.size());
  return doc.EntBlockDef.back();
}

void FinishDrawing(TJwwData& doc) {
  doc.Enthd.n1 = static_cast<std::int32_t>(doc.EntNo.size());
  doc.Enthd.n2 = doc.EntBlockDefN;
  doc.MakeBlockTree();
}

void FillPlan(TJwwData& doc, int version) {
  StartDrawing(doc, version, u"サンプル平面図\r\nPlandown example");
  AddLine(doc, 0, 0, 100, 0);
  AddLine(doc, 100, 0, 100, 60);
  AddLine(doc, 100, 60, 0, 60, Attr(2, 2));
  AddLine(doc, 0, 60, 0, 0);
  AddArc(doc, 50, 30, 10);
  AddPoint(doc, 50, 30);
  AddText(doc, 5, 65, u"居間 (living room)");
  AddSolid(doc, 80, 40, 10, Attr(3));
  AddDimension(doc, 0, -10, 100, -10, false);
  AddDefinition(doc, 1, u"窓", u"W1");
  AddInsert(doc, 1, 20, 60);
  AddInsert(doc, 1, 60, 60);
  FinishDrawing(doc);
}

bool WritePlan(const String& path, int version) {
  TJwwData doc;
  FillPlan(doc, version);
  return doc.FileOut(path, version);
}

}  // namespace plandown::samples
