#include "support/plan_drawing.h"

#include "support/drawing_builder.h"

namespace plandown::testing {

void PlanDrawing(TJwwData& d, int version) {
  d.DataInit();
  d.Enthd.jwVer = version;
  InitTables(d);
  d.Enthd.strMemo = u"サンプル平面図\r\nPlandown example";
  ListBuilder main(MainList(d));
  main.Add(Line(0, 0, 100, 0));
  main.Add(Line(100, 0, 100, 60));
  main.Add(Line(100, 60, 0, 60, Attr(2, 2)));
  main.Add(Line(0, 60, 0, 0));
  TEntJwwEnko arc;
  arc.att = Attr(1, 4);
  arc.start_x = 50;
  arc.start_y = 30;
  arc.dHankei = 10;
  arc.radEnkoKaku = 6.283185307179586;
  arc.dHenpeiRitsu = 1;
  arc.bZenEnFlg = 1;
  main.Add(arc);
  TEntJwwTen point;
  point.att = Attr(1, 2);
  point.start_x = 50;
  point.start_y = 30;
  main.Add(point);
  main.Add(Text(u"居間 (living room)"));
  main.Add(TEntJwwSolid{Attr(1, 3), 80, 40, 90, 40, 90, 50, 80, 50, 0});
  main.Add(Dimension(false));
  main.Add(Insert(1, 20, 60));
  main.Add(Insert(1, 60, 60));
  ListBuilder window(MemberList(AddDefinition(d, 1, u"窓")));
  window.Add(Line(0, 0, 10, 0));
  window.Add(Text(u"W1"));
  Finish(d);
}

bool WritePlan(const String& path, int version) {
  TJwwData d;
  PlanDrawing(d, version);
  return d.FileOut(path, version);
}

}  // namespace plandown::testing
