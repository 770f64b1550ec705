// Writes the example drawings of examples/ with the project's own writer:
//   make_examples DIR
// plan.jww        7.00, every entity kind, a block, a two-line Japanese memo
// sxf_details.jww 7.00 with what older generations lack: SXF colours and line types, an
//                 SXF dimension, text outside code page 932
// old_300.jww     3.00, which the conversion refuses
#include <cstdio>
#include <string>

#include "jww/downconvert.h"
#include "support/sample_drawings.h"
#include "util/paths.h"

using namespace plandown;

namespace {

bool WriteSxfDetails(const String& path) {
  TJwwData doc;
  samples::StartDrawing(doc, 700, u"SXF 詳細\r\nconverts with changes to 3.51 and 3.00");
  samples::AddLine(doc, 0, 0, 50, 0, samples::Attr(101, 31));    // SXF colour and line type with ordinary twins
  samples::AddLine(doc, 0, 10, 50, 10, samples::Attr(200, 60));  // user-defined SXF colour and line type
  samples::AddArc(doc, 25, 30, 8, samples::Attr(105));
  samples::AddDimension(doc, 0, -10, 50, -10, true);
  samples::AddText(doc, 0, 45, u"Café ① 〜 🏠");
  samples::AddDefinition(doc, 1, u"部品", u"U");
  samples::AddInsert(doc, 1, 60, 0);
  samples::FinishDrawing(doc);
  // Strings as UTF-16, so that the characters code page 932 lacks survive in the source.
  doc.SetFileOutOption(OptUnicodeStrings);
  return doc.FileOut(path, 700);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_examples DIR\n");
    return 2;
  }
  const String dir = AddPathDelim(FromUtf8(argv[1]));
  const bool ok = samples::WritePlan(dir + u"plan.jww", 700) && WriteSxfDetails(dir + u"sxf_details.jww") &&
                  samples::WritePlan(dir + u"old_300.jww", 300);
  if (!ok) std::fprintf(stderr, "make_examples: could not write into %s\n", argv[1]);
  return ok ? 0 : 1;
}
