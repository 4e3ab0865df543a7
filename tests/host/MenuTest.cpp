#include "HostTestSupport.h"

#include <gtest/gtest.h>

using namespace host;
using hosttest::PumpUntil;
using hosttest::TestForm;

namespace {

const wchar_t* kMenuForm = LR"(Begin Form F
   ClientWidth = 6000
   ClientHeight = 4000
   Begin Menu mnuPopup
      Caption = "mnuPopup"
      Visible = False
      Begin Menu mnuItem
         Index = 0
         Caption = "中文字符"
         Tag = "[\u4e00-\u9fa5]"
      End
      Begin Menu mnuItem
         Index = 1
         Caption = "-"
      End
      Begin Menu mnuItem
         Index = 2
         Caption = "双字节字符"
         Tag = "[^\x00-\xff]"
         Enabled = False
      End
      Begin Menu mnuItem
         Index = 3
         Caption = "网址"
         Tag = "https?://\S+"
      End
      Begin Menu mnuMore
         Caption = "更多"
         Begin Menu mnuSub
            Caption = "IP 地址"
            Tag = "\d+\.\d+\.\d+\.\d+"
         End
      End
      Begin Menu mnuGone
         Caption = "不可见"
         Visible = False
      End
   End
End
)";

struct MenuLine {
    std::wstring text;
    bool separator, grayed, popup;
};

std::vector<MenuLine> ReadMenu(HMENU menu) {
    std::vector<MenuLine> out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t buf[128] = {};
        MENUITEMINFOW mi{};
        mi.cbSize = sizeof(mi);
        mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        mi.dwTypeData = buf;
        mi.cch = 127;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mi);
        out.push_back({buf, (mi.fType & MFT_SEPARATOR) != 0, (mi.fState & MFS_GRAYED) != 0, mi.hSubMenu != nullptr});
    }
    return out;
}

// While the popup runs its own loop, a timer of this thread reads what the menu shows and then
// picks an item with the keyboard, one key per tick, as a person would.
struct MenuDriver {
    static inline std::vector<MenuLine> shown;
    static inline std::vector<WORD> keys;
    static inline size_t next = 0;
    static inline UINT_PTR timer = 0;
    static inline int idleTicks = 0;  // ticks since the popup was asked for
    // The menu window of this thread that is showing: FindWindow could return a hidden menu
    // window that another program left behind, and the popup would then wait forever.
    static BOOL CALLBACK FindShownMenu(HWND w, LPARAM out) {
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        if (lstrcmpW(cls, L"#32768") != 0 || !IsWindowVisible(w)) return TRUE;
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
    }
    static HWND ShownMenuWindow() {
        HWND found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &FindShownMenu, reinterpret_cast<LPARAM>(&found));
        return found;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        // a menu still open after about six seconds is ended, so that the test fails, not hangs
        if (++idleTicks > 200) {
            KillTimer(nullptr, timer);
            EndMenu();
            return;
        }
        HWND popup = ShownMenuWindow();
        if (!popup) return;
        if (next == 0) {
            auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
            if (menu) shown = ReadMenu(menu);
        }
        if (next >= keys.size()) {
            KillTimer(nullptr, timer);
            return;
        }
        WORD k = keys[next++];
        PostMessageW(popup, WM_KEYDOWN, k, 0);
        PostMessageW(popup, WM_KEYUP, k, 0xC0000000);
    }
    static void Arm(std::vector<WORD> k) {
        shown.clear();
        keys = std::move(k);
        next = 0;
        idleTicks = 0;
        // the mouse of a person choosing with the keys rests away from the menu; a cursor left over
        // the menu by an earlier program keeps Wine's menu loop tracking it instead of the keys
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        timer = SetTimer(nullptr, 0, 30, &Tick);
    }
};

}  // namespace

TEST(PopupMenu, ShowsTheTreeAndRaisesTheChosenItemsClickWithItsIndex) {
    TestForm form(kMenuForm);
    form.Show();
    ASSERT_TRUE(hosttest::Activate(form));
    MenuItem& popup = form.Menu(L"mnuPopup");
    EXPECT_FALSE(popup.Visible());
    EXPECT_EQ(form.Menu(L"mnuItem", 3).Tag(), L"https?://\\S+");
    std::vector<int> clicked;
    std::wstring tag;
    for (const auto& item : popup.Items())
        item->Click = [&, m = item.get()](int index) {
            clicked.push_back(index);
            tag = m->Tag();
        };

    // Down three times lands on "网址": the separator is skipped, the disabled item only lit.
    MenuDriver::Arm({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    MenuItem* chosen = form.PopupMenu(popup, 1200, 600);
    ASSERT_EQ(MenuDriver::shown.size(), 5u);  // the invisible item is not shown
    EXPECT_EQ(MenuDriver::shown[0].text, L"中文字符");
    EXPECT_TRUE(MenuDriver::shown[1].separator);
    EXPECT_EQ(MenuDriver::shown[2].text, L"双字节字符");
    EXPECT_TRUE(MenuDriver::shown[2].grayed);
    EXPECT_FALSE(MenuDriver::shown[3].grayed);
    EXPECT_TRUE(MenuDriver::shown[4].popup);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->Index(), 3);
    EXPECT_EQ(clicked, std::vector<int>{3});
    EXPECT_EQ(tag, L"https?://\\S+");

    // A submenu item.
    std::wstring subTag;
    form.Menu(L"mnuSub").Click = [&](int index) { subTag = form.Menu(L"mnuSub").Tag() + L"@" + std::to_wstring(index); };
    MenuDriver::Arm({VK_UP, VK_RIGHT, VK_RETURN});
    chosen = form.PopupMenu(popup, 1200, 600);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->Name(), L"mnuSub");
    EXPECT_EQ(subTag, L"\\d+\\.\\d+\\.\\d+\\.\\d+@-1");

    // Return on the disabled item chooses nothing; Escape then dismisses: nothing is raised.
    clicked.clear();
    MenuDriver::Arm({VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE});
    EXPECT_EQ(form.PopupMenu(popup, 1200, 600), nullptr);
    EXPECT_TRUE(clicked.empty());
    MenuDriver::Arm({VK_ESCAPE});
    EXPECT_EQ(form.PopupMenu(popup, 1200, 600), nullptr);
    EXPECT_TRUE(clicked.empty());
    form.Unload();
}
