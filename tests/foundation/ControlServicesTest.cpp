#include "controls/foundation/ControlServices.h"

#include "host/Application.h"
#include "host/ControlRegistry.h"
#include "host/Error.h"
#include "host/Form.h"
#include "host/Handles.h"
#include "host/ImageList.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using namespace foundation;

TEST(ControlServices, MousePointerTextsForPropertyBrowsing) {
    std::wstring text;
    EXPECT_TRUE(MousePointerDisplayString(13, text));
    EXPECT_EQ(text, L"13 - Arrow and Hourglass");
    EXPECT_TRUE(MousePointerDisplayString(99, text));
    EXPECT_EQ(text, L"99 - Custom");
    text = L"unchanged";
    EXPECT_FALSE(MousePointerDisplayString(17, text));
    EXPECT_FALSE(MousePointerDisplayString(-1, text));
    EXPECT_EQ(text, L"unchanged");
    std::vector<std::wstring> texts;
    std::vector<long> values;
    MousePointerPredefinedStrings(texts, values);
    ASSERT_EQ(texts.size(), 18u);
    ASSERT_EQ(values.size(), 18u);
    EXPECT_EQ(texts[0], L"0 - Default");
    EXPECT_EQ(values[16], 16);
    EXPECT_EQ(texts[17], L"99 - Custom");
    EXPECT_EQ(values[17], 99);
}

TEST(ControlServices, RightToLeftResolution) {
    bool flag = false;
    ResolveRightToLeft(flag, true, 0);
    EXPECT_FALSE(flag);  // False stays False whatever the mode
    flag = true;
    ResolveRightToLeft(flag, false, 0);
    EXPECT_TRUE(flag);
    ResolveRightToLeft(flag, false, 1);
    EXPECT_FALSE(flag);  // the host's value
    // The prefix runs an English (left-to-right) system: the language modes give False.
    for (long mode : {2L, 3L, 4L}) {
        flag = true;
        ResolveRightToLeft(flag, true, mode);
        EXPECT_FALSE(flag) << mode;
    }
}

TEST(ControlServices, RightToLeftStylesOnWindowsAndToolTips) {
    host::UniqueWindow parent(CreateWindowExW(0, L"Static", L"", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr));
    host::UniqueWindow edit(CreateWindowExW(WS_EX_RIGHT, L"Edit", L"", WS_CHILD, 0, 0, 100, 30, parent.Get(), nullptr, nullptr, nullptr));
    ApplyRightToLeftExStyle(edit.Get(), WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR);
    DWORD ex = static_cast<DWORD>(GetWindowLongW(edit.Get(), GWL_EXSTYLE));
    EXPECT_EQ(ex & 0x407000u, static_cast<DWORD>(WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR));
    ApplyRightToLeftExStyle(edit.Get(), 0);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(edit.Get(), GWL_EXSTYLE)) & 0x407000u, 0u);

    host::UniqueWindow tips(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 0, 0, parent.Get(), nullptr, nullptr, nullptr));
    wchar_t text[] = L"提示";
    TOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_IDISHWND;
    ti.hwnd = parent.Get();
    ti.uId = reinterpret_cast<UINT_PTR>(edit.Get());
    ti.lpszText = text;
    ASSERT_TRUE(SendMessageW(tips.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
    auto ToolFlags = [&] {
        wchar_t buf[80];
        TOOLINFOW q{};
        q.cbSize = TTTOOLINFOW_V2_SIZE;
        q.lpszText = buf;
        SendMessageW(tips.Get(), TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&q));
        return q.uFlags;
    };
    ApplyRightToLeftExStyle(tips.Get(), WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR);
    EXPECT_TRUE(ToolFlags() & TTF_RTLREADING);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(tips.Get(), GWL_EXSTYLE)) & (WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR), 0u);
    ApplyRightToLeftExStyle(tips.Get(), 0);
    EXPECT_FALSE(ToolFlags() & TTF_RTLREADING);
}

TEST(ControlServices, InputContextsAreAttachedAndDestroyed) {
    host::UniqueWindow edit(CreateWindowExW(0, L"Edit", L"", WS_OVERLAPPED, 0, 0, 100, 30, nullptr, nullptr, nullptr, nullptr));
    HIMC slot = nullptr;
    AttachIMEContext(edit.Get(), slot);
    ASSERT_NE(slot, nullptr);
    HIMC current = ImmGetContext(edit.Get());
    EXPECT_EQ(current, slot);
    ImmReleaseContext(edit.Get(), current);
    HIMC again = slot;
    AttachIMEContext(edit.Get(), slot);  // the slot is reused, not replaced
    EXPECT_EQ(slot, again);
    // Without an IME installed, modes change nothing and fail nothing.
    for (long mode = 0; mode <= 10; ++mode) ApplyIMEMode(edit.Get(), slot, mode);
    DetachIMEContext(edit.Get(), slot);
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(ImmGetContext(edit.Get()), nullptr);
    DetachIMEContext(edit.Get(), slot);  // twice is harmless
}

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// A small real dialog with two buttons, so Tab visibly moves its focus when the dialog gets it.
HWND MakeDialog() {
    alignas(4) static BYTE tmpl[256];
    ZeroMemory(tmpl, sizeof(tmpl));
    auto* dt = reinterpret_cast<DLGTEMPLATE*>(tmpl);
    dt->style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    dt->cx = 120;
    dt->cy = 60;
    HWND dlg = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dt, nullptr, &PlainDialogProc, 0);
    for (int i = 0; i < 2; ++i)
        CreateWindowExW(0, L"Button", i ? L"B" : L"A", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10 + 30 * i, 60, 24, dlg,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)), nullptr, nullptr);
    return dlg;
}

// Posts Tab to the focused button of the dialog and lets the loop take it off the queue.
bool TabMovesFocus(HWND dlg) {
    ShowWindow(dlg, SW_SHOW);
    SetForegroundWindow(dlg);
    HWND first = GetDlgItem(dlg, 100);
    SetFocus(first);
    PostMessageW(first, WM_KEYDOWN, VK_TAB, 0);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    bool moved = GetFocus() == GetDlgItem(dlg, 101);
    ShowWindow(dlg, SW_HIDE);
    return moved;
}

}  // namespace

TEST(ControlServices, ModelessDialogsGetTheirKeysWhileRegistered) {
    HWND a = MakeDialog(), b = MakeDialog(), c = MakeDialog();
    EXPECT_FALSE(TabMovesFocus(b));  // the plain loop does not know the dialog
    RegisterModelessDialog(a);
    RegisterModelessDialog(b);
    RegisterModelessDialog(c);
    EXPECT_EQ(ModelessDialogCount(), 3u);
    UnregisterModelessDialog(b);
    UnregisterModelessDialog(b);  // not registered any more: nothing changes
    EXPECT_EQ(ModelessDialogCount(), 2u);
    EXPECT_TRUE(TabMovesFocus(a));
    EXPECT_TRUE(TabMovesFocus(c));
    EXPECT_FALSE(TabMovesFocus(b));
    UnregisterModelessDialog(a);
    EXPECT_TRUE(TabMovesFocus(c)) << "the last one still gets its keys";
    UnregisterModelessDialog(c);
    EXPECT_EQ(ModelessDialogCount(), 0u);
    EXPECT_FALSE(TabMovesFocus(c));  // the hook is gone
    for (HWND d : {a, b, c}) DestroyWindow(d);
}

TEST(ControlServices, ValidationAndImageListsGoThroughTheForm) {
    host::Form form(host::ParseDesign(LR"(Begin Form F
   Begin CommandButton ImageList1
      Caption = "x"
   End
   Begin CommandButton Go
      Caption = "go"
      Top = 600
   End
End
)"));
    form.Show();
    // No control of type "ImageList" here: only "(None)".
    std::vector<std::wstring> texts;
    std::vector<long> values;
    std::vector<host::ControlSite*> objects;
    ImageListPredefinedStrings(form, texts, values, objects);
    EXPECT_EQ(texts, std::vector<std::wstring>{L"(None)"});
    EXPECT_EQ(objects, std::vector<host::ControlSite*>{nullptr});

    host::ControlSite& go = form.Site(L"Go");
    host::ControlSite& first = form.Site(L"ImageList1");
    first.SetFocus();
    bool refuse = true;
    first.Validate = [&](bool& cancel) { cancel = refuse; };
    try {
        ValidateHostControls(go);
        ADD_FAILURE();
    } catch (const host::Error& e) {
        EXPECT_EQ(e.Number(), 380);
    }
    refuse = false;
    EXPECT_NO_THROW(ValidateHostControls(go));
    form.Unload();
}

TEST(ControlServices, ImageListsOfTheFormAreOfferedByName) {
    host::Form form(host::ParseDesign(LR"(Begin Form F
   Begin ImageList Images
      ImageWidth = 24
      ImageHeight = 24
   End
   Begin CommandButton Go
      Caption = "go"
   End
   Begin ImageList Icons
      Index = 1
   End
End
)"));
    form.Show();
    std::vector<std::wstring> texts;
    std::vector<long> values;
    std::vector<host::ControlSite*> objects;
    ImageListPredefinedStrings(form, texts, values, objects);
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"(None)", L"Images", L"Icons(1)"}));
    EXPECT_EQ(values, (std::vector<long>{0, 1, 2}));
    ASSERT_EQ(objects.size(), 3u);
    auto* images = objects[1]->As<host::ImageList>();
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(images->ImageWidth(), 24);
    EXPECT_EQ(images->hImageList(), nullptr) << "no list before the first image";
    HDC screen = GetDC(nullptr);
    host::UniqueBitmap bitmap(CreateCompatibleBitmap(screen, 24, 24));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(images->Add(bitmap.Get()), 0);
    EXPECT_EQ(images->AddIcon(LoadIconW(nullptr, IDI_WARNING)), 1);
    ASSERT_NE(images->hImageList(), nullptr);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images->hImageList(), &cx, &cy);
    EXPECT_EQ(cx, 24);
    EXPECT_EQ(images->Count(), 2);
    EXPECT_THROW(images->ImageWidth(32), host::Error) << "the size is fixed once images are in";
    form.Unload();
}

TEST(ControlServices, InputMethodModesZeroAndThree) {
    host::UniqueWindow edit(CreateWindowExW(0, L"Edit", L"", WS_OVERLAPPED, 0, 0, 100, 30, nullptr, nullptr, nullptr, nullptr));
    HIMC own = nullptr;
    AttachIMEContext(edit.Get(), own);
    ASSERT_NE(own, nullptr);
    if (!ImmIsIME(GetKeyboardLayout(0))) {
        // Wine's keyboard layout here is no IME: every mode leaves the context as it is.
        ApplyIMEMode(edit.Get(), own, 3);
        HIMC current = ImmGetContext(edit.Get());
        EXPECT_EQ(current, own);
        ImmReleaseContext(edit.Get(), current);
        DetachIMEContext(edit.Get(), own);
        GTEST_SKIP() << "no IME on this system: modes 0 and 3 cannot be observed";
    }
    ImmSetConversionStatus(own, IME_CMODE_ALPHANUMERIC, IME_SMODE_NONE);
    ApplyIMEMode(edit.Get(), own, 0);
    DWORD conversion = 0, sentence = 0;
    ImmGetConversionStatus(own, &conversion, &sentence);
    EXPECT_EQ(conversion, static_cast<DWORD>(IME_CMODE_ALPHANUMERIC)) << "NoControl leaves the IME untouched";
    ApplyIMEMode(edit.Get(), own, 5);  // Katakana: open, native + katakana + full shape
    ImmGetConversionStatus(own, &conversion, &sentence);
    EXPECT_EQ(conversion & (IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE),
              static_cast<DWORD>(IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE));
    EXPECT_TRUE(ImmGetOpenStatus(own));
    ApplyIMEMode(edit.Get(), own, 8);  // Alpha: all three cleared
    ImmGetConversionStatus(own, &conversion, &sentence);
    EXPECT_EQ(conversion & (IME_CMODE_NATIVE | IME_CMODE_KATAKANA | IME_CMODE_FULLSHAPE), 0u);
    ApplyIMEMode(edit.Get(), own, 3);
    EXPECT_EQ(ImmGetContext(edit.Get()), nullptr) << "Disable takes the context off the window";
    ApplyIMEMode(edit.Get(), own, 1);  // a later mode brings the own context back
    HIMC back = ImmGetContext(edit.Get());
    EXPECT_EQ(back, own);
    ImmReleaseContext(edit.Get(), back);
    DetachIMEContext(edit.Get(), own);
}
