#include "bench/regexp/Measure.h"

#include <algorithm>
#include <chrono>
#include <vector>

#ifndef _WIN32
#include <ctime>
#endif

namespace rxbench {
namespace {

bool cpuClock = false;

// Milliseconds on the chosen clock: wall time, or the CPU time of the process (which a loaded
// machine's preemption does not inflate; native tree only).
double NowMs() {
#ifndef _WIN32
    if (cpuClock) {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
    }
#endif
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

void UseCpuTime(bool on) { cpuClock = on; }

namespace {

// Up to `runs` more runs of a prepared engine, their times added to `times`, until `patienceMs`
// have been spent in all (at least one run a block); false, with the error noted, when a run fails.
bool Runs(Engine& engine, const rx::String& text, int runs, double patienceMs, Measurement& m, std::vector<double>& times,
          double& spent) {
    for (int i = 0; i < runs && (i == 0 || spent < patienceMs); ++i) {
        const double t0 = NowMs();
        CountResult r = engine.Count(text);
        const double ms = NowMs() - t0;
        if (r.count < 0) {
            m.note = r.error;
            m.count = -1;
            return false;
        }
        m.count = r.count;
        times.push_back(ms);
        spent += ms;
    }
    return true;
}

void Settle(Measurement& m, std::vector<double>& times) {
    std::sort(times.begin(), times.end());
    m.medianMs = times[times.size() / 2];
    m.runs = static_cast<int>(times.size());
}

}  // namespace

Measurement Measure(Engine& engine, const rx::String& pattern, const rx::String& text, int runs, double patienceMs) {
    Measurement m;
    m.note = engine.Prepare(pattern);
    if (!m.note.empty()) return m;
    m.ran = true;
    std::vector<double> times;
    double spent = 0;
    if (Runs(engine, text, runs, patienceMs, m, times, spent)) Settle(m, times);
    return m;
}

std::pair<Measurement, Measurement> MeasureInTurns(Engine& a, const rx::String& patternA, Engine& b,
                                                   const rx::String& patternB, const rx::String& text, int runs,
                                                   int rounds, double patienceMs) {
    Measurement m[2];
    Engine* engine[2] = {&a, &b};
    m[0].note = a.Prepare(patternA);
    m[1].note = b.Prepare(patternB);
    std::vector<double> times[2];
    double spent[2] = {0, 0};
    bool going[2];
    for (int k = 0; k < 2; ++k) going[k] = m[k].ran = m[k].note.empty();
    for (int round = 0; round < rounds; ++round)
        for (int k = 0; k < 2; ++k)
            if (going[k] && (round == 0 || spent[k] < patienceMs))
                going[k] = Runs(*engine[k], text, runs, patienceMs * (round + 1) / rounds, m[k], times[k], spent[k]);
    for (int k = 0; k < 2; ++k)
        if (going[k]) Settle(m[k], times[k]);
    return {m[0], m[1]};
}

}  // namespace rxbench
