// Replace: every match or the first, and the $-substitutions of the replacement text.
#include <gtest/gtest.h>

#include "EngineTestUtil.h"

using namespace rxtest;

TEST(Replace, GlobalOrFirstOnly) {
    EXPECT_EQ(Replace("a", "banana", "o"), "bonono");
    EXPECT_EQ(Replace("a", "banana", "o", {.global = false}), "bonana");
    EXPECT_EQ(Replace("x*", "ab", "-"), "-a-b-");
    EXPECT_EQ(Replace("q", "banana", "o"), "banana");
    EXPECT_EQ(Replace("^", "a\nb", ">", {.multiline = true}), ">a\n>b");
}

TEST(Replace, Substitutions) {
    EXPECT_EQ(Replace("(\\w+) (\\w+)", "hello world", "$2 $1"), "world hello");
    EXPECT_EQ(Replace("b", "abc", "[$&|$`|$'|$$]"), "a[b|a|c|$]c");
    EXPECT_EQ(Replace("b", "abc", "$"), "a$c");
    EXPECT_EQ(Replace("b", "abc", "$x$"), "a$x$c");
    EXPECT_EQ(Replace("(b)", "abc", "$0$2$1"), "a$0$2bc");              // no group 0 or 2: literal
    EXPECT_EQ(Replace("(b)", "abc", "$01$10"), "abb0c");                 // $01 is group 1; $10 is $1 then 0
    EXPECT_EQ(Replace("(a)|(b)", "ab", "[$1$2]"), "[a][b]");            // a group that did not take part: empty
    std::string twelve = "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)";
    EXPECT_EQ(Replace(twelve, "abcdefghijkl", "$12$11$1"), "lka");
    EXPECT_EQ(Replace("中(文)", "说中文吧", "$1$1"), "说文文吧");
}
