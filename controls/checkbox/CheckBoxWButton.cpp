// CheckBoxW: the button window's life — built from the properties, destroyed with its subclasses
// removed first, re-created (keeping value, caption and the bound image list) when Style or
// DrawMode changes, kept the size of the host window; and Refresh.
#include "controls/checkbox/ButtonStyles.h"
#include "controls/checkbox/CheckBoxW.h"
#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/Common.h"
#include "controls/foundation/VTableHandle.h"
#include "controls/foundation/VisualStyles.h"
#include "controls/foundation/WindowUpdateLock.h"
#include "host/ControlSite.h"
#include "host/HostWindow.h"

#include <uxtheme.h>

namespace controls {

SIZE CheckBoxW::HostClientSize() const {
    RECT rc{};
    if (HWND host = HostWindow()) GetClientRect(host, &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

ButtonStyleInputs CheckBoxW::StyleInputs() const {
    ButtonStyleInputs in;
    in.appearance = Appearance();
    in.rightToLeft = rightToLeft_;
    in.alignment = alignment_;
    in.textAlignment = textAlignment_;
    in.verticalAlignment = verticalAlignment_;
    in.pushLike = pushLike_;
    in.wordWrap = wordWrap_;
    in.style = style_;
    in.drawMode = drawMode_;
    return in;
}

void CheckBoxW::CreateButton() {
    if (button_) return;
    if (drawMode_ != 0) style_ = 0;
    ButtonStyles s = ButtonStylesFor(StyleInputs());
    SIZE size = HostClientSize();
    button_.Reset(CreateWindowExW(s.exStyle, L"Button", L"", s.style, 0, 0, size.cx, size.cy, HostWindow(), nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
    if (!button_) return;
    themesActive_ = foundation::VisualStylesActive();
    foundation::ShowUIStateCues(button_.Get());
    ApplyFont();
    ApplyVisualStyles();
    EnableWindow(button_.Get(), Site().HostWin()->Enabled());
    ApplyValue();
    ApplyCaption();
    if (picture_) ApplyPicture();
    if (!designMode_) {
        buttonSubclass_ = foundation::ScopedSubclass(button_.Get(), this, ButtonWindowRef);
        hostSubclass_ = foundation::ScopedSubclass(HostWindow(), this, HostWindowRef);
    } else if (IsGraphical()) {
        hostSubclass_ = foundation::ScopedSubclass(HostWindow(), this, DesignHostWindowRef);
    }
    Refresh();
}

void CheckBoxW::DestroyButton() {
    if (!button_) return;
    buttonSubclass_.Reset();
    hostSubclass_.Reset();
    ShowWindow(button_.Get(), SW_HIDE);
    SetParent(button_.Get(), nullptr);
    button_.Reset();
    hFont_.Reset();
    accelerators_.Reset();
    DropBrushes();
    imageListHandle_ = nullptr;
}

// A style that a live button cannot take: a new button, with what the old one held.
void CheckBoxW::RecreateButton() {
    if (!button_) return;
    value_ = Value();
    caption_ = Caption();
    if (designMode_) {
        DestroyButton();
        CreateButton();
        if (imageListName_ != NoImageList) BindImageListByName(imageListName_);
        return;
    }
    {
        foundation::WindowUpdateLock lock(HostWindow());
        DestroyButton();
        CreateButton();
        if (imageListBound_) RebindImageList();
    }
    Refresh();
}

void CheckBoxW::Resize() {
    if (inResize_) return;
    inResize_ = true;
    if (foundation::TwipsPerPixelCorrection() != 1.0) foundation::ReapplySiteRects(*this);
    if (button_) {
        SIZE size = HostClientSize();
        if (transparent_) {
            MoveWindow(button_.Get(), 0, 0, size.cx, size.cy, FALSE);
            transparentBrush_.Reset();  // the container behind has another shape now
            RedrawWindow(button_.Get(), nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
        } else {
            MoveWindow(button_.Get(), 0, 0, size.cx, size.cy, TRUE);
        }
    }
    inResize_ = false;
}

void CheckBoxW::Refresh() {
    DropBrushes();
    if (!HasSite() || !Site().HostWin()) return;
    Site().HostWin()->Refresh();
    RedrawWindow(HostWindow(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
}

void CheckBoxW::DropBrushes() {
    transparentBrush_.Reset();
    checkedBrush_.Reset();
}

bool CheckBoxW::IsOwnerDrawn() const {
    return button_ && IsOwnerDrawStyle(static_cast<DWORD>(GetWindowLongW(button_.Get(), GWL_STYLE)));
}

// The styles a live button takes (alignments, push-like, word wrap, flat), as creation would set
// them; an owner-drawn button keeps its exact style.
void CheckBoxW::ApplyStyleBits() {
    if (!button_ || IsOwnerDrawn()) return;
    constexpr DWORD live = BS_LEFTTEXT | BS_CENTER | BS_VCENTER | BS_PUSHLIKE | BS_MULTILINE | BS_FLAT;
    DWORD style = static_cast<DWORD>(GetWindowLongW(button_.Get(), GWL_STYLE));
    style = (style & ~live) | (ButtonStylesFor(StyleInputs()).style & live);
    SetWindowLongW(button_.Get(), GWL_STYLE, static_cast<LONG>(style));
    Refresh();
}

void CheckBoxW::ApplyFont() {
    if (!button_) return;
    host::UniqueFont font = foundation::CreateControlFont(font_);
    SendMessageW(button_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    hFont_ = std::move(font);  // the previous font goes only now that the window no longer uses it
}

void CheckBoxW::ApplyVisualStyles() {
    if (!button_ || !themesActive_) return;
    if (visualStyles_)
        SetWindowTheme(button_.Get(), nullptr, nullptr);
    else
        SetWindowTheme(button_.Get(), L" ", L" ");
    Refresh();
}

void CheckBoxW::ApplyValue() {
    if (!button_) return;
    if (IsOwnerDrawn())
        Refresh();
    else
        SendMessageW(button_.Get(), BM_SETCHECK, static_cast<WPARAM>(value_), 0);
}

void CheckBoxW::ApplyCaption() {
    UpdateAccessKey();
    if (button_) SendMessageW(button_.Get(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption_.c_str()));
}

// The host's access keys: Alt and the caption's mnemonic reach IOleControlVB_OnMnemonic.
void CheckBoxW::UpdateAccessKey() {
    if (!HasSite()) return;
    UINT key = foundation::MnemonicKeyOf(caption_);
    Site().AccessKeys(key ? std::wstring(1, static_cast<wchar_t>(key)) : std::wstring());
}

}  // namespace controls
