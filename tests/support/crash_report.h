#pragma once

namespace plandown::test {

// On Windows, a test program that crashes prints the faulting address and the frames
// above it (module and offset, for addr2line) before it ends, so that a crash seen only
// under wine says where it was. Elsewhere the sanitizers and the core dump say it.
void ReportCrashes();

}  // namespace plandown::test
