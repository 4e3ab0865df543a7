// TextBoxW under comctl32 6, as the program runs it (the manifest gives the version 6 edit
// window, which shows cue banners).
#include "ControlsTestSupport.h"

#include "controls/foundation/ComCtlsBase.h"
#include "controls/textbox/TextBoxW.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using controls::TextBoxW;
using namespace ctltest;

namespace {

std::wstring CueOf(HWND edit) {
    wchar_t buf[64] = {};
    SendMessageW(edit, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(buf), 64);
    return buf;
}

}  // namespace

TEST(TextBoxWComCtl6, CueBannerGoesToSingleLineBoxesAndComesBackWithEveryNewWindow) {
    foundation::OverrideComCtlVersionLevel(1);
    auto form = ShowForm(L"Begin Form F\n ClientWidth = 6000\n ClientHeight = 3000\n"
                         L" Begin TextBoxW txt\n  Left = 120\n  Top = 120\n  Width = 4000\n  Height = 315\n"
                         L"  CueBanner = \"输入模式\"\n  Text = \"\"\n End\nEnd\n");
    auto& box = form->Ctl<TextBoxW>(L"txt");
    EXPECT_EQ(CueOf(box.hWnd()), L"输入模式");
    box.CueBanner(L"查找");
    EXPECT_EQ(CueOf(box.hWnd()), L"查找");
    HWND before = box.hWnd();
    box.HideSelection(false);  // a new window
    EXPECT_NE(box.hWnd(), before);
    EXPECT_EQ(CueOf(box.hWnd()), L"查找");
    // A multi-line box has none, and below comctl32 6 nothing is sent.
    box.MultiLine(true);
    EXPECT_EQ(CueOf(box.hWnd()), L"");
    box.MultiLine(false);
    foundation::OverrideComCtlVersionLevel(0);
    box.CueBanner(L"旧版");
    EXPECT_EQ(CueOf(box.hWnd()), L"查找");
    foundation::OverrideComCtlVersionLevel(std::nullopt);
}
