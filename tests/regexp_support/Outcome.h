// What one case produced on one engine, in a form both engines fill the same way, so that a
// comparison is a plain equality and a disagreement prints both sides in full.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "regexp/Text.h"
#include "tests/regexp_support/CaseGenerator.h"

namespace rxtest {

struct MatchRecord {
    long index = 0;
    long length = 0;
    rx::String value;
    std::vector<std::optional<rx::String>> subMatches;  // empty optional: did not take part

    bool operator==(const MatchRecord&) const = default;
};

struct Outcome {
    enum class Status { Ok, Rejected, TooComplex };
    Status status = Status::Ok;
    long errorNumber = 0;  // when not Ok (the reference gives none)
    std::vector<MatchRecord> matches;
    bool test = false;
    rx::String replaced;
};

// Rejections agree when both engines reject, whatever their numbers; results agree field by field.
bool SameResult(const Outcome& a, const Outcome& b);

// Runs the case on our engine: Execute, Test and Replace with the case's flags.
Outcome RunOurs(const Case& c, uint64_t stepBudget);

// A C++ string literal body (backslashes doubled, non-ASCII as \uXXXX), so a printed case can be
// pasted into a unit test as it stands.
std::string Quote(rx::StringView s);
std::string Describe(const Case& c);
std::string Describe(const Outcome& o);

}  // namespace rxtest
