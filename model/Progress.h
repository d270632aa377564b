#pragma once
// Progress and cancel for long work: the worker calls it, windows only listen.
#include <functional>

namespace qm {

// Called with (steps done, steps in all); returning false asks the worker to stop.
using TProgressFn = std::function<bool(int done, int total)>;

} // namespace qm
