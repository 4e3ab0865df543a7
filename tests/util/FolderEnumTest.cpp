#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "TempFolder.h"
#include "util/clsUtil.h"

using utiltest::MakeFolder;
using utiltest::TempFolder;
using utiltest::WriteBytes;

namespace {

// The component's order is its own; compare as sorted name lists, after checking the joining.
std::wstring Sorted(const std::wstring& joined) {
    std::vector<std::wstring> names;
    size_t from = 0;
    for (;;) {
        size_t bar = joined.find(L'|', from);
        names.push_back(joined.substr(from, bar - from));
        if (bar == std::wstring::npos) break;
        from = bar + 1;
    }
    std::sort(names.begin(), names.end());
    std::wstring out;
    for (const auto& n : names) out += (out.empty() ? L"" : L"|") + n;
    return out;
}

TEST(FolderEnum, FilesAndSubfoldersByNameJoinedWithBars) {
    TempFolder dir;
    clsUtil util;
    WriteBytes(dir / L"a.txt", "a");
    WriteBytes(dir / L"b.txt", "b");
    WriteBytes(dir / L"\u4E2D\u6587.txt", "c");
    MakeFolder(dir / L"sub1");
    MakeFolder(dir / L"\uD55C");
    WriteBytes(dir / L"sub1\\inner.txt", "i");

    std::wstring files = util.EnumFilesInFolder(dir.Path());
    EXPECT_EQ(Sorted(files), L"a.txt|b.txt|\u4E2D\u6587.txt");
    EXPECT_FALSE(files.starts_with(L"|") || files.ends_with(L"|"));
    EXPECT_EQ(Sorted(util.EnumSubFoldersInFolder(dir.Path())), L"sub1|\uD55C");

    // With or without the trailing separator.
    std::wstring bare = dir.Path().substr(0, dir.Path().size() - 1);
    EXPECT_EQ(util.EnumFilesInFolder(bare), files);
    EXPECT_EQ(util.EnumFilesInFolder(dir / L"sub1"), L"inner.txt");
}

TEST(FolderEnum, TwoFilesGiveExactlyTwoNames) {
    TempFolder dir;
    clsUtil util;
    WriteBytes(dir / L"a.txt", "a");
    WriteBytes(dir / L"b.txt", "b");
    std::wstring files = util.EnumFilesInFolder(dir.Path());
    EXPECT_TRUE(files == L"a.txt|b.txt" || files == L"b.txt|a.txt") << files.c_str();
}

TEST(FolderEnum, EmptyMissingAndUnnamedFoldersGiveNothing) {
    TempFolder dir;
    clsUtil util;
    EXPECT_EQ(util.EnumFilesInFolder(L""), L"");
    EXPECT_EQ(util.EnumSubFoldersInFolder(L""), L"");
    EXPECT_EQ(util.EnumFilesInFolder(dir / L"missing"), L"");
    EXPECT_EQ(util.EnumSubFoldersInFolder(dir / L"missing\\deeper\\"), L"");
    EXPECT_EQ(util.EnumFilesInFolder(dir.Path()), L"");
    EXPECT_EQ(util.EnumSubFoldersInFolder(dir.Path()), L"");

    // Files only: no subfolders; subfolders only: no files.
    WriteBytes(dir / L"f.txt", "f");
    EXPECT_EQ(util.EnumSubFoldersInFolder(dir.Path()), L"");
    MakeFolder(dir / L"only");
    MakeFolder(dir / L"only\\s");
    EXPECT_EQ(util.EnumFilesInFolder(dir / L"only\\"), L"");
}

TEST(FolderEnum, AFolderHoldingOnlyHiddenEntriesIsListedLikeAnyOther) {
    TempFolder dir;
    clsUtil util;
    MakeFolder(dir / L"h");
    WriteBytes(dir / L"h\\secret.txt", "s");
    ::SetFileAttributesW((dir / L"h\\secret.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    const std::wstring without = util.EnumFilesInFolder(dir / L"h");
    EXPECT_EQ(util.EnumFilesInFolder(dir / L"h\\"), without);
}

TEST(FolderEnum, AHiddenFolderCountsAsMissing) {
    TempFolder dir;
    clsUtil util;
    MakeFolder(dir / L"hidden");
    WriteBytes(dir / L"hidden\\x.txt", "x");
    ::SetFileAttributesW((dir / L"hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(util.EnumFilesInFolder(dir / L"hidden"), L"");
}

TEST(FolderEnum, AFileWhereAFolderIsExpectedIsTheCallersError) {
    TempFolder dir;
    clsUtil util;
    WriteBytes(dir / L"plain.txt", "p");
    EXPECT_THROW(util.EnumFilesInFolder(dir / L"plain.txt"), base::Error);
}

}  // namespace
