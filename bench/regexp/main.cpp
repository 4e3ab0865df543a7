// regexbench: each pattern of patterns.tsv over the corpus as a Global, Multiline,
// case-sensitive Execute, timed on our engine, std::wregex, PCRE2 (interpreted and JIT-compiled;
// native tree), RE2 (native tree) and the platform's VBScript.RegExp (Windows tree), with the
// ratios the engine is tuned by; then the catastrophic patterns on texts of 10k, 100k and 1M units.
//
//   regexbench [--shared DIR] [--runs N] [--wregex-fraction N] [--only NAME] [--catastrophic-only 1]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>

#include "bench/regexp/Dialect.h"
#include "bench/regexp/Measure.h"
#include "bench/regexp/Workload.h"
#include "regexp/Searcher.h"
#include "tests/regexp_support/PatternScan.h"
#ifdef _WIN32
#include "tests/regexp_support/ComOwners.h"
#endif

namespace rxbench {
namespace {

// Blocks of runs that ours and PCRE2-JIT take in turns, for each pattern.
constexpr int kTurns = 3;

struct Options {
    std::string shared = RX_SHARED_DIR;
    int runs = 5;
    int wregexFraction = 16;  // std::wregex runs on 1/N of the corpus
    std::string only;
    bool catastrophicOnly = false;
    bool dfa = true;  // 0: our searches without the lazy DFA, for before-and-after figures
    bool cpu = false; // 1: CPU time of the process instead of wall time (native tree)
};

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string key = argv[i];
        if (key == "--shared") o.shared = argv[i + 1];
        else if (key == "--runs") o.runs = std::max(1, std::atoi(argv[i + 1]));
        else if (key == "--wregex-fraction") o.wregexFraction = std::max(1, std::atoi(argv[i + 1]));
        else if (key == "--only") o.only = argv[i + 1];
        else if (key == "--catastrophic-only") o.catastrophicOnly = std::atoi(argv[i + 1]) != 0;
        else if (key == "--dfa") o.dfa = std::atoi(argv[i + 1]) != 0;
        else if (key == "--cpu") o.cpu = std::atoi(argv[i + 1]) != 0;
        else std::fprintf(stderr, "unknown option %s\n", key.c_str());
    }
    return o;
}

// The first 1/fraction of the text, cut after a line break.
rx::String Prefix(const rx::String& text, int fraction) {
    size_t cut = text.size() / static_cast<size_t>(fraction);
    while (cut < text.size() && text[cut - 1] != u'\n') ++cut;
    return text.substr(0, cut);
}

std::string Ms(const Measurement& m, double scale = 1) {
    if (!m.ran || m.count < 0) return "-";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", m.medianMs * scale);
    return buf;
}

std::string Ratio(double a, double b) {
    if (a <= 0 || b <= 0) return "-";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", a / b);
    return buf;
}

struct Row {
    std::string name;
    Measurement ours, oursOnPrefix, wregex, pcre2, jit, re2, vbs;
};

// The classic patterns that make a backtracker's work grow exponentially (or by the square),
// each on a text of its shape at three lengths: the times should grow in step with the length.
struct Catastrophe {
    const char* name;
    const char* pattern;
    const char* piece;  // repeated to the length
    const char* tail;   // then this
};

// Each text holds the unit that every match needs (near its end), so that no search is answered
// by its absence alone.
constexpr Catastrophe kCatastrophes[] = {
    {"(a*)*b", "(a*)*b", "a", "cb"},
    {"(x+x+)+y", "(x+x+)+y", "x", "zy"},
    {"(\\w+\\s?)*$ line", "(\\w+\\s?)*$", "word ", "!"},
    {"(a|aa)+$", "(a|aa)+$", "a", "b"},
    {"(a|a)+b", "(a|a)+b", "a", "cb"},
    {"^(\\d+)*$", "^(\\d+)*$", "1", "x"},
    {".*?x (quadratic)", ".*?x", "a", "\nx"},
};

std::string Cell(const Measurement& m) {
    if (!m.ran) return m.note.empty() ? "-" : "rejected";
    if (m.count < 0) return "failed";
    return Ms(m);
}

// Each measurement gets engines of its own: an engine keeps its converted copy of the last text
// it saw, recognised by address, and these texts come and go at one address.
void RunCatastrophes(int runs) {
    std::printf("\nCatastrophic patterns (ms; 'failed': the engine gave up with an error, e.g. PCRE2's match limit)\n");
    std::printf("%-22s %8s %10s %10s %10s %10s %10s %10s %10s %10s %10s\n", "pattern", "matches", "ours 10k",
                "ours 100k", "ours 1M", "JIT 10k", "JIT 100k", "JIT 1M", "RE2 10k", "RE2 100k", "RE2 1M");
    for (const Catastrophe& c : kCatastrophes) {
        rx::String pattern = rx::FromUtf8(c.pattern);
        Measurement o[3], j[3], r[3];
        size_t length = 10'000;
        for (int k = 0; k < 3; ++k, length *= 10) {
            rx::String text;
            const rx::String piece = rx::FromUtf8(c.piece);
            while (text.size() + piece.size() <= length) text += piece;
            text += rx::FromUtf8(c.tail);
            o[k] = Measure(*MakeOurEngine(), pattern, text, runs, 10'000);
#ifdef RX_BENCH_HAVE_PCRE2
            j[k] = Measure(*MakePcre2JitEngine(), pattern, text, runs, 10'000);
#endif
#ifdef RX_BENCH_HAVE_RE2
            r[k] = Measure(*MakeRe2Engine(), pattern, text, runs, 10'000);
#endif
        }
        std::printf("%-22s %8ld %10s %10s %10s %10s %10s %10s %10s %10s %10s\n", c.name, o[2].count, Cell(o[0]).c_str(),
                    Cell(o[1]).c_str(), Cell(o[2]).c_str(), Cell(j[0]).c_str(), Cell(j[1]).c_str(), Cell(j[2]).c_str(),
                    Cell(r[0]).c_str(), Cell(r[1]).c_str(), Cell(r[2]).c_str());
        std::fflush(stdout);
    }
}

int Main(int argc, char** argv) {
    Options opt = Parse(argc, argv);
    rx::Searcher::UseDfa(opt.dfa);
    UseCpuTime(opt.cpu);
    std::vector<BenchPattern> patterns = LoadPatterns(opt.shared + "/bench/patterns.tsv");
    rx::String corpus = LoadCorpus(opt.shared + "/bench/corpus.txt");
    if (patterns.empty() || corpus.empty()) {
        std::fprintf(stderr, "cannot read %s/bench/patterns.tsv or corpus.txt (use --shared DIR)\n", opt.shared.c_str());
        return 2;
    }
    rx::String prefix = Prefix(corpus, opt.wregexFraction);
    double scale = static_cast<double>(corpus.size()) / static_cast<double>(prefix.size());
    std::printf("corpus: %zu UTF-16 units; %zu patterns; median of up to %d runs (fewer for runs over 10 s); "
                "ours and PCRE2-JIT: of %d blocks of them taken in turns\n",
                corpus.size(), patterns.size(), opt.runs, kTurns);
    std::printf("std::wregex runs on the first %zu units (1/%d of the corpus, cut at a line end); its time is scaled "
                "by %.2f and its count is compared with ours on the same prefix\n",
                prefix.size(), opt.wregexFraction, scale);

    auto ours = MakeOurEngine();
    auto wregex = MakeStdRegexEngine();
#ifdef RX_BENCH_HAVE_PCRE2
    auto pcre2 = MakePcre2Engine();
    auto jit = MakePcre2JitEngine();
#endif
#ifdef RX_BENCH_HAVE_RE2
    auto re2 = MakeRe2Engine();
#endif
    if (opt.catastrophicOnly) {
        RunCatastrophes(opt.runs);
        return 0;
    }
#ifdef _WIN32
    rxtest::ComApartment apartment;
    auto vbs = MakeVbScriptEngine();
#endif
    constexpr double kPatience = 10'000;
    std::printf("std::wregex and PCRE2 get a '-' beside a class escape in a class escaped (\\w-. -> \\w\\-.), "
                "which is how our dialect reads it\n");

    std::printf("\n%-20s %9s %9s %11s %9s %9s %9s %9s %9s %9s %9s %9s %9s  %s\n", "pattern", "matches", "ours ms",
                "wregex ms*", "VBS ms", "PCRE2 ms", "JIT ms", "RE2 ms", "wre/ours", "VBS/ours", "ours/PCRE", "ours/JIT",
                "ours/RE2", "counts");
    double logWre = 0, logVbs = 0, logPcre = 0, logJit = 0, logRe2 = 0;
    int nWre = 0, nVbs = 0, nPcre = 0, nJit = 0, nRe2 = 0;
    double worstJit = 0;
    for (const BenchPattern& p : patterns) {
        if (!opt.only.empty() && p.name != opt.only) continue;
        Row r{p.name, {}, {}, {}, {}, {}, {}, {}};
        rx::String strict = EscapeDashBesideClassEscape(p.pattern);
#ifdef RX_BENCH_HAVE_PCRE2
        // (ours and PCRE2-JIT, the pair the targets compare, in turns: see MeasureInTurns)
        std::tie(r.ours, r.jit) = MeasureInTurns(*ours, p.pattern, *jit, strict, corpus, opt.runs, kTurns, kPatience);
#else
        r.ours = Measure(*ours, p.pattern, corpus, opt.runs, kPatience);
#endif
        r.oursOnPrefix = Measure(*ours, p.pattern, prefix, 1, 0);
        r.wregex = Measure(*wregex, strict, prefix, opt.runs, kPatience);
#ifdef RX_BENCH_HAVE_PCRE2
        r.pcre2 = Measure(*pcre2, strict, corpus, opt.runs, kPatience);
#endif
#ifdef RX_BENCH_HAVE_RE2
        r.re2 = Measure(*re2, strict, corpus, opt.runs, kPatience);
#endif
#ifdef _WIN32
        // Wine's global Execute never gets past an empty match: such patterns would hang it.
        if (rxtest::MayMatchEmpty(p.pattern)) r.vbs.note = "not run: may match empty (Wine loops)";
        else r.vbs = Measure(*vbs, p.pattern, corpus, opt.runs, kPatience);
#endif
        std::string counts;
        auto compare = [&](const char* who, const Measurement& m, long expected) {
            if (!m.ran && m.note.empty()) return;
            if (m.count < 0) counts += std::string(counts.empty() ? "" : "; ") + who + ": " + m.note;
            else if (m.count != expected)
                counts += std::string(counts.empty() ? "" : "; ") + who + " " + std::to_string(m.count) + " vs " +
                          std::to_string(expected);
        };
        compare("wregex", r.wregex, r.oursOnPrefix.count);
        compare("PCRE2", r.pcre2, r.ours.count);
        compare("JIT", r.jit, r.ours.count);
        compare("RE2", r.re2, r.ours.count);
        compare("VBScript", r.vbs, r.ours.count);
        if (r.ours.count < 0) counts = "ours: " + r.ours.note;
        if (counts.empty()) counts = "agree";

        double oursMs = r.ours.count >= 0 ? r.ours.medianMs : 0;
        double wreMs = r.wregex.count >= 0 ? r.wregex.medianMs * scale : 0;
        double vbsMs = r.vbs.count >= 0 && r.vbs.ran ? r.vbs.medianMs : 0;
        double pcreMs = r.pcre2.count >= 0 && r.pcre2.ran ? r.pcre2.medianMs : 0;
        double jitMs = r.jit.count >= 0 && r.jit.ran ? r.jit.medianMs : 0;
        double re2Ms = r.re2.count >= 0 && r.re2.ran ? r.re2.medianMs : 0;
        if (oursMs > 0 && jitMs > 0) {
            logJit += std::log(oursMs / jitMs);
            ++nJit;
            worstJit = std::max(worstJit, oursMs / jitMs);
        }
        if (oursMs > 0 && re2Ms > 0) { logRe2 += std::log(oursMs / re2Ms); ++nRe2; }
        if (oursMs > 0 && wreMs > 0) { logWre += std::log(wreMs / oursMs); ++nWre; }
        if (oursMs > 0 && vbsMs > 0) { logVbs += std::log(vbsMs / oursMs); ++nVbs; }
        if (oursMs > 0 && pcreMs > 0) { logPcre += std::log(oursMs / pcreMs); ++nPcre; }
        std::printf("%-20s %9ld %9s %11s %9s %9s %9s %9s %9s %9s %9s %9s %9s  %s\n", p.name.c_str(), r.ours.count,
                    Ms(r.ours).c_str(), Ms(r.wregex, scale).c_str(), Ms(r.vbs).c_str(), Ms(r.pcre2).c_str(),
                    Ms(r.jit).c_str(), Ms(r.re2).c_str(), Ratio(wreMs, oursMs).c_str(), Ratio(vbsMs, oursMs).c_str(),
                    Ratio(oursMs, pcreMs).c_str(), Ratio(oursMs, jitMs).c_str(), Ratio(oursMs, re2Ms).c_str(),
                    counts.c_str());
        std::fflush(stdout);
    }
    std::printf("\n* scaled from the prefix.  Geometric means: wregex/ours %.2f (target >= 10), VBScript/ours %s "
                "(target >= 3), ours/PCRE2 %s (target <= 1.5)\n",
                nWre ? std::exp(logWre / nWre) : 0.0, nVbs ? std::to_string(std::exp(logVbs / nVbs)).c_str() : "-",
                nPcre ? std::to_string(std::exp(logPcre / nPcre)).c_str() : "-");
    if (nJit)
        std::printf("ours/PCRE2-JIT: geometric mean %.2f (target <= 1.2), worst %.2f (target <= 2); ours/RE2: geometric "
                    "mean %s\n",
                    std::exp(logJit / nJit), worstJit, nRe2 ? std::to_string(std::exp(logRe2 / nRe2)).c_str() : "-");
    if (opt.only.empty()) RunCatastrophes(opt.runs);
    return 0;
}

}  // namespace
}  // namespace rxbench

#ifdef _WIN32
// -municode: the runtime enters here; the options are ASCII, the shared folder may not be.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) args.push_back(rx::ToUtf8(rx::StringView(argv[i])));
    std::vector<char*> pointers;
    for (std::string& a : args) pointers.push_back(a.data());
    return rxbench::Main(argc, pointers.data());
}
#else
int main(int argc, char** argv) { return rxbench::Main(argc, argv); }
#endif
