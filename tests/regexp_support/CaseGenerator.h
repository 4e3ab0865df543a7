// Random but reproducible regular-expression cases: a pattern drawn from every construct of the
// dialect, a short text over a small alphabet (so that matches are likely), a replacement string
// with every substitution form, and the three flags. A few patterns are deliberately malformed.
#pragma once

#include <cstdint>

#include "regexp/Text.h"
#include "tests/regexp_support/Random.h"

namespace rxtest {

struct Case {
    uint64_t number = 0;  // position in the generator's sequence, for reproducing one case
    rx::String pattern;
    rx::String text;
    rx::String replacement;
    bool ignoreCase = false;
    bool global = false;
    bool multiline = false;
    bool malformed = false;  // the generator meant the pattern to be rejected
    // Wine's Global Execute cannot get past an empty match, so for a pattern that may match empty
    // the reference's Global run is rebuilt from anchored searches and Replace runs with Global
    // off on both engines.
    bool probedGlobal = false;
};

class CaseGenerator {
public:
    explicit CaseGenerator(uint64_t seed) : rng_(seed) {}

    Case Next();

    // The parts, for callers that want their own mix.
    rx::String Pattern(bool* malformed);
    rx::String Text(int maxLength);
    rx::String Replacement();

private:
    Random rng_;
    uint64_t count_ = 0;
};

}  // namespace rxtest
