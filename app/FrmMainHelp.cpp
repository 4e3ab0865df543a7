// The helps around the match run: the preset menu, the reference panel and its profile labels.
#include "app/FrmMain.h"

#include "app/ReferenceLines.h"
#include "app/Texts.h"
#include "controls/listbox/ListBoxW.h"
#include "controls/textbox/TextBoxW.h"
#include "host/Intrinsics.h"
#include "util/clsUtil.h"

#include <cmath>

namespace workbench {

// Any button and any shift state: the menu opens on the press, at the button's top-left corner.
void FrmMain::Command1_MouseDown(int, int, float, float) {
    PopupMenu(Menu(L"mnuPopup"), Command1().Left(), Command1().Top());
}

// Setting the text raises Change, so in real-time mode the preset runs at once.
void FrmMain::mnu匹配选项_Click(int index) {
    txtMatch().Text(Menu(L"mnu匹配选项", index).Tag());
}

void FrmMain::Command2_Click() {
    // Window widths are whole pixels: at 120 DPI a width set in twips can come back a few twips
    // off, so "narrow" means within one pixel of it, or the panel could never open there.
    bool narrow = std::fabs(Width() - NarrowWidth()) < Scale().TwipsPerPixelX();
    Width(narrow ? WideWidth() : NarrowWidth());
    Command2().Caption(narrow ? PanelOpenCaption : PanelClosedCaption);
}

// Narrow: the client area ends where the reference panel begins; wide: the whole design client
// area. The window's frame is added as it really is: 90 twips at 96 DPI (10770 and 16965 twips),
// other twips at other DPIs, where fixed outer widths would show a sliver of the panel.
double FrmMain::NarrowWidth() const { return Site(L"FrameW3").Left() + (Width() - ScaleWidth()); }
double FrmMain::WideWidth() const { return designClientWidth_ + (Width() - ScaleWidth()); }

void FrmMain::Label1_Click(int) {
    clsUtil util;
    util.NavigateWebpage(ProfileAddress);
}

void FrmMain::FillReferenceList() {
    for (const std::wstring& line : ReferenceLines()) ListBoxW1().AddItem(line);
}

}  // namespace workbench
