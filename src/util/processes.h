// Process identities: enough to tell whether the process that left a mark still runs.
#pragma once
#include <cstdint>

namespace plandown {

std::int64_t CurrentProcessId();
// Whether a process with this id runs (one not yet reaped counts). Ids are reused, so a
// true answer may be wrong; callers treat it as "possibly in use".
bool ProcessRunning(std::int64_t id);

}  // namespace plandown
