// Many generated patterns and texts through every entry point of the engine with a small step
// budget: each call either succeeds or raises base::Error with one of the engine's numbers, and
// what it returns holds the invariants a caller relies on (spans inside the text and in order,
// values equal to the text at their spans, Replace with "$&" giving the text back, Global off
// giving the first match of Global on, Test agreeing with Execute).
#include <gtest/gtest.h>

#include <string>

#include "base/Error.h"
#include "regexp/RegExp.h"
#include "tests/regexp_support/CaseGenerator.h"
#include "tests/regexp_support/Outcome.h"
#include "tests/regexp_support/PatternScan.h"

namespace rxtest {
namespace {

constexpr uint64_t kSeed = 0xF022'2026'1207ull;
constexpr int kCases = 12000;
constexpr uint64_t kSmallBudget = 20'000;

bool IsEngineNumber(long n) {
    return (n >= rx::err::Syntax && n <= rx::err::InvalidRange) || n == rx::err::BudgetExceeded;
}

struct Snapshot {
    long index, length;
    rx::String value;
    std::vector<std::optional<rx::String>> subs;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const rx::Match& m) {
    Snapshot s{m.FirstIndex(), m.Length(), m.Value(), {}};
    for (long g = 0; g < m.SubMatchCount(); ++g) s.subs.push_back(m.SubMatch(g));
    return s;
}

// Returns the first broken invariant, or an empty string.
std::string CheckMatches(const rx::String& text, const rx::MatchCollection& all) {
    long previousStart = -1, previousEnd = 0;
    for (const rx::Match& m : all) {
        long start = m.FirstIndex(), end = start + m.Length();
        if (start < 0 || m.Length() < 0 || end > static_cast<long>(text.size())) return "span outside the text";
        if (start < previousEnd || start <= previousStart) return "matches overlap or go backwards";
        if (m.Value() != text.substr(static_cast<size_t>(start), static_cast<size_t>(m.Length()))) return "Value is not the text at its span";
        for (long g = 0; g < m.SubMatchCount(); ++g) {
            std::optional<rx::String> sub = m.SubMatch(g);
            long at = m.SubMatchIndex(g);
            if (sub.has_value() != (at >= 0)) return "sub-match and its index disagree on taking part";
            if (sub && text.compare(static_cast<size_t>(at), sub->size(), *sub) != 0) return "sub-match is not the text at its index";
        }
        previousStart = start;
        previousEnd = end;
    }
    return {};
}

// Runs every entry point; returns the first broken invariant. Raises base::Error as the engine does.
std::string Exercise(const Case& c) {
    rx::RegExp re;
    re.Pattern(c.pattern);
    re.IgnoreCase(c.ignoreCase);
    re.Multiline(c.multiline);
    re.StepBudget(kSmallBudget);

    re.Global(true);
    rx::MatchCollection all = re.Execute(rx::StringView(c.text));
    if (std::string broken = CheckMatches(c.text, all); !broken.empty()) return broken;
    // The comparison with Wine relies on this scan to keep patterns that match empty away from
    // Wine's Global run, which would loop for ever on them.
    for (const rx::Match& m : all) {
        if (m.Length() == 0 && !MayMatchEmpty(c.pattern)) return "MayMatchEmpty said no to a pattern that matched empty";
    }
    if (re.Replace(c.text, rx::String{u'$', u'&'}) != c.text) return "Replace with $& changed the text";
    rx::String deleted = re.Replace(c.text, rx::String());
    long kept = static_cast<long>(c.text.size());
    for (const rx::Match& m : all) kept -= m.Length();
    if (static_cast<long>(deleted.size()) != kept) return "Replace with nothing did not remove exactly the matches";
    re.Replace(c.text, c.replacement);

    re.Global(false);
    rx::MatchCollection first = re.Execute(rx::StringView(c.text));
    if (first.Count() > 1) return "Global off gave more than one match";
    if (first.Count() != (all.Count() > 0 ? 1 : 0)) return "Global off and on disagree on finding a match";
    if (first.Count() == 1 && !(Take(first.Item(0)) == Take(all.Item(0)))) return "Global off is not the first match of Global on";
    if (re.Test(c.text) != (all.Count() > 0)) return "Test disagrees with Execute";
    if (re.Replace(c.text, rx::String{u'$', u'&'}) != c.text) return "Replace with $& (Global off) changed the text";
    return {};
}

TEST(RegExpFuzz, EveryCallSucceedsOrRaisesAnEngineErrorAndKeepsTheInvariants) {
    CaseGenerator generator(kSeed);
    int succeeded = 0, rejected = 0, overBudget = 0, broken = 0;
    for (int i = 0; i < kCases; ++i) {
        Case c = generator.Next();
        c.text += generator.Text(60);  // longer texts than the comparison uses, to reach the budget
        try {
            std::string failure = Exercise(c);
            if (!failure.empty() && ++broken <= 5) ADD_FAILURE() << failure << ": " << Describe(c);
            ++succeeded;
        } catch (const base::Error& e) {
            if (!IsEngineNumber(e.Number())) ADD_FAILURE() << "error " << e.Number() << " " << e.what() << ": " << Describe(c);
            ++(e.Number() == rx::err::BudgetExceeded ? overBudget : rejected);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "escaped exception " << e.what() << ": " << Describe(c);
        }
    }
    std::printf("%d cases: %d ran, %d rejected, %d over the budget of %llu steps, %d broke an invariant\n", kCases,
                succeeded, rejected, overBudget, static_cast<unsigned long long>(kSmallBudget), broken);
    EXPECT_EQ(broken, 0);
    EXPECT_GT(rejected, kCases / 50);  // the malformed share must reach the parser
}

TEST(RegExpFuzz, ARejectedPatternRaisesTheSameErrorFromEveryCall) {
    CaseGenerator generator(kSeed + 1);
    int checked = 0;
    for (int i = 0; i < 3000; ++i) {
        Case c = generator.Next();
        rx::RegExp re;
        re.Pattern(c.pattern);
        long number = 0;
        try {
            re.Execute(rx::StringView(c.text));
            continue;
        } catch (const base::Error& e) {
            number = e.Number();
        }
        if (number == rx::err::BudgetExceeded) continue;
        ++checked;
        try {
            re.Test(c.text);
            ADD_FAILURE() << "Test accepted a rejected pattern: " << Describe(c);
        } catch (const base::Error& e) {
            EXPECT_EQ(e.Number(), number) << Describe(c);
        }
        try {
            re.Replace(c.text, c.replacement);
            ADD_FAILURE() << "Replace accepted a rejected pattern: " << Describe(c);
        } catch (const base::Error& e) {
            EXPECT_EQ(e.Number(), number) << Describe(c);
        }
    }
    EXPECT_GT(checked, 50);
}

// The generator must keep reaching every construct of the dialect, or the comparison with the
// reference silently stops covering it.
TEST(RegExpFuzz, TheGeneratorReachesEveryConstruct) {
    static const char16_t* const kConstructs[] = {
        u".", u"^", u"$", u"\\b", u"\\B", u"\\d", u"\\D", u"\\w", u"\\W", u"\\s", u"\\S", u"[^", u"-\\w", u"|",
        u"?", u"*", u"+", u"{2}", u"{1,}", u"}?", u"*?", u"(?:", u"(?=", u"(?!", u"\\1", u"\\f", u"\\v", u"\\x",
        u"\\u", u"\\cJ", u"\\012", u"\\q", u"b{x}", u"]", u"}", u"\u4E2D"};
    CaseGenerator generator(kSeed);
    rx::String all;
    for (int i = 0; i < 3000; ++i) all += generator.Next().pattern;
    for (const char16_t* construct : kConstructs) {
        rx::String needle;
        for (const char16_t* p = construct; *p; ++p) needle += static_cast<rx::Char>(*p);
        EXPECT_NE(all.find(needle), rx::String::npos) << "never generated: " << Quote(needle);
    }
}

}  // namespace
}  // namespace rxtest
