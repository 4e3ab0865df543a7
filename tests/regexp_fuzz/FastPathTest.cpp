// The search's shortcuts against the plain search. Each pattern is compiled twice: once as the
// engine compiles it, once with everything the search loop may use to pass over positions
// taken away (start analysis, first-unit filter, skip after a failed attempt, vector scans of
// class loops), so that the matcher is entered at every position and loops are scanned unit by
// unit. Both must find exactly the same matches with the same groups.
#include <gtest/gtest.h>

#include <string>

#include "base/Error.h"
#include "regexp/Matcher.h"
#include "regexp/Parser.h"
#include "regexp/Program.h"
#include "tests/regexp_support/CaseGenerator.h"
#include "tests/regexp_support/Outcome.h"
#include "tests/regexp_support/Random.h"

namespace rxtest {
namespace {

constexpr uint64_t kBudget = 5'000'000;

std::unique_ptr<rx::Program> Build(const rx::String& pattern, bool ignoreCase, bool multiline, bool plain) {
    auto prog = rx::Compile(rx::Parse(pattern), ignoreCase, multiline);
    if (plain) {
        prog->start = rx::StartInfo{};
        for (auto& lanes : prog->setLanes) lanes.clear();
    }
    return prog;
}

// Every match of a Global run, as the spans of each; nullopt when the budget ran out.
std::optional<std::vector<int32_t>> AllSpans(const rx::Program& prog, const rx::String& text) {
    rx::Matcher matcher(prog, text.data(), text.size(), kBudget);
    std::vector<int32_t> spans;
    const size_t perMatch = 2 * (prog.groupCount + 1);
    for (size_t from = 0; from <= text.size();) {
        rx::Status st = matcher.Search(from, spans);
        if (st == rx::Status::NoMatch) break;
        if (st != rx::Status::Match) return std::nullopt;
        const int32_t* found = spans.data() + (spans.size() - perMatch);
        from = static_cast<size_t>(found[1]) + (found[1] == found[0] ? 1 : 0);
    }
    return spans;
}

std::string Show(const std::vector<int32_t>& spans) {
    std::string out;
    for (int32_t v : spans) out += std::to_string(v) + " ";
    return out;
}

struct Tally {
    int compared = 0, matched = 0;
};

// Returns false (and reports) when the two searches disagree.
bool Compare(const rx::String& pattern, const rx::String& text, bool ignoreCase, bool multiline, Tally& tally) {
    std::unique_ptr<rx::Program> fast, plain;
    try {
        fast = Build(pattern, ignoreCase, multiline, false);
        plain = Build(pattern, ignoreCase, multiline, true);
    } catch (const base::Error&) {
        return true;  // rejected patterns have no search to compare
    }
    auto a = AllSpans(*fast, text), b = AllSpans(*plain, text);
    if (!a || !b) return true;  // the shortcuts may finish where the plain search runs out
    ++tally.compared;
    if (!a->empty()) ++tally.matched;
    if (*a == *b) return true;
    ADD_FAILURE() << "pattern \"" << Quote(pattern) << "\" text \"" << Quote(text) << "\" ignoreCase " << ignoreCase
                  << " multiline " << multiline << "\n  with shortcuts: " << Show(*a) << "\n  plain search:   " << Show(*b);
    return false;
}

// Texts that give the shortcuts work: runs of one unit, words, digits and dots, CR LF, CJK.
rx::String ShapedText(Random& rng, int maxLength) {
    static const char16_t* const kPieces[] = {
        u"a", u"b", u"aa", u"bbb", u"ab", u"lazy", u"lazing", u"greedy", u"gr", u"la", u"capture", u"ing", u"sing",
        u"thing ", u"-", u".", u"..", u"a.b", u"x-y.z", u"192.168.1.1", u"255.", u"1", u"22", u"07", u" ", u"\r\n",
        u"\u4E2D", u"\u4E2D\u4E2D", u"\u6587", u"_", u"A", u"Aa", u"__", u"\u00E9\u00C9", u"ab12", u"aaaaaaaaaaaa",
        u"abcabcabcabc", u"9999999999"};
    rx::String out;
    int length = rng.Between(0, maxLength);
    while (static_cast<int>(out.size()) < length) {
        for (const char16_t* p = rng.Pick(kPieces); *p; ++p) out += static_cast<rx::Char>(*p);
    }
    return out;
}

// Patterns shaped like the ones the shortcuts are for: fixed leading steps, a group of one unit
// and a back-reference to it, word boundaries, alternations of words, a class then a loop of a
// wider class then more.
rx::String ShapedPattern(Random& rng) {
    static const char* const kLeads[] = {
        "(\\w)\\1", "(.)\\1", "([ab])\\1\\1", "(a)(b)\\2\\1", "(\\w)(\\w)\\2\\1", "\\b\\w+", "\\B\\w", "\\b\\w",
        "\\w+\\b", "\\ba", "a\\b", "lazy|greedy|capture|lookahead", "la|gr|ing", "lazy|la", "ab|a|b", "(?:ab|ba)c?",
        "[a-z][-a-z]{0,3}", "[a-z][-a-z0-9]{0,62}", "[a-z0-9][-a-z0-9]*", "a[ab]*", "\\w[\\w.]{1,3}", "[ab]{2}b*",
        "\\d{1,3}", "[0-1]?\\d{1,2}", "(?:25[0-5]|2[0-4]\\d|[01]?\\d\\d?)", ".*", ".+", "[^.]+", "\\u4E2D+",
        "[\\u4E00-\\u9FA5A-Za-z0-9_]+", "[a-c\\u4E00-\\u9FA5]{2,}", "(\\w)", "a", "\\w", "", "^", "(a|b)\\1",
        "(\\w)\\1+", "(\\w)x\\1", "\\w(?=ing)", "x?", "(?=a)", "(?!b)\\w", "(?:\\d{1,3}\\.){3}\\d{1,3}",
        "(?:a|b){2,3}c", "(a?){2}b", "(?:ab?){2}", "(?:x?){3}y", "(?:(?:25[0-5]|2[0-4]\\d|[01]?\\d\\d?)\\.){3}",
        "(?:a*){2,}b", "(?:\\w\\b){2}", "(?:a{0,2}b){1,2}", "(?:(a)|b){2}\\w",
        // literals, found by their first and last units together
        "lazy", "ab", "aaab", "ing\\b", "greedy(s)", "\\u4E2D\\u6587"};
    static const char* const kTails[] = {
        "", "", "", "\\.", "(\\.[a-z][-a-z]{0,3})+\\.?", "(?=ing\\b)", "\\1", "ing", "\\b", "\\B", "$", "b",
        "\\w", "[.-]", "(?:\\.\\d+){1,3}", "@", "a*?b", "(a)?", "\\s", "\\u6587", "x"};
    rx::String out;
    auto put = [&](const char* s) {
        while (*s) out += static_cast<rx::Char>(*s++);
    };
    put(rng.Pick(kLeads));
    if (rng.Percent(20)) put(rng.Pick(kLeads));
    put(rng.Pick(kTails));
    if (rng.Percent(15)) {
        put("|");
        put(rng.Pick(kLeads));
    }
    return out;
}

TEST(RegExpFastPaths, ShapedPatternsFindWhatThePlainSearchFinds) {
    Random rng(0x5EA2'C4'2026'1207ull);
    Tally tally;
    int failures = 0;
    for (int i = 0; i < 6000 && failures < 5; ++i) {
        rx::String pattern = ShapedPattern(rng);
        rx::String text = ShapedText(rng, 80);
        if (!Compare(pattern, text, rng.Percent(20), rng.Percent(50), tally)) ++failures;
    }
    std::printf("%d shaped cases compared, %d with matches\n", tally.compared, tally.matched);
    EXPECT_GT(tally.compared, 5000);
    EXPECT_GT(tally.matched, tally.compared / 3);
}

TEST(RegExpFastPaths, GeneratedPatternsFindWhatThePlainSearchFinds) {
    CaseGenerator generator(0xFA57'2026'1207ull);
    Tally tally;
    int failures = 0;
    for (int i = 0; i < 8000 && failures < 5; ++i) {
        Case c = generator.Next();
        c.text += generator.Text(40);
        if (!Compare(c.pattern, c.text, c.ignoreCase, c.multiline, tally)) ++failures;
    }
    std::printf("%d generated cases compared, %d with matches\n", tally.compared, tally.matched);
    EXPECT_GT(tally.compared, 6000);
}

// The shortcuts must be in effect for the shapes they were made for, or the comparisons above
// would prove nothing about them.
TEST(RegExpFastPaths, TheCompilerSetsUpTheShortcutsForTheirShapes) {
    auto compile = [](const char16_t* p) { return Build(rx::String(p, p + std::char_traits<char16_t>::length(p)), false, true, false); };
    {
        auto prog = compile(u"(\\w)\\1");
        const auto& f = prog->start.filter;
        ASSERT_EQ(f.length, 2u);
        ASSERT_EQ(f.same.size(), 1u);
        EXPECT_EQ(f.same[0], std::make_pair(1u, 0u));
        EXPECT_TRUE(f.units[1]['a']);
        EXPECT_FALSE(f.units[1]['-']);
    }
    {
        auto prog = compile(u"lazy|greedy|capture|lookahead");
        const auto& f = prog->start.filter;
        EXPECT_EQ(f.length, 4u);
        EXPECT_EQ(f.firstCount, 3);
        EXPECT_EQ(f.secondCount, 3);  // a, r, o
        EXPECT_TRUE(f.units[2]['z'] && f.units[2]['e'] && f.units[2]['p'] && f.units[2]['o']);
        EXPECT_FALSE(f.units[2]['a']);
    }
    {
        auto prog = compile(u"\\b\\w+(?=ing\\b)");
        const auto& f = prog->start.filter;
        EXPECT_EQ(f.length, 1u);
        ASSERT_EQ(f.edges.size(), 1u);
        EXPECT_EQ(f.edges[0], std::make_pair(0u, true));
        EXPECT_FALSE(f.firstOnly);
    }
    {
        auto prog = compile(u"[a-zA-Z0-9][-a-zA-Z0-9]{0,62}(\\.[a-zA-Z0-9][-a-zA-Z0-9]{0,62})+\\.?");
        EXPECT_GE(prog->start.skipLoop, 0);
        EXPECT_EQ(prog->start.skipLead, 1u);
        EXPECT_GE(prog->start.filter.length, 1u);
    }
    {
        // a counted loop is left only after its minimum: every match has at least 7 units
        auto prog = compile(u"(?:(?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\\.){3}(?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)");
        const auto& f = prog->start.filter;
        ASSERT_EQ(f.length, 4u);
        EXPECT_TRUE(f.units[1]['.'] && f.units[1]['7'] && f.units[3]['.']);
        EXPECT_FALSE(f.units[0]['.']);
    }
    // a back-reference anywhere keeps the skip off; a pattern that may match empty has no filter
    EXPECT_EQ(compile(u"[a-z]+(x)\\1")->start.skipLoop, -1);
    EXPECT_EQ(compile(u"a*")->start.filter.length, 0u);
    EXPECT_EQ(compile(u"(ab)\\1c")->start.filter.length, 2u);  // a group of two units: not followed
}

}  // namespace
}  // namespace rxtest
