// Listing a folder of 10,000 small drawings (header reads, row texts) and sorting the rows.
#include <benchmark/benchmark.h>

#include <string>

#include "convert/file_listing.h"
#include "support/drawing_builder.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plandown {
namespace {

constexpr int kFiles = 10'000;

// Written once; the folder goes when the program ends.
const testing::TempDir& Folder() {
  static testing::TempDir dir;
  static const bool written = [] {
    TJwwData d;
    testing::InitTables(d);
    testing::ListBuilder(MainList(d)).Add(testing::Line(0, 0, 10, 10));
    testing::Finish(d);
    d.Enthd.strMemo = u"平面図 1階^m縮尺 1/100";
    const std::vector<std::uint8_t> bytes = testing::WriteToBytes(d, 600);
    for (int i = 0; i < kFiles; ++i) testing::WriteFileBytes(dir, FromUtf8("plan" + std::to_string(i) + ".jww"), bytes);
    return true;
  }();
  (void)written;
  return dir;
}

void BM_ListFiles(benchmark::State& state) {
  const String folder = Folder().folder();
  const int filter = static_cast<int>(state.range(0));
  std::size_t rows = 0;
  for (auto _ : state) {
    const FileListing l = ListFiles(folder, filter);
    rows = l.rows.size();
    if (rows != static_cast<std::size_t>(kFiles) || l.rows[0].text[kColumnVersion] != u"600")
      state.SkipWithError("listing incomplete");
  }
  state.counters["files"] = static_cast<double>(rows);
  state.counters["files_per_s"] = benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_SortRows(benchmark::State& state) {
  const FileListing listing = ListFiles(Folder().folder(), 0);
  const int column = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<FileListRow> rows = listing.rows;
    FileListSort sort;
    state.ResumeTiming();
    sort.ColumnClick(column, rows);
    benchmark::DoNotOptimize(rows.data());
  }
}

BENCHMARK(BM_ListFiles)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortRows)->Arg(kColumnName)->Arg(kColumnSize)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plandown
