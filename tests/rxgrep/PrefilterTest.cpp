// The look at the raw bytes: where it rules every match out, the engine must find none in the
// decoded text (whatever the bytes hold: broken sequences, surrogate forms, U+FFFD itself), and
// it must rule matches out where a pattern's literal is plainly absent.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "regexp/Program.h"
#include "regexp/RegExp.h"
#include "rxgrep/Prefilter.h"

namespace {

bool RulesOut(const std::unique_ptr<rx::RegExp>& re, const std::string& bytes) {
    return rxgrep::RulesOutEveryMatch(re->Compiled(), bytes);
}

std::unique_ptr<rx::RegExp> Compiled(const std::string& pattern, bool ignoreCase = false) {
    auto re = std::make_unique<rx::RegExp>();
    re->Pattern(rx::FromUtf8(pattern));
    re->IgnoreCase(ignoreCase);
    re->Global(true);
    return re;
}

}  // namespace

TEST(Prefilter, AnAbsentLiteralRulesOutAndAPresentOneDoesNot) {
    struct {
        const char* pattern;
        const char* text;
        bool rulesOut;
    } cases[] = {
        {"zqzqzq", "a text without it, zqzq zqzqz", true},
        {"zqzqzq", "it is here: xzqzqzqx", false},
        {"(zq)+x", "zqzq", true},                    // the group's first unit is only a prefix of one letter
        {"\\w+@\\w+", "no at sign", true},            // the unit every match contains
        {"\\w+@\\w+", "a@b", false},
        {"中文", "中 文 中", true},                   // a literal of three-byte characters
        {"中文", "x中文x", false},
        {"é", "e\xCC\x81", true},                     // two-byte: a combining accent is another text
        {"abc|abd", "ab", false},                     // no literal all matches share: nothing said
        {"a*", "", false},                            // matches the empty text
        {"x?", "zzz", false},
        {"^abc", "x\nabc", false},
    };
    for (const auto& c : cases) {
        auto re = Compiled(c.pattern);
        EXPECT_EQ(RulesOut(re, c.text), c.rulesOut) << c.pattern << " on " << c.text;
        if (c.rulesOut) {
            EXPECT_EQ(re->Count(rx::FromUtf8(c.text)), 0) << c.pattern;
        }
    }
    // ignoring case, the bytes of one spelling prove nothing
    auto folded = Compiled("zqzq", true);
    EXPECT_FALSE(RulesOut(folded, "ZQZQ"));
    EXPECT_EQ(folded->Count(rx::FromUtf8("ZQZQ")), 1);
}

TEST(Prefilter, UnitsThatBrokenBytesAlsoBecomeAreNotLookedFor) {
    // U+FFFD is what a stray byte decodes to, and a surrogate what half of a four-byte form is
    auto replacement = Compiled("\xEF\xBF\xBD");
    EXPECT_FALSE(RulesOut(replacement, "bad \xFF byte"));
    EXPECT_EQ(replacement->Count(rx::FromUtf8("bad \xFF byte")), 1);
    auto highHalf = Compiled("x\xED\xA0\xBD");  // x then the high half of U+1F600
    EXPECT_FALSE(RulesOut(highHalf, "x\xF0\x9F\x98\x80"));
    EXPECT_EQ(highHalf->Count(rx::FromUtf8("x\xF0\x9F\x98\x80")), 1);
    // around such a unit the rest of the literal still counts
    auto around = Compiled("abc\xEF\xBF\xBDxyz");
    EXPECT_TRUE(RulesOut(around, "abc\xFFxy"));
    EXPECT_FALSE(RulesOut(around, "abc\xFFxyz"));
}

TEST(Prefilter, NeverRulesOutWhatTheEngineFinds) {
    // random literal-led patterns over random texts of ASCII, CJK and broken bytes: whenever the
    // bytes rule matches out, the engine agrees that there are none
    const std::string atoms[] = {"a", "b", "z", "中", "文", "\xC3\xA9", "\xEF\xBF\xBD", "\\w", ".", "[ab]", "(a|b)", "x*", "@"};
    const std::string bytes[] = {"a", "b", "z", "@", " ", "中", "文", "\xC3\xA9", "\xFF", "\xE4\xB8", "\xED\xA0\x80", "\xF0\x9F\x98\x80"};
    std::mt19937 rng(4242);
    int ruledOut = 0, agreed = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string pattern;
        for (size_t k = 0, n = 1 + rng() % 4; k < n; ++k) pattern += atoms[rng() % std::size(atoms)];
        if (rng() % 4 == 0) pattern = "(" + pattern + ")+";
        std::string text;
        for (size_t k = 0, n = rng() % 40; k < n; ++k) text += bytes[rng() % std::size(bytes)];
        auto re = Compiled(pattern);
        if (!RulesOut(re, text)) continue;
        ++ruledOut;
        const long long found = re->Count(rx::FromUtf8(text));
        ASSERT_EQ(found, 0) << pattern << " on " << text;
        ++agreed;
    }
    EXPECT_GT(ruledOut, 300);  // the look did fire, often
    EXPECT_EQ(agreed, ruledOut);
}

TEST(Prefilter, FindsTheLiteralWhereverItStandsAmongNearMisses) {
    // near misses share the literal's first and last bytes; the literal itself, once, at every
    // place of a long text, then cut short at the text's end
    auto re = Compiled("zqxqz");
    std::string misses;
    while (misses.size() < 300) misses += "zqqqz zq z zqxrz zrxqz ";
    EXPECT_TRUE(RulesOut(re, misses));
    for (size_t at = 0; at <= misses.size(); ++at) {
        const std::string text = misses.substr(0, at) + "zqxqz" + misses.substr(at);
        ASSERT_FALSE(RulesOut(re, text)) << "at " << at;
        ASSERT_TRUE(RulesOut(re, text.substr(0, at + 4))) << "cut at " << at;
    }
}
