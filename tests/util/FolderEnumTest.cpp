#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "TestSupport.h"
#include "util/clsUtil.h"

using namespace utiltest;

namespace {

// The component delivers names in its own order: compare them sorted.
std::vector<std::wstring> Names(const std::wstring& joined) {
    std::vector<std::wstring> names;
    for (size_t from = 0, bar; !joined.empty(); from = bar + 1) {
        bar = joined.find(L'|', from);
        names.push_back(joined.substr(from, bar - from));
        if (bar == std::wstring::npos) break;
    }
    std::sort(names.begin(), names.end());
    return names;
}

using List = std::vector<std::wstring>;

TEST(FolderEnum, NamesJoinedWithBars) {
    TempFolder dir;
    clsUtil util;
    WriteBytes(dir / L"a.txt", "a");
    WriteBytes(dir / L"b.txt", "b");
    const std::wstring two = util.EnumFilesInFolder(dir.Path());
    EXPECT_TRUE(two == L"a.txt|b.txt" || two == L"b.txt|a.txt") << two.c_str();

    WriteBytes(dir / L"\u4E2D\u6587.txt", "c");
    MakeFolder(dir / L"sub");
    MakeFolder(dir / L"\uD55C");
    WriteBytes(dir / L"sub\\inner.txt", "i");
    EXPECT_EQ(Names(util.EnumFilesInFolder(dir.Path())), (List{L"a.txt", L"b.txt", L"\u4E2D\u6587.txt"}));
    EXPECT_EQ(Names(util.EnumSubFoldersInFolder(dir.Path())), (List{L"sub", L"\uD55C"}));
    EXPECT_EQ(util.EnumFilesInFolder(dir / L"sub"), L"inner.txt");
    EXPECT_EQ(util.EnumFilesInFolder(dir / L"sub\\"), L"inner.txt");

    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(dir.Path().c_str());
    const std::wstring relative = util.EnumFilesInFolder(L"sub");
    ::SetCurrentDirectoryW(previous);
    EXPECT_EQ(relative, L"inner.txt");
}

TEST(FolderEnum, EmptyMissingAndHiddenFoldersGiveNothing) {
    TempFolder dir;
    clsUtil util;
    MakeFolder(dir / L"empty");
    MakeFolder(dir / L"hidden");
    WriteBytes(dir / L"hidden\\x.txt", "x");
    ::SetFileAttributesW((dir / L"hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    for (const std::wstring& path : {std::wstring(), dir / L"missing", dir / L"missing\\deeper\\", dir / L"empty",
                                     dir / L"empty\\", dir / L"hidden"}) {
        EXPECT_EQ(util.EnumFilesInFolder(path), L"") << path.c_str();
        EXPECT_EQ(util.EnumSubFoldersInFolder(path), L"") << path.c_str();
    }
    // A file where a folder is expected is the component's error.
    try {
        util.EnumFilesInFolder(dir / L"hidden\\x.txt");
        ADD_FAILURE() << "a file was listed as a folder";
    } catch (const base::Error& e) {
        EXPECT_EQ(e.Number(), 76);
        EXPECT_EQ(e.Description(), L"Path not found");
    }
}

TEST(FolderEnum, ATrailingSeparatorDoesNotHideAFolderOfHiddenFiles) {
    TempFolder dir;
    clsUtil util;
    MakeFolder(dir / L"h");
    WriteBytes(dir / L"h\\secret.txt", "s");
    ::SetFileAttributesW((dir / L"h\\secret.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(util.EnumFilesInFolder(dir / L"h"), L"secret.txt");
    EXPECT_EQ(util.EnumFilesInFolder(dir / L"h\\"), L"secret.txt");
}

}  // namespace
