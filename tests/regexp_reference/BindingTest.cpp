// The binding to the platform's RegExp object, checked on answers the object is documented to
// give, so that a wrong vtable slot or a misread sub-match shows here and not as a flood of
// differences in the comparison with our engine.
#include <gtest/gtest.h>

#include "tests/regexp_support/ReferenceRegExp.h"

namespace rxtest {
namespace {

class ReferenceBinding : public ::testing::Test {
protected:
    std::vector<MatchRecord> Execute(const wchar_t* pattern, const wchar_t* text, bool global, bool multiline = false) {
        EXPECT_HRESULT_SUCCEEDED(re.Configure(pattern, false, global, multiline));
        std::vector<MatchRecord> matches;
        long count = -1;
        EXPECT_HRESULT_SUCCEEDED(re.Execute(Bstr(text), &matches, &count));
        EXPECT_EQ(count, static_cast<long>(matches.size()));
        return matches;
    }

    ComApartment apartment;
    ReferenceRegExp re;
};

TEST_F(ReferenceBinding, ExecuteListsEveryMatchWithItsSpan) {
    auto all = Execute(L"a", L"banana", true);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].index, 1);
    EXPECT_EQ(all[1].index, 3);
    EXPECT_EQ(all[2].index, 5);
    EXPECT_EQ(all[2].length, 1);
    EXPECT_EQ(all[2].value, L"a");
    EXPECT_EQ(Execute(L"a", L"banana", false).size(), 1u);

    auto line = Execute(L"^b", L"a\r\nb", true, true);
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0].index, 3);
}

TEST_F(ReferenceBinding, SubMatchesTellAGroupThatDidNotTakePart) {
    auto m = Execute(L"(a)|(b)(c)?", L"b", false);
    ASSERT_EQ(m.size(), 1u);
    ASSERT_EQ(m[0].subMatches.size(), 3u);
    EXPECT_FALSE(m[0].subMatches[0].has_value());
    EXPECT_EQ(m[0].subMatches[1], std::optional<rx::String>(L"b"));
    EXPECT_FALSE(m[0].subMatches[2].has_value());
}

TEST_F(ReferenceBinding, TestAndReplaceFollowTheFlags) {
    ASSERT_HRESULT_SUCCEEDED(re.Configure(L"A", false, true, false));
    bool matched = true;
    ASSERT_HRESULT_SUCCEEDED(re.Test(Bstr(L"banana"), &matched));
    EXPECT_FALSE(matched);
    ASSERT_HRESULT_SUCCEEDED(re.Configure(L"A", true, true, false));
    ASSERT_HRESULT_SUCCEEDED(re.Test(Bstr(L"banana"), &matched));
    EXPECT_TRUE(matched);

    rx::String out;
    ASSERT_HRESULT_SUCCEEDED(re.Configure(L"a(n)?", false, true, false));
    ASSERT_HRESULT_SUCCEEDED(re.Replace(Bstr(L"banana"), Bstr(L"<$1>"), &out));
    EXPECT_EQ(out, L"b<n><n><>");
    ASSERT_HRESULT_SUCCEEDED(re.Configure(L"a", false, false, false));
    ASSERT_HRESULT_SUCCEEDED(re.Replace(Bstr(L"banana"), Bstr(L"o"), &out));
    EXPECT_EQ(out, L"bonana");
}

TEST_F(ReferenceBinding, ARejectedPatternFailsEveryCall) {
    ASSERT_HRESULT_SUCCEEDED(re.Configure(L"(", false, true, false));
    std::vector<MatchRecord> matches;
    long count = 0;
    bool matched = false;
    rx::String out;
    EXPECT_HRESULT_FAILED(re.Execute(Bstr(L"a(b"), &matches, &count));
    EXPECT_HRESULT_FAILED(re.Test(Bstr(L"a(b"), &matched));
    EXPECT_HRESULT_FAILED(re.Replace(Bstr(L"a(b"), Bstr(L"x"), &out));
}

}  // namespace
}  // namespace rxtest
