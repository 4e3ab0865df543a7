#include <gtest/gtest.h>

#include "TestSupport.h"
#include "util/clsUtil.h"

using namespace utiltest;

namespace {

std::wstring Letters(size_t n) {
    std::wstring s;
    for (size_t i = 0; i < n; ++i) s += static_cast<wchar_t>(L'a' + i % 26);
    return s;
}

std::string Narrow(const std::wstring& ascii) {
    return std::string(ascii.begin(), ascii.end());
}

TEST(IniFile, RoundTripUpTo254Characters) {
    TempFolder dir;
    clsUtil util;
    const std::wstring ini = dir / L"settings.ini";
    for (size_t n : {0u, 1u, 253u, 254u}) {
        util.WriteIniKeyValue(ini, L"Main", L"Key", Letters(n));
        EXPECT_EQ(util.ReadIniKeyValue(ini, L"Main", L"Key", L"default"), Letters(n)) << n;
    }
    util.WriteIniKeyValue(ini, L"Other", L"Key", L"second");
    EXPECT_EQ(util.ReadIniKeyValue(ini, L"Other", L"Key", L""), L"second");
    EXPECT_EQ(util.ReadIniKeyValue(ini, L"Main", L"Key", L""), Letters(254));
}

TEST(IniFile, WritesStopAt256CharactersAndReadsAt254) {
    TempFolder dir;
    clsUtil util;
    const std::wstring ini = dir / L"long.ini";
    util.WriteIniKeyValue(ini, L"S", L"k255", Letters(255));
    util.WriteIniKeyValue(ini, L"S", L"k256", Letters(256));
    util.WriteIniKeyValue(ini, L"S", L"k300", Letters(300));
    const std::string file = ReadBytes(ini);
    EXPECT_NE(file.find("k255=" + Narrow(Letters(255)) + "\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("k256=" + Narrow(Letters(256)) + "\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("k300=" + Narrow(Letters(256)) + "\r\n"), std::string::npos) << file;
    EXPECT_EQ(util.ReadIniKeyValue(ini, L"S", L"k255", L""), Letters(254));
}

TEST(IniFile, MissingFileSectionOrKeyGivesTheDefault) {
    TempFolder dir;
    clsUtil util;
    const std::wstring ini = dir / L"d.ini";
    EXPECT_EQ(util.ReadIniKeyValue(ini, L"S", L"K", L"fallback"), L"fallback");
    util.WriteIniKeyValue(ini, L"S", L"K", L"v");
    EXPECT_EQ(util.ReadIniKeyValue(ini, L"S", L"Other", L"fallback"), L"fallback");
    EXPECT_EQ(util.ReadIniKeyValue(ini, L"T", L"K", L"x"), L"x");
    EXPECT_EQ(util.ReadIniKeyValue(ini, L"S", L"Other", Letters(300)), Letters(254));
}

}  // namespace
