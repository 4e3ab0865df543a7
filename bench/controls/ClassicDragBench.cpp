// What one mouse move costs during a classic drag: the move goes through the input queue to the
// drag, which tells the target under the mouse (DragOver) and moves the outline (an inverted band
// drawn twice: off at the old place, on at the new one) or, with a DragIcon, only sets the
// cursor. Printed for a small and a large dragged control, on a form of 40 controls.
// Usage: classic_drag_bench [moves]
#include "bench/WallClock.h"
#include "controls/label/LabelW.h"
#include "controls/textbox/TextBoxW.h"
#include "host/Application.h"
#include "host/ClassicDrag.h"
#include "host/ControlRegistry.h"
#include "host/ControlSite.h"
#include "host/DesignData.h"
#include "host/Form.h"

#include <olectl.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>

namespace {


void MoveMouse(POINT p) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

std::wstring Design() {
    std::wstring d = L"Begin Form Bench\n ClientWidth = 12000\n ClientHeight = 8000\n";
    for (int i = 0; i < 40; ++i) {
        bool label = i % 2 == 0;
        d += std::wstring(L" Begin ") + (label ? L"LabelW" : L"TextBoxW") + L" c" + std::to_wstring(i) + L"\n";
        d += L"  Left = " + std::to_wstring(120 + (i % 8) * 1450) + L"\n  Top = " + std::to_wstring(120 + (i / 8) * 600) +
             L"\n  Width = 1400\n  Height = 450\n End\n";
    }
    d += L" Begin LabelW big\n  Left = 120\n  Top = 3300\n  Width = 9000\n  Height = 4500\n End\nEnd\n";
    return d;
}

// Seconds per move of `source` dragged to and fro over the form, each move waited for.
double PerMove(host::Form& form, host::ControlSite& source, int moves) {
    long overs = 0;
    form.DragOver = [&](host::ControlSite&, float, float, int) { ++overs; };
    for (host::ControlSite* s : form.TopLevelSites()) s->DragOver = [&](host::ControlSite&, float, float, int) { ++overs; };
    RECT r = source.PixelRect();
    POINT start{r.left + 5, r.top + 5};
    ClientToScreen(form.hWnd(), &start);
    SetCursorPos(start.x, start.y);
    source.Drag(1);
    double t0 = Seconds();
    for (int i = 0; i < moves; ++i) {
        long before = overs;
        MoveMouse(POINT{start.x + 20 + (i % 2) * 7, start.y + 3 + (i % 3)});
        host::App().PumpUntil([&] { return overs != before; }, 2000);
    }
    double t = Seconds() - t0;
    source.Drag(0);
    return t / moves;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int moves = argc > 1 ? static_cast<int>(std::wcstol(argv[1], nullptr, 10)) : 300;
    host::RegisterControlKind(L"LabelW", [] { return std::make_unique<controls::LabelW>(); });
    host::RegisterControlKind(L"TextBoxW", [] { return std::make_unique<controls::TextBoxW>(); });
    host::Form form(host::ParseDesign(Design()));
    form.Show();
    SetForegroundWindow(form.hWnd());
    host::App().PumpUntil([] { return !GetQueueStatus(QS_ALLINPUT); }, 2000);
    std::printf("%-34s %12s\n", "dragged control", "ms per move");
    std::printf("%-34s %12.3f\n", "small label, outline (93x30 px)", PerMove(form, form.Site(L"c0"), moves) * 1e3);
    std::printf("%-34s %12.3f\n", "large label, outline (600x300 px)", PerMove(form, form.Site(L"big"), moves) * 1e3);
    PICTDESC pd{};
    pd.cbSizeofstruct = sizeof(pd);
    pd.picType = PICTYPE_ICON;
    pd.icon.hicon = CopyIcon(LoadIconW(nullptr, IDI_INFORMATION));
    host::Picture icon;
    OleCreatePictureIndirect(&pd, IID_IPicture, TRUE, reinterpret_cast<void**>(&icon));
    form.Site(L"big").DragIcon(icon);
    std::printf("%-34s %12.3f\n", "large label, DragIcon", PerMove(form, form.Site(L"big"), moves) * 1e3);
    return 0;
}
