// What the program file carries besides its code: version 1.00 in Chinese (PRC), the icon, and a
// manifest asking for common controls 6.0 (x86) and system DPI awareness.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wbtest {
namespace {

std::wstring ProgramPath() {
    std::wstring path = L"Z:" WORKBENCH_EXE_W;
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

TEST(Resources, VersionIsOneInChinesePrc) {
    std::wstring exe = ProgramPath();
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &len));
    EXPECT_EQ(translation[0], 0x0804);  // Chinese (PRC)
    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\080404b0\\FileVersion", reinterpret_cast<void**>(&text), &len));
    EXPECT_STREQ(text, L"1.00");
}

TEST(Resources, IconAndManifest) {
    HMODULE exe = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    EXPECT_NE(LoadIconW(exe, MAKEINTRESOURCEW(1)), nullptr);
    HRSRC res = FindResourceW(exe, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(res, nullptr);
    std::string manifest(static_cast<const char*>(LockResource(LoadResource(exe, res))), SizeofResource(exe, res));
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("processorArchitecture=\"x86\" publicKeyToken=\"6595b64144ccf1df\""), std::string::npos);
    EXPECT_NE(manifest.find("<dpiAware>true</dpiAware>"), std::string::npos);
    FreeLibrary(exe);
}

}  // namespace
}  // namespace wbtest
