// Starts found from a unit every match consumes (StartInfo::pivot). Each pattern is compiled
// twice, once as the engine compiles it and once with the pivot taken away, and every match of a
// Global run (start, end, groups) must be the same through the backtracker and through the
// searcher with the automaton in use (which the matcher tells where to start).
// The generated patterns put the unit in a sequence, a group, a loop, a look-ahead, after look-aheads,
// anchors, boundaries and lazy loops, with back-references after it; the texts put it at the
// edges of runs, at the text's ends, doubled, or leave it out.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/Error.h"
#include "regexp/LazyDfa.h"
#include "regexp/Matcher.h"
#include "regexp/Parser.h"
#include "regexp/Program.h"
#include "regexp/Searcher.h"
#include "tests/regexp_support/Outcome.h"
#include "tests/regexp_support/Random.h"

namespace rxtest {
namespace {

constexpr uint64_t kBudget = 1'000'000;
using Spans = std::vector<int32_t>;

std::string Show(const Spans& spans) {
    std::string out;
    for (int32_t v : spans) out += std::to_string(v) + " ";
    return out;
}

rx::String Units(const char* s) {
    rx::String out;
    while (*s) out += static_cast<rx::Char>(*s++);
    return out;
}

std::unique_ptr<rx::Program> Build(const rx::String& pattern, bool ignoreCase, bool multiline, bool withPivot) {
    auto prog = rx::Compile(rx::Parse(pattern), ignoreCase, multiline);
    if (!withPivot) prog->start.pivot = rx::StartInfo::Pivot{};
    return prog;
}

// The match's end moved past an empty match, as a Global run goes on.
size_t After(const Spans& spans, size_t perMatch) {
    const int32_t* found = spans.data() + (spans.size() - perMatch);
    return static_cast<size_t>(found[1]) + (found[1] == found[0] ? 1 : 0);
}

std::optional<Spans> Backtracked(const rx::Program& prog, const rx::String& text) {
    rx::Matcher matcher(prog, text.data(), text.size(), kBudget);
    Spans spans;
    for (size_t from = 0; from <= text.size(); from = After(spans, 2 * (prog.groupCount + 1))) {
        const rx::Status st = matcher.Search(from, spans);
        if (st == rx::Status::NoMatch) break;
        if (st != rx::Status::Match) return std::nullopt;
    }
    return spans;
}

// The searcher as RegExp drives it, groups read, the automaton in use on any text's length.
std::optional<Spans> Searched(const rx::Program& prog, const rx::String& text) {
    const bool was = rx::Searcher::DfaInUse();
    const size_t fromLength = rx::Searcher::DfaFromLength();
    rx::Searcher::UseDfa(true);
    rx::Searcher::DfaFromLength(0);
    std::optional<Spans> out = Spans{};
    {
        rx::Searcher searcher(prog, text.data(), text.size(), kBudget);
        for (size_t from = 0; from <= text.size(); from = After(*out, 2 * (prog.groupCount + 1))) {
            const rx::Status st = searcher.Search(from, *out, true);
            if (st == rx::Status::NoMatch) break;
            if (st != rx::Status::Match) {
                out.reset();
                break;
            }
        }
    }
    rx::Searcher::UseDfa(was);
    rx::Searcher::DfaFromLength(fromLength);
    return out;
}

struct Tally {
    int compared = 0, pivoted = 0, matched = 0, automata = 0;  // automata: patterns the DFA can take
};

// False (and reported) when a path finds other matches with the pivot than without it.
bool Compare(const rx::String& pattern, const rx::String& text, bool ignoreCase, bool multiline, Tally& tally) {
    std::unique_ptr<rx::Program> with, without;
    try {
        with = Build(pattern, ignoreCase, multiline, true);
        without = Build(pattern, ignoreCase, multiline, false);
    } catch (const base::Error&) {
        return true;  // rejected patterns have no search to compare
    }
    const auto back = Backtracked(*with, text), plainBack = Backtracked(*without, text);
    if (!back || !plainBack) return true;
    ++tally.compared;
    if (with->start.pivot.unit >= 0) ++tally.pivoted;
    if (!plainBack->empty()) ++tally.matched;
    std::string why;
    if (*back != *plainBack) why = "backtracker: " + Show(*back) + "\n  without: " + Show(*plainBack);
    if (rx::LazyDfa::Handles(*with) && with->reversed) ++tally.automata;
    if (why.empty()) {
        const auto a = Searched(*with, text), b = Searched(*without, text);
        if (a && b && *a != *b) why = "searcher: " + Show(*a) + "\n  without: " + Show(*b);
        if (a && *a != *plainBack) why = "searcher: " + Show(*a) + "\n  backtracker: " + Show(*plainBack);
    }
    if (why.empty()) return true;
    ADD_FAILURE() << "pattern \"" << Quote(pattern) << "\" text \"" << Quote(text) << "\" ignoreCase " << ignoreCase
                  << " multiline " << multiline << " pivot " << with->start.pivot.unit << "\n  " << why;
    return false;
}

// What comes before the unit, the unit in its place, what comes after.
rx::String PivotPattern(Random& rng) {
    static const char* const kBefore[] = {
        "[ab]+", "a", "b*", "[ab]*?", "(a|b)+", "(?:ab|b)", "(a)", "([ab]+)", "\\b", "^", "$", "(?=a)", "(?!b)",
        "(?=[^@]*@)", "(?=\\w*c)", "a{2,3}", "(?:a|)", "\\B", "[^@c\\s]+", "x?", "(a)?b", "(?:a@?)", "[a-c]",
        "(?:(a)|b){1,2}", "."};
    static const char* const kUnit[] = {"@", "@", "(@)", "(?:a?@)", "(?:@)+", "@{2}", "(?:[ab]*@)+", "(@|@)", "c",
                                        "(c)", "[@]", "@?", "@*", "(?=@)", "(?=a@)", "(?=(b)a)", "(?=ab|b)",
                                        "(?!@)", "(?=@b)\\w"};
    static const char* const kAfter[] = {
        "", "[bc]+", "b", "\\1", "(\\w)\\1", "@", "(?=c)", "$", "\\b", "c*?", "(b+)?", "[^@]*", "\\w+?", "a|b", ".",
        "(?:@b)+", "\\2"};
    rx::String out;
    auto put = [&](const char* s) { out += Units(s); };
    const bool wrap = rng.Percent(20);
    if (wrap) put(rng.Percent(50) ? "(" : "(?:");
    for (int k = rng.Between(rng.Percent(10) ? 0 : 1, 3); k > 0; --k) put(rng.Pick(kBefore));
    put(rng.Pick(kUnit));
    for (int k = rng.Between(0, 2); k > 0; --k) put(rng.Pick(kAfter));
    static const char* const kClose[] = {")", ")+", "){1,2}", ")+?"};
    if (wrap) put(rng.Pick(kClose));
    return out;
}

// Runs of a's and b's with the unit at their edges, doubled, at the text's ends, or missing.
rx::String PivotText(Random& rng, int pieces) {
    static const char* const kPieces[] = {"a", "b", "ab", "ba", "aab", "@", "@", "@@", "c", "C", "bc", " ", "\n",
                                          "\r\n", "a@b", "@a", "b@", "x", "1", "A", "A@", "aB@", "Ab"};
    rx::String out;
    if (rng.Percent(25)) out += Units("@");
    const int n = rng.Between(0, pieces);
    for (int i = 0; i < n; ++i) out += Units(rng.Pick(kPieces));
    if (rng.Percent(25)) out += Units("@");
    return out;
}

TEST(RegExpPivot, GeneratedPatternsFindTheSameMatchesWithAndWithoutThePivot) {
    Random rng(0x91707'2026'1207ull);
    Tally tally;
    int failures = 0;
    for (int i = 0; i < 6000 && failures < 5; ++i) {
        const rx::String pattern = PivotPattern(rng);
        const rx::String text = PivotText(rng, 16);
        if (!Compare(pattern, text, rng.Percent(20), rng.Percent(50), tally)) ++failures;
    }
    std::printf("%d cases compared, %d with a pivot, %d with matches, %d through the automata\n", tally.compared,
                tally.pivoted, tally.matched, tally.automata);
    EXPECT_GT(tally.compared, 5000);
    EXPECT_GT(tally.pivoted, tally.compared / 3);
    EXPECT_GT(tally.matched, tally.compared / 4);
    EXPECT_GT(tally.automata, tally.compared / 3);
}

// Long texts: the starts the pivot allows are remembered between calls, and a run of many
// matches and many failed starts must give the same matches.
TEST(RegExpPivot, LongTextsFindTheSameMatchesWithAndWithoutThePivot) {
    const char* const patterns[] = {"[\\w\\.+-]+@[\\w\\.-]+\\.[\\w\\.-]+", "\\w+([-+.]\\w+)*@\\w+([-.]\\w+)*\\.\\w+([-.]\\w+)*",
                                    "[\\w]+://[^/\\s?#]+[^\\s?#]+(?:\\?[^\\s#]*)?(?:#[^\\s]*)?", "(a+)@\\1", "[ab]+?@b"};
    static const char* const kWords[] = {"ab", "a.b", "a@b.c", "x://y/z?q#f", "aa@aa", " ", "\r\n", "@", "::", "b+a"};
    Tally tally;
    for (uint64_t seed = 1; seed <= 6; ++seed) {
        Random rng(seed);
        rx::String text;
        while (text.size() < 20'000) text += Units(rng.Pick(kWords));
        for (const char* p : patterns) {
            EXPECT_TRUE(Compare(Units(p), text, false, true, tally)) << p;
        }
    }
    EXPECT_EQ(tally.pivoted, tally.compared);
    EXPECT_GT(tally.matched, tally.compared / 2);
}

// The pivot is found where every match consumes the unit before anything else it could be,
// and not where a match may do without it or take it earlier.
TEST(RegExpPivot, ThePivotIsTheFirstUnitEveryMatchNeedsAndNothingBeforeItCanBe) {
    auto pivot = [](const char* p, bool ignoreCase = false) {
        return Build(Units(p), ignoreCase, true, true)->start.pivot.unit;
    };
    EXPECT_EQ(pivot("[\\w\\.+-]+@[\\w\\.-]+\\.[\\w\\.-]+"), '@');
    EXPECT_EQ(pivot("\\w+([-+.]\\w+)*@\\w+([-.]\\w+)*\\.\\w+([-.]\\w+)*"), '@');
    EXPECT_EQ(pivot("[\\w]+://[^/\\s?#]+"), ':');
    EXPECT_EQ(pivot("(?:(?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\\.){3}(?:25[0-5]|[01]?[0-9][0-9]?)"), '.');
    EXPECT_EQ(pivot("[a-zA-Z0-9][-a-zA-Z0-9]{0,62}(\\.[a-zA-Z0-9][-a-zA-Z0-9]{0,62})+\\.?"), '.');
    EXPECT_EQ(pivot("((2(5[0-5]|[0-4]\\d))|[0-1]?\\d{1,2})(\\.((2(5[0-5]|[0-4]\\d))|[0-1]?\\d{1,2})){3}"), '.');
    EXPECT_EQ(pivot("[a-z]+1", true), '1');
    // the unit among those before it: the next unit is taken, or none
    EXPECT_EQ(pivot("[ab@]+@c"), 'c');
    EXPECT_EQ(pivot("\\w+x@"), '@');
    EXPECT_EQ(pivot("[a-z]+k", true), -1);  // k shares its case class (K, the Kelvin sign)
    EXPECT_EQ(pivot("(\\w)\\1@"), -1);      // a back-reference may take any unit
    // not consumed by every match
    EXPECT_EQ(pivot("\\w(?=.*@)\\w"), -1);
    EXPECT_EQ(pivot("\\w+@?x"), -1);
    EXPECT_EQ(pivot("\\w@*"), -1);
    EXPECT_EQ(pivot("(?:a+@|b+)-c"), '-');
    EXPECT_EQ(pivot("a+@|b"), -1);
    // a first unit is left to the filters on the first units, a literal start to its own scan
    EXPECT_EQ(pivot("\\.\\w+@"), '@');
    EXPECT_EQ(pivot("https?://([\\w-]+\\.)+"), -1);
    // a look-ahead's leading literal, even where a unit before it may be its first
    EXPECT_EQ(pivot("\\b\\w+(?=ing\\b)"), 'i');
    EXPECT_EQ(Build(Units("\\b\\w+(?=ing\\b)"), false, true, true)->start.pivot.literal,
              (std::basic_string<uint16_t>{'i', 'n', 'g'}));
    EXPECT_EQ(pivot("[ab]+(?=(?:c)d)"), 'c');
    EXPECT_EQ(pivot("[ab]+(?!c)"), -1);
    EXPECT_EQ(pivot("[ab]+(?=[cd])"), -1);
    EXPECT_EQ(pivot("[ab]+(?=k)", true), -1);
    // nor one whose runs take in spaces: they reach across words and rule out next to nothing
    EXPECT_EQ(pivot("<[^>]*>"), -1);
    EXPECT_EQ(pivot("a[^x]*x"), -1);
    EXPECT_EQ(pivot(".*:"), -1);
    EXPECT_EQ(pivot("[^\\s@]+@"), '@');

    // and those still give every match, a wrong pivot on the unit would miss some
    const char* const cases[][2] = {{"[ab@]+@c", "a@@c ab@c @c"},    {"\\w(?=.*@)\\w", "ab @ ab"},
                                    {"\\w+@?x", "abx a@x"},         {"\\w@*", "a a@@ @a"},
                                    {"(?:a+@|b+)-c", "bb-c aa@-c"}, {"a+@|b", "bab a@"},
                                    {"[a-z]+1", "ABC1 x1"},         {"a+b1", "AaB1 ab1"}};
    Tally tally;
    for (const auto& [p, t] : cases) {
        for (bool ignoreCase : {false, true}) EXPECT_TRUE(Compare(Units(p), Units(t), ignoreCase, false, tally)) << p;
    }
    EXPECT_EQ(tally.compared, 16);
    EXPECT_EQ(tally.matched, 16);
}

}  // namespace
}  // namespace rxtest
