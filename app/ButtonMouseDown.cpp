#include "app/ButtonMouseDown.h"

#include "controls/foundation/ComCtlsBase.h"
#include "host/Scale.h"

#include <windowsx.h>

namespace workbench {
namespace {
constexpr wchar_t kSubclassName[] = L"WorkbenchMouseDown";
}

void ButtonMouseDown::Attach(HWND button) {
    subclass_ = foundation::ScopedSubclass(button, this, 1, kSubclassName);
}

LRESULT ButtonMouseDown::ISubclass_Message(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam, LONG_PTR) {
    // The button handles the press first (pushed look, focus, capture), so that a popup menu
    // opened by the handler takes the capture over and the release does not click the button.
    LRESULT result = foundation::CallDefaultProc(hwnd, wMsg, wParam, lParam);
    switch (wMsg) {
    case WM_LBUTTONDOWN: RaiseMouseDown(1, wParam, lParam); break;
    case WM_RBUTTONDOWN: RaiseMouseDown(2, wParam, lParam); break;
    case WM_MBUTTONDOWN: RaiseMouseDown(4, wParam, lParam); break;
    }
    return result;
}

void ButtonMouseDown::RaiseMouseDown(int button, WPARAM wParam, LPARAM lParam) {
    host::ScaleConverter sc = host::ScaleConverter::Screen();
    float x = static_cast<float>(sc.PixelsToTwipsX(GET_X_LPARAM(lParam)));
    float y = static_cast<float>(sc.PixelsToTwipsY(GET_Y_LPARAM(lParam)));
    MouseDown(button, foundation::ShiftStateFromParam(wParam), x, y);
}

}  // namespace workbench
