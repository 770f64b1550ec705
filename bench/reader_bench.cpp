// Reading and converting a synthetic drawing of a million objects, side by side with a
// plain sequential read and a plain buffered copy of the same file.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "jww/jww_data.h"
#include "support/drawing_builder.h"
#include "util/paths.h"

namespace plandown {
namespace {

constexpr std::size_t kObjects = 1'000'000;

const std::filesystem::path& Dir() {
  static std::filesystem::path dir = [] {
    auto d = std::filesystem::temp_directory_path() / ("plandown-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

// Written once, in a child process, so that building it does not count in our peak memory.
const std::filesystem::path& BigFile() {
  static std::filesystem::path file = [] {
    auto f = Dir() / "big.jww";
    auto small = Dir() / "small.jww";
    pid_t pid = fork();
    if (pid == 0) {
      TJwwData d;
      testing::SyntheticDrawing(d, kObjects);
      bool ok = d.FileOut(FromFsPath(f), 700);
      testing::SyntheticDrawing(d, 1000);
      ok = ok && d.FileOut(FromFsPath(small), 700);
      _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return f;
  }();
  return file;
}

double PeakMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;
}

void SetBytes(benchmark::State& state, std::uintmax_t size) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
  state.counters["file_MB"] = static_cast<double>(size) / 1e6;
}

void BM_SequentialRead(benchmark::State& state) {
  const auto& f = BigFile();
  const auto size = std::filesystem::file_size(f);
  std::vector<char> buf(size);
  for (auto _ : state) {
    std::FILE* fp = std::fopen(f.c_str(), "rb");
    benchmark::DoNotOptimize(std::fread(buf.data(), 1, size, fp));
    std::fclose(fp);
  }
  SetBytes(state, size);
}

// The same read into memory taken fresh for each read, as a reader's own memory is.
void BM_SequentialReadFresh(benchmark::State& state) {
  const auto& f = BigFile();
  const auto size = std::filesystem::file_size(f);
  for (auto _ : state) {
    std::unique_ptr<char[]> buf(new char[size]);
    std::FILE* fp = std::fopen(f.c_str(), "rb");
    benchmark::DoNotOptimize(std::fread(buf.get(), 1, size, fp));
    std::fclose(fp);
    state.PauseTiming();
    buf.reset();
    state.ResumeTiming();
  }
  SetBytes(state, size);
}

// One document read again and again, as the window's documents are.
void BM_FileInReused(benchmark::State& state) {
  const auto& f = BigFile();
  const auto size = std::filesystem::file_size(f);
  TJwwData d;
  for (auto _ : state) {
    if (!d.FileIn(FromFsPath(f))) state.SkipWithError("FileIn failed");
    benchmark::DoNotOptimize(d.EntLineN);
  }
  SetBytes(state, size);
}

void BM_FileIn(benchmark::State& state) {
  const auto& f = BigFile();
  const auto size = std::filesystem::file_size(f);
  for (auto _ : state) {
    auto d = std::make_unique<TJwwData>();
    if (!d->FileIn(FromFsPath(f))) state.SkipWithError("FileIn failed");
    benchmark::DoNotOptimize(d->EntLineN);
    state.PauseTiming();  // releasing the document is not part of reading it
    d.reset();
    state.ResumeTiming();
  }
  SetBytes(state, size);
  state.counters["objects_per_s"] = benchmark::Counter(static_cast<double>(kObjects), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["peak_MB"] = PeakMb();
}

void BM_FileHeaderIn(benchmark::State& state) {
  const auto& f = state.range(0) ? BigFile() : Dir() / "small.jww";
  BigFile();
  TJwwData d;
  for (auto _ : state) benchmark::DoNotOptimize(d.FileHeaderIn(FromFsPath(f)));
  state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(f)) / 1e6;
}

void BM_PlainCopy(benchmark::State& state) {
  const auto& f = BigFile();
  const auto size = std::filesystem::file_size(f);
  const auto out = Dir() / "copy.jww";
  std::vector<char> buf(1 << 16);
  for (auto _ : state) {
    std::FILE* in = std::fopen(f.c_str(), "rb");
    std::FILE* o = std::fopen(out.c_str(), "wb");
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), in)) > 0) std::fwrite(buf.data(), 1, n, o);
    std::fclose(in);
    std::fclose(o);
  }
  SetBytes(state, size);
}

void BM_Convert(benchmark::State& state) {
  const auto& f = BigFile();
  const auto size = std::filesystem::file_size(f);
  const int ver = static_cast<int>(state.range(0));
  const auto out = Dir() / "out.jww";
  for (auto _ : state) {
    TJwwData d;
    if (!d.FileIn(FromFsPath(f)) || !d.FileOut(FromFsPath(out), ver)) state.SkipWithError("conversion failed");
  }
  SetBytes(state, size);
  state.counters["peak_MB"] = PeakMb();
}

BENCHMARK(BM_SequentialRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SequentialReadFresh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileIn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileInReused)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileHeaderIn)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convert)->Arg(600)->Arg(351)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plandown

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(plandown::Dir());
  return 0;
}
