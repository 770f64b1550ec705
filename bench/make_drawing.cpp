// make_drawing KIND OBJECTS FILE: writes a large 7.00 drawing for the process benchmark
// (bench/process_bench.sh) with the project's own writer.
//   synthetic  every kind, few distinct strings (the drawing of plandown_bench)
//   texts      lines (standard and SXF), circles, tilted arcs, points, texts whose strings
//              all differ and hold Japanese, solids, inserts of three definitions
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/drawing_builder.h"
#include "util/ustring.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_drawing synthetic|texts OBJECTS FILE\n");
    return 2;
  }
  const std::string kind = argv[1];
  const std::size_t objects = std::strtoull(argv[2], nullptr, 10);
  plandown::TJwwData d;
  if (kind == "synthetic") plandown::testing::SyntheticDrawing(d, objects);
  else if (kind == "texts") plandown::testing::DistinctTextDrawing(d, objects);
  else {
    std::fprintf(stderr, "make_drawing: unknown kind %s\n", argv[1]);
    return 2;
  }
  if (!d.FileOut(plandown::FromUtf8(argv[3]), 700)) {
    std::fprintf(stderr, "make_drawing: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
