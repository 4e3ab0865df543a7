// The modeless find and replace dialogs: the test's own loop keeps running while they are open,
// so they are driven from the test's thread — text set in their boxes, buttons pressed, keys
// typed through the system's input queue.
#include "DialogDriver.h"
#include "controls/foundation/ControlServices.h"
#include "dialogs/CommonDialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using dialogs::CommonDialog;
using namespace dlgtest;

namespace {

constexpr int FindWhatBox = 0x480, ReplaceWithBox = 0x481, ReplaceButton = 0x400, ReplaceAllButton = 0x401;

void PressKey(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

}  // namespace

TEST(FindReplace, ReplaceAllRaisesItsEventWithBothTextsAndASecondDialogIsRefused) {
    ActiveOwner owner;
    CommonDialog cd;
    cd.HookEvents(true);
    cd.FindWhat(L"cat");
    cd.Flags(FR_DOWN);
    int initKind = 0;
    int replaceAll = 0, replace = 0, findNext = 0;
    std::wstring seenWhat, seenWith;
    cd.InitDialog = [&](int kind, HWND) { initKind = kind; };
    cd.ReplaceAll = [&] {
        ++replaceAll;
        seenWhat = cd.FindWhat();
        seenWith = cd.ReplaceWith();
    };
    cd.Replace = [&] { ++replace; };
    cd.FindNext = [&] { ++findNext; };

    HWND dialog = cd.ShowReplace();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(dialog) != FALSE; }));
    EXPECT_EQ(initKind, 10);
    EXPECT_EQ(TextOf(Item(dialog, FindWhatBox)), L"cat") << "the dialog starts with FindWhat";
    EXPECT_EQ(foundation::ModelessDialogCount(), 1u);

    EXPECT_EQ(cd.ShowFind(), nullptr) << "one find or replace dialog per instance";
    EXPECT_EQ(cd.ShowReplace(), nullptr);

    SetText(Item(dialog, FindWhatBox), L"dog");
    SetText(Item(dialog, ReplaceWithBox), L"wolf");
    Press(dialog, ReplaceAllButton);
    ASSERT_TRUE(PumpUntil([&] { return replaceAll == 1; }));
    EXPECT_EQ(seenWhat, L"dog");
    EXPECT_EQ(seenWith, L"wolf");
    EXPECT_EQ(replace, 0);
    EXPECT_EQ(findNext, 0);
    EXPECT_NE(cd.Flags() & FR_REPLACEALL, 0);
    EXPECT_EQ(cd.Flags() & FR_ENABLEHOOK, 0);

    Press(dialog, ReplaceButton);
    ASSERT_TRUE(PumpUntil([&] { return replace == 1; }));

    // Cancel closes it: FR_DIALOGTERM ends the routing, and a new dialog may open.
    Press(dialog, IDCANCEL);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dialog) && foundation::ModelessDialogCount() == 0; }));
    HWND again = cd.ShowFind();
    EXPECT_NE(again, nullptr);
    EXPECT_EQ(replaceAll, 1) << "closing raises nothing";
}

TEST(FindReplace, KeysTypedIntoTheDialogReachItThroughTheModelessRouting) {
    ActiveOwner owner;
    CommonDialog cd;
    int findNext = 0;
    std::wstring seen;
    cd.FindNext = [&] {
        ++findNext;
        seen = cd.FindWhat();
    };
    HWND dialog = cd.ShowFind();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(dialog) != FALSE; }));
    HWND edit = Item(dialog, FindWhatBox);
    SetForegroundWindow(dialog);
    SetFocus(edit);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == edit; }));
    SetText(edit, L"needle");
    // Return in the edit presses the default button only when the dialog sees its keys.
    PressKey(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return findNext == 1; }));
    EXPECT_EQ(seen, L"needle");
    // Tab moves on to the next control of the dialog.
    PressKey(VK_TAB);
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() != edit && GetParent(GetFocus()) == dialog; }));
}

TEST(FindReplace, ReleasingTheInstanceClosesItsOpenDialog) {
    ActiveOwner owner;
    auto cd = std::make_unique<CommonDialog>();
    HWND dialog = cd->ShowFind();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(dialog) != FALSE; }));
    cd.reset();
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(dialog); }));
    EXPECT_EQ(foundation::ModelessDialogCount(), 0u);
    // The owner goes on without the subclass: its messages are its own again.
    EXPECT_EQ(GetPropW(owner.Get(), (L"commdlg_FindReplace_9_" + std::to_wstring(reinterpret_cast<UINT_PTR>(dialog)) +
                                     L"SubclassInit").c_str()),
              nullptr);
}

TEST(FindReplace, InsideAnMdiFrameTheActiveChildIsTheOwner) {
    ActiveOwner frame;
    CLIENTCREATESTRUCT ccs{};
    HWND client = CreateWindowExW(0, L"MDIClient", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, frame.Get(), nullptr,
                                  nullptr, &ccs);
    ASSERT_NE(client, nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefMDIChildProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"DialogsTestMdiChild";
    RegisterClassW(&wc);
    MDICREATESTRUCTW mcs{};
    mcs.szClass = L"DialogsTestMdiChild";
    mcs.szTitle = L"child";
    mcs.hOwner = GetModuleHandleW(nullptr);
    mcs.x = mcs.y = 0;
    mcs.cx = 200;
    mcs.cy = 150;
    auto child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)), child);
    ASSERT_EQ(GetActiveWindow(), frame.Get());

    CommonDialog cd;
    int findNext = 0;
    cd.FindNext = [&] { ++findNext; };
    HWND dialog = cd.ShowFind();
    ASSERT_NE(dialog, nullptr);
    std::wstring prop = L"commdlg_FindReplace_9_" + std::to_wstring(reinterpret_cast<UINT_PTR>(dialog)) + L"SubclassInit";
    EXPECT_NE(GetPropW(child, prop.c_str()), nullptr) << "the dialog talks to the active MDI child";
    EXPECT_EQ(GetPropW(frame.Get(), prop.c_str()), nullptr);
    SetText(Item(dialog, FindWhatBox), L"x");
    Press(dialog, IDOK);
    EXPECT_TRUE(PumpUntil([&] { return findNext == 1; }));
    DestroyWindow(dialog);
}
