// Runs an engine several times on one text and keeps the median time.
#pragma once

#include <utility>

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

// Two engines measured in turns, `rounds` blocks of up to `runs` runs each, so that both meet
// the same moments of a machine whose speed drifts from one second to the next; each keeps the
// median of all its runs. (Block by block, not run by run: the first run after the other engine
// finds the caches and branch history that engine left, and the median sets that run aside.)
std::pair<Measurement, Measurement> MeasureInTurns(Engine& a, const rx::String& patternA, Engine& b,
                                                   const rx::String& patternB, const rx::String& text, int runs,
                                                   int rounds, double patienceMs);

}  // namespace rxbench
