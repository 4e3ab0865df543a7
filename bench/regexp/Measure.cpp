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

Measurement Measure(Engine& engine, const rx::String& pattern, const rx::String& text, int runs, double patienceMs) {
    Measurement m;
    m.note = engine.Prepare(pattern);
    if (!m.note.empty()) return m;
    m.ran = true;
    std::vector<double> times;
    double spent = 0;
    for (int i = 0; i < runs && (i == 0 || spent < patienceMs); ++i) {
        const double t0 = NowMs();
        CountResult r = engine.Count(text);
        const double ms = NowMs() - t0;
        if (r.count < 0) {
            m.note = r.error;
            m.count = -1;
            return m;
        }
        m.count = r.count;
        times.push_back(ms);
        spent += ms;
    }
    std::sort(times.begin(), times.end());
    m.medianMs = times[times.size() / 2];
    m.runs = static_cast<int>(times.size());
    return m;
}

}  // namespace rxbench
