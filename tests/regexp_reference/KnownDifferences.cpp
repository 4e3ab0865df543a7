#include "tests/regexp_reference/KnownDifferences.h"

#include <optional>

#include "tests/regexp_reference/WineReadings.h"
#include "tests/regexp_support/PatternScan.h"

namespace rxtest {

namespace {

// Our engine on the case with every reading of Wine's that applies.
Outcome OursUnderAllReadings(const Case& c) {
    Case w = c;
    for (const WineReading& r : WineReadings()) {
        if (std::optional<Case> next = r.rewrite(w)) w = *next;
    }
    return RunOurs(w, kComparisonStepBudget);
}

bool AgreesAfter(const Case& rewritten, const Case& original, const Outcome& reference) {
    Outcome ours = RunOurs(rewritten, kComparisonStepBudget);
    return Agree(original, ours, reference);
}

template <size_t I>
bool ExplainedByRewrite(const Case& c, const Outcome& ours, const Outcome& reference) {
    std::optional<Case> w = WineReadings()[I].rewrite(c);
    return w && AgreesAfter(*w, c, reference);
}

// Several of Wine's readings at once (say a '.' before a CR in a case-insensitive pattern with
// é), and the look-ahead swaps on top of them. A probed Global run (see MakeSafeForReference)
// searches the pattern behind a prefix, where Wine may lay the look-aheads out differently from
// its plain run, so there the matches and the rest may each agree under a different choice.
bool ExplainedByRewritesTogether(const Case& c, const Outcome&, const Outcome& reference) {
    Case w = c;
    int applied = 0;
    for (const WineReading& r : WineReadings()) {
        if (std::optional<Case> next = r.rewrite(w)) {
            w = *next;
            ++applied;
        }
    }
    std::vector<size_t> at = LookaheadsWithEmptyBody(w.pattern);
    if (at.size() > 4) at.resize(4);
    if (at.empty()) return applied > 1 && AgreesAfter(w, c, reference);
    bool matchesAgree = false, restAgrees = false;
    for (unsigned choice = 0; choice < (1u << at.size()); ++choice) {
        Outcome ours = RunOurs(SwapLookaheads(w, at, choice), kComparisonStepBudget);
        if (Agree(c, ours, reference)) return applied > 0 || choice != 0;
        if (!c.probedGlobal || ours.status != Outcome::Status::Ok || reference.status != Outcome::Status::Ok) continue;
        Outcome m = ours;
        m.test = reference.test;
        m.replaced = reference.replaced;
        matchesAgree = matchesAgree || SameResult(m, reference);
        Outcome r = ours;
        r.matches = reference.matches;
        restAgrees = restAgrees || Agree(c, r, reference);
    }
    return matchesAgree && restAgrees;
}

// Wine's sub-match for a group inside a look-ahead around an empty loop is garbage (a NUL, not a
// piece of the text). Explained when everything but the sub-matches agrees.
bool WineGarbageSubMatch(const Case& c, const Outcome& ours, const Outcome& reference) {
    bool garbage = false;
    for (const MatchRecord& m : reference.matches) {
        for (const auto& sub : m.subMatches) garbage = garbage || (sub && c.text.find(*sub) == rx::String::npos);
    }
    if (!garbage) return false;
    Outcome a = OursUnderAllReadings(c), b = reference;
    if (a.matches.size() != b.matches.size()) return false;
    for (auto* o : {&a, &b}) {
        for (MatchRecord& m : o->matches) m.subMatches.clear();
        o->replaced.clear();
    }
    return SameResult(a, b);
}

// Wine keeps captures that the final path through a loop does not set: a counted loop ({n})
// clears its group's own captures between passes but not those nested deeper
// ("(?:(a(b))|c){2}" on "abc" leaves group 2 = "b" inside a group 1 that did not take part), and
// a group that failed part-way in a pass of a loop can stay set to an empty string. Explained
// when the matches agree and every differing sub-match is one that we report as not taking part.
bool OnlyStaleCapturesDiffer(const Case& c, const Outcome& ours, const Outcome& reference) {
    bool quantifiedGroup = false;
    for (size_t k = 0; k + 1 < c.pattern.size(); ++k) {
        rx::Char q = c.pattern[k + 1];
        if (c.pattern[k] == u')' && (q == u'*' || q == u'+' || q == u'?' || q == u'{')) quantifiedGroup = true;
    }
    if (!quantifiedGroup) return false;
    if (ours.status != Outcome::Status::Ok || reference.status != Outcome::Status::Ok) return false;
    if (ours.matches.size() != reference.matches.size() || ours.test != reference.test) return false;
    bool stale = false;
    for (size_t i = 0; i < ours.matches.size(); ++i) {
        const MatchRecord& a = ours.matches[i];
        const MatchRecord& b = reference.matches[i];
        if (a.index != b.index || a.length != b.length || a.subMatches.size() != b.subMatches.size()) return false;
        for (size_t g = 0; g < a.subMatches.size(); ++g) {
            if (a.subMatches[g] == b.subMatches[g]) continue;
            // ours did not take part (Wine kept an old capture), or Wine kept a last empty pass
            // of the loop that ECMAScript's empty-pass check rejects
            if (a.subMatches[g].has_value() && !(b.subMatches[g] && b.subMatches[g]->empty())) return false;
            stale = true;
        }
    }
    return stale;
}

bool WineKeepsStaleCaptureInLoop(const Case& c, const Outcome& ours, const Outcome& reference) {
    return OnlyStaleCapturesDiffer(c, ours, reference) || OnlyStaleCapturesDiffer(c, OursUnderAllReadings(c), reference);
}

// Wine rejects a class range with a class escape at one end ([a-\d], [\w-b]); the platform
// reads the '-' as a literal there.
bool WineRejectsClassEscapeRange(const Case& c, const Outcome& ours, const Outcome& reference) {
    return reference.status == Outcome::Status::Rejected && ours.status == Outcome::Status::Ok &&
           HasClassEscapeRangeEnd(c.pattern);
}

}  // namespace

std::vector<const char*> MakeSafeForReference(Case& c) {
    std::vector<const char*> changes;
    // Wine's global Execute never advances past an empty match (it loops, and Replace runs out
    // of memory): for a pattern that may match empty its Global run is rebuilt from probes.
    // Probing costs a search per position, so a long text is compared without Global instead.
    if (c.global && MayMatchEmpty(c.pattern)) {
        if (c.text.size() <= 200) {
            c.probedGlobal = true;
            changes.push_back("WineLoopsOnEmptyGlobalMatch: Global run probed, Replace without Global");
        } else {
            c.global = false;
            changes.push_back("WineLoopsOnEmptyGlobalMatch: compared without Global");
        }
    }
    // Wine's Replace dereferences a null program for the empty pattern when the replacement
    // names a group.
    if (c.pattern.empty() && HasNumberedSubstitution(c.replacement)) {
        c.replacement.clear();
        changes.push_back("WineReplaceCrashesOnEmptyPattern");
    }
    return changes;
}

const char* WhyNotComparable(const Case& c) {
    // "(a\1b)" makes Wine's matcher write through a bad pointer and crash the process.
    if (HasBackReferenceInsideItsGroup(c.pattern)) return "WineCrashesOnBackReferenceInsideItsGroup";
    return nullptr;
}

bool ReplaceIsUnreliable(const Case& c) {
    const rx::String& r = c.replacement;
    for (size_t k = 0; k + 1 < r.size(); ++k) {
        if (r[k] != u'$') continue;
        if (r[k + 1] == u'$') { ++k; continue; }
        if (k + 2 < r.size() && r[k + 1] == u'0' && r[k + 2] == u'0') return true;
    }
    return false;
}

bool Agree(const Case& c, const Outcome& ours, const Outcome& reference) {
    if (!ReplaceIsUnreliable(c)) return SameResult(ours, reference);
    Outcome a = ours, b = reference;
    a.replaced.clear();
    b.replaced.clear();
    return SameResult(a, b);
}

const std::vector<KnownDifference>& KnownDifferences() {
    static const std::vector<KnownDifference> list = {
        {"WineRejectsClassEscapeRange", WineRejectsClassEscapeRange},
        {WineReadings()[0].name, ExplainedByRewrite<0>},
        {WineReadings()[1].name, ExplainedByRewrite<1>},
        {WineReadings()[2].name, ExplainedByRewrite<2>},
        {WineReadings()[3].name, ExplainedByRewrite<3>},
        {WineReadings()[4].name, ExplainedByRewrite<4>},
        {WineReadings()[5].name, ExplainedByRewrite<5>},
        {"WineInvertsLookaheadOnEmptyBody_OrSeveralReadings", ExplainedByRewritesTogether},
        {"WineGarbageSubMatch", WineGarbageSubMatch},
        {"WineKeepsStaleCaptureInLoop", WineKeepsStaleCaptureInLoop},
    };
    return list;
}

const KnownDifference* Explain(const Case& c, const Outcome& ours, const Outcome& reference) {
    for (const KnownDifference& k : KnownDifferences()) {
        if (k.explains(c, ours, reference)) return &k;
    }
    return nullptr;
}

}  // namespace rxtest
