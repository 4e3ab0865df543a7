// CheckBoxW: life cycle, persistence and the property setters (validate, store, apply to the
// live window, tell the host).
#include "controls/checkbox/CheckBoxW.h"

#include "controls/checkbox/ButtonStyles.h"
#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/ControlServices.h"
#include "controls/foundation/MouseServices.h"
#include "controls/foundation/PropertyRanges.h"
#include "controls/foundation/VTableHandle.h"
#include "controls/foundation/VisualStyles.h"
#include "host/ControlSite.h"
#include "host/Error.h"
#include "host/HostWindow.h"

#include <commctrl.h>

#include <cmath>

namespace controls {

CheckBoxW::~CheckBoxW() = default;

// --- life cycle ---------------------------------------------------------------------------

void CheckBoxW::Initialize(host::ControlSite& site) {
    Control::Initialize(site);
    foundation::ShellLibraryAddRef();
    foundation::InitControlClasses(ICC_STANDARD_CLASSES);
    foundation::HookControlInterfaces(*this, foundation::HookInPlace);
    foundation::HookControlInterfaces(*this, foundation::HookControlInfo);
    foundation::HookControlInterfaces(*this, foundation::HookPropertyBrowsing);
    imageListTimer_ = site.CreateTimer(1, [this] { OnImageListTimer(); });
}

// In interface order, which is the store's.
const foundation::PropertyTable& CheckBoxW::Properties() const {
    using foundation::Accessor;
    using foundation::Field;
    using foundation::NewValue;
    static const foundation::PropertyTable table{
        FontProperty(),
        VisualStylesProperty(),
        AppearanceProperty(),
        BackColorProperty(foundation::SystemColorButtonFace),
        ForeColorProperty(foundation::SystemColorButtonText),
        EnabledProperty(),
        OLEDropModeProperty(),
        MousePointerProperty(),
        MouseIconProperty(),
        MouseTrackProperty(),
        RightToLeftProperty(),
        RightToLeftModeProperty(),
        Accessor<CheckBoxW>(
            L"ImageList", std::wstring(NoImageList), [](const CheckBoxW& c) { return host::Value(c.imageListName_); },
            [](CheckBoxW& c, const host::Value& v) {
                c.imageListName_ = foundation::PersistVariantToString(v);
                if (c.imageListName_.empty()) c.imageListName_ = NoImageList;
            }),
        Field(L"ImageListAlignment", &CheckBoxW::imageListAlignment_, 0L)
            .Range(0, 4)
            .New(NewValue::OneIfAmbientRightToLeft)
            .OnChange(&CheckBoxW::RebindImageList),
        Field(L"ImageListMargin", &CheckBoxW::imageListMargin_, 0L),
        Accessor<CheckBoxW>(L"Value", 0L, [](const CheckBoxW& c) { return host::Value(static_cast<long>(c.Value())); },
                            [](CheckBoxW& c, const host::Value& v) { c.value_ = v.AsLong() == -1 ? 1 : static_cast<int>(v.AsLong()); })
            .Texts({{0, L"0 - Unchecked"}, {1, L"1 - Checked"}, {2, L"2 - Grayed"}}),
        Accessor<CheckBoxW>(L"Caption", std::wstring(), [](const CheckBoxW& c) { return host::Value(c.Caption()); },
                            [](CheckBoxW& c, const host::Value& v) { c.caption_ = v.AsString(); })
            .StoredAs(foundation::Persist::UnicodeText)
            .New(NewValue::AmbientDisplayName),
        Field(L"Alignment", &CheckBoxW::alignment_, 0L)
            .Range(0, 1)
            .New(NewValue::OneIfAmbientRightToLeft)
            .OnChange(&CheckBoxW::ApplyStyleBits),
        Field(L"TextAlignment", &CheckBoxW::textAlignment_, 0L)
            .Range(0, 2)
            .New(NewValue::OneIfAmbientRightToLeft)
            .OnChange(&CheckBoxW::ApplyStyleBits),
        Field(L"PushLike", &CheckBoxW::pushLike_, false).OnChange(&CheckBoxW::ApplyStyleBits),
        Field(L"Picture", &CheckBoxW::picture_).OnChange(&CheckBoxW::ApplyPicture),
        Field(L"WordWrap", &CheckBoxW::wordWrap_, true).OnChange(&CheckBoxW::ApplyStyleBits),
        Field(L"Transparent", &CheckBoxW::transparent_, false).OnChange(&CheckBoxW::Refresh),
        Field(L"VerticalAlignment", &CheckBoxW::verticalAlignment_, 1L).Range(0, 2).OnChange(&CheckBoxW::ApplyStyleBits),
        Field(L"Style", &CheckBoxW::style_, 0L).Range(0, 1).OnChange(&CheckBoxW::RecreateButton),
        Field(L"DisabledPicture", &CheckBoxW::disabledPicture_).OnChange(&CheckBoxW::Refresh),
        Field(L"DownPicture", &CheckBoxW::downPicture_).OnChange(&CheckBoxW::Refresh),
        Field(L"UseMaskColor", &CheckBoxW::useMaskColor_, false).OnChange(&CheckBoxW::Refresh),
        Field(L"MaskColor", &CheckBoxW::maskColor_, 0xC0C0C0UL).OnChange(&CheckBoxW::Refresh),
        Field(L"DrawMode", &CheckBoxW::drawMode_, 0L).Range(0, 1).OnChange(&CheckBoxW::RecreateButton),
    };
    return table;
}

void CheckBoxW::InitProperties() {
    LibraryControlBase::InitProperties();
    // a right-to-left container: the setter settles it (the alignments are already 1)
    if (rightToLeft_) RightToLeft(true);
    CreateButton();
}

void CheckBoxW::ReadProperties(const host::PropertyBag& bag) {
    LibraryControlBase::ReadProperties(bag);
    rightToLeftApplied_ = rightToLeft_;
    CreateButton();
    // The image list control may come later in the design data, or get its images in Form_Load:
    // the name is bound on the first tick after loading.
    if (imageListName_ != NoImageList) imageListTimer_.Enabled(true);
}

void CheckBoxW::Terminate() {
    imageListTimer_.Enabled(false);
    if (foundation::InPlaceActiveControl() == this) foundation::DeactivateInPlaceHook();
    foundation::UnhookControlInterfaces(*this, foundation::HookInPlace);
    foundation::UnhookControlInterfaces(*this, foundation::HookControlInfo);
    foundation::UnhookControlInterfaces(*this, foundation::HookPropertyBrowsing);
    DestroyButton();
    foundation::ShellLibraryRelease();
}

HWND CheckBoxW::hWndUserControl() const { return HostWindow(); }

HWND CheckBoxW::HostWindow() const { return HasSite() && Site().HostWin() ? Site().HostWin()->hWnd() : nullptr; }

// --- what the common properties do to the button -------------------------------------------

void CheckBoxW::OnVisualStylesChanged() {
    themesActive_ = foundation::VisualStylesActive();
    ApplyVisualStyles();
}

void CheckBoxW::OnEnabledChanged() {
    if (button_) EnableWindow(button_.Get(), Enabled());
}

// The reading direction reaches the button; a left-aligned text and image list follow it, and
// come back with it.
void CheckBoxW::OnRightToLeftChanged() {
    if (button_) foundation::ApplyRightToLeftExStyle(button_.Get(), rightToLeft_ ? WS_EX_RTLREADING : 0);
    bool was = rightToLeftApplied_;
    rightToLeftApplied_ = rightToLeft_;
    if (rightToLeft_ && !was) {
        if (imageListAlignment_ == 0) ImageListAlignment(1);
        if (textAlignment_ == 0) TextAlignment(1);
    } else if (!rightToLeft_ && was) {
        if (imageListAlignment_ == 1) ImageListAlignment(0);
        if (textAlignment_ == 1) TextAlignment(0);
    }
}

// --- value and caption ----------------------------------------------------------------------

int CheckBoxW::Value() const {
    if (!button_ || IsOwnerDrawn()) return value_;
    return static_cast<int>(SendMessageW(button_.Get(), BM_GETCHECK, 0, 0));
}

void CheckBoxW::Value(int value) {
    if (value == -1) value = 1;  // True
    if (value < 0 || value > 2) return foundation::InvalidPropertyValue(false);
    int before = Value();
    value_ = value;
    ApplyValue();
    Changed(L"Value");
    if (value == before) return;
    try {
        Site().DataChanged(true);
    } catch (...) {
    }
    Site().RaiseEvent(host::dispid::Click, Click);
}

std::wstring CheckBoxW::Caption() const {
    if (!button_) return caption_;
    int length = static_cast<int>(SendMessageW(button_.Get(), WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int got = static_cast<int>(SendMessageW(button_.Get(), WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    text.resize(static_cast<size_t>(got));
    return text;
}

void CheckBoxW::Caption(const std::wstring& caption) {
    caption_ = caption;
    ApplyCaption();
    if (button_ && !designMode_) foundation::NotifyControlInfoChanged(*this, false);
    Changed(L"Caption");
}

// --- Style and DrawMode --------------------------------------------------------------------

void CheckBoxW::Style(long style) {
    if (Reject(L"Style", style)) return;
    if (style == 1 && drawMode_ != 0) {
        if (designMode_) {
            foundation::ShowMessageBox(StyleDrawModeRule, MB_ICONHAND);
            return;
        }
        foundation::RaiseCantSetProperty(StyleDrawModeRule);
    }
    Set(L"Style", style);
}

// --- state of the moment --------------------------------------------------------------------

bool CheckBoxW::Pushed() const {
    return button_ && (SendMessageW(button_.Get(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

void CheckBoxW::Pushed(bool on) {
    if (button_) SendMessageW(button_.Get(), BM_SETSTATE, on ? 1 : 0, 0);
}

bool CheckBoxW::Hot() const {
    return button_ && foundation::ComCtlVersionLevel() >= 1 &&
           (ownHot_ || (SendMessageW(button_.Get(), BM_GETSTATE, 0, 0) & BST_HOT) != 0);
}

void CheckBoxW::Hot(bool) { foundation::RaiseCantSetProperty(L"Property is read-only"); }

}  // namespace controls
