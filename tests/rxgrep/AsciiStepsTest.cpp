// Counting patterns of fixed length over ASCII sets on the raw bytes: which compiled patterns are
// such, with which set at each offset, and that the count on the bytes is the engine's Count on
// the decoded text, whatever the text holds around the occurrences (other characters, broken
// bytes, overlapping occurrences).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "regexp/Program.h"
#include "regexp/RegExp.h"
#include "rxgrep/AsciiSteps.h"

namespace {

struct Flags {
    bool ignoreCase = false, multiline = false, first = false;
};

rxgrep::AsciiSteps StepsOf(const std::string& pattern, Flags f = {}) {
    rx::RegExp re;
    re.Pattern(rx::FromUtf8(pattern));
    re.IgnoreCase(f.ignoreCase);
    re.Multiline(f.multiline);
    return rxgrep::AsciiStepsOf(re.Compiled());
}

// Sets written as the bytes each holds, one string per offset.
std::vector<rxgrep::ByteSet> Sets(const std::vector<std::string>& members) {
    std::vector<rxgrep::ByteSet> sets(members.size());
    for (size_t k = 0; k < members.size(); ++k)
        for (char c : members[k]) sets[k].Add(static_cast<unsigned char>(c));
    return sets;
}

// The engine's count and the count on the bytes, for a pattern that is one of fixed ASCII steps.
void ExpectTheEnginesCount(const std::string& pattern, const std::string& bytes, Flags f, const std::string& what) {
    rx::RegExp re;
    re.Pattern(rx::FromUtf8(pattern));
    re.IgnoreCase(f.ignoreCase);
    re.Multiline(f.multiline);
    re.Global(!f.first);
    const rxgrep::AsciiSteps steps = rxgrep::AsciiStepsOf(re.Compiled());
    ASSERT_FALSE(steps.sets.empty()) << pattern;
    ASSERT_EQ(rxgrep::CountOccurrences(bytes, steps.sets, f.first), static_cast<uint64_t>(re.Count(rx::FromUtf8(bytes))))
        << pattern << (f.ignoreCase ? " (-i)" : "") << (f.first ? " (first)" : "") << " in " << what << " ("
        << bytes.size() << " bytes)";
}

const std::string kDigits = "0123456789";
const std::string kUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ", kLower = "abcdefghijklmnopqrstuvwxyz";

}  // namespace

TEST(AsciiSteps, FixedAsciiSetsAreTakenAndNothingElseIs) {
    struct {
        const char* pattern;
        Flags flags;
        std::vector<std::string> sets;  // empty where the pattern is refused
    } cases[] = {
        {"a", {}, {"a"}},
        {"a\\.b\\*", {}, {"a", ".", "b", "*"}},   // escaped metacharacters are plain characters
        {"\\r\\n", {}, {"\r", "\n"}},
        {"(ab)c", {}, {"a", "b", "c"}},           // a group matches what its content matches
        {"[ab]", {}, {"ab"}},
        {"[a]", {}, {"a"}},
        {"\\d\\d", {}, {kDigits, kDigits}},
        {"\\d{2}", {}, {kDigits, kDigits}},       // a repeat of as many at least as at most
        {"a{3}", {}, {"a", "a", "a"}},
        {"\\d{2}\\d", {}, {kDigits, kDigits, kDigits}},
        {"[A-Z][a-z]", {}, {kUpper, kLower}},
        {"x[0-9]y", {}, {"x", kDigits, "y"}},
        {"\\s", {}, {" \f\n\r\t\v"}},             // the dialect's blanks are all ASCII
        {"\\w", {}, {kDigits + kUpper + kLower + "_"}},
        {"[^\\x80-\\uFFFF]", {}, {std::string("\0", 1) + "\x01\x02\x03\x04\x05\x06\x07\x08\t\n\x0B\x0C\r\x0E\x0F"
                                  "\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1A\x1B\x1C\x1D\x1E\x1F"
                                  " !\"#$%&'()*+,-./" + kDigits + ":;<=>?@" + kUpper + "[\\]^_`" + kLower + "{|}~\x7F"}},
        {"ab", {true}, {"aA", "bB"}},             // under -i every unit of the fold
        {"[a-c]x", {true}, {"abcABC", "xX"}},
        {"2026-12-07", {true}, {"2", "0", "2", "6", "-", "1", "2", "-", "0", "7"}},
        {"ab", {false, true}, {"a", "b"}},        // multiline changes only anchors
        {"", {}, {}},                             // the empty pattern matches everywhere
        {"[^a]", {}, {}},                         // these take units above ASCII
        {"\\D", {}, {}},
        {"\\W", {}, {}},
        {"\\S", {}, {}},
        {".", {}, {}},
        {"é", {}, {}},
        {"[aé]", {}, {}},
        {"[a-\\xFF]", {}, {}},
        {"x中", {}, {}},
        {"k", {true}, {"kK"}},                    // the engine's folds keep the Kelvin sign apart
        {"[a-z]", {true}, {kLower + kUpper}},
        {"\\w", {true}, {kDigits + kUpper + kLower + "_"}},
        {"a|b", {}, {"ab"}},                      // compiled as one class
        {"a|bc", {}, {}},                         // and these are no fixed steps
        {"a+", {}, {}},
        {"a{1,2}", {}, {}},
        {"(a){2}", {}, {}},
        {"^a", {}, {}},
        {"a$", {false, true}, {}},
        {"\\ba", {}, {}},
        {"a\\B", {}, {}},
        {"(?=a)", {}, {}},
        {"a(?!b)", {}, {}},
        {"(a)\\1", {}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(StepsOf(c.pattern, c.flags).sets, Sets(c.sets)) << c.pattern;
}

TEST(AsciiSteps, CountsAsTheEngineOnHandPickedTexts) {
    struct {
        const char* pattern;
        std::string text;
    } cases[] = {
        {"aa", "aaa"}, {"aa", "aaaa"}, {"aa", "aaaaa"}, {"aba", "ababababa"}, {"a", ""}, {"abc", "ab"},
        {"\\d\\d", "12345"}, {"\\d\\d", "1\xEF\xBC\x91" "2"},  // a full-width digit is none
        {"[ab][ab]", "abab\xC3\xA1" "ba"}, {"x[0-9]y", "x1yx2x3yxy"},
        {"\\r\\n", "\r\n\r\r\n\n\r\n"}, {"\\n", "a\nb\r\n"}, {"\\s", "a \n\xE3\x80\x80\t"},  // U+3000 is no \s here
        {"ab", "\xE4\xB8\xAD" "ab\xFF" "ab\xC3" "ab"},   // beside CJK and broken bytes
        {"\\x00", std::string("a\0b\0\0", 5)},
        {"\\?", "?\xEF\xBF\xBD?"},                         // U+FFFD's own bytes are no '?'
        {"[^\\x80-\\uFFFF]", "a\xC3\xA9\xFF\x80z\xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases)
        for (bool first : {false, true}) ExpectTheEnginesCount(c.pattern, c.text, {false, false, first}, c.text);
}

TEST(AsciiSteps, CountsAsTheEngineOnGeneratedPatternsAndTexts) {
    // sets of one byte, of a few ranges and of more ranges than the vector test takes; under
    // -i 'k' beside the Kelvin sign (in the texts), which the engine's folds keep apart
    const std::vector<std::string> steps = {"a", "b", "B", "1", "-", "\\n", "[ab]", "[a-c]", "\\d", "[A-Z]", "[aeiouAEIOU0-3_-]",
                                            "[^\\x80-\\uFFFF]", "(b)", "a{2}", "\\d{2}", "[-x]", "[\\r\\n]", "\\w",
                                            "[a-z]", "k", "\\s"};
    // small alphabets make overlapping and adjacent occurrences common; characters of two,
    // three and four bytes, and broken bytes, between them
    const std::vector<std::string> pieces = {"a", "b", "A", "B", "c", "1", "9", "-", "x", "_", " ", "\n", "\r\n", "ab", "12",
                                             "\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80", "\xEF\xBC\x91", "\xE2\x84\xAA",
                                             "\xFF", "\x80", "\xE4\xB8", "\xC3", "\xED\xA0\x80", "\x7F"};
    std::mt19937 rng(20261207);
    for (int round = 0; round < 300; ++round) {
        const bool ignoreCase = round % 3 == 0;
        std::string pattern;
        for (size_t n = 1 + rng() % 4, k = 0; k < n; ++k) {
            pattern += steps[rng() % steps.size()];
        }
        // lengths cross the sixteen-byte vectors and the 255 rounds after which the byte
        // count is summed; the texts are dense with some pieces, sparse with others
        const size_t bytes = std::vector<size_t>{0, 7, 16, 17, 40, 300, 4079, 4081, 9000}[rng() % 9];
        const size_t spread = 2 + rng() % (pieces.size() - 1);
        std::string text;
        while (text.size() < bytes) text += pieces[rng() % spread];
        for (bool first : {false, true}) ExpectTheEnginesCount(pattern, text, {ignoreCase, false, first}, "generated text");
    }
}

TEST(AsciiSteps, OneByteSetsCountedAtEveryOffsetOfTheVectors) {
    // a lone hit, and a run of hits, at every place of the first and last vectors, for a set of
    // one byte, of a range and of more ranges than the vector test takes
    for (const char* pattern : {"a", "[a-c]", "[aeiouAEIOU0-3_-]"}) {
        const auto sets = StepsOf(pattern).sets;
        ASSERT_EQ(sets.size(), 1u) << pattern;
        for (size_t at = 0; at < 64; ++at) {
            std::string text(4096 + 40, 'x');
            text[at] = 'a';
            text[text.size() - 1 - at] = 'a';
            EXPECT_EQ(rxgrep::CountOccurrences(text, sets, false), 2u) << pattern << " " << at;
            EXPECT_EQ(rxgrep::CountOccurrences(text.substr(at + 1), sets, false), 1u) << pattern << " " << at;
            EXPECT_EQ(rxgrep::CountOccurrences(text.substr(at + 1), sets, true), 1u) << pattern << " " << at;
        }
        EXPECT_EQ(rxgrep::CountOccurrences(std::string(100000, 'a'), sets, false), 100000u) << pattern;
    }
}

TEST(AsciiSteps, LeftToTheEngineWhereItsBudgetCouldRunOut) {
    const auto literal = StepsOf("ab"), everyStart = StepsOf("[ab]\\d"), failingStarts = StepsOf("x[0-9]y");
    const uint64_t budget = rx::RegExp::DefaultStepBudget;
    for (const auto* steps : {&literal, &everyStart, &failingStarts}) {
        EXPECT_TRUE(rxgrep::EngineCountsWithinBudget(*steps, budget, 8u << 20));
        EXPECT_FALSE(rxgrep::EngineCountsWithinBudget(*steps, budget - 1, 100));  // a lowered budget: the engine's
        EXPECT_FALSE(rxgrep::EngineCountsWithinBudget(*steps, budget, size_t{INT32_MAX}));  // past 32-bit positions
    }
    // where the engine tries starts that fail (after the 'x' it looks for), their steps add up
    // with the text: a text long enough could spend half the budget in one search
    EXPECT_TRUE(failingStarts.stepsPerStart > 0 && !failingStarts.everyStartMatches);
    EXPECT_FALSE(rxgrep::EngineCountsWithinBudget(failingStarts, budget, budget / 2));
    EXPECT_TRUE(rxgrep::EngineCountsWithinBudget(literal, budget, budget / 2));
    EXPECT_FALSE(rxgrep::EngineCountsWithinBudget(StepsOf("a+"), budget * 2, 10));
}

TEST(AsciiSteps, RunsOfOverlappingOccurrencesAcrossTheVectorsEnds) {
    // every run length around the sixteen-byte blocks, shifted by a few other bytes: an
    // occurrence that reaches past the last block the vectors test must not let the byte-by-byte
    // rest count one that starts inside it
    for (const char* pattern : {"a{2}", "a[ab]", "[ab]{3}", "aaaaa"})
        for (size_t lead = 0; lead < 3; ++lead)
            for (size_t run = 0; run < 70; ++run)
                for (bool first : {false, true})
                    ExpectTheEnginesCount(pattern, std::string(lead, 'x') + std::string(run, 'a'), {false, false, first}, "a run");
}
