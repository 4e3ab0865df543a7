// The preset menu, opened by a press of either mouse button on Command1 and answered with the
// keyboard while it is up.
#include "Input.h"
#include "Workbench.h"

#include <gtest/gtest.h>

namespace wbtest {
namespace {

using Entries = std::vector<std::wstring>;

// The menu: 常用匹配 (disabled heading), separator, 文本处理 ▸ presets 0..2, 网络相关 ▸ 3..7.
void ChoosePreset(HWND button, int index, bool rightButton = false) {
    if (rightButton) PostMessageW(button, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 4));
    else PostLeftPress(button);
    // One burst: the menu's own loop takes the keys, so nothing may wait in between.
    std::vector<WORD> keys{VK_DOWN, VK_DOWN};
    if (index >= 3) {
        keys.push_back(VK_DOWN);
        index -= 3;
    }
    keys.push_back(VK_RIGHT);
    keys.insert(keys.end(), static_cast<size_t>(index), VK_DOWN);
    keys.push_back(VK_RETURN);
    PressKeys(keys);
}

TEST(Preset, EachItemPutsItsPatternIntoThePatternBox) {
    Workbench wb;
    const wchar_t* patterns[] = {
        L"[\\u4e00-\\u9fa5]",
        L"[\\u4E00-\\u9FA5A-Za-z0-9_]+",
        L"[A-Za-z0-9_]+",
        L"\\w+([-+.]\\w+)*@\\w+([-.]\\w+)*\\.\\w+([-.]\\w+)*",
        L"https?://([\\w-]+\\.)+[\\w-]+(/[\\w-./?%&=]*)?",
        L"[a-zA-Z0-9][-a-zA-Z0-9]{0,62}(\\.[a-zA-Z0-9][-a-zA-Z0-9]{0,62})+\\.?",
        L"<(\\S*?)[^>]*>.*?|<.*?/>",
        L"((2(5[0-5]|[0-4]\\d))|[0-1]?\\d{1,2})(\\.((2(5[0-5]|[0-4]\\d))|[0-1]?\\d{1,2})){3}",
    };
    for (int i = 0; i < 8; ++i) {
        ChoosePreset(wb.Handle(L"Command1"), i);
        EXPECT_EQ(wb.Text(L"txtMatch"), patterns[i]) << "preset " << i;
    }
}

TEST(Preset, WithRealTimeOnTheChosenPatternRunsAtOnce) {
    Workbench wb;
    wb.PasteSource(L"说 hi 你好");
    Click(wb.Handle(L"Check2"));
    ChoosePreset(wb.Handle(L"Command1"), 0);
    ASSERT_TRUE(wb.WaitForRealTimeRun());
    EXPECT_EQ(wb.Entries(L"lstResults"), (Entries{L"说", L"你", L"好"}));
    EXPECT_EQ(wb.ResultsCaption(), L"结果 （共3个匹配项）");
}

TEST(Preset, WithRealTimeOffOnlyThePatternChangesAndTheRightButtonOpensItToo) {
    Workbench wb;
    wb.PasteSource(L"mail a.b@example.org now");
    wb.SetPattern(L"o");
    wb.RunByReturn();
    ChoosePreset(wb.Handle(L"Command1"), 3, /*rightButton=*/true);
    EXPECT_EQ(wb.Text(L"txtMatch"), L"\\w+([-+.]\\w+)*@\\w+([-.]\\w+)*\\.\\w+([-.]\\w+)*");
    EXPECT_EQ(wb.Entries(L"lstResults"), (Entries{L"o", L"o"}));
    wb.RunByReturn();
    EXPECT_EQ(wb.Entries(L"lstResults"), (Entries{L"a.b@example.org"}));
}

}  // namespace
}  // namespace wbtest
