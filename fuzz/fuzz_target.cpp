// A libFuzzer target around one robustness check; the build names the check
// (PLANDOWN_FUZZ_CHECK). A broken promise aborts with the check's own text, so that
// libFuzzer keeps the input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/robustness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const plandown::testing::TempDir scratch;
  const std::string failure = plandown::testing::PLANDOWN_FUZZ_CHECK(plandown::testing::InputBytes(data, size), scratch);
  if (!failure.empty()) {
    std::fprintf(stderr, "broken promise: %s\n", failure.c_str());
    std::abort();
  }
  return 0;
}
