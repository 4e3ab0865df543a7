// The disagreements with the reference that we accept, each a named predicate that says whether
// it explains one case (see known-differences.md for the reasons). A disagreement that no
// predicate explains fails the comparison.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/regexp_support/Outcome.h"

namespace rxtest {

constexpr uint64_t kComparisonStepBudget = 5'000'000;

// Faults of the reference that would hang or crash the test process: the comparison changes the
// case before running it. Returns the names of the changes made (none for a safe case).
std::vector<const char*> MakeSafeForReference(Case& c);

// Cases the reference cannot be given at all: the name of the reason, or nullptr.
const char* WhyNotComparable(const Case& c);

// Wine reads "$00" from outside its group array, so a Replace whose replacement has it gives
// whatever lies there; such a Replace is not compared.
bool ReplaceIsUnreliable(const Case& c);

// SameResult, less the Replace result when it is unreliable.
bool Agree(const Case& c, const Outcome& ours, const Outcome& reference);

struct KnownDifference {
    const char* name;
    bool (*explains)(const Case& c, const Outcome& ours, const Outcome& reference);
};

const std::vector<KnownDifference>& KnownDifferences();

// The first predicate that explains the case, or nullptr.
const KnownDifference* Explain(const Case& c, const Outcome& ours, const Outcome& reference);

}  // namespace rxtest
