// Pictures of a drawing of a million objects of every kind, laid out on a grid of a
// thousand by a thousand cells: its extent, the SVG text, and the PNG picture.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <memory>
#include <vector>

#include "archive/outstream.h"
#include "jww/jww_data.h"
#include "raster/picture.h"
#include "render/renderer.h"
#include "render/svg_sink.h"
#include "support/drawing_builder.h"

namespace plandown {
namespace {

constexpr std::size_t kObjects = 1'000'000;
constexpr double kCell = 10;

// The synthetic drawing places object i at x = i; here it goes to cell (i mod 1000, i div 1000).
void ToGrid(double& x, double& y, double base) {
  const double i = std::floor(base);
  const double dx = std::fmod(i, 1000) * kCell - i, dy = std::floor(i / 1000) * kCell;
  x += dx;
  y += dy;
}

const TJwwData& Drawing() {
  static std::unique_ptr<TJwwData> d = [] {
    auto doc = std::make_unique<TJwwData>();
    testing::SyntheticDrawing(*doc, kObjects);
    for (TEntJwwLine& e : doc->EntLine) {
      const double b = e.start_x;
      ToGrid(e.start_x, e.start_y, b);
      ToGrid(e.end_x, e.end_y, b);
    }
    for (TEntJwwEnko& e : doc->EntEnko) ToGrid(e.start_x, e.start_y, e.start_x);
    for (TEntJwwTen& e : doc->EntTen) ToGrid(e.start_x, e.start_y, e.start_x);
    std::size_t k = 0;
    for (TEntJwwMoji& e : doc->EntMoji) {
      // The texts all stand at (1, 2) in the synthetic drawing (object 8k + 5): moved to
      // their object's cell as if they stood at x = i.
      const double i = static_cast<double>(8 * k++ + 5);
      e.start_x = i;
      e.start_y = 1;
      e.end_x = i + 8;
      e.end_y = 1;
      ToGrid(e.start_x, e.start_y, i);
      ToGrid(e.end_x, e.end_y, i);
      e.dSizeX = e.dSizeY = 1;
    }
    for (TEntJwwSolid& e : doc->EntSolid) {
      const double b = e.start_x;
      ToGrid(e.start_x, e.start_y, b);
      ToGrid(e.end_x, e.end_y, b);
      ToGrid(e.DPoint2_x, e.DPoint2_y, b);
      ToGrid(e.DPoint3_x, e.DPoint3_y, b);
    }
    for (TEntJwwBlock& e : doc->EntBlock) ToGrid(e.DPKijunTen_x, e.DPKijunTen_y, e.DPKijunTen_x);
    doc->MakeBlockTree();
    return doc;
  }();
  return *d;
}

// The process's peak resident memory: the drawing itself (about what BM_Extent shows) and
// whatever a picture took on top of it.
double PeakMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;
}

void Counters(benchmark::State& state) {
  state.counters["objects_per_s"] =
      benchmark::Counter(static_cast<double>(kObjects), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["peak_MB"] = PeakMb();
}

void BM_Extent(benchmark::State& state) {
  const render::DrawingInput in = render::InputOf(Drawing());
  for (auto _ : state) benchmark::DoNotOptimize(render::DrawingExtent(in));
  Counters(state);
}

void BM_Svg(benchmark::State& state) {
  const render::DrawingInput in = render::InputOf(Drawing());
  std::vector<std::uint8_t> bytes;
  for (auto _ : state) {
    bytes.clear();
    OutStream out(&bytes);
    render::SvgSink sink(out);
    render::Render(in, {}, sink);
  }
  state.counters["svg_MB"] = static_cast<double>(bytes.size()) / 1e6;
  Counters(state);
}

// The picture as `plandown render --format png` makes it: 1600 × 1200 pixels, encoded.
void BM_Png(benchmark::State& state) {
  const render::DrawingInput in = render::InputOf(Drawing());
  render::RenderOptions o;
  o.width = static_cast<int>(state.range(0));
  o.height = static_cast<int>(state.range(1));
  std::vector<std::uint8_t> png;
  for (auto _ : state) {
    raster::RasterPicture pic;
    render::RenderResult r;
    if (!raster::RenderRaster(in, o, pic, r)) state.SkipWithError("RenderRaster failed");
    if (!raster::EncodePng(pic, png)) state.SkipWithError("EncodePng failed");
  }
  state.counters["png_KB"] = static_cast<double>(png.size()) / 1e3;
  Counters(state);
}

BENCHMARK(BM_Extent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Svg)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_Png)->Args({1600, 1200})->Args({4000, 3000})->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace plandown
