// The engines the benchmark compares. Each one prepares a pattern once (outside the timing) and
// then counts the matches of a Global, Multiline, case-sensitive run over a text, the way the
// workbench runs them, advancing by one unit after an empty match.
#pragma once

#include <memory>
#include <string>

#include "regexp/Text.h"

namespace rxbench {

struct CountResult {
    long count = -1;    // -1 when the run failed
    std::string error;  // why it failed
};

class Engine {
public:
    virtual ~Engine() = default;
    virtual const char* Name() const = 0;
    // Compiles the pattern; returns an error text, or empty on success.
    virtual std::string Prepare(const rx::String& pattern) = 0;
    virtual CountResult Count(const rx::String& text) = 0;
};

std::unique_ptr<Engine> MakeOurEngine();
std::unique_ptr<Engine> MakeStdRegexEngine();
#ifdef RX_BENCH_HAVE_PCRE2
std::unique_ptr<Engine> MakePcre2Engine();
std::unique_ptr<Engine> MakePcre2JitEngine();
#endif
#ifdef RX_BENCH_HAVE_RE2
std::unique_ptr<Engine> MakeRe2Engine();
#endif
#ifdef _WIN32
std::unique_ptr<Engine> MakeVbScriptEngine();
#endif

}  // namespace rxbench
