// Runs an engine several times on one text and keeps the median time.
#pragma once

#include "bench/regexp/Engines.h"

namespace rxbench {

struct Measurement {
    bool ran = false;       // false: the engine was not run (see note)
    long count = -1;
    double medianMs = 0;
    int runs = 0;
    std::string note;       // an error, or why it was not run
};

// Times runs by the process's CPU time instead of the wall clock (native tree only).
void UseCpuTime(bool on);

// At most `runs` runs; stops earlier once `patienceMs` have been spent (at least one run).
Measurement Measure(Engine& engine, const rx::String& pattern, const rx::String& text, int runs, double patienceMs);

}  // namespace rxbench
