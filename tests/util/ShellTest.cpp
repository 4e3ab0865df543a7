#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "util/clsUtil.h"

namespace {

TEST(Shell, EveryInnerStringNamesAShellFolder) {
    clsUtil util;
    ::CoInitialize(nullptr);
    for (long id = 0; id <= 4; ++id) {
        std::wstring name = util.GetInnerStringFromCLSID(id);
        LPITEMIDLIST item = nullptr;
        HRESULT hr = ::SHParseDisplayName(name.c_str(), nullptr, &item, 0, nullptr);
        EXPECT_EQ(hr, S_OK) << id;
        ::CoTaskMemFree(item);
    }
    ::CoUninitialize();
    EXPECT_EQ(util.GetInnerStringFromCLSID(5), L"");
    EXPECT_EQ(util.GetInnerStringFromCLSID(-1), L"");
}

}  // namespace
