// HotKey: the hot key window's life — built from the properties, destroyed with its subclasses
// removed first — its size, and the members that read and write the combination. Every property
// of the control applies to the live window, so it is never re-created and the combination the
// user typed stays.
#include "controls/foundation/ActivationHotKeys.h"
#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/Common.h"
#include "controls/foundation/VTableHandle.h"
#include "controls/foundation/VisualStyles.h"
#include "controls/hotkey/HotKey.h"
#include "host/ControlSite.h"
#include "host/Error.h"
#include "host/HostWindow.h"

#include <commctrl.h>
#include <uxtheme.h>

namespace controls {

namespace {

bool FitsByte(long v) { return v >= 0 && v <= 255; }

// SetRules takes one HKCOMB_ value, never a sum of them.
bool IsSingleRule(long v) { return v > 0 && v <= 128 && (v & (v - 1)) == 0; }

}  // namespace

SIZE HotKey::HostClientSize() const {
    RECT rc{};
    if (HWND host = HostWindow()) GetClientRect(host, &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

LRESULT HotKey::Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return hotKey_ ? SendMessageW(hotKey_.Get(), msg, wParam, lParam) : 0;
}

void HotKey::BuildHotKeyWindow() {
    if (hotKey_) return;
    SIZE size = HostClientSize();
    hotKey_.Reset(CreateWindowExW(0, HOTKEY_CLASSW, L"HotKey", WS_CHILD | WS_VISIBLE, 0, 0, size.cx, size.cy,
                                  HostWindow(), nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!hotKey_) return;
    ApplyFont();
    ApplyVisualStyles();
    EnableWindow(hotKey_.Get(), Site().HostWin()->Enabled());
    // The window gives itself the sunken edge of BorderStyle 3 when it is created.
    bool sunken = (GetWindowLongW(hotKey_.Get(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
    if (borderStyle_ != 3 || !sunken) foundation::ReapplyBorderStyle(hotKey_.Get(), borderStyle_);
    if (designMode_) return;
    classHasDoubleClicks_ = (GetClassLongW(hotKey_.Get(), GCL_STYLE) & CS_DBLCLKS) != 0;
    EnsureBackBrush();
    hotKeySubclass_ = foundation::ScopedSubclass(hotKey_.Get(), this, HotKeyWindowRef);
    hostSubclass_ = foundation::ScopedSubclass(HostWindow(), this, HostWindowRef);
}

void HotKey::DestroyHotKeyWindow() {
    if (!hotKey_) return;
    hotKeySubclass_.Reset();
    hostSubclass_.Reset();
    ShowWindow(hotKey_.Get(), SW_HIDE);
    SetParent(hotKey_.Get(), nullptr);
    hotKey_.Reset();
    hFont_.Reset();
    backBrush_.Reset();
    buttonPressed_ = false;
    mouseOver_ = false;
    doubleClicks_.Reset();
}

void HotKey::Resize() {
    if (inResize_ || !hotKey_) return;
    inResize_ = true;
    if (foundation::TwipsPerPixelCorrection() != 1.0) foundation::ReapplySiteRects(*this);
    SIZE size = HostClientSize();
    MoveWindow(hotKey_.Get(), 0, 0, size.cx, size.cy, TRUE);
    inResize_ = false;
}

void HotKey::ApplyFont() {
    if (!hotKey_) return;
    host::UniqueFont font = foundation::CreateControlFont(font_);
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    hFont_ = std::move(font);  // the previous font goes only now that the window no longer uses it
}

void HotKey::ApplyVisualStyles() {
    if (!hotKey_ || !foundation::VisualStylesActive()) return;
    if (visualStyles_)
        SetWindowTheme(hotKey_.Get(), nullptr, nullptr);
    else
        SetWindowTheme(hotKey_.Get(), L" ", L" ");
    Refresh();
}

void HotKey::EnsureBackBrush() {
    if (backBrush_) return;
    long rgb = foundation::TranslateColorValue(BackColor());
    backBrush_.Reset(CreateSolidBrush(rgb == -1 ? GetSysColor(COLOR_WINDOW) : static_cast<COLORREF>(rgb)));
}

// --- the key combination ---------------------------------------------------------------------

long HotKey::Value() const {
    long modifiers = 0;
    return Value(modifiers);
}

long HotKey::Value(long& modifiers) const {
    if (!hotKey_) return 0;
    WORD combination = LOWORD(Send(HKM_GETHOTKEY));
    modifiers = HIBYTE(combination);
    return LOBYTE(combination);
}

void HotKey::Value(long modifiers, long newValue) {
    if (!FitsByte(modifiers) || !FitsByte(newValue)) host::Raise(host::err::Overflow);
    Send(HKM_SETHOTKEY, static_cast<WPARAM>(newValue + 256 * modifiers));
}

long HotKey::RawValue() const { return static_cast<long>(Send(HKM_GETHOTKEY)); }

void HotKey::RawValue(long value) { Send(HKM_SETHOTKEY, static_cast<WPARAM>(value)); }

void HotKey::SetRules(long invalidKeyCombinations, long defaultModifiers) {
    if (!IsSingleRule(invalidKeyCombinations)) host::Raise(host::err::InvalidPropertyValue);
    Send(HKM_SETRULES, static_cast<WPARAM>(invalidKeyCombinations), static_cast<LPARAM>(defaultModifiers));
}

long HotKey::SetApplicationHotKey(HWND hwnd) {
    if (!hotKey_) return 0;
    HWND target = hwnd ? hwnd : GetAncestor(hotKey_.Get(), GA_ROOT);
    return static_cast<long>(foundation::SetActivationHotKey(target, static_cast<WPARAM>(Send(HKM_GETHOTKEY))));
}

}  // namespace controls
