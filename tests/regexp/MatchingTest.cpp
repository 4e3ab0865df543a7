// How matches are found: the global walk, anchors and flags, quantifiers, groups, look-ahead.
#include <gtest/gtest.h>

#include "EngineTestUtil.h"

using namespace rxtest;

TEST(Matching, GlobalWalkAndEmptyMatches) {
    EXPECT_EQ(Matches("a", "banana"), "1:1:a | 3:1:a | 5:1:a");
    EXPECT_EQ(Matches("a", "banana", {.global = false}), "1:1:a");
    EXPECT_EQ(Matches("x*", "ab"), "0:0: | 1:0: | 2:0:");
    EXPECT_EQ(Matches("a*", "baa"), "0:0: | 1:2:aa | 3:0:");
    EXPECT_EQ(Matches("zz", "banana"), "");
    EXPECT_EQ(Matches("", ""), "0:0:");
}

TEST(Matching, AnchorsWithAndWithoutMultiline) {
    Flags m{.multiline = true};
    EXPECT_EQ(Matches("^b", "a\r\nb", m), "3:1:b");
    EXPECT_EQ(Matches("^b", "a\r\nb"), "");
    EXPECT_EQ(Matches("^b", "a"), "");
    EXPECT_EQ(Matches("^", "a\rb\nc", m), "0:0: | 2:0: | 4:0:");
    EXPECT_EQ(Matches("$", "a\rb\nc", m), "1:0: | 3:0: | 5:0:");
    EXPECT_EQ(Matches("^.*$", "ab\r\ncd", m), "0:3:ab\r | 3:0: | 4:2:cd");
    EXPECT_EQ(Matches("a$", "a\na"), "2:1:a");
    EXPECT_EQ(Matches("^$", "x\n\ny", m), "2:0:");
}

TEST(Matching, WordBoundaries) {
    EXPECT_EQ(Matches("\\bab", "ab cab ab_ab"), "0:2:ab | 7:2:ab");
    EXPECT_EQ(Matches("\\Bb", "ab b"), "1:1:b");
    EXPECT_EQ(Matches("\\b", "中a"), "1:0: | 2:0:");
}

TEST(Matching, CaseSensitivityAndFolding) {
    Flags i{.ignoreCase = true};
    EXPECT_EQ(Matches("A", "a"), "");
    EXPECT_EQ(Matches("A", "a", i), "0:1:a");
    EXPECT_EQ(Matches("ж+", "ЖжЖ", i), "0:3:ЖжЖ");
    EXPECT_EQ(Matches("σ", "Σσς", i), "0:1:Σ | 1:1:σ | 2:1:ς");
    EXPECT_EQ(Matches("[à-å]+", "ÀÅx", i), "0:2:ÀÅ");
    EXPECT_EQ(Matches("[^a]", "Aab", i), "2:1:b");
    EXPECT_EQ(Matches("(ab)\\1", "abAB", i), "0:4:abAB");
    EXPECT_EQ(Matches("k", "\xE2\x84\xAA", i), "");                     // the Kelvin sign stays apart
    EXPECT_EQ(Matches("straße", "STRAẞE", i), "0:6:STRAẞE");
}

TEST(Matching, GreedyAndLazyQuantifiers) {
    EXPECT_EQ(Matches("<.*>", "<a><b>"), "0:6:<a><b>");
    EXPECT_EQ(Matches("<.*?>", "<a><b>"), "0:3:<a> | 3:3:<b>");
    EXPECT_EQ(Matches("a??b", "ab"), "0:2:ab");
    EXPECT_EQ(Matches("a+?", "aaa"), "0:1:a | 1:1:a | 2:1:a");
    EXPECT_EQ(Matches("a{2,3}?", "aaaaa"), "0:2:aa | 2:2:aa");
    EXPECT_EQ(Matches("(ab){2,}", "abababx"), "0:6:ababab");
    EXPECT_EQ(Matches("(?:ab){1,2}?c", "ababc"), "0:5:ababc");
    EXPECT_EQ(Matches("x(?:a|ab)*?c", "xababc"), "0:6:xababc");
}

TEST(Matching, GroupsTakePartOrNot) {
    EXPECT_EQ(MatchesWithGroups("(a)|(b)", "ab"), "0:1:a[a,-] | 1:1:b[-,b]");
    EXPECT_EQ(MatchesWithGroups("(a)?b", "b"), "0:1:b[-]");
    // each iteration starts with the groups inside it unset
    EXPECT_EQ(MatchesWithGroups("(?:(a)|b)+", "ab"), "0:2:ab[-]");
    EXPECT_EQ(MatchesWithGroups("(a*)*", "b"), "0:0:[-] | 1:0:[-]");
    EXPECT_EQ(MatchesWithGroups("(a*)+", "b"), "0:0:[] | 1:0:[]");
    EXPECT_EQ(MatchesWithGroups("((a)|b)+", "ab"), "0:2:ab[b,-]");
    EXPECT_EQ(MatchesWithGroups("(z)((a+)?(b+)?(c))*", "zaacbbbcac"), "0:10:zaacbbbcac[z,ac,a,-,c]");
}

TEST(Matching, LookAhead) {
    EXPECT_EQ(Matches("\\w+(?=ing\\b)", "sing doing ring"), "0:1:s | 5:2:do | 11:1:r");
    EXPECT_EQ(Matches("a(?!b)", "abac"), "2:1:a");
    EXPECT_EQ(MatchesWithGroups("(?=(a+))a*b\\1", "baaabac"), "3:3:aba[a]");
    EXPECT_EQ(MatchesWithGroups("(?!(a))\\1b", "b"), "0:1:b[-]");
    EXPECT_EQ(Matches("(?=a)*a", "a"), "0:1:a");
    EXPECT_EQ(Matches("(?=(?!x)a)a", "xa"), "1:1:a");
}

TEST(Matching, BackReferences) {
    EXPECT_EQ(Matches("(\\w)\\1", "aabccd"), "0:2:aa | 3:2:cc");
    EXPECT_EQ(MatchesWithGroups("(a)|\\1b", "b"), "0:1:b[-]");          // unset group matches empty
    EXPECT_EQ(Matches("(a\\1)", "aa"), "0:1:a | 1:1:a");                 // inside its own group: empty
}

TEST(Matching, SubMatchesAndItems) {
    rx::RegExp re;
    re.Pattern(U("(\\d+)-(\\d+)?"));
    re.Global(true);
    rx::MatchCollection mc = re.Execute(U("12-34 5-"));
    ASSERT_EQ(mc.Count(), 2);
    rx::Match m = mc.Item(1);
    EXPECT_EQ(m.FirstIndex(), 6);
    EXPECT_EQ(m.Length(), 2);
    EXPECT_EQ(m.SubMatchCount(), 2);
    EXPECT_EQ(rx::ToUtf8(*m.SubMatch(0)), "5");
    EXPECT_FALSE(m.SubMatch(1).has_value());
    EXPECT_EQ(m.SubMatchIndex(1), -1);
    EXPECT_THROW(mc.Item(2), base::Error);
    EXPECT_THROW(mc.Item(-1), base::Error);
    EXPECT_THROW(m.SubMatch(2), base::Error);
    // a shared text is searched in place and stays alive with the collection
    auto shared = std::make_shared<const rx::String>(U("7-8"));
    rx::MatchCollection fromShared = re.Execute(shared);
    shared.reset();
    ASSERT_EQ(fromShared.Count(), 1);
    EXPECT_EQ(rx::ToUtf8(fromShared.Item(0).ValueView()), "7-8");
    EXPECT_TRUE(re.Test(U("1-")));
    EXPECT_FALSE(re.Test(U("-")));
}

TEST(Matching, LiteralStartsFoundAtEveryOffset) {
    // the search skips ahead several units at a time: a start must be found wherever it lies
    for (size_t len = 1; len <= 11; ++len) {
        for (size_t at = 0; at < len; ++at) {
            std::string text(len, '.');
            text[at] = 'q';
            std::string want = std::to_string(at) + ":1:q";
            EXPECT_EQ(Matches("q", text), want) << text;
            EXPECT_EQ(Matches("q|qz", text), want) << text;          // one first unit, no literal prefix
            if (at + 1 < len) {
                text[at + 1] = 'r';
                EXPECT_EQ(Matches("qr", text), std::to_string(at) + ":2:qr") << text;
            }
        }
    }
    EXPECT_EQ(Matches("中", "一二三四五六中"), "6:1:中");
}

// Shapes whose starts the search picks by its first-unit filter, or passes over after a failed
// attempt: the matches are those of a start-by-start search (long texts, so the vector scans run).
TEST(Matching, ShapesTheSearchFiltersOrSkips) {
    Flags m{.multiline = true};
    EXPECT_EQ(Matches("(\\w)\\1", "中aab-cc dd中ee_aa_"), "1:2:aa | 5:2:cc | 8:2:dd | 11:2:ee | 14:2:aa");
    EXPECT_EQ(Matches("(\\w)\\1", "abcabcabcabcabcabcz中中xx"), "21:2:xx");
    EXPECT_EQ(Matches("(.)\\1", "\n\n\r\r中中"), "2:2:\r\r | 4:2:中中");
    EXPECT_EQ(Matches("lazy|greedy|capture|lookahead", "lalazgreedylazylookahea capture", m),
              "5:6:greedy | 11:4:lazy | 24:7:capture");
    EXPECT_EQ(Matches("\\b\\w+(?=ing\\b)", "singing kingdom thing ring_ing bring", m), "0:4:sing | 16:2:th | 22:5:ring_ | 31:2:br");
    EXPECT_EQ(Matches("\\b\\w", "中ab c_d"), "1:1:a | 4:1:c");
    EXPECT_EQ(Matches("[a-zA-Z0-9][-a-zA-Z0-9]{0,62}(\\.[a-zA-Z0-9][-a-zA-Z0-9]{0,62})+\\.?",
                      "nodot here-and-there a-b.c-d. x..y .z w.中 192.168.0.1"),
              "21:8:a-b.c-d. | 42:11:192.168.0.1");
    EXPECT_EQ(Matches("[a-c][a-c]{0,2}d", "abcabcd aaaad"), "3:4:abcd | 9:4:aaad");
    EXPECT_EQ(Matches("(?:(?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\\.){3}(?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)",
                      "1.2.3 999.1.1.1 10.0.0.256 1.2.3.4"),
              "7:8:99.1.1.1 | 16:9:10.0.0.25 | 27:7:1.2.3.4");
    EXPECT_EQ(Matches("[\\u4E00-\\u9FA5A-Za-z0-9_]+", "中文abc,__9 x\u9FA6y"), "0:5:中文abc | 6:3:__9 | 10:1:x | 12:1:y");
}
