// What the dialect accepts, what each construct means, and how a rejected pattern is reported.
#include <gtest/gtest.h>

#include "EngineTestUtil.h"

using namespace rxtest;

TEST(Syntax, DotMatchesEverythingButLineFeed) {
    EXPECT_EQ(Matches("a.c", "abc a\rc a\nc a\x01" "c"), "0:3:abc | 4:3:a\rc | 12:3:a\x01" "c");
}

TEST(Syntax, ClassEscapesAreTheAsciiSets) {
    EXPECT_EQ(Matches("\\d+", "x12٣4"), "1:2:12 | 4:1:4");            // Arabic-Indic three is no digit
    EXPECT_EQ(Matches("\\w+", "ab_9 é中"), "0:4:ab_9");                 // no letters outside ASCII
    EXPECT_EQ(Matches("\\s", " \f\n\r\t\v\xC2\xA0x"), "0:1:  | 1:1:\f | 2:1:\n | 3:1:\r | 4:1:\t | 5:1:\v");
    EXPECT_EQ(Matches("\\D\\W\\S", "a-b1 c"), "0:3:a-b");
}

TEST(Syntax, CharacterClasses) {
    EXPECT_EQ(Matches("[a-c]+", "xabcd"), "1:3:abc");
    EXPECT_EQ(Matches("[^a-c]+", "abxyc"), "2:2:xy");
    EXPECT_EQ(Matches("[\\b]", "a\bb"), "1:1:\b");                      // backspace inside a class
    EXPECT_EQ(Matches("[\\w-.]+", "a-b.c d"), "0:5:a-b.c | 6:1:d");             // hyphen beside a class escape
    EXPECT_EQ(Matches("[.-\\d]+", "1-.x"), "0:3:1-.");
    EXPECT_EQ(Matches("[a-]+", "-a-b"), "0:3:-a-");
    EXPECT_EQ(Matches("[]a]", "]a"), "");                               // [] is empty, then "a]"
    EXPECT_EQ(Matches("[^]", "ab"), "0:1:a | 1:1:b");
    EXPECT_EQ(Matches("[\\u4e00-\\u9fa5]+", "ab中文c"), "2:2:中文");
    EXPECT_EQ(Matches("[\\x41-\\x43]+", "ABCD"), "0:3:ABC");
}

TEST(Syntax, EscapesOfSingleUnits) {
    EXPECT_EQ(Matches("\\f\\n\\r\\t\\v", "\f\n\r\t\v"), "0:5:\f\n\r\t\v");
    EXPECT_EQ(Matches("\\x41\\u4E2d", "A中"), "0:2:A中");
    EXPECT_EQ(Matches("\\x4", "x4"), "0:2:x4");                         // not two hex digits: a literal x
    EXPECT_EQ(Matches("\\u12", "u12"), "0:3:u12");
    EXPECT_EQ(Matches("\\cJ\\cm", "\n\r"), "0:2:\n\r");
    EXPECT_EQ(Matches("\\c1", "\\c1"), "0:3:\\c1");                     // no letter: a backslash and a c
    EXPECT_EQ(Matches("\\11\\011\\0011", "\t\t\x01" "1"), "0:4:\t\t\x01" "1");
    EXPECT_EQ(Matches("\\400", std::string("\x20") + "0"), "0:2: 0");   // over 255: two digits only
    EXPECT_EQ(Matches("\\8\\9\\q\\.\\/", "89q./"), "0:5:89q./");        // identity escapes
}

TEST(Syntax, BackReferenceOrOctalByTheGroupsBeforeIt) {
    EXPECT_EQ(Matches("(a)\\1", "aa"), "0:2:aa");
    EXPECT_EQ(Matches("(a\\1)", "aa"), "0:1:a | 1:1:a");               // its own open group counts
    EXPECT_EQ(Matches("\\1(a)", "\x01" "a"), "0:2:\x01" "a");         // no group before it: octal
    EXPECT_EQ(Matches("\\12(a)", "\na"), "0:2:\na");
    EXPECT_EQ(Matches("(a)\\10", "aa0"), "0:3:aa0");                    // group 1 then a literal 0
    EXPECT_EQ(Matches("(A)\\101", "AA"), "0:2:AA");                     // \nml with n 0-3: octal
    EXPECT_EQ(Matches("\\141|()", "a"), "0:1:a | 1:0:");
    EXPECT_EQ(Matches("\\9", "9"), "0:1:9");
    std::string ten = "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)";
    EXPECT_EQ(Matches(ten + "\\10", "abcdefghijj"), "0:11:abcdefghijj");
}

TEST(Syntax, BracesThatAreNoQuantifierAreLiterals) {
    EXPECT_EQ(Matches("a{2}", "aaa"), "0:2:aa");
    EXPECT_EQ(Matches("a{2,}", "aaaa"), "0:4:aaaa");
    EXPECT_EQ(Matches("a{1,2}", "aaa"), "0:2:aa | 2:1:a");
    EXPECT_EQ(Matches("a{,2}", "a{,2}"), "0:5:a{,2}");
    EXPECT_EQ(Matches("{x}", "{x}"), "0:3:{x}");
    EXPECT_EQ(Matches("a{1", "a{1"), "0:3:a{1");
    EXPECT_EQ(Matches("]}", "]}"), "0:2:]}");
}

TEST(Syntax, RejectedPatternsCarryThePlatformNumbers) {
    EXPECT_EQ(ErrorOf("("), 5020);
    EXPECT_EQ(ErrorOf("(a|b"), 5020);
    EXPECT_EQ(ErrorOf("a)"), 5017);
    EXPECT_EQ(ErrorOf("(?<a)"), 5017);
    EXPECT_EQ(ErrorOf("a\\"), 5017);
    EXPECT_EQ(ErrorOf("a{3,2}"), 5017);
    EXPECT_EQ(ErrorOf("*a"), 5018);
    EXPECT_EQ(ErrorOf("a**"), 5018);
    EXPECT_EQ(ErrorOf("a|?"), 5018);
    EXPECT_EQ(ErrorOf("^*"), 5018);
    EXPECT_EQ(ErrorOf("\\b+"), 5018);
    EXPECT_EQ(ErrorOf("{2}"), 5018);
    EXPECT_EQ(ErrorOf("[abc"), 5019);
    EXPECT_EQ(ErrorOf("[a-"), 5019);
    EXPECT_EQ(ErrorOf("[z-a]"), 5021);
    EXPECT_EQ(ErrorOf("a*?"), 0);
    EXPECT_EQ(ErrorOf("(?=a)*"), 0);

    rx::RegExp re;
    re.Pattern(U("["));
    try {
        re.Test(U("x"));
        FAIL() << "no error";
    } catch (const base::Error& e) {
        EXPECT_EQ(e.Description(), L"Expected ']' in regular expression");
    }
    re.Pattern(U("[a]"));   // a new pattern clears the failure
    EXPECT_TRUE(re.Test(U("a")));
}
