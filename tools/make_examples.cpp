// Writes the example drawings of examples/ with the project's own writer:
//   make_examples DIR
// plan.jww        7.00, every entity kind, a block, a two-line Japanese memo
// sxf_details.jww 7.00 with what older generations lack: SXF colours and line types, an
//                 SXF dimension, text outside code page 932
// old_300.jww     3.00, which the conversion refuses
// part.jws        a 7.00 shape: a frame with a label
#include <cstdio>
#include <string>

#include "jws/jws_data.h"
#include "jww/downconvert.h"
#include "support/drawing_builder.h"
#include "support/plan_drawing.h"
#include "util/paths.h"

using namespace plandown;
using namespace plandown::testing;

namespace {

bool WriteSxfDetails(const String& path) {
  TJwwData d;
  d.Enthd.jwVer = 700;
  InitTables(d);
  d.Enthd.strMemo = u"SXF 詳細\r\nconverts with changes to 3.51 and 3.00";
  ListBuilder main(MainList(d));
  main.Add(Line(0, 0, 50, 0, Attr(31, 101)));    // SXF line type and colour with ordinary twins
  main.Add(Line(0, 10, 50, 10, Attr(60, 200)));  // user-defined SXF line type and colour
  main.Add(Dimension(true));
  main.Add(Text(u"Café ① 〜 🏠"));
  main.Add(Insert(1, 60, 0));
  ListBuilder(MemberList(AddDefinition(d, 1, u"部品"))).Add(Text(u"U"));
  Finish(d);
  // Strings as UTF-16, so that the characters code page 932 lacks survive in the source.
  d.SetFileOutOption(OptUnicodeStrings);
  return d.FileOut(path, 700);
}

bool WritePart(const String& path) {
  TJwsData d;
  d.Enthd.jwVer = 700;
  ListBuilder main(MainList(d));
  main.Add(Line(0, 0, 40, 0));
  main.Add(Line(40, 0, 40, 20));
  main.Add(Line(40, 20, 0, 20));
  main.Add(Line(0, 20, 0, 0));
  main.Add(Text(u"手すり"));
  d.Enthd.n1 = static_cast<std::int32_t>(d.EntNo.size());
  d.MakeBlockTree();
  return d.FileOut(path, 700);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_examples DIR\n");
    return 2;
  }
  const String dir = AddPathDelim(FromUtf8(argv[1]));
  const bool ok = WritePlan(dir + u"plan.jww", 700) && WriteSxfDetails(dir + u"sxf_details.jww") &&
                  WritePlan(dir + u"old_300.jww", 300) && WritePart(dir + u"part.jws");
  if (!ok) std::fprintf(stderr, "make_examples: could not write into %s\n", argv[1]);
  return ok ? 0 : 1;
}
