#include <windows.h>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "util/CodePage.h"
#include "util/TextFiles.h"
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

namespace {

FILETIME CreationTimeOf(const std::wstring& path) {
    FILETIME created{};
    HANDLE h = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        ::GetFileTime(h, &created, nullptr, nullptr);
        ::CloseHandle(h);
    }
    return created;
}

TEST(TextFiles, AFailedConversionFailsTheSaveAndLeavesTheFile) {
    TempFolder dir;
    WriteBytes(dir / L"t.txt", "the user's text");
    // a code page the system does not have: nothing converts, nothing is written
    EXPECT_EQ(ErrorNumberOf([] { util::Encode(L"abc", 12345); }), 5);
    EXPECT_FALSE(util::SaveTextFile(L"new text", dir / L"t.txt", 12345));
    EXPECT_EQ(ReadBytes(dir / L"t.txt"), "the user's text");
    EXPECT_EQ(dir.Listing(), L"t.txt");
    EXPECT_TRUE(util::SaveTextFile(L"new text", dir / L"t.txt", CP_UTF8));
    EXPECT_EQ(ReadBytes(dir / L"t.txt"), "new text");
}

TEST(TextFiles, SaveKeepsTheFilesIdentity) {
    TempFolder dir;
    clsUtil util;
    // the creation time of the file replaced
    WriteBytes(dir / L"c.txt", "old");
    HANDLE h = ::CreateFileW((dir / L"c.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME old{};
    SYSTEMTIME y2001{2001, 2, 0, 3, 4, 5, 6, 0};
    ::SystemTimeToFileTime(&y2001, &old);
    const bool timeSet = ::SetFileTime(h, &old, nullptr, nullptr);
    ::CloseHandle(h);
    const FILETIME before = CreationTimeOf(dir / L"c.txt");
    util.SaveUTF8File(L"new", dir / L"c.txt");
    EXPECT_EQ(ReadBytes(dir / L"c.txt"), "new");
    if (timeSet && ::CompareFileTime(&before, &old) == 0) {  // where the file system keeps one
        const FILETIME after = CreationTimeOf(dir / L"c.txt");
        EXPECT_EQ(::CompareFileTime(&after, &old), 0);
    }

    // two names of one file: both see the new text, neither is split off
    WriteBytes(dir / L"one.txt", "old");
    ASSERT_TRUE(::CreateHardLinkW((dir / L"two.txt").c_str(), (dir / L"one.txt").c_str(), nullptr));
    util.SaveUTF8File(L"\u4E2D", dir / L"one.txt");
    EXPECT_EQ(ReadBytes(dir / L"one.txt"), "\xE4\xB8\xAD");
    EXPECT_EQ(ReadBytes(dir / L"two.txt"), "\xE4\xB8\xAD");
    util.SaveANSIFile(L"\u4E2D\u6587", dir / L"two.txt");
    EXPECT_EQ(ReadBytes(dir / L"one.txt"), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(dir.Listing(), L"c.txt|one.txt|two.txt");
}

TEST(TextFiles, ANameWithAStreamMakesNoStrayFile) {
    TempFolder dir;
    clsUtil util;
    WriteBytes(dir / L"a.txt", "base");
    util.SaveUTF8File(L"in the stream", dir / L"a.txt:s");
    util.SaveUTF8File(L"in the stream", dir / L"b.txt:s");
    // the file's own content is untouched; the stream is written only where the volume has
    // streams, and no file named after the stream appears
    EXPECT_EQ(ReadBytes(dir / L"a.txt"), "base");
    const std::wstring listing = dir.Listing();
    EXPECT_TRUE(listing == L"a.txt" || listing == L"a.txt|b.txt") << listing.c_str();
}

TEST(TextFiles, AlreadyPrefixedLongNamesAreFound) {
    TempFolder dir;
    clsUtil util;
    util.SaveUTF8File(L"prefixed", dir / L"p.txt");
    MakeFolder(dir / L"sub");
    EXPECT_EQ(util.ReadUTF8File(L"\\\\?\\" + dir.Path() + L"p.txt"), L"prefixed");
    util.SaveUTF8File(L"again", L"\\\\?\\" + dir.Path() + L"p.txt");
    EXPECT_EQ(util.ReadUTF8File(dir / L"p.txt"), L"again");
    EXPECT_EQ(util.EnumSubFoldersInFolder(L"\\\\?\\" + dir.Path()), L"sub");
    EXPECT_EQ(util.ReadUTF8File(L"\\\\?\\" + dir.Path() + L"missing.txt"), L"");
}

}  // namespace

namespace {

TEST(TextFiles, ASymbolicLinkKeepsLeadingToItsFile) {
    TempFolder dir;
    clsUtil util;
    WriteBytes(dir / L"target.txt", "old");
    if (!::CreateSymbolicLinkW((dir / L"link.txt").c_str(), (dir / L"target.txt").c_str(), 0))
        GTEST_SKIP() << "no symbolic links here (error " << ::GetLastError() << ")";
    // (Wine makes a Unix link to the Windows spelling of the target, which leads nowhere)
    if (::GetFileAttributesW((dir / L"link.txt").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "symbolic links made here do not lead to their file";
    util.SaveUTF8File(L"new", dir / L"link.txt");
    EXPECT_EQ(ReadBytes(dir / L"target.txt"), "new");
    EXPECT_EQ(ReadBytes(dir / L"link.txt"), "new");
    // the link is still a link: a change of its file shows through it
    WriteBytes(dir / L"target.txt", "changed");
    EXPECT_EQ(ReadBytes(dir / L"link.txt"), "changed");
    EXPECT_EQ(dir.Listing(), L"link.txt|target.txt");
}

}  // namespace
