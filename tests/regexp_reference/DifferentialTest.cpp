// Our engine against the platform's RegExp object on generated cases: every match (span, value,
// sub-matches), Test and Replace must agree, or the disagreement must be one of the known
// differences. The first unexplained cases are printed in full.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <string>

#include "tests/regexp_reference/KnownDifferences.h"
#include "tests/regexp_support/ReferenceRegExp.h"

namespace rxtest {
namespace {

// Another seed or more cases for an investigation: RX_REFERENCE_SEED, RX_REFERENCE_CASES.
uint64_t Seed() {
    const char* env = std::getenv("RX_REFERENCE_SEED");
    return env ? std::strtoull(env, nullptr, 0) : 0x5EED'2026'1207ull;
}
int Cases() {
    const char* env = std::getenv("RX_REFERENCE_CASES");
    return env ? std::atoi(env) : 6000;
}

// How many unexplained cases to print in full: a few by default, more when investigating
// (RX_REFERENCE_PRINT=200).
size_t PrintedCases() {
    const char* env = std::getenv("RX_REFERENCE_PRINT");
    return env ? static_cast<size_t>(std::atoi(env)) : 8;
}

using Clock = std::chrono::steady_clock;

struct Tally {
    int agreed = 0;
    int withMatches = 0;
    int rejectedByBoth = 0;
    int overBudget = 0;
    std::map<std::string, int> explained;
    std::map<std::string, int> changed;
    std::vector<std::string> unexplained;
    int unexplainedCount = 0;
    Clock::duration oursTime{}, referenceTime{};

    static long long Ms(Clock::duration d) { return std::chrono::duration_cast<std::chrono::milliseconds>(d).count(); }

    std::string Summary() const {
        std::string s = "agreed " + std::to_string(agreed) + " (with matches " + std::to_string(withMatches) +
                        ", rejected by both " + std::to_string(rejectedByBoth) + "), over our step budget " +
                        std::to_string(overBudget) + ", unexplained " + std::to_string(unexplainedCount) +
                        "; ms in our engine " + std::to_string(Ms(oursTime)) + ", in the reference " + std::to_string(Ms(referenceTime));
        for (const auto& [name, n] : explained) s += "\n  explained by " + name + ": " + std::to_string(n);
        for (const auto& [name, n] : changed) s += "\n  changed for the reference (" + name + "): " + std::to_string(n);
        return s;
    }
};

void Compare(ReferenceRegExp& reference, Case c, Tally& tally) {
    if (const char* why = WhyNotComparable(c)) {
        ++tally.changed[std::string("not compared: ") + why];
        return;
    }
    for (const char* change : MakeSafeForReference(c)) ++tally.changed[change];
    auto t0 = Clock::now();
    Outcome ours = RunOurs(c, kComparisonStepBudget);
    auto t1 = Clock::now();
    tally.oursTime += t1 - t0;
    if (ours.status == Outcome::Status::TooComplex) {
        ++tally.overBudget;
        return;
    }
    Outcome ref = reference.Run(c);
    tally.referenceTime += Clock::now() - t1;
    if (ReplaceIsUnreliable(c)) ++tally.changed["Replace not compared: WineReadsDollarZeroZeroOutOfBounds"];
    if (Agree(c, ours, ref)) {
        ++tally.agreed;
        if (!ours.matches.empty()) ++tally.withMatches;
        if (ours.status == Outcome::Status::Rejected) ++tally.rejectedByBoth;
        return;
    }
    if (const KnownDifference* known = Explain(c, ours, ref)) {
        ++tally.explained[known->name];
        return;
    }
    ++tally.unexplainedCount;
    if (tally.unexplained.size() < PrintedCases()) {
        tally.unexplained.push_back(Describe(c) + "\n    ours:      " + Describe(ours) + "\n    reference: " + Describe(ref));
    }
}

TEST(ReferenceComparison, GeneratedCasesAgreeOrAreKnownDifferences) {
    ComApartment apartment;
    ReferenceRegExp reference;
    CaseGenerator generator(Seed());
    const int kCases = Cases();
    Tally tally;
    for (int i = 0; i < kCases; ++i) Compare(reference, generator.Next(), tally);

    std::printf("%s\n", tally.Summary().c_str());
    for (const std::string& u : tally.unexplained) ADD_FAILURE() << "unexplained difference:\n  " << u;
    EXPECT_EQ(tally.unexplainedCount, 0);
    // A comparison that agrees only on "no match" proves little: the generator must keep
    // producing matches and rejections.
    EXPECT_GT(tally.withMatches, kCases / 5);
    EXPECT_GT(tally.rejectedByBoth, kCases / 50);
    EXPECT_LT(tally.overBudget, kCases / 200);
}

}  // namespace
}  // namespace rxtest
