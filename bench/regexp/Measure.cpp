#include "bench/regexp/Measure.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace rxbench {

Measurement Measure(Engine& engine, const rx::String& pattern, const rx::String& text, int runs, double patienceMs) {
    Measurement m;
    m.note = engine.Prepare(pattern);
    if (!m.note.empty()) return m;
    m.ran = true;
    std::vector<double> times;
    double spent = 0;
    for (int i = 0; i < runs && (i == 0 || spent < patienceMs); ++i) {
        auto t0 = std::chrono::steady_clock::now();
        CountResult r = engine.Count(text);
        double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
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
