#include <gtest/gtest.h>

#include "TestSupport.h"
#include "util/clsUtil.h"

namespace {

TEST(RegExpHelpers, SearchGivesPositionMinusOneOrZero) {
    clsUtil util;
    EXPECT_EQ(util.StringSearchByRegExp(L"abcabc", L"c"), 3);
    EXPECT_EQ(util.StringSearchByRegExp(L"abcabc", L"x"), -1);
    EXPECT_EQ(util.StringSearchByRegExp(L"", L"c"), 0);
    EXPECT_EQ(util.StringSearchByRegExp(L"abc", L""), 0);
    // Case-sensitive, multiline anchors, UTF-16 positions, an empty match at the start.
    EXPECT_EQ(util.StringSearchByRegExp(L"ABCabc", L"b"), 5);
    EXPECT_EQ(util.StringSearchByRegExp(L"one\r\ntwo", L"^t"), 6);
    EXPECT_EQ(util.StringSearchByRegExp(L"\U0001F600\u4E2D", L"[\u4E00-\u9FA5]"), 3);
    EXPECT_EQ(util.StringSearchByRegExp(L"abc", L"x*"), 1);
}

TEST(RegExpHelpers, ReplaceRewritesEveryMatch) {
    clsUtil util;
    EXPECT_EQ(util.StringReplaceByRegExp(L"aaa", L"a", L"b"), L"bbb");
    EXPECT_EQ(util.StringReplaceByRegExp(L"aaa", L"", L"b"), L"aaa");
    EXPECT_EQ(util.StringReplaceByRegExp(L"", L"a", L"b"), L"");
    EXPECT_EQ(util.StringReplaceByRegExp(L"Aa", L"a", L"b"), L"Ab");
    EXPECT_EQ(util.StringReplaceByRegExp(L"x1\ny2", L"^(\\w)(\\d)$", L"$2$1"), L"1x\n2y");
}

TEST(RegExpHelpers, ARejectedPatternReachesTheCallerAndNothingIsLeftOver) {
    using utiltest::ErrorNumberOf;
    EXPECT_EQ(ErrorNumberOf([] { clsUtil().StringSearchByRegExp(L"abc", L"(a"); }), 5020);
    EXPECT_EQ(ErrorNumberOf([] { clsUtil().StringReplaceByRegExp(L"abc", L"*", L""); }), 5018);
    EXPECT_EQ(clsUtil().StringSearchByRegExp(L"abc", L"c"), 3);
}

}  // namespace
