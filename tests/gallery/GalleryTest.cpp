// The control gallery as a person uses it: the index opens every page, every switch and value
// chooser of a page applies to its controls without an error, and the controls' events reach the
// page's log.
#include "ControlsTestSupport.h"

#include "controls/hotkey/HotKey.h"
#include "controls/frame/FrameW.h"
#include "controls/label/LabelW.h"
#include "controls/listbox/ListBoxW.h"
#include "gallery/FrmGallery.h"
#include "host/ClassicDrag.h"
#include "host/ControlSite.h"
#include "host/Intrinsics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <commdlg.h>
#include <thread>

using namespace ctltest;

namespace {

bool AnyLineHas(const std::vector<std::wstring>& lines, const std::wstring& text) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::wstring& l) { return l.find(text) != l.npos; });
}

std::wstring Joined(const std::vector<std::wstring>& lines) {
    std::wstring all;
    for (const auto& l : lines) all += l + L"\n";
    return all;
}

// Clicks an intrinsic button or check box the way the mouse does.
void ClickButton(HWND button) {
    RECT rc;
    GetClientRect(button, &rc);
    PostClick(button, {rc.right / 2, rc.bottom / 2});
    Drain();
}

BOOL CALLBACK TakeDialog(HWND hwnd, LPARAM param) {
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (std::wstring(cls) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
}

// The visible dialog window (class "#32770") of a thread, waited for up to five seconds.
HWND DialogOfThread(DWORD thread) {
    HWND found = nullptr;
    for (int i = 0; i < 500 && !found; ++i) {
        EnumThreadWindows(thread, &TakeDialog, reinterpret_cast<LPARAM>(&found));
        if (!found) Sleep(10);
    }
    return found;
}

// Clicks a page button that opens a modal dialog while a second thread presses the dialog's OK.
void ClickAndConfirm(HWND button) {
    std::thread person([thread = GetCurrentThreadId()] {
        if (HWND dialog = DialogOfThread(thread)) {
            Sleep(100);
            PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        }
    });
    ClickButton(button);
    person.join();
}

}  // namespace

TEST(Gallery, TheIndexListsEveryPageAndOpensEach) {
    ASSERT_GE(gallery::Pages().size(), 4u);
    gallery::FrmGallery index;
    index.Show();
    auto& list = index.Ctl<controls::ListBoxW>(L"lstPages");
    ASSERT_EQ(list.ListCount(), static_cast<long>(gallery::Pages().size()));
    for (const gallery::PageInfo& info : gallery::Pages()) {
        SCOPED_TRACE(info.name);
        ASSERT_TRUE(index.ShowPage(info.name));
        gallery::GalleryPage* page = index.CurrentPage();
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(page->IsLoaded());
        EXPECT_TRUE(IsWindowVisible(page->hWnd()));
        EXPECT_EQ(page->Caption(), info.name + L" - 控件库画廊");
        EXPECT_NE(page->FindSite(L"lstLog"), nullptr);
        // beside the index, not over it
        RECT indexRect, pageRect;
        GetWindowRect(index.hWnd(), &indexRect);
        GetWindowRect(page->hWnd(), &pageRect);
        EXPECT_GE(pageRect.left, indexRect.right - 1);
    }
    EXPECT_FALSE(index.ShowPage(L"NoSuchControl"));
}

TEST(Gallery, EverySwitchAndChooserAppliesWithoutAnError) {
    gallery::FrmGallery index;
    index.Show();
    for (const gallery::PageInfo& info : gallery::Pages()) {
        SCOPED_TRACE(info.name);
        ASSERT_TRUE(index.ShowPage(info.name));
        gallery::GalleryPage& page = *index.CurrentPage();
        for (const auto& site : page.Controls()) {
            const std::wstring& name = site->Name();
            SCOPED_TRACE(std::string(name.begin(), name.end()));
            if (auto* box = site->As<host::CheckBox>()) {
                int before = box->Value();
                ClickButton(box->hWnd());  // off, then on again (or the other way)
                EXPECT_NE(box->Value(), before);
                ClickButton(box->hWnd());
                EXPECT_EQ(box->Value(), before);
            } else if (auto* button = site->As<host::CommandButton>()) {
                // the CommonDialog page's buttons open modal dialogs; its own test presses them
                if (name == L"cmdClearLog" || name.rfind(L"cmdShow", 0) == 0) continue;
                for (int i = 0; i < 6; ++i) ClickButton(button->hWnd());
            }
        }
        std::vector<std::wstring> lines = page.LogLines();
        EXPECT_FALSE(AnyLineHas(lines, L"错误")) << Joined(lines);
    }
}

TEST(Gallery, ClicksOnTheControlsReachTheLogAndClearLogEmptiesIt) {
    // A control of each page and an event a click on its middle raises.
    struct Probe {
        const wchar_t* page;
        const wchar_t* control;
        const wchar_t* line;
    };
    const Probe probes[] = {
        {L"TextBoxW", L"txtSingle", L"txtSingle: MouseDown 1, 0"},
        {L"ListBoxW", L"lstPlain", L"lstPlain: Click"},
        {L"FrameW", L"fraThemed", L"fraThemed: MouseUp 1, 0"},
        {L"LabelW", L"lblPlain", L"lblPlain: Click"},
        {L"HotKey", L"hkyDemo", L"hkyDemo: Click"},
        {L"CheckBoxW", L"cbxStandard", L"cbxStandard: Click"},
    };
    gallery::FrmGallery index;
    index.Show();
    for (const Probe& probe : probes) {
        SCOPED_TRACE(probe.page);
        ASSERT_TRUE(index.ShowPage(probe.page));
        gallery::GalleryPage& page = *index.CurrentPage();
        host::ControlSite& site = page.Site(probe.control);
        // the middle of the control's rectangle, on whatever window shows there
        host::ScaleConverter scale = page.Scale();
        POINT middle{scale.TwipsToPixelsX(site.Left() + site.Width() / 2),
                     scale.TwipsToPixelsY(site.Top() + site.Height() / 2)};
        ClientToScreen(site.ContainerWindow(), &middle);
        HWND target = WindowFromPoint(middle);
        ASSERT_NE(target, nullptr);
        ScreenToClient(target, &middle);
        PostClick(target, middle);
        EXPECT_TRUE(PumpUntil([&] { return AnyLineHas(page.LogLines(), probe.line); })) << Joined(page.LogLines());
        ClickButton(page.Ctl<host::CommandButton>(L"cmdClearLog").hWnd());
        EXPECT_TRUE(page.LogLines().empty());
    }
}

TEST(Gallery, RepeatedEventsAreCountedOnOneLine) {
    gallery::FrmGallery index;
    index.Show();
    ASSERT_TRUE(index.ShowPage(L"TextBoxW"));
    gallery::GalleryPage& page = *index.CurrentPage();
    page.Log(L"txtSingle", L"MouseMove 0, 0, 15, 15");
    page.Log(L"txtSingle", L"MouseMove 0, 0, 15, 15");
    page.Log(L"txtSingle", L"MouseMove 0, 0, 15, 15");
    page.Log(L"txtSingle", L"Click");
    std::vector<std::wstring> lines = page.LogLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], L"txtSingle: MouseMove 0, 0, 15, 15  (×3)");
    EXPECT_EQ(lines.back(), L"txtSingle: Click");
}

TEST(Gallery, TheHotKeyPageReadsOutWhatIsTyped) {
    gallery::FrmGallery index;
    index.Show();
    ASSERT_TRUE(index.ShowPage(L"HotKey"));
    gallery::GalleryPage& page = *index.CurrentPage();
    auto& readout = page.Ctl<controls::LabelW>(L"lblReadout");
    auto& field = page.Ctl<controls::HotKey>(L"hkyDemo");
    ASSERT_TRUE(Activate(page));
    field.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == field.hWnd(); }));
    PressKey('K', true, true);
    EXPECT_EQ(readout.Caption(), L"Value = 75，Modifiers = 3 (Ctrl+Shift)，RawValue = &H34B");
    ClickButton(page.Ctl<host::CommandButton>(L"cmdShiftA").hWnd());
    EXPECT_EQ(readout.Caption(), L"Value = 65，Modifiers = 1 (Shift)，RawValue = &H141");
    ClickButton(page.Ctl<host::CommandButton>(L"cmdClear").hWnd());
    EXPECT_EQ(readout.Caption(), L"Value = 0，Modifiers = 0 (无)，RawValue = &H0");
}

TEST(Gallery, TheCommonDialogPageLogsWhatADialogLeavesAndItsEvents) {
    gallery::FrmGallery index;
    index.Show();
    ASSERT_TRUE(index.ShowPage(L"CommonDialog"));
    gallery::GalleryPage& page = *index.CurrentPage();
    HWND color = page.Ctl<host::CommandButton>(L"cmdShowColor").hWnd();

    ClickAndConfirm(color);
    EXPECT_TRUE(AnyLineHas(page.LogLines(), L"ShowColor: True")) << Joined(page.LogLines());
    EXPECT_TRUE(AnyLineHas(page.LogLines(), L"ShowColor: Color = &H")) << Joined(page.LogLines());

    ClickButton(page.Ctl<host::CheckBox>(L"chkHookEvents").hWnd());
    ClickAndConfirm(color);
    EXPECT_TRUE(AnyLineHas(page.LogLines(), L"CommonDialog: InitDialog 3")) << Joined(page.LogLines());
    EXPECT_TRUE(AnyLineHas(page.LogLines(), L"CommonDialog: ColorValidate &H")) << Joined(page.LogLines());

    // The modeless find dialog stays open beside the page; its Find Next reaches the log.
    ClickButton(page.Ctl<host::CommandButton>(L"cmdShowFind").hWnd());
    EXPECT_TRUE(AnyLineHas(page.LogLines(), L"ShowFind: 窗口")) << Joined(page.LogLines());
    HWND find = DialogOfThread(GetCurrentThreadId());
    ASSERT_NE(find, nullptr);
    SendMessageW(GetDlgItem(find, 0x480), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"needle"));
    PostMessageW(GetDlgItem(find, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return AnyLineHas(page.LogLines(), L"CommonDialog: FindNext \"needle\""); }))
        << Joined(page.LogLines());
    PostMessageW(GetDlgItem(find, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(find); }));
}

namespace {

// The pointer and the left button through the input queue, each pumped until taken.
void SendMouse(DWORD flags, POINT p = {-1, -1}) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    if (p.x >= 0) {
        in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        in.mi.dwFlags |= MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    }
    SendInput(1, &in, sizeof in);
    PumpUntil([] { return !GetQueueStatus(QS_MOUSE); }, 2000);
    Drain();
}

POINT Inside(const host::ControlSite& site, int dx, int dy) {
    RECT r = site.PixelRect();
    POINT p{r.left + dx, r.top + dy};
    ClientToScreen(site.ContainerWindow(), &p);
    return p;
}

}  // namespace

TEST(Gallery, TheDragPageMovesADroppedLabelIntoTheFrameAndBack) {
    gallery::FrmGallery index;
    index.Show();
    ASSERT_TRUE(index.ShowPage(L"Drag"));
    gallery::GalleryPage& page = *index.CurrentPage();
    SetForegroundWindow(page.hWnd());
    PumpUntil([&] { return GetForegroundWindow() == page.hWnd(); });
    host::ControlSite& label = page.Site(L"lblDrag");
    host::ControlSite& frame = page.Site(L"fraLeft");
    SendMouse(MOUSEEVENTF_MOVE, Inside(label, 6, 6));
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(host::classicdrag::InProgress());
    SendMouse(MOUSEEVENTF_MOVE, Inside(frame, 30, 60));
    SendMouse(MOUSEEVENTF_LEFTUP);
    EXPECT_FALSE(host::classicdrag::InProgress());
    EXPECT_EQ(label.Container(), &frame);
    std::vector<std::wstring> lines = page.LogLines();
    EXPECT_TRUE(AnyLineHas(lines, L"fraLeft: DragDrop lblDrag")) << Joined(lines);
    EXPECT_TRUE(AnyLineHas(lines, L"lblDrag: DragOver lblDrag 离开")) << Joined(lines);

    ClickButton(page.Ctl<host::CommandButton>(L"cmdHome").hWnd());
    EXPECT_EQ(label.Container(), nullptr);
    EXPECT_TRUE(page.Ctl<controls::FrameW>(L"fraLeft").ContainedControls().empty());
}

// A person opens the sheet on the designed multi-line box, types a second line and presses OK:
// the designed box has it and the log says so.
TEST(Gallery, TheTextBoxPageOpensThePropertySheetOnADesignedBox) {
    gallery::FrmGallery index;
    index.Show();
    ASSERT_TRUE(index.ShowPage(L"TextBoxW"));
    gallery::GalleryPage& page = *index.CurrentPage();
    std::thread person([thread = GetCurrentThreadId()] {
        HWND sheet = DialogOfThread(thread);
        if (!sheet) return;
        Sleep(100);
        SetForegroundWindow(sheet);
        std::vector<INPUT> keys;
        auto key = [&keys](WORD vk, wchar_t c) {
            for (bool up : {false, true}) {
                INPUT in{};
                in.type = INPUT_KEYBOARD;
                in.ki.wVk = vk;
                in.ki.wScan = c ? c : static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
                in.ki.dwFlags = (c ? KEYEVENTF_UNICODE : 0) | (up ? KEYEVENTF_KEYUP : 0);
                keys.push_back(in);
            }
        };
        key(VK_NEXT, 0);  // the end of the text
        key(VK_END, 0);
        key(VK_RETURN, 0);
        for (wchar_t c : std::wstring(L"第三行")) key(0, c);
        SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
        Sleep(500);
        PostMessageW(GetDlgItem(sheet, IDOK), BM_CLICK, 0, 0);
    });
    ClickButton(page.Ctl<host::CommandButton>(L"cmdShowPropertiesMulti").hWnd());
    person.join();
    EXPECT_TRUE(AnyLineHas(page.LogLines(), L"属性页: txtDesignedMulti 已应用：\"多行文本框↵第二行↵第三行\""))
        << Joined(page.LogLines());
}
