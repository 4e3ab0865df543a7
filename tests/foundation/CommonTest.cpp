#include "controls/foundation/Common.h"
#include "controls/foundation/VisualStyles.h"

#include "host/Error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace foundation;

namespace {

long ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const host::Error& e) {
        return e.Number();
    }
    return 0;
}

// A fresh folder under %TEMP%, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder() {
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        path_ = std::wstring(tmp) + L"foundation_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(GetTickCount());
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() { RemoveTree(L"\\\\?\\" + path_); }
    const std::wstring& Path() const { return path_; }
    void File(const std::wstring& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const {
        std::wstring p = L"\\\\?\\" + path_ + L"\\" + name;
        HANDLE h = CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
        CloseHandle(h);
        SetFileAttributesW(p.c_str(), attributes);
    }
    void Folder(const std::wstring& name) const { CreateDirectoryW((L"\\\\?\\" + path_ + L"\\" + name).c_str(), nullptr); }

private:
    static void RemoveTree(const std::wstring& p) {
        WIN32_FIND_DATAW d;
        HANDLE h = FindFirstFileW((p + L"\\*").c_str(), &d);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::wstring n = d.cFileName;
                if (n == L"." || n == L"..") continue;
                std::wstring full = p + L"\\" + n;
                if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
                else {
                    SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(full.c_str());
                }
            } while (FindNextFileW(h, &d));
            FindClose(h);
        }
        RemoveDirectoryW(p.c_str());
    }
    std::wstring path_;
};

std::set<std::wstring> ListAll(const std::wstring& mask, DWORD attributes) {
    std::set<std::wstring> names;
    for (std::wstring n = ListDirectoryEntry(mask, attributes); !n.empty(); n = ListDirectoryEntry(L"")) names.insert(n);
    return names;
}

}  // namespace

TEST(Common, DirectoryListingHonoursTheAttributeMask) {
    TempFolder t;
    t.File(L"plain.txt");
    t.File(L"archived.txt", FILE_ATTRIBUTE_ARCHIVE);
    t.File(L"hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    t.File(L"中文名.txt");
    t.Folder(L"sub");
    // A trailing backslash lists the whole folder; "." and ".." never appear.
    EXPECT_EQ(ListAll(t.Path() + L"\\", 0), (std::set<std::wstring>{L"plain.txt", L"archived.txt", L"中文名.txt"}));
    EXPECT_EQ(ListAll(t.Path() + L"\\", FILE_ATTRIBUTE_HIDDEN),
              (std::set<std::wstring>{L"plain.txt", L"archived.txt", L"中文名.txt", L"hidden.txt"}));
    EXPECT_EQ(ListAll(t.Path() + L"\\", FILE_ATTRIBUTE_DIRECTORY),
              (std::set<std::wstring>{L"plain.txt", L"archived.txt", L"中文名.txt", L"sub"}));
    EXPECT_EQ(ListAll(t.Path() + L"\\*.none", 0), std::set<std::wstring>{});
    // The listing ended: continuing is an error.
    EXPECT_EQ(ErrorOf([] { ListDirectoryEntry(L""); }), 5);
    // A folder that is not there ends the listing quietly (path not found is error 3); a name the
    // file system rejects (error 123) is reported.
    EXPECT_EQ(ListDirectoryEntry(t.Path() + L"\\missing\\*.*"), L"");
    EXPECT_EQ(ErrorOf([&] { ListDirectoryEntry(t.Path() + L"\\a\"b\\*.*"); }), 52);
}

TEST(Common, LongNonAnsiPathsWorkThroughThePrefix) {
    TempFolder t;
    std::wstring deep = t.Path();
    std::wstring rel;
    for (int i = 0; i < 8; ++i) {
        rel += (rel.empty() ? L"" : L"\\") + std::wstring(L"很长的文件夹名称_") + std::wstring(30, static_cast<wchar_t>(L'a' + i));
        t.Folder(rel);
    }
    t.File(rel + L"\\结果.txt");
    std::wstring full = t.Path() + L"\\" + rel;
    ASSERT_GT(full.size(), 260u);
    EXPECT_EQ(ListAll(full + L"\\", 0), std::set<std::wstring>{L"结果.txt"});
    EXPECT_EQ(GetPathAttributes(full) & FILE_ATTRIBUTE_DIRECTORY, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetPathAttributes(full + L"\\结果.txt") & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(ErrorOf([&] { GetPathAttributes(full + L"\\不存在"); }), 53);
}

TEST(Common, MnemonicKeys) {
    EXPECT_EQ(MnemonicKeyOf(L"&run"), static_cast<UINT>('R'));
    EXPECT_EQ(MnemonicKeyOf(L"Save &As"), static_cast<UINT>('A'));
    EXPECT_EQ(MnemonicKeyOf(L"Fish && Chips"), 0u);
    EXPECT_EQ(MnemonicKeyOf(L"&&"), 0u);
    EXPECT_EQ(MnemonicKeyOf(L"A&&B&c"), static_cast<UINT>('C'));
    EXPECT_EQ(MnemonicKeyOf(L"&a &b"), static_cast<UINT>('B'));  // the last one counts
    EXPECT_EQ(MnemonicKeyOf(L"trailing&"), 0u);
    EXPECT_EQ(MnemonicKeyOf(L""), 0u);
    EXPECT_EQ(MnemonicKeyOf(L"替换(&R)："), static_cast<UINT>('R'));
}

TEST(Common, WordHelpersAndOverflow) {
    EXPECT_EQ(LoWord(0x12345678), 0x5678);
    EXPECT_EQ(HiWord(0x12345678), 0x1234);
    EXPECT_EQ(MakeLong(0x5678, 0x1234), 0x12345678u);
    EXPECT_EQ(SignedLoWord(0x0000FFFF), -1);
    EXPECT_EQ(UnsignedToInteger(65535), -1);
    EXPECT_EQ(IntegerToUnsigned(-1), 65535);
    EXPECT_EQ(ErrorOf([] { UnsignedToInteger(65536); }), 6);
    EXPECT_EQ(ErrorOf([] { IntegerToUnsigned(40000); }), 6);
    EXPECT_EQ(AddUnsigned(0x7FFFFFFF, 1), static_cast<long>(0x80000000UL));
}

TEST(Common, ScreenMetricsColoursAndPictures) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(ScreenPixelsPerInchX(), dpi);
    EXPECT_DOUBLE_EQ(DpiScaleX(), dpi / 96.0);
    EXPECT_EQ(HimetricToPixelsX(2540), dpi);
    EXPECT_EQ(PixelsToHimetricX(dpi), 2540);
    EXPECT_DOUBLE_EQ(TwipsPerPixelCorrection(), 1.0);  // our host measures twips at the screen's DPI

    EXPECT_EQ(TranslateColorValue(0x00123456), 0x00123456);
    EXPECT_EQ(TranslateColorValue(0x80000005), static_cast<long>(GetSysColor(COLOR_WINDOW)));
    EXPECT_EQ(TranslateColorValue(0x800000FF), -1);

    EXPECT_FALSE(PictureFromBitmap(nullptr, true));
    HBITMAP bmp = CreateBitmap(dpi, dpi / 2, 1, 32, nullptr);
    host::Picture pic = PictureFromBitmap(bmp, true);  // the picture owns the bitmap now
    ASSERT_TRUE(pic);
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    pic->get_Width(&w);
    pic->get_Height(&h);
    EXPECT_NEAR(w, 2540, 2);
    EXPECT_NEAR(h, 1270, 2);
    OLE_HANDLE handle = 0;
    pic->get_Handle(&handle);
    EXPECT_EQ(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), bmp);
}

TEST(Common, RenderedPicturesReachTheDC) {
    // A 2x2 red bitmap stretched over 10x10 pixels of a memory bitmap.
    HDC screen = GetDC(nullptr);
    host::UniqueMemoryDC src(CreateCompatibleDC(screen)), dst(CreateCompatibleDC(screen));
    host::UniqueBitmap target(CreateCompatibleBitmap(screen, 10, 10));
    HBITMAP red = CreateCompatibleBitmap(screen, 2, 2);
    ReleaseDC(nullptr, screen);
    {
        host::SelectObjectGuard keep(src.Get(), red);
        RECT r{0, 0, 2, 2};
        host::UniqueBrush brush(CreateSolidBrush(RGB(255, 0, 0)));
        FillRect(src.Get(), &r, brush.Get());
    }
    host::Picture pic = PictureFromBitmap(red, true);
    host::SelectObjectGuard keep(dst.Get(), target.Get());
    RECT rc{0, 0, 10, 10};
    RenderPicture(dst.Get(), pic, rc);
    EXPECT_EQ(GetPixel(dst.Get(), 5, 5), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dst.Get(), 9, 0), RGB(255, 0, 0));
}

TEST(Common, SameFontComparesEveryAttribute) {
    host::FontDesc a, b;
    EXPECT_TRUE(SameFont(nullptr, nullptr));
    EXPECT_FALSE(SameFont(&a, nullptr));
    EXPECT_TRUE(SameFont(&a, &b));
    b.size = 9;
    EXPECT_FALSE(SameFont(&a, &b));
    b = a;
    b.charset = 134;
    EXPECT_FALSE(SameFont(&a, &b));
}

TEST(VisualStyles, StartAndActiveFollowTheComCtlVersion) {
    StartVisualStyles();
    // Without an activation context for version 6 this test program runs on comctl32 5.
    EXPECT_EQ(ComCtlMajorVersion(), 5);
    EXPECT_FALSE(VisualStylesActive());
    // The standard classes exist after the start.
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    EXPECT_TRUE(GetClassInfoExW(nullptr, L"Button", &wc));
}
