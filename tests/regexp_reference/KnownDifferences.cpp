#include "tests/regexp_reference/KnownDifferences.h"

#include <optional>

#include "tests/regexp_support/PatternScan.h"

namespace rxtest {

namespace {

// Most known differences are explained the same way: the case is rewritten so that our engine
// is asked what Wine's reading of it gives; the difference is explained when that agrees with
// the reference. A rewrite returns nothing when it does not apply to the case.
using Rewrite = std::optional<Case> (*)(const Case&);

// Wine reads '.' as "not a line terminator" (CR, LF, U+2028, U+2029) and \s as every Unicode
// space; the platform reads '.' as "not LF" and \s as [ \f\n\r\t\v].
std::optional<Case> WineDotAndSpace(const Case& c) {
    Case w = c;
    w.pattern = SpellOutWineClasses(c.pattern);
    if (w.pattern == c.pattern) return std::nullopt;
    return w;
}

// Wine's IgnoreCase folds only the ASCII letters (é does not match É, ж not Ж).
std::optional<Case> WineFoldsOnlyAscii(const Case& c) {
    if (!c.ignoreCase) return std::nullopt;
    std::optional<rx::String> expanded = AsciiCaseExpanded(c.pattern);
    if (!expanded) return std::nullopt;
    Case w = c;
    w.pattern = *expanded;
    w.ignoreCase = false;
    return w;
}

// Wine inverts an empty look-ahead that begins an alternative: "(?=)" there fails and "(?!)"
// succeeds (after an atom both behave).
std::optional<Case> WineInvertsLeadingEmptyLookahead(const Case& c) {
    const rx::String& p = c.pattern;
    auto emptyLookaheadAt = [&](size_t at) {
        return at + 4 <= p.size() && p[at] == u'(' && p[at + 1] == u'?' && (p[at + 2] == u'=' || p[at + 2] == u'!') &&
               p[at + 3] == u')';
    };
    auto beginsAlternative = [&](size_t at) {
        if (at == 0 || p[at - 1] == u'|' || (p[at - 1] == u'(' && (at < 2 || p[at - 2] != u'\\'))) return true;
        if (at >= 3 && p[at - 3] == u'(' && p[at - 2] == u'?') return p[at - 1] == u':' || p[at - 1] == u'=' || p[at - 1] == u'!';
        return at >= 4 && emptyLookaheadAt(at - 4);
    };
    Case w = c;
    bool changed = false;
    for (size_t at = 0; at < p.size(); ++at) {
        if (p[at] == u'\\') { ++at; continue; }
        if (emptyLookaheadAt(at) && beginsAlternative(at)) {
            w.pattern[at + 2] = p[at + 2] == u'=' ? u'!' : u'=';
            changed = true;
        }
    }
    if (!changed) return std::nullopt;
    return w;
}

// Wine reads "\0" and up to three more octal digits as one escape ("\0141" is 'a'); the
// platform's octal escapes have at most three digits in all ("\0141" is form feed, '1').
std::optional<Case> WineReadsLongOctal(const Case& c) {
    const rx::String& p = c.pattern;
    auto octal = [&](size_t at) { return at < p.size() && p[at] >= u'0' && p[at] <= u'7'; };
    Case w = c;
    w.pattern.clear();
    bool changed = false;
    for (size_t at = 0; at < p.size(); ++at) {
        if (p[at] != u'\\') { w.pattern += p[at]; continue; }
        if (octal(at + 1) && p[at + 1] == u'0' && octal(at + 2) && octal(at + 3) && octal(at + 4)) {
            unsigned v = (p[at + 2] - u'0') * 64u + (p[at + 3] - u'0') * 8u + (p[at + 4] - u'0');
            static const char hex[] = "0123456789ABCDEF";
            for (char ch : {'\\', 'u', hex[(v >> 12) & 15], hex[(v >> 8) & 15], hex[(v >> 4) & 15], hex[v & 15]}) w.pattern += static_cast<rx::Char>(ch);
            at += 4;
            changed = true;
        } else {
            w.pattern += p[at];
            if (at + 1 < p.size()) w.pattern += p[++at];
        }
    }
    if (!changed) return std::nullopt;
    return w;
}

struct NamedRewrite {
    const char* name;
    Rewrite rewrite;
};

const NamedRewrite kRewrites[] = {
    {"WineDotAndSpace", WineDotAndSpace},
    {"WineFoldsOnlyAscii", WineFoldsOnlyAscii},
    {"WineInvertsLeadingEmptyLookahead", WineInvertsLeadingEmptyLookahead},
    {"WineReadsLongOctal", WineReadsLongOctal},
};

bool AgreesAfter(const Case& rewritten, const Case& original, const Outcome& reference) {
    Outcome ours = RunOurs(rewritten, kComparisonStepBudget);
    return Agree(original, ours, reference);
}

template <size_t I>
bool ExplainedByRewrite(const Case& c, const Outcome&, const Outcome& reference) {
    std::optional<Case> w = kRewrites[I].rewrite(c);
    return w && AgreesAfter(*w, c, reference);
}

// Several of Wine's readings at once (say a '.' before a CR in a case-insensitive pattern with é).
bool ExplainedByRewritesTogether(const Case& c, const Outcome&, const Outcome& reference) {
    Case w = c;
    int applied = 0;
    for (const NamedRewrite& r : kRewrites) {
        if (std::optional<Case> next = r.rewrite(w)) {
            w = *next;
            ++applied;
        }
    }
    return applied > 1 && AgreesAfter(w, c, reference);
}

// Wine's sub-match for a group inside a look-ahead around an empty loop is garbage (a NUL, not a
// piece of the text). Explained when everything but the sub-matches agrees.
bool WineGarbageSubMatch(const Case& c, const Outcome& ours, const Outcome& reference) {
    bool garbage = false;
    for (const MatchRecord& m : reference.matches) {
        for (const auto& sub : m.subMatches) garbage = garbage || (sub && c.text.find(*sub) == rx::String::npos);
    }
    if (!garbage || ours.matches.size() != reference.matches.size()) return false;
    Outcome a = ours, b = reference;
    for (auto* o : {&a, &b}) {
        for (MatchRecord& m : o->matches) m.subMatches.clear();
        o->replaced.clear();
    }
    return SameResult(a, b);
}

// Wine's counted loop ({n}, {n,m}) clears the captures of its group's direct alternatives between
// passes but keeps those nested deeper: "(?:(a(b))|c){2}" on "abc" leaves group 2 = "b" inside a
// group 1 that did not take part. Explained when the matches agree and every differing
// sub-match is one that we report as not taking part.
bool WineKeepsNestedCaptureInCountedLoop(const Case& c, const Outcome& ours, const Outcome& reference) {
    static const rx::String kCountedGroup{u')', u'{'};
    if (c.pattern.find(kCountedGroup) == rx::String::npos) return false;
    if (ours.status != Outcome::Status::Ok || reference.status != Outcome::Status::Ok) return false;
    if (ours.matches.size() != reference.matches.size() || ours.test != reference.test) return false;
    bool stale = false;
    for (size_t i = 0; i < ours.matches.size(); ++i) {
        const MatchRecord& a = ours.matches[i];
        const MatchRecord& b = reference.matches[i];
        if (a.index != b.index || a.length != b.length || a.subMatches.size() != b.subMatches.size()) return false;
        for (size_t g = 0; g < a.subMatches.size(); ++g) {
            if (a.subMatches[g] == b.subMatches[g]) continue;
            if (a.subMatches[g].has_value()) return false;
            stale = true;
        }
    }
    return stale;
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
    // of memory), so a pattern that may match empty is compared without Global.
    if (c.global && MayMatchEmpty(c.pattern)) {
        c.global = false;
        changes.push_back("WineLoopsOnEmptyGlobalMatch");
    }
    // Wine's Replace dereferences a null program for the empty pattern when the replacement
    // names a group.
    if (c.pattern.empty() && HasNumberedSubstitution(c.replacement)) {
        c.replacement.clear();
        changes.push_back("WineReplaceCrashesOnEmptyPattern");
    }
    return changes;
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
        {kRewrites[0].name, ExplainedByRewrite<0>},
        {kRewrites[1].name, ExplainedByRewrite<1>},
        {kRewrites[2].name, ExplainedByRewrite<2>},
        {kRewrites[3].name, ExplainedByRewrite<3>},
        {"SeveralOfTheWineReadingsAbove", ExplainedByRewritesTogether},
        {"WineGarbageSubMatch", WineGarbageSubMatch},
        {"WineKeepsNestedCaptureInCountedLoop", WineKeepsNestedCaptureInCountedLoop},
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
