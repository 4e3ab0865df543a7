// Counting a plain ASCII literal on the raw bytes: which compiled patterns are such a literal,
// and that the count on the bytes is the engine's Count on the decoded text, whatever the text
// holds around the literal (other characters, broken bytes, overlapping occurrences).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "regexp/Program.h"
#include "regexp/RegExp.h"
#include "rxgrep/Literal.h"

namespace {

struct Flags {
    bool ignoreCase = false, multiline = false, first = false;
};

std::string LiteralOf(const std::string& pattern, Flags f = {}) {
    rx::RegExp re;
    re.Pattern(rx::FromUtf8(pattern));
    re.IgnoreCase(f.ignoreCase);
    re.Multiline(f.multiline);
    return rxgrep::AsciiLiteral(re.Compiled());
}

// The engine's count and the count on the bytes, for a pattern that is a literal.
void ExpectTheEnginesCount(const std::string& pattern, const std::string& bytes, Flags f, const std::string& what) {
    rx::RegExp re;
    re.Pattern(rx::FromUtf8(pattern));
    re.IgnoreCase(f.ignoreCase);
    re.Multiline(f.multiline);
    re.Global(!f.first);
    const std::string literal = rxgrep::AsciiLiteral(re.Compiled());
    ASSERT_FALSE(literal.empty()) << pattern;
    ASSERT_EQ(rxgrep::CountOccurrences(bytes, literal, f.first), static_cast<uint64_t>(re.Count(rx::FromUtf8(bytes))))
        << pattern << " in " << what << " (" << bytes.size() << " bytes)";
}

}  // namespace

TEST(AsciiLiteral, PlainAsciiSequencesAreLiteralsAndNothingElseIs) {
    struct {
        const char* pattern;
        Flags flags;
        const char* literal;  // "" where it is no literal
    } cases[] = {
        {"a", {}, "a"},
        {"hello world", {}, "hello world"},
        {"a\\.b\\*", {}, "a.b*"},                  // escaped metacharacters are plain characters
        {"\\x41\\u0042", {}, "AB"},
        {"\\r\\n", {}, "\r\n"},
        {"(ab)c", {}, "abc"},                      // a group matches what its content matches
        {"abc", {false, true}, "abc"},             // multiline changes only anchors
        {"2026-12-07", {true}, "2026-12-07"},      // case-insensitive without letters
        {"", {}, ""},                              // the empty pattern matches everywhere
        {"a|b", {}, ""},
        {"ab*", {}, ""},
        {"a{2}", {}, ""},                          // the same text as "aa", but counted by the engine
        {"^abc", {}, ""},
        {"abc$", {false, true}, ""},
        {"\\bab", {}, ""},
        {"a.c", {}, ""},
        {"[a]", {}, ""},
        {"\\d", {}, ""},
        {"a(?=b)", {}, ""},
        {"(a)\\1", {}, ""},
        {"é", {}, ""},                             // not ASCII: its bytes may come from other text
        {"x中", {}, ""},
        {"abc", {true}, ""},                       // letters with case: more than one text
        {"k", {true}, ""},                         // 'k', 'K' and the Kelvin sign
        {"1a", {true}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(LiteralOf(c.pattern, c.flags), c.literal) << c.pattern;
}

TEST(AsciiLiteral, CountsAsTheEngineOnHandPickedTexts) {
    struct {
        const char* pattern;
        std::string text;
    } cases[] = {
        {"aa", "aaa"}, {"aa", "aaaa"}, {"aa", "aaaaa"}, {"aba", "ababababa"}, {"a", ""}, {"abc", "ab"},
        {"\\r\\n", "\r\n\r\r\n\n\r\n"}, {"\\n", "a\nb\r\n"}, {"\\r", "\r\r\n\r"},
        {"ab", "\xE4\xB8\xAD" "ab\xFF" "ab\xC3" "ab"},   // beside CJK and broken bytes
        {"\\x00", std::string("a\0b\0\0", 5)},
        {"\\?", "?\xEF\xBF\xBD?"},                         // U+FFFD's own bytes are no '?'
    };
    for (const auto& c : cases)
        for (bool first : {false, true}) ExpectTheEnginesCount(c.pattern, c.text, {false, false, first}, c.text);
}

TEST(AsciiLiteral, CountsAsTheEngineOnGeneratedTexts) {
    // small alphabets make overlapping and adjacent occurrences common; lengths cross the
    // sixteen-byte vectors and the 255 rounds after which the byte count is summed
    const std::vector<std::string> alphabets[] = {
        {"a", "b"},
        {"a", "b", "\r", "\n", "\r\n"},
        {"a", "ab", "\xE4\xB8\xAD", "\xE6\x96\x87", " "},
        {"a", "b", "\xFF", "\x80", "\xE4\xB8", "\xC3", "\xF0\x9F\x98\x80", "\xED\xA0\x80"},
        {"1", "2", "-", "12", "\xEF\xBC\x91"},  // digits and a full-width one
    };
    const std::pair<const char*, Flags> patterns[] = {
        {"a", {}}, {"b", {}}, {"aa", {}}, {"ab", {}}, {"aba", {}}, {"abab", {}}, {"aaaaaaaaaaaaaaaaa", {}},
        {"\\r\\n", {}}, {"a\\r\\nb", {}}, {"\\n", {false, true}}, {"12", {true}}, {"1-2", {true}}, {"-", {true}},
    };
    std::mt19937 rng(20261207);
    for (const auto& alphabet : alphabets)
        for (size_t bytes : {0, 5, 15, 16, 17, 33, 300, 4079, 4080, 4081, 9000, 70000}) {
            std::string text;
            while (text.size() < bytes) text += alphabet[rng() % alphabet.size()];
            for (const auto& [pattern, flags] : patterns)
                for (bool first : {false, true}) {
                    Flags f = flags;
                    f.first = first;
                    ExpectTheEnginesCount(pattern, text, f, "generated text");
                }
        }
}

TEST(AsciiLiteral, OneByteCountAtEveryOffsetOfTheVectors) {
    // a lone hit, and a run of hits, at every place of the first and last vectors
    for (size_t at = 0; at < 64; ++at) {
        std::string text(4096 + 40, 'x');
        text[at] = 'a';
        text[text.size() - 1 - at] = 'a';
        EXPECT_EQ(rxgrep::CountOccurrences(text, "a", false), 2u) << at;
        EXPECT_EQ(rxgrep::CountOccurrences(text.substr(at + 1), "a", false), 1u) << at;  // the first cut off
    }
    EXPECT_EQ(rxgrep::CountOccurrences(std::string(100000, 'a'), "a", false), 100000u);
}
