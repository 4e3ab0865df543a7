#include <windows.h>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "util/clsUtil.h"

using namespace utiltest;

namespace {

const std::wstring kChinese = L"\u4E2D\u6587\u6D4B\u8BD5 line 1\r\nline 2";
// A Hangul syllable, a Thai letter and an emoji (a surrogate pair): none is in code page 936.
const std::wstring kOutside936 = L"\uD55C \u0E01 \U0001F600";

TEST(TextFiles, SavedBytesAndReadBack) {
    TempFolder dir;
    clsUtil util;
    util.SaveUTF8File(L"\u4E2D", dir / L"u.txt");
    util.SaveANSIFile(L"\u4E2D", dir / L"a.txt");
    EXPECT_EQ(ReadBytes(dir / L"u.txt"), "\xE4\xB8\xAD");
    EXPECT_EQ(ReadBytes(dir / L"a.txt"), "\xD6\xD0");

    util.SaveUTF8File(kChinese + kOutside936, dir / L"u.txt");
    EXPECT_EQ(util.ReadUTF8File(dir / L"u.txt"), kChinese + kOutside936);
    util.SaveANSIFile(kChinese, dir / L"a.txt");
    EXPECT_EQ(util.ReadANSIFile(dir / L"a.txt"), kChinese);
    // What the code page lacks comes back as question marks.
    util.SaveANSIFile(kOutside936, dir / L"a.txt");
    const std::wstring back = util.ReadANSIFile(dir / L"a.txt");
    EXPECT_EQ(back.substr(0, 4), L"? ? ");
    EXPECT_EQ(back.find_first_not_of(L"? "), std::wstring::npos);
    EXPECT_EQ(dir.Listing(), L"a.txt|u.txt");
}

TEST(TextFiles, OnlyALeadingUtf8MarkIsDropped) {
    TempFolder dir;
    clsUtil util;
    WriteBytes(dir / L"marked.txt", "\xEF\xBB\xBF\xE4\xB8\xAD\xEF\xBB\xBF");
    EXPECT_EQ(util.ReadUTF8File(dir / L"marked.txt"), L"\u4E2D\uFEFF");
    WriteBytes(dir / L"gb.txt", "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(util.ReadANSIFile(dir / L"gb.txt"), L"\u4E2D\u6587");
}

TEST(TextFiles, NamesThatFindNoOrdinaryFileReadAsEmpty) {
    TempFolder dir;
    clsUtil util;
    WriteBytes(dir / L"hidden.txt", "secret");
    ::SetFileAttributesW((dir / L"hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    for (const std::wstring& name : {std::wstring(), dir / L"missing.txt", dir / L"no folder\\x.txt", dir.Path(),
                                     dir / L"hidden.txt"})
        EXPECT_EQ(util.ReadUTF8File(name), L"") << name.c_str();
}

TEST(TextFiles, RelativeAndLongNames) {
    TempFolder dir;
    clsUtil util;
    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryW(dir.Path().c_str()));
    util.SaveUTF8File(L"relative", L"r.txt");
    const std::wstring back = util.ReadUTF8File(L"./r.txt");
    ::SetCurrentDirectoryW(previous);
    EXPECT_EQ(back, L"relative");

    // Longer than 260 characters; each component within the host file system's 255 bytes.
    const std::wstring component = std::wstring(90, L'x') + std::wstring(10, L'\u0E01');
    MakeFolder(dir / component);
    MakeFolder(L"\\\\?\\" + dir.Path() + component + L"\\" + component);
    const std::wstring file = dir.Path() + component + L"\\" + component + L"\\" + std::wstring(60, L'y') + L".txt";
    ASSERT_GT(file.size(), MAX_PATH);
    util.SaveUTF8File(kChinese, file);
    EXPECT_EQ(util.ReadUTF8File(file), kChinese);
}

TEST(TextFiles, SaveReplacesAFileWholeAndKeepsItHidden) {
    TempFolder dir;
    clsUtil util;
    WriteBytes(dir / L"t.txt", std::string(10000, 'x'));
    ::SetFileAttributesW((dir / L"t.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    util.SaveUTF8File(L"short", dir / L"t.txt");
    EXPECT_EQ(ReadBytes(dir / L"t.txt"), "short");
    EXPECT_TRUE(::GetFileAttributesW((dir / L"t.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(dir.Listing(), L"t.txt");
}

TEST(TextFiles, FailedSavesAreSilentAndLeaveTheTargetAsItWas) {
    TempFolder dir;
    clsUtil util;
    MakeFolder(dir / L"sub");
    WriteBytes(dir / L"ro.txt", "old");
    ::SetFileAttributesW((dir / L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteBytes(dir / L"locked.txt", "abc");
    HANDLE locked = ::CreateFileW((dir / L"locked.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);

    for (const std::wstring& name : {std::wstring(), dir / L"no folder\\x.txt", dir / L"bad<name>.txt", dir / L"sub",
                                     dir / L"ro.txt", dir / L"locked.txt"}) {
        EXPECT_NO_THROW(util.SaveUTF8File(L"new", name)) << name.c_str();
        EXPECT_NO_THROW(util.SaveANSIFile(L"new", name)) << name.c_str();
    }
    // A file that cannot be opened is the reader's error.
    EXPECT_EQ(ErrorNumberOf([&] { util.ReadUTF8File(dir / L"locked.txt"); }), 3002);
    ::CloseHandle(locked);
    EXPECT_EQ(ReadBytes(dir / L"ro.txt"), "old");
    EXPECT_EQ(ReadBytes(dir / L"locked.txt"), "abc");
    EXPECT_EQ(dir.Listing(), L"locked.txt|ro.txt|sub");
}

}  // namespace
