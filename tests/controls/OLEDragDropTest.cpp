// The library controls as OLE drag sources and drop targets on a real form: their drop modes
// reach the host, and the host's notifications come out as their events in the container's
// units.
#include "ControlsTestSupport.h"

#include "controls/frame/FrameW.h"
#include "controls/label/LabelW.h"
#include "controls/listbox/ListBoxW.h"
#include "controls/textbox/TextBoxW.h"
#include "host/ControlSite.h"
#include "host/DataObject.h"
#include "host/Error.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace ctltest;

namespace {

const wchar_t* kDesign = LR"(Begin Form F
   ClientWidth = 9000
   ClientHeight = 4000
   Begin ListBoxW lst
      Left = 300
      Top = 300
      Width = 2400
      Height = 1500
   End
   Begin TextBoxW txt
      OLEDropMode = 2
      Left = 3000
      Top = 300
      Width = 2400
      Height = 1500
   End
   Begin LabelW lbl
      OLEDropMode = 1
      Caption = "放在这里"
      Left = 300
      Top = 2100
      Width = 2400
      Height = 600
   End
   Begin FrameW fra
      Caption = "不接受"
      Left = 5700
      Top = 300
      Width = 2400
      Height = 1500
   End
End
)";

struct Seen {
    std::vector<std::wstring> events;
    float x = -1, y = -1;
    std::wstring text;
};

// Connects the drop-side events of a control to a record.
template <class C>
void Watch(C& c, Seen& seen, long answer) {
    c.OLEDragOver = [&seen, answer](host::DataObject&, long& effect, int, int, float, float, int state) {
        seen.events.push_back(L"over " + std::to_wstring(state));
        effect = answer;
    };
    c.OLEDragDrop = [&seen, answer](host::DataObject& data, long& effect, int, int, float x, float y) {
        host::Bytes b = data.GetData(CF_UNICODETEXT);
        seen.text.assign(reinterpret_cast<const wchar_t*>(b.data()), b.size() / 2 - 1);
        seen.events.push_back(L"drop");
        seen.x = x;
        seen.y = y;
        effect = answer;
    };
}

POINT ScreenPoint(host::Form& form, const wchar_t* name, int dx, int dy) {
    RECT r = form.Site(name).PixelRect();
    POINT p{r.left + dx, r.top + dy};
    ClientToScreen(form.Site(name).ContainerWindow(), &p);
    return p;
}

}  // namespace

TEST(OLEDragDrop, ControlsPassTheHostsDragOnAsTheirEvents) {
    RegisterLibraryControls();
    auto form = ShowForm(kDesign);
    Activate(*form);
    auto& list = form->Ctl<controls::ListBoxW>(L"lst");
    auto& text = form->Ctl<controls::TextBoxW>(L"txt");
    auto& label = form->Ctl<controls::LabelW>(L"lbl");
    auto& frame = form->Ctl<controls::FrameW>(L"fra");
    EXPECT_EQ(text.OLEDropMode(), 2);
    EXPECT_EQ(label.OLEDropMode(), 1);

    Seen atLabel, atText, atFrame;
    Watch(label, atLabel, 1);
    Watch(text, atText, 2);
    Watch(frame, atFrame, 1);
    std::vector<long> completed;
    list.OLEStartDrag = [](host::DataObject& data, long& allowed) {
        const wchar_t s[] = L"列表项";
        data.SetData(host::Bytes(reinterpret_cast<const std::uint8_t*>(s), reinterpret_cast<const std::uint8_t*>(s) + sizeof s),
                     CF_UNICODETEXT);
        allowed = 3;
    };
    list.OLECompleteDrag = [&](long& effect) { completed.push_back(effect); };

    // Dropped on the windowless label: the point arrives in twips of the form.
    POINT p = ScreenPoint(*form, L"lbl", 10, 5);
    SetCursorPos(p.x, p.y);
    list.OLEDrag();
    EXPECT_EQ(atLabel.events, (std::vector<std::wstring>{L"over 0", L"drop"}));
    EXPECT_EQ(atLabel.text, L"列表项");
    HDC screen = GetDC(nullptr);
    const float perPixelX = 1440.0f / static_cast<float>(GetDeviceCaps(screen, LOGPIXELSX));
    const float perPixelY = 1440.0f / static_cast<float>(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    EXPECT_NEAR(atLabel.x, 10 * perPixelX, 0.5);
    EXPECT_NEAR(atLabel.y, 5 * perPixelY, 0.5);

    // On the text box (its automatic drop mode makes the host's mode manual), then on the frame,
    // which takes no drops.
    p = ScreenPoint(*form, L"txt", 20, 20);
    SetCursorPos(p.x, p.y);
    list.OLEDrag();
    EXPECT_EQ(atText.events, (std::vector<std::wstring>{L"over 0", L"drop"}));
    p = ScreenPoint(*form, L"fra", 20, 20);
    SetCursorPos(p.x, p.y);
    list.OLEDrag();
    EXPECT_TRUE(atFrame.events.empty());
    EXPECT_EQ(completed, (std::vector<long>{1, 2, 0}));

    // Switched on at run time, the frame answers; a bad mode is refused and changes nothing.
    frame.OLEDropMode(1);
    list.OLEDrag();
    EXPECT_EQ(atFrame.events, (std::vector<std::wstring>{L"over 0", L"drop"}));
    EXPECT_EQ(completed.back(), 1);
    EXPECT_THROW(frame.OLEDropMode(2), host::Error);
    EXPECT_EQ(frame.OLEDropMode(), 1);
    SetCursorPos(0, 0);
}
