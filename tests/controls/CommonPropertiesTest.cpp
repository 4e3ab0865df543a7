// What the four library controls share through their base, tried on each of them on one real
// form: the pointer actually shown over the control (the real mouse moved there), MouseIcon,
// a loaded right-to-left control settled by RightToLeftMode, and the property sheet's answers
// through the host's browsing hook.
#include "ControlsTestSupport.h"

#include "controls/foundation/Common.h"
#include "controls/foundation/LibraryControl.h"
#include "controls/foundation/VTableHandle.h"
#include "controls/frame/FrameW.h"
#include "controls/label/LabelW.h"
#include "controls/listbox/ListBoxW.h"
#include "controls/textbox/TextBoxW.h"
#include "host/ControlSite.h"
#include "host/Error.h"

#include <gtest/gtest.h>

#include <oleauto.h>

using namespace ctltest;

namespace {

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

const wchar_t* const kNames[] = {L"txt", L"lst", L"fra", L"lbl"};

std::unique_ptr<host::Form> FormWithEach(const std::wstring& common) {
    auto block = [&](const wchar_t* kind, const wchar_t* name, int left) {
        return std::wstring(L" Begin ") + kind + L" " + name + L"\n  Left = " + std::to_wstring(left) +
               L"\n  Top = 600\n  Width = 1500\n  Height = 1200\n" + common + L" End\n";
    };
    return ShowForm(L"Begin Form F\n ClientWidth = 8400\n ClientHeight = 2600\n" + block(L"TextBoxW", L"txt", 120) +
                    block(L"ListBoxW", L"lst", 2160) + block(L"FrameW", L"fra", 4200) +
                    block(L"LabelW", L"lbl", 6240) + L"End\n");
}

foundation::LibraryControlBase& Control(host::Form& form, const wchar_t* name) {
    return form.Ctl<foundation::LibraryControlBase>(name);
}

// The controls' MousePointer members are their own (made public by each), so the test reaches
// them through the concrete classes.
template <class F>
void ForEach(host::Form& form, F&& f) {
    f(form.Ctl<controls::TextBoxW>(L"txt"));
    f(form.Ctl<controls::ListBoxW>(L"lst"));
    f(form.Ctl<controls::FrameW>(L"fra"));
    f(form.Ctl<controls::LabelW>(L"lbl"));
}

// The real mouse to a screen point, as a person would move it.
void MoveMouseTo(POINT screen) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(INPUT));
}

HCURSOR ShownCursor() {
    CURSORINFO ci{};
    ci.cbSize = sizeof(ci);
    return GetCursorInfo(&ci) ? ci.hCursor : nullptr;
}

// Moves the mouse into the middle of the control (two steps, so a move reaches it even when the
// mouse is there already) and waits until the pointer shown is `expected`; returns what is shown.
HCURSOR CursorOver(host::Form& form, const host::ControlSite& site, HCURSOR expected) {
    RECT r = site.PixelRect();
    POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(site.ContainerWindow(), &pt);
    MoveMouseTo({pt.x - 3, pt.y - 3});
    Drain();
    MoveMouseTo(pt);
    PumpUntil([&] { return ShownCursor() == expected; }, 1500);
    return ShownCursor();
}

host::Picture IconPicture(LPCWSTR id) {
    PICTDESC pd{};
    pd.cbSizeofstruct = sizeof(pd);
    pd.picType = PICTYPE_ICON;
    pd.icon.hicon = CopyIcon(LoadIconW(nullptr, id));
    host::Picture icon;
    OleCreatePictureIndirect(&pd, IID_IPicture, TRUE, reinterpret_cast<void**>(&icon));
    return icon;
}

HCURSOR IconHandle(const host::Picture& icon) {
    OLE_HANDLE h = 0;
    icon->get_Handle(&h);
    return reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(h));
}

bool SystemReadsRightToLeft() {
    LOCALESIGNATURE sig{};
    if (!GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_FONTSIGNATURE, reinterpret_cast<LPWSTR>(&sig),
                        sizeof(sig) / sizeof(wchar_t)))
        return true;
    return (sig.lsUsb[3] & 0x08000000) != 0;
}

std::wstring Display(host::Control& c, long dispId) {
    BSTR text = nullptr;
    if (foundation::AnswerGetDisplayString(&c, dispId, &text) != S_OK) return L"<not answered>";
    std::wstring out(text, SysStringLen(text));
    SysFreeString(text);
    return out;
}

std::vector<std::pair<long, std::wstring>> Predefined(host::Control& c, long dispId) {
    CALPOLESTR strings{};
    CADWORD cookies{};
    std::vector<std::pair<long, std::wstring>> out;
    if (foundation::AnswerGetPredefinedStrings(&c, dispId, &strings, &cookies) != S_OK) return out;
    for (ULONG i = 0; i < strings.cElems; ++i) {
        out.emplace_back(static_cast<long>(cookies.pElems[i]), strings.pElems[i]);
        CoTaskMemFree(strings.pElems[i]);
    }
    CoTaskMemFree(strings.pElems);
    CoTaskMemFree(cookies.pElems);
    return out;
}

}  // namespace

TEST(CommonProperties, ThePointerShownOverEveryControlIsItsMousePointerOrItsIcon) {
    auto form = FormWithEach(L"");
    ASSERT_TRUE(Activate(*form));
    host::Picture icon = IconPicture(IDI_QUESTION);
    HCURSOR cd = LoadCursorW(nullptr, MAKEINTRESOURCEW(32663));
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    ForEach(*form, [&](auto& c) {
        const host::ControlSite& site = c.Site();
        SCOPED_TRACE(Narrow(site.Name()));
        c.MousePointer(2);
        EXPECT_EQ(CursorOver(*form, site, LoadCursorW(nullptr, IDC_CROSS)), LoadCursorW(nullptr, IDC_CROSS));
        c.MousePointer(11);
        EXPECT_EQ(CursorOver(*form, site, LoadCursorW(nullptr, IDC_WAIT)), LoadCursorW(nullptr, IDC_WAIT));
        // A system without the arrow-and-CD cursor shows the arrow, never no pointer.
        c.MousePointer(16);
        HCURSOR shown = CursorOver(*form, site, cd ? cd : arrow);
        EXPECT_NE(shown, nullptr);
        EXPECT_EQ(shown, cd ? cd : arrow);
        // 99: the control's own icon.
        c.MouseIcon(icon);
        c.MousePointer(99);
        EXPECT_EQ(CursorOver(*form, site, IconHandle(icon)), IconHandle(icon));
        c.MousePointer(0);
        EXPECT_NE(CursorOver(*form, site, arrow), IconHandle(icon));
    });
}

TEST(CommonProperties, MouseIconTakesOnlyAnIconAndIsStoredByEveryControl) {
    auto form = FormWithEach(L"");
    host::Picture icon = IconPicture(IDI_WARNING);
    HDC screen = GetDC(nullptr);
    host::Picture bitmap = foundation::PictureFromBitmap(CreateCompatibleBitmap(screen, 16, 16), true);
    ReleaseDC(nullptr, screen);
    ForEach(*form, [&](auto& c) {
        SCOPED_TRACE(Narrow(c.TypeName()));
        try {
            c.MouseIcon(bitmap);
            ADD_FAILURE() << "a bitmap taken as MouseIcon";
        } catch (const host::Error& e) {
            EXPECT_EQ(e.Number(), 380);
        }
        EXPECT_FALSE(c.MouseIcon());
        c.MouseIcon(icon);
        host::PropertyBag bag;
        c.WriteProperties(bag);
        EXPECT_EQ(bag.Read(L"MouseIcon").AsPicture().Get(), icon.Get());
        EXPECT_FALSE(bag.Contains(L"MousePointer")) << "a default is not written";
        c.MousePointer(7);
        c.WriteProperties(bag);
        EXPECT_EQ(bag.Read(L"MousePointer").AsLong(), 7);
    });
}

TEST(CommonProperties, ALoadedRightToLeftControlIsSettledByItsMode) {
    // Mode 0: right to left whatever the system reads.
    auto mirrored = FormWithEach(L"  RightToLeft = True\n  RightToLeftMode = 0\n");
    ForEach(*mirrored, [&](auto& c) { EXPECT_TRUE(c.RightToLeft()) << Narrow(c.TypeName()); });
    auto& txt = mirrored->Ctl<controls::TextBoxW>(L"txt");
    EXPECT_TRUE(GetWindowLongW(txt.hWnd(), GWL_EXSTYLE) & WS_EX_RTLREADING);
    auto& lst = mirrored->Ctl<controls::ListBoxW>(L"lst");
    EXPECT_TRUE(GetWindowLongW(lst.hWnd(), GWL_EXSTYLE) & WS_EX_RTLREADING);

    // Mode 2, the system's language: on a left-to-right system the stored True gives False,
    // exactly as the setter would.
    if (SystemReadsRightToLeft()) GTEST_SKIP() << "the system language reads right to left";
    auto settled = FormWithEach(L"  RightToLeft = True\n  RightToLeftMode = 2\n");
    ForEach(*settled, [&](auto& c) { EXPECT_FALSE(c.RightToLeft()) << Narrow(c.TypeName()); });
    EXPECT_FALSE(GetWindowLongW(settled->Ctl<controls::TextBoxW>(L"txt").hWnd(), GWL_EXSTYLE) & WS_EX_RTLREADING);
    EXPECT_FALSE(GetWindowLongW(settled->Ctl<controls::ListBoxW>(L"lst").hWnd(), GWL_EXSTYLE) & WS_EX_RTLREADING);
    auto& frame = settled->Ctl<controls::FrameW>(L"fra");
    EXPECT_EQ(frame.Alignment(), 0) << "a frame that is not right to left keeps its caption left";
    // The setter reaches the same answer.
    auto plain = FormWithEach(L"");
    ForEach(*plain, [&](auto& c) {
        c.RightToLeftMode(2);
        c.RightToLeft(true);
        EXPECT_FALSE(c.RightToLeft());
    });
}

TEST(CommonProperties, EveryControlAnswersThePropertySheetThroughTheHostsHook) {
    auto form = FormWithEach(L"  MousePointer = 13\n");
    for (const wchar_t* name : kNames) {
        foundation::LibraryControlBase& c = Control(*form, name);
        SCOPED_TRACE(Narrow(name));
        long id = foundation::DispIdOfName(c, L"MousePointer");
        ASSERT_NE(id, -1);
        EXPECT_EQ(foundation::DispIdOfName(c, L"mousepointer"), id) << "names in any case";
        EXPECT_EQ(foundation::DispIdOfName(c, L"NoSuchProperty"), -1);
        EXPECT_EQ(Display(c, id), L"13 - Arrow and Hourglass");
        auto list = Predefined(c, id);
        ASSERT_EQ(list.size(), 18u);
        EXPECT_EQ(list.front(), std::make_pair(0L, std::wstring(L"0 - Default")));
        EXPECT_EQ(list.back(), std::make_pair(99L, std::wstring(L"99 - Custom")));
        VARIANT v;
        VariantInit(&v);
        EXPECT_EQ(foundation::AnswerGetPredefinedValue(&c, id, 99, &v), S_OK);
        EXPECT_EQ(v.lVal, 99);
        // A property whose values the control does not list: not answered.
        long rtl = foundation::DispIdOfName(c, L"RightToLeftMode");
        ASSERT_NE(rtl, -1);
        EXPECT_EQ(Display(c, rtl), L"<not answered>");
    }
    // The frame lists its two border styles; the text box's five are not listed.
    auto& frame = form->Ctl<controls::FrameW>(L"fra");
    long border = foundation::DispIdOfName(frame, L"BorderStyle");
    EXPECT_EQ(Display(frame, border), L"1 - Fixed Single");
    frame.BorderStyle(0);
    EXPECT_EQ(Display(frame, border), L"0 - None");
    auto borders = Predefined(frame, border);
    ASSERT_EQ(borders.size(), 2u);
    EXPECT_EQ(borders[1], std::make_pair(1L, std::wstring(L"1 - Fixed Single")));
    auto& txt = form->Ctl<controls::TextBoxW>(L"txt");
    EXPECT_EQ(Display(txt, foundation::DispIdOfName(txt, L"BorderStyle")), L"<not answered>");
}
