// Exit statuses of the command line.
#pragma once

namespace plandown::cli {

inline constexpr int kExitOk = 0;           // everything done cleanly
inline constexpr int kExitFileProblem = 1;  // some file refused, failed or read with errors
inline constexpr int kExitUsage = 2;        // the command line or the destination is unusable

}  // namespace plandown::cli
