#include <gtest/gtest.h>

#include "TempFolder.h"
#include "util/clsUtil.h"

using utiltest::TempFolder;

namespace {

std::wstring Repeated(size_t n) {
    std::wstring s;
    for (size_t i = 0; i < n; ++i) s += static_cast<wchar_t>(L'a' + i % 26);
    return s;
}

TEST(IniFile, RoundTripUpTo254Characters) {
    TempFolder dir;
    clsUtil util;
    const std::wstring ini = dir / L"settings.ini";
    for (size_t n : {0u, 1u, 100u, 253u, 254u}) {
        util.WriteIniKeyValue(ini, L"Main", L"Key", Repeated(n));
        EXPECT_EQ(util.ReadIniKeyValue(ini, L"Main", L"Key", L"default"), Repeated(n)) << n;
    }
    util.WriteIniKeyValue(ini, L"Other", L"Key", L"second");
    EXPECT_EQ(util.ReadIniKeyValue(ini, L"Other", L"Key", L""), L"second");
    EXPECT_EQ(util.ReadIniKeyValue(ini, L"Main", L"Key", L""), Repeated(254));
}

TEST(IniFile, LongValuesAreCutAt256WhenWrittenAnd254WhenRead) {
    TempFolder dir;
    clsUtil util;
    const std::wstring ini = dir / L"long.ini";
    util.WriteIniKeyValue(ini, L"S", L"k255", Repeated(255));
    util.WriteIniKeyValue(ini, L"S", L"k256", Repeated(256));
    util.WriteIniKeyValue(ini, L"S", L"k300", Repeated(300));
    const std::string file = utiltest::ReadBytes(ini);
    const std::wstring wide = Repeated(300);
    const std::string a(wide.begin(), wide.end());
    EXPECT_NE(file.find("k255=" + a.substr(0, 255) + "\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("k256=" + a.substr(0, 256) + "\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("k300=" + a.substr(0, 256) + "\r\n"), std::string::npos) << file;
    EXPECT_EQ(util.ReadIniKeyValue(ini, L"S", L"k256", L""), Repeated(254));
}

TEST(IniFile, MissingFileSectionOrKeyGivesTheDefault) {
    TempFolder dir;
    clsUtil util;
    const std::wstring ini = dir / L"d.ini";
    EXPECT_EQ(util.ReadIniKeyValue(ini, L"S", L"K", L"fallback"), L"fallback");
    util.WriteIniKeyValue(ini, L"S", L"K", L"v");
    EXPECT_EQ(util.ReadIniKeyValue(ini, L"S", L"Other", L"fallback"), L"fallback");
    EXPECT_EQ(util.ReadIniKeyValue(ini, L"T", L"K", L""), L"");
    EXPECT_EQ(util.ReadIniKeyValue(ini, L"S", L"Other", Repeated(300)), Repeated(254));
}

}  // namespace
