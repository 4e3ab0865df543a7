// How Wine's RegExp reads the dialect where it differs from the platform: each reading rewrites
// a case so that our engine, given the rewritten case, answers the way Wine answers the original.
// A difference with the reference is explained when that answer is exactly the reference's.
#pragma once

#include <optional>
#include <vector>

#include "tests/regexp_support/CaseGenerator.h"

namespace rxtest {

struct WineReading {
    const char* name;
    std::optional<Case> (*rewrite)(const Case&);  // nothing when the reading does not apply
};

// In the order in which they are applied together (the octal readings first: the case folding
// cannot carry a back-reference, and they turn some of those into plain escapes).
const std::vector<WineReading>& WineReadings();

// Look-aheads whose body may match empty (the '(' positions), and the case with those chosen by
// the bits of `choice` turned the other way ("(?=" <-> "(?!").
std::vector<size_t> LookaheadsWithEmptyBody(const rx::String& pattern);
Case SwapLookaheads(const Case& c, const std::vector<size_t>& at, unsigned choice);

}  // namespace rxtest
