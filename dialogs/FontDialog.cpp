// ShowFont: ChooseFontW over the font properties; hooked, the Apply button raises FontApply with
// what the dialog shows at that moment.
#include "dialogs/CommonDialog.h"

#include "controls/foundation/Common.h"
#include "controls/foundation/DialogHookForwarder.h"
#include "dialogs/DialogErrors.h"
#include "dialogs/HelpRoute.h"

#include <cderr.h>

#include <algorithm>
#include <cmath>

namespace dialogs {

namespace {

constexpr int ApplyButton = 1026;  // psh3
constexpr int FaceBox = 1136, StyleBox = 1137, SizeBox = 1138, ColorBox = 1139, ScriptBox = 1140;

int ScreenPixelsPerInchY() {
    host::WindowDC screen(nullptr);
    return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

// The choice flag is set when the box has no selection, cleared when it has one.
DWORD WithSelectionFlag(DWORD flags, HWND hDlg, int box, DWORD noSelectionFlag) {
    bool none = SendDlgItemMessageW(hDlg, box, CB_GETCURSEL, 0, 0) == CB_ERR;
    return none ? (flags | noSelectionFlag) : (flags & ~noSelectionFlag);
}

}  // namespace

bool CommonDialog::ShowFont() {
    HWND owner = OwnerWindow();
    LOGFONTW lf{};
    std::copy_n(fontName_.begin(), std::min<size_t>(fontName_.size(), LF_FACESIZE - 1), lf.lfFaceName);
    lf.lfHeight = -MulDiv(static_cast<int>(std::lround(fontSize_)), ScreenPixelsPerInchY(), 72);
    lf.lfWeight = fontBold_ ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = fontItalic_;
    lf.lfUnderline = fontUnderline_;
    lf.lfStrikeOut = fontStrikethru_;
    lf.lfCharSet = static_cast<BYTE>(fontCharset_ & 0xFF);
    lf.lfQuality = 0;

    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof(cf);
    cf.hwndOwner = owner;
    cf.lpLogFont = &lf;
    cf.rgbColors = static_cast<COLORREF>(foundation::TranslateColorValue(static_cast<unsigned long>(color_)));
    cf.nSizeMin = static_cast<INT>(min_);
    cf.nSizeMax = static_cast<INT>(max_);
    cf.Flags = static_cast<DWORD>(flags_) | CF_INITTOLOGFONTSTRUCT;
    if (hookEvents_) {
        cf.Flags |= CF_ENABLEHOOK;
        cf.lpfnHook = &foundation::DialogHookForwarder::FontDialog;
        cf.lCustData = reinterpret_cast<LPARAM>(static_cast<foundation::ISubclass*>(this));
    }
    // Checked here as well: not every platform's dialog refuses a maximum below the minimum.
    if ((cf.Flags & CF_LIMITSIZE) && cf.nSizeMax < cf.nSizeMin) RaiseFontDialogError(CFERR_MAXLESSTHANMIN);
    BOOL ok;
    {
        HelpRoute help(this, owner, kind::Font, (cf.Flags & CF_SHOWHELP) != 0);
        ok = ChooseFontW(&cf);
    }
    if (!ok) {
        DWORD code = CommDlgExtendedError();
        if (code == 0) return Cancelled();
        RaiseFontDialogError(code);
    }
    DWORD flags = cf.Flags & ~CF_INITTOLOGFONTSTRUCT;
    if (hookEvents_) flags &= ~CF_ENABLEHOOK;
    flags_ = static_cast<long>(flags);
    if (!(flags & CF_NOFACESEL)) fontName_ = lf.lfFaceName;
    if (!(flags & CF_NOSTYLESEL)) {
        fontBold_ = lf.lfWeight == FW_BOLD;
        fontItalic_ = lf.lfItalic != 0;
    }
    if (!(flags & CF_NOSIZESEL)) fontSize_ = static_cast<float>(cf.iPointSize) / 10.0f;
    if (flags & CF_EFFECTS) {
        fontStrikethru_ = lf.lfStrikeOut != 0;
        fontUnderline_ = lf.lfUnderline != 0;
        color_ = static_cast<long>(cf.rgbColors);
    }
    if (!(flags & CF_NOSCRIPTSEL)) fontCharset_ = lf.lfCharSet;
    return true;
}

LRESULT CommonDialog::FontHookMessage(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam) {
    switch (wMsg) {
    case WM_INITDIALOG: InitDialog(kind::Font, hwnd); return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == ApplyButton && HIWORD(wParam) == BN_CLICKED) RaiseFontApply(hwnd);
        return 0;
    default: return 0;
    }
}

void CommonDialog::RaiseFontApply(HWND hDlg) {
    DWORD flags = static_cast<DWORD>(flags_);
    flags = WithSelectionFlag(flags, hDlg, FaceBox, CF_NOFACESEL);
    flags = WithSelectionFlag(flags, hDlg, StyleBox, CF_NOSTYLESEL);
    flags = WithSelectionFlag(flags, hDlg, SizeBox, CF_NOSIZESEL);
    flags = WithSelectionFlag(flags, hDlg, ScriptBox, CF_NOSCRIPTSEL);
    LOGFONTW lf{};
    SendMessageW(hDlg, WM_CHOOSEFONT_GETLOGFONT, 0, reinterpret_cast<LPARAM>(&lf));
    lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
    auto size = static_cast<float>(MulDiv(-lf.lfHeight, 72, ScreenPixelsPerInchY()));
    LRESULT colorItem = SendDlgItemMessageW(hDlg, ColorBox, CB_GETCURSEL, 0, 0);
    long color = colorItem == CB_ERR ? 0 : static_cast<long>(SendDlgItemMessageW(hDlg, ColorBox, CB_GETITEMDATA, colorItem, 0));
    FontApply(static_cast<long>(flags), std::wstring(lf.lfFaceName), size, lf.lfWeight == FW_BOLD, lf.lfItalic != 0,
              lf.lfStrikeOut != 0, lf.lfUnderline != 0, static_cast<int>(lf.lfCharSet), color, hDlg);
}

}  // namespace dialogs
