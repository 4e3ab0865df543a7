#include "controls/foundation/ComCtlsBase.h"
#include "FoundationTestSupport.h"

using foundationtest::BoxPresser;
#include "controls/foundation/Subclass.h"

#include "host/Application.h"
#include "host/Error.h"
#include "host/Handles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace foundation;

TEST(ComCtlsBase, VersionLevelIsComputedOnceAndCanBePinned) {
    int computed = ComCtlVersionLevel();
    EXPECT_GE(computed, 0);
    EXPECT_LE(computed, 2);
    for (int level : {0, 1, 2}) {
        OverrideComCtlVersionLevel(level);
        EXPECT_EQ(ComCtlVersionLevel(), level);
    }
    OverrideComCtlVersionLevel(std::nullopt);
    EXPECT_EQ(ComCtlVersionLevel(), computed);
}

TEST(ComCtlsBase, BorderStylesOnNewAndLiveWindows) {
    struct Case {
        long border;
        DWORD style, exStyle;
    } cases[] = {
        {0, 0, 0},
        {1, WS_BORDER, 0},
        {2, 0, WS_EX_STATICEDGE},
        {3, 0, WS_EX_CLIENTEDGE},
        {4, WS_DLGFRAME, WS_EX_WINDOWEDGE},
    };
    const DWORD styleBits = WS_BORDER | WS_DLGFRAME;
    const DWORD exBits = WS_EX_STATICEDGE | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE;
    host::UniqueWindow parent(CreateWindowExW(0, L"Static", L"", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr));
    host::UniqueWindow edit(CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_BORDER, 0, 0, 100, 30,
                                            parent.Get(), nullptr, nullptr, nullptr));
    for (const Case& c : cases) {
        DWORD style = WS_CHILD, ex = 0;
        ApplyBorderStyle(style, ex, c.border);
        EXPECT_EQ(style, WS_CHILD | c.style) << c.border;
        EXPECT_EQ(ex, c.exStyle) << c.border;

        ReapplyBorderStyle(edit.Get(), c.border);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(edit.Get(), GWL_STYLE)) & styleBits, c.style) << c.border;
        // The system may add WS_EX_WINDOWEDGE to frames of its own; compare the bits we own.
        DWORD liveEx = static_cast<DWORD>(GetWindowLongW(edit.Get(), GWL_EXSTYLE)) & exBits;
        EXPECT_EQ(liveEx & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE), c.exStyle & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE)) << c.border;
    }
    // The frame is recomputed: no border leaves the client area the whole window.
    ReapplyBorderStyle(edit.Get(), 0);
    RECT wr, cr;
    GetWindowRect(edit.Get(), &wr);
    GetClientRect(edit.Get(), &cr);
    EXPECT_EQ(cr.right, wr.right - wr.left);
    ReapplyBorderStyle(edit.Get(), 3);
    GetClientRect(edit.Get(), &cr);
    EXPECT_LT(cr.right, wr.right - wr.left);
}

namespace {
// Records the WM_UPDATEUISTATE a window receives.
class UiStateProbe : public ISubclass {
public:
    std::vector<WPARAM> updates;

protected:
    LRESULT ISubclass_Message(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam, LONG_PTR) override {
        if (wMsg == WM_UPDATEUISTATE) updates.push_back(wParam);
        return CallDefaultProc(hwnd, wMsg, wParam, lParam);
    }
};
}  // namespace

TEST(ComCtlsBase, UIStateCuesAreShown) {
    host::UniqueWindow parent(CreateWindowExW(0, L"Static", L"", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr));
    host::UniqueWindow w(CreateWindowExW(0, L"Button", L"&OK", WS_CHILD, 0, 0, 100, 30, parent.Get(), nullptr, nullptr, nullptr));
    UiStateProbe probe;
    ScopedSubclass sub(w.Get(), &probe, 1);
    ShowUIStateCues(w.Get());
    ASSERT_EQ(probe.updates.size(), 1u);
    EXPECT_EQ(LOWORD(probe.updates[0]), UIS_CLEAR);
    EXPECT_EQ(HIWORD(probe.updates[0]), UISF_HIDEFOCUS | UISF_HIDEACCEL);
    EXPECT_EQ(SendMessageW(w.Get(), WM_QUERYUISTATE, 0, 0) & (UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
}

TEST(ComCtlsBase, UnicodeTextPersistsAsBytes) {
    EXPECT_TRUE(PersistStringToVariant(L"").IsEmpty());
    EXPECT_EQ(PersistVariantToString(host::Value()), L"");
    const std::wstring text = L"中文 ελληνικά 😀 \u0000x";
    std::wstring withNul(text.c_str(), text.size());
    host::Value v = PersistStringToVariant(withNul);
    ASSERT_EQ(v.GetKind(), host::Value::Kind::Bytes);
    EXPECT_EQ(v.AsBytes().size(), withNul.size() * 2);
    EXPECT_EQ(v.AsBytes()[0], 0x2D);  // 中 = U+4E2D, little-endian
    EXPECT_EQ(v.AsBytes()[1], 0x4E);
    EXPECT_EQ(PersistVariantToString(v), withNul);
    EXPECT_EQ(PersistVariantToString(host::Value(std::wstring(L"plain"))), L"plain");
    try {
        PersistVariantToString(host::Value(5L));
        ADD_FAILURE();
    } catch (const host::Error& e) {
        EXPECT_EQ(e.Number(), 13);
    }
}

TEST(ComCtlsBase, EventArgumentsFromMessageParameters) {
    EXPECT_EQ(ButtonFromParam(MK_LBUTTON), 1);
    EXPECT_EQ(ButtonFromParam(MK_RBUTTON), 2);
    EXPECT_EQ(ButtonFromParam(MK_MBUTTON), 4);
    EXPECT_EQ(ButtonFromParam(MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT), 7);
    // Alt is read from the keyboard: make sure it is up for the parameter cases.
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_MENU] = keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(ShiftStateFromParam(MK_SHIFT), 1);
    EXPECT_EQ(ShiftStateFromParam(MK_CONTROL | MK_LBUTTON), 2);
    EXPECT_EQ(ShiftStateFromParam(MK_SHIFT | MK_CONTROL), 3);
    EXPECT_EQ(ShiftStateFromKeyboard(), 0);
    keys[VK_MENU] = keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    EXPECT_EQ(ShiftStateFromParam(MK_SHIFT), 5);
    EXPECT_EQ(ShiftStateFromKeyboard(), 6);
    keys[VK_MENU] = keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

TEST(ComCtlsBase, PropertyErrorsFollowTheConvention) {
    try {
        InvalidPropertyValue(false);
        ADD_FAILURE();
    } catch (const host::Error& e) {
        EXPECT_EQ(e.Number(), 380);
        EXPECT_EQ(e.Description(), L"Invalid property value");
    }
    try {
        RaiseReadOnlyAtRunTime(L"IntegralHeight");
        ADD_FAILURE();
    } catch (const host::Error& e) {
        EXPECT_EQ(e.Number(), 382);
        EXPECT_EQ(e.Description(), L"IntegralHeight property is read-only at run time");
    }
    try {
        RaiseCantSetProperty(L"Style must be 0 - Standard when DrawMode is not 0 - Normal");
        ADD_FAILURE();
    } catch (const host::Error& e) {
        EXPECT_EQ(e.Number(), 383);
    }
}


TEST(ComCtlsBase, MessageBoxShowsUnicodeAndReturnsTheButton) {
    host::App().Title(L"正则工具");
    int result;
    {
        BoxPresser presser(IDNO);
        result = ShowMessageBox(L"确定要替换吗？", MB_YESNO | MB_ICONQUESTION, L"替换");
        presser.Wait();
        EXPECT_TRUE(presser.found);
        EXPECT_EQ(presser.title, L"替换");
        EXPECT_EQ(presser.text, L"确定要替换吗？");
    }
    EXPECT_EQ(result, IDNO);
    {
        BoxPresser presser(IDYES);
        result = ShowMessageBox(L"无标题", MB_YESNO);
        presser.Wait();
        EXPECT_EQ(presser.title, L"正则工具");  // an empty title is the application's
    }
    EXPECT_EQ(result, IDYES);
    {
        // The design-time side of the property convention: a critical box, no error raised.
        BoxPresser presser(IDOK);
        EXPECT_NO_THROW(InvalidPropertyValue(true));
        presser.Wait();
        EXPECT_EQ(presser.text, L"Invalid property value");
    }
}

TEST(ComCtlsBase, ControlFontFollowsTheHostFont) {
    host::FontDesc f;
    f.name = L"微软雅黑";
    f.size = 9.4;  // rounds to 9 points
    f.weight = 700;
    f.underline = true;
    f.charset = 0x186;  // only the low 8 bits count
    host::UniqueFont font = CreateControlFont(f);
    ASSERT_TRUE(font);
    LOGFONTW lf{};
    ASSERT_TRUE(GetObjectW(font.Get(), sizeof(lf), &lf));
    HDC screen = GetDC(nullptr);
    int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(lf.lfHeight, -MulDiv(9, dpiY, 72));
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfCharSet, 0x86);
    EXPECT_STREQ(lf.lfFaceName, L"微软雅黑");

    EXPECT_EQ(lf.lfStrikeOut, 0);
    EXPECT_EQ(lf.lfQuality, 0);
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(lf.lfEscapement, 0);
    EXPECT_EQ(lf.lfOutPrecision, 0);

    f.weight = 400;
    f.italic = true;
    f.strikethrough = true;
    f.underline = false;
    f.size = 9.6;  // rounds up to 10
    font = CreateControlFont(f);
    ASSERT_TRUE(GetObjectW(font.Get(), sizeof(lf), &lf));
    EXPECT_EQ(lf.lfWeight, 400);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(lf.lfStrikeOut, 1);
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_EQ(lf.lfHeight, -MulDiv(10, dpiY, 72));

    f.name = std::wstring(40, L'A');
    font = CreateControlFont(f);
    ASSERT_TRUE(GetObjectW(font.Get(), sizeof(lf), &lf));
    EXPECT_EQ(std::wstring(lf.lfFaceName), std::wstring(31, L'A'));
}

TEST(ComCtlsBase, ShellLibraryIsHeldWhileAnyControlHoldsIt) {
    long before = ShellLibraryRefCount();
    ShellLibraryAddRef();
    ShellLibraryAddRef();
    EXPECT_EQ(ShellLibraryRefCount(), before + 2);
    EXPECT_NE(GetModuleHandleW(L"shell32.dll"), nullptr);
    ShellLibraryRelease();
    ShellLibraryRelease();
    EXPECT_EQ(ShellLibraryRefCount(), before);
    ShellLibraryRelease();  // unbalanced: stays at zero rather than going negative
    EXPECT_EQ(ShellLibraryRefCount(), before > 0 ? before - 1 : 0);
}
