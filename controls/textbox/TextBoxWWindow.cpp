// TextBoxW: the edit window's life — built from the properties, destroyed with its subclasses
// removed first, re-created (keeping text, selection and scroll position) when a property
// changes a style that a live edit window cannot take, and kept the size of the host window.
#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/Common.h"
#include "controls/foundation/VTableHandle.h"
#include "controls/foundation/ControlServices.h"
#include "controls/foundation/VisualStyles.h"
#include "controls/foundation/WindowUpdateLock.h"
#include "controls/textbox/EditStyles.h"
#include "controls/textbox/TextBoxW.h"
#include "host/ControlSite.h"
#include "host/HostWindow.h"

#include <commctrl.h>
#include <uxtheme.h>

namespace controls {

SIZE TextBoxW::HostClientSize() const {
    RECT rc{};
    if (HWND host = HostWindow()) GetClientRect(host, &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

namespace {

// shell32's InitNetworkAddressControl registers "msctls_netaddress" (Vista and later).
bool InitNetworkAddressClass() {
    HMODULE shell = GetModuleHandleW(L"shell32.dll");
    if (!shell) shell = LoadLibraryW(L"shell32.dll");  // stays loaded: the class lives in it
    auto init = shell ? reinterpret_cast<BOOL(WINAPI*)()>(
                            reinterpret_cast<void*>(GetProcAddress(shell, "InitNetworkAddressControl")))
                      : nullptr;
    return init && init();
}

}  // namespace

HWND TextBoxW::CreateEditWindow(const wchar_t* className, DWORD style, DWORD exStyle) {
    SIZE size = HostClientSize();
    return CreateWindowExW(exStyle, className, L"", style, 0, 0, size.cx, size.cy, HostWindow(), nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

void TextBoxW::BuildEditWindow() {
    if (edit_) return;
    EditStyleInputs in;
    in.rightToLeft = rightToLeft_;
    in.allowOnlyNumbers = allowOnlyNumbers_;
    in.locked = locked_;
    in.hideSelection = hideSelection_;
    in.useSystemPasswordChar = useSystemPasswordChar_;
    in.multiLine = multiLine_;
    in.scrollBars = scrollBars_;
    in.characterCasing = characterCasing_;
    WindowStyles s = EditStylesFor(in);
    foundation::ApplyBorderStyle(s.style, s.exStyle, borderStyle_);
    // An edit window reads its alignment when it is created only.
    s.style = (s.style & ~static_cast<DWORD>(ES_RIGHT | ES_CENTER)) | EditAlignmentStyle(alignment_);
    // The system's address window where there is one; where not, a plain edit window whose
    // text our own parser checks.
    HWND hwnd = nullptr;
    if (netAddressValidator_ && foundation::ComCtlVersionLevel() == 2 && InitNetworkAddressClass())
        hwnd = CreateEditWindow(netaddress::ClassName, s.style, s.exStyle);
    netAddressNative_ = hwnd != nullptr;
    if (!hwnd) hwnd = CreateEditWindow(L"Edit", s.style, s.exStyle);
    edit_.Reset(hwnd);
    if (!edit_) return;
    if (passwordChar_ && !useSystemPasswordChar_) Edit().SetPasswordChar(passwordChar_);
    Edit().LimitText(maxLength_);
    suppressChange_ = true;
    Edit().SetText(text_);
    suppressChange_ = false;
    ApplyFont();
    ApplyVisualStyles();
    EnableWindow(edit_.Get(), Site().HostWin()->Enabled());
    ApplyAlignment();
    if (!cueBanner_.empty()) ApplyCueBanner();
    if (netAddressValidator_) ApplyNetAddressType();
    if (designMode_) return;
    editSubclass_ = foundation::ScopedSubclass(edit_.Get(), this, EditWindowRef);
    hostSubclass_ = foundation::ScopedSubclass(HostWindow(), this, HostWindowRef);
    foundation::AttachIMEContext(edit_.Get(), imeContext_);
}

void TextBoxW::DestroyEditWindow() {
    if (!edit_) return;
    balloon_.Hide();
    editSubclass_.Reset();
    hostSubclass_.Reset();
    foundation::DetachIMEContext(edit_.Get(), imeContext_);
    ShowWindow(edit_.Get(), SW_HIDE);
    SetParent(edit_.Get(), nullptr);
    edit_.Reset();
    hFont_.Reset();
}

void TextBoxW::RebuildEditWindow() {
    if (!edit_) return;
    if (designMode_) {
        DestroyEditWindow();
        BuildEditWindow();
        Resize();
        return;
    }
    bool hadFocus = GetFocus() == edit_.Get();  // the focus goes with the old window: it comes back
    {
        foundation::WindowUpdateLock lock(HostWindow());
        EditSelection sel = Edit().Selection();
        bool wasMultiLine = (GetWindowLongW(edit_.Get(), GWL_STYLE) & ES_MULTILINE) != 0;
        int hpos = wasMultiLine ? Edit().ScrollPos(SB_HORZ) : 0;
        int vpos = wasMultiLine ? Edit().ScrollPos(SB_VERT) : 0;
        text_ = Edit().Text();
        DestroyEditWindow();
        BuildEditWindow();
        Resize();
        Edit().Select(sel.start, sel.end);
        if (multiLine_ && hpos > 0) Edit().ScrollToThumb(SB_HORZ, hpos);
        if (multiLine_ && vpos > 0) Edit().ScrollToThumb(SB_VERT, vpos);
    }
    if (hadFocus && edit_) ::SetFocus(HostWindow());
    Refresh();
}

void TextBoxW::Resize() {
    if (inResize_ || !edit_) return;
    inResize_ = true;
    if (foundation::TwipsPerPixelCorrection() != 1.0) foundation::ReapplySiteRects(*this);
    SIZE size = HostClientSize();
    MoveWindow(edit_.Get(), 0, 0, size.cx, size.cy, TRUE);
    inResize_ = false;
}

void TextBoxW::ApplyFont() {
    if (!edit_) return;
    host::UniqueFont font = foundation::CreateControlFont(font_);
    SendMessageW(edit_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    hFont_ = std::move(font);  // the previous font goes only now that the window no longer uses it
}

void TextBoxW::ApplyVisualStyles() {
    if (!edit_ || !foundation::VisualStylesActive()) return;
    if (visualStyles_)
        SetWindowTheme(edit_.Get(), nullptr, nullptr);
    else
        SetWindowTheme(edit_.Get(), L" ", L" ");
    Refresh();
}

void TextBoxW::ApplyAlignment() {
    if (!edit_) return;
    DWORD style = static_cast<DWORD>(GetWindowLongW(edit_.Get(), GWL_STYLE));
    style = (style & ~static_cast<DWORD>(ES_RIGHT | ES_CENTER)) | EditAlignmentStyle(alignment_);
    SetWindowLongW(edit_.Get(), GWL_STYLE, static_cast<LONG>(style));
}

void TextBoxW::ApplyCueBanner() {
    if (!edit_ || multiLine_ || foundation::ComCtlVersionLevel() < 1) return;
    SendMessageW(edit_.Get(), EM_SETCUEBANNER, 0, reinterpret_cast<LPARAM>(cueBanner_.c_str()));
}

void TextBoxW::SetStyleBit(DWORD bit, bool on) {
    if (!edit_) return;
    DWORD style = static_cast<DWORD>(GetWindowLongW(edit_.Get(), GWL_STYLE));
    style = on ? (style | bit) : (style & ~bit);
    SetWindowLongW(edit_.Get(), GWL_STYLE, static_cast<LONG>(style));
}

}  // namespace controls
