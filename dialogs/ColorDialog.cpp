// ShowColor: ChooseColorW over Color and the instance's sixteen custom colours; hooked, OK asks
// the ColorValidate handler first.
#include "dialogs/CommonDialog.h"

#include "controls/foundation/Common.h"
#include "controls/foundation/DialogHookForwarder.h"
#include "dialogs/DialogErrors.h"
#include "dialogs/HelpRoute.h"
#include "dialogs/RegisteredMessages.h"

namespace dialogs {

namespace {

constexpr int RedBox = 706, GreenBox = 707, BlueBox = 708;

// The colour the dialog's red, green and blue boxes show.
COLORREF ShownColor(HWND dialog) {
    auto channel = [dialog](int id) { return static_cast<BYTE>(GetDlgItemInt(dialog, id, nullptr, FALSE)); };
    return RGB(channel(RedBox), channel(GreenBox), channel(BlueBox));
}

// "commdlg_SetRGBColor" first; a dialog that ignores it (Wine's) is given the colour through its
// red, green and blue boxes, which it follows as when a person types into them.
void ShowColorInDialog(HWND dialog, COLORREF rgb) {
    SendMessageW(dialog, msg::SetRgbColor(), 0, static_cast<LPARAM>(rgb));
    if (!GetDlgItem(dialog, RedBox) || ShownColor(dialog) == rgb) return;
    SetDlgItemInt(dialog, RedBox, GetRValue(rgb), FALSE);
    SetDlgItemInt(dialog, GreenBox, GetGValue(rgb), FALSE);
    SetDlgItemInt(dialog, BlueBox, GetBValue(rgb), FALSE);
}

}  // namespace

bool CommonDialog::ShowColor() {
    HWND owner = OwnerWindow();
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = owner;
    cc.hInstance = reinterpret_cast<HWND>(GetModuleHandleW(nullptr));
    cc.rgbResult = static_cast<COLORREF>(foundation::TranslateColorValue(static_cast<unsigned long>(color_)));
    cc.lpCustColors = customColors_.data();
    cc.Flags = static_cast<DWORD>(flags_);
    if (hookEvents_) {
        cc.Flags |= CC_ENABLEHOOK;
        cc.lpfnHook = &foundation::DialogHookForwarder::ColorDialog;
        cc.lCustData = reinterpret_cast<LPARAM>(static_cast<foundation::ISubclass*>(this));
    }
    BOOL ok;
    {
        // Hooked, the owner is listened to as well: some platforms send the OK check there.
        HelpRoute route(this, owner, kind::Color, (cc.Flags & CC_SHOWHELP) != 0, hookEvents_);
        ok = ChooseColorW(&cc);
        colorDialog_ = nullptr;
    }
    if (!ok) {
        DWORD code = CommDlgExtendedError();
        if (code == 0) return Cancelled();
        RaiseColorDialogError(code);
    }
    flags_ = static_cast<long>(cc.Flags & ~CC_ENABLEHOOK);
    color_ = static_cast<long>(cc.rgbResult);
    return true;
}

LRESULT CommonDialog::ColorHookMessage(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam) {
    if (wMsg == WM_INITDIALOG) {
        colorDialog_ = hwnd;
        msg::ColorOk();
        InitDialog(kind::Color, hwnd);
        return TRUE;
    }
    if (wMsg == msg::ColorOk()) return ColorOk(hwnd, reinterpret_cast<const CHOOSECOLORW*>(lParam));
    return 0;
}

// OK was pressed: a handler that cancels keeps the dialog open, showing the colour it chose.
LRESULT CommonDialog::ColorOk(HWND hDlg, const CHOOSECOLORW* cc) {
    long rgb = cc ? static_cast<long>(cc->rgbResult) : 0;
    const long shown = rgb;
    bool cancel = false;
    ColorValidate(rgb, cancel, hDlg);
    if (!cancel) return 0;
    if (rgb != shown) ShowColorInDialog(hDlg, static_cast<COLORREF>(rgb));
    SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, 1);
    return 1;
}

}  // namespace dialogs
