#include <windows.h>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "util/clsUtil.h"

using utiltest::ReadBytes;
using utiltest::TempFolder;
using utiltest::WriteBytes;

namespace {

// 中文 and a Hangul syllable, a Thai letter and an emoji (a surrogate pair), none of which
// code page 936 holds.
const std::wstring kChinese = L"\u4E2D\u6587\u6D4B\u8BD5 line 1\r\nline 2";
const std::wstring kOutside936 = L"\uD55C \u0E01 \U0001F600";

TEST(TextFiles, SavedBytesAreTheEncodedTextWithoutAMark) {
    TempFolder dir;
    clsUtil util;
    util.SaveUTF8File(L"\u4E2D", dir / L"u.txt");
    util.SaveANSIFile(L"\u4E2D", dir / L"a.txt");
    EXPECT_EQ(ReadBytes(dir / L"u.txt"), "\xE4\xB8\xAD");
    EXPECT_EQ(ReadBytes(dir / L"a.txt"), "\xD6\xD0");

    util.SaveUTF8File(L"", dir / L"empty.txt");
    EXPECT_EQ(ReadBytes(dir / L"empty.txt"), "");
}

TEST(TextFiles, ReadBackGivesTheSavedText) {
    TempFolder dir;
    clsUtil util;
    util.SaveUTF8File(kChinese + kOutside936, dir / L"u.txt");
    EXPECT_EQ(util.ReadUTF8File(dir / L"u.txt"), kChinese + kOutside936);

    util.SaveANSIFile(kChinese, dir / L"a.txt");
    EXPECT_EQ(util.ReadANSIFile(dir / L"a.txt"), kChinese);
    // The ANSI pair cannot hold what the code page lacks: such characters become "?".
    util.SaveANSIFile(kOutside936, dir / L"b.txt");
    std::wstring back = util.ReadANSIFile(dir / L"b.txt");
    EXPECT_EQ(back.substr(0, 4), L"? ? ");
    EXPECT_EQ(back.find_first_not_of(L"? "), std::wstring::npos);
}

TEST(TextFiles, ReadDropsALeadingUtf8MarkOnly) {
    TempFolder dir;
    clsUtil util;
    WriteBytes(dir / L"marked.txt", "\xEF\xBB\xBF\xE4\xB8\xAD\xEF\xBB\xBF");
    EXPECT_EQ(util.ReadUTF8File(dir / L"marked.txt"), L"\u4E2D\uFEFF");
    WriteBytes(dir / L"gb.txt", "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(util.ReadANSIFile(dir / L"gb.txt"), L"\u4E2D\u6587");
}

TEST(TextFiles, MissingOrUnnamedOrHiddenFilesReadAsEmpty) {
    TempFolder dir;
    clsUtil util;
    EXPECT_EQ(util.ReadUTF8File(L""), L"");
    EXPECT_EQ(util.ReadANSIFile(dir / L"missing.txt"), L"");
    EXPECT_EQ(util.ReadUTF8File(dir / L"no folder\\x.txt"), L"");
    // A folder is not a file.
    EXPECT_EQ(util.ReadUTF8File(dir.Path()), L"");

    WriteBytes(dir / L"hidden.txt", "secret");
    ::SetFileAttributesW((dir / L"hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(util.ReadUTF8File(dir / L"hidden.txt"), L"");
}

TEST(TextFiles, RelativeNamesAreTakenFromTheCurrentFolder) {
    TempFolder dir;
    clsUtil util;
    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryW(dir.Path().c_str()));
    util.SaveUTF8File(L"relative", L"r.txt");
    std::wstring back = util.ReadUTF8File(L"r.txt");
    std::wstring slashed = util.ReadUTF8File(L"./r.txt");
    ::SetCurrentDirectoryW(previous);
    EXPECT_EQ(back, L"relative");
    EXPECT_EQ(slashed, L"relative");
}

TEST(TextFiles, SaveReplacesAnExistingFileWhole) {
    TempFolder dir;
    clsUtil util;
    WriteBytes(dir / L"t.txt", std::string(10000, 'x'));
    util.SaveUTF8File(L"short", dir / L"t.txt");
    EXPECT_EQ(ReadBytes(dir / L"t.txt"), "short");
    util.SaveANSIFile(L"\u6587", dir / L"t.txt");
    EXPECT_EQ(ReadBytes(dir / L"t.txt"), "\xCE\xC4");
    EXPECT_EQ(dir.Listing(), L"t.txt");
}

TEST(TextFiles, FailedSavesAreSilentAndLeaveNothingBehind) {
    TempFolder dir;
    clsUtil util;
    EXPECT_NO_THROW(util.SaveUTF8File(L"x", dir / L"no folder\\x.txt"));
    EXPECT_NO_THROW(util.SaveUTF8File(L"x", L""));
    EXPECT_NO_THROW(util.SaveANSIFile(L"x", dir / L"bad<name>.txt"));

    // A target that cannot be replaced keeps its old content, and no temporary file remains.
    utiltest::MakeFolder(dir / L"sub");
    EXPECT_NO_THROW(util.SaveUTF8File(L"x", dir / L"sub"));
    WriteBytes(dir / L"ro.txt", "old");
    ::SetFileAttributesW((dir / L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_NO_THROW(util.SaveUTF8File(L"new", dir / L"ro.txt"));
    EXPECT_EQ(ReadBytes(dir / L"ro.txt"), "old");
    EXPECT_EQ(dir.Listing(), L"ro.txt|sub");
}

TEST(TextFiles, AReplacedFileKeepsItsHiddenAttribute) {
    TempFolder dir;
    clsUtil util;
    WriteBytes(dir / L"h.txt", "old");
    ::SetFileAttributesW((dir / L"h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    util.SaveANSIFile(L"new", dir / L"h.txt");
    EXPECT_EQ(ReadBytes(dir / L"h.txt"), "new");
    EXPECT_TRUE(::GetFileAttributesW((dir / L"h.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST(TextFiles, AFileThatCannotBeOpenedIsTheCallersError) {
    TempFolder dir;
    clsUtil util;
    WriteBytes(dir / L"locked.txt", "abc");
    HANDLE exclusive = ::CreateFileW((dir / L"locked.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                     OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    try {
        util.ReadUTF8File(dir / L"locked.txt");
        ADD_FAILURE() << "a locked file was read";
    } catch (const base::Error& e) {
        EXPECT_EQ(e.Number(), 3002);
        EXPECT_EQ(e.Description(), L"File could not be opened.");
    }
    // The save is silent and leaves the locked file as it was.
    util.SaveUTF8File(L"new", dir / L"locked.txt");
    ::CloseHandle(exclusive);
    EXPECT_EQ(ReadBytes(dir / L"locked.txt"), "abc");
    EXPECT_EQ(dir.Listing(), L"locked.txt");
}

TEST(TextFiles, LongPathsWithCharactersOutsideTheCodePage) {
    TempFolder dir;
    clsUtil util;
    // Components stay within the host file system's 255 bytes.
    const std::wstring component = std::wstring(90, L'x') + std::wstring(10, L'\u0E01');
    std::wstring folder = dir.Path() + component;
    utiltest::MakeFolder(folder);
    folder += L"\\" + component;
    utiltest::MakeFolder(L"\\\\?\\" + folder);
    std::wstring file = folder + L"\\" + std::wstring(60, L'y') + std::wstring(20, L'\uD55C') + L".txt";
    ASSERT_GT(file.size(), MAX_PATH);
    util.SaveUTF8File(kChinese, file);
    EXPECT_EQ(util.ReadUTF8File(file), kChinese);
}

}  // namespace
