// TextBoxW: life cycle, persistence and the property setters (validate, store, apply to the
// live window, tell the host).
#include "controls/textbox/TextBoxW.h"

#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/ControlServices.h"
#include "controls/foundation/PropertyRanges.h"
#include "controls/foundation/VTableHandle.h"
#include "controls/foundation/VisualStyles.h"
#include "controls/textbox/EditStyles.h"
#include "controls/textbox/PPTextBoxWText.h"
#include "host/ControlSite.h"
#include "host/Error.h"
#include "host/HostWindow.h"

#include <commctrl.h>

namespace controls {

TextBoxW::~TextBoxW() = default;

// --- life cycle ---------------------------------------------------------------------------

void TextBoxW::Initialize(host::ControlSite& site) {
    Control::Initialize(site);
    foundation::ShellLibraryAddRef();
    foundation::InitControlClasses(ICC_STANDARD_CLASSES);
    foundation::HookControlInterfaces(*this, foundation::HookControlInfo);
    foundation::HookControlInterfaces(*this, foundation::HookInPlace);
    foundation::HookControlInterfaces(*this, foundation::HookPropertyBrowsing);
}

std::vector<std::wstring> TextBoxW::PropertyPages() const {
    static const bool registered = [] {
        host::RegisterPropertyPage(PPTextBoxWText::PageName, [] { return std::make_unique<PPTextBoxWText>(); });
        return true;
    }();
    (void)registered;
    return {PPTextBoxWText::PageName};
}

std::wstring TextBoxW::PropertyPageOf(std::wstring_view propertyName) const {
    return propertyName == L"Text" ? PropertyPages().front() : std::wstring();
}

const foundation::PropertyTable& TextBoxW::Properties() const {
    using foundation::Field;
    using foundation::NewValue;
    using T = TextBoxW;
    static const foundation::PropertyTable table{
        FontProperty(),
        VisualStylesProperty(),
        BackColorProperty(foundation::SystemColorWindow).New(host::Value(foundation::SystemColorWindow)),
        ForeColorProperty(foundation::SystemColorWindowText).New(host::Value(foundation::SystemColorWindowText)),
        EnabledProperty(),
        OLEDragModeProperty(),
        OLEDragDropScrollProperty(),
        OLEDropModeProperty(),
        MousePointerProperty(),
        MouseIconProperty(),
        MouseTrackProperty(),
        RightToLeftProperty(),
        RightToLeftModeProperty(),
        BorderStyleProperty(3, 4),
        foundation::Accessor<T>(L"Text", {}, [](const T& c) { return host::Value(c.Text()); },
                                [](T& c, const host::Value& v) { c.text_ = v.AsString(); })
            .StoredAs(foundation::Persist::UnicodeText)
            .New(NewValue::AmbientDisplayName),
        Field(L"Alignment", &T::alignment_, 0L).Range(0, 2).New(NewValue::OneIfAmbientRightToLeft),
        Field(L"AllowOnlyNumbers", &T::allowOnlyNumbers_, false),
        foundation::Accessor<T>(L"Locked", false, [](const T& c) { return host::Value(c.Locked()); },
                                [](T& c, const host::Value& v) { c.locked_ = v.AsBool(); }),
        Field(L"HideSelection", &T::hideSelection_, true),
        Field(L"PasswordChar", &T::passwordChar_, 0L),
        Field(L"UseSystemPasswordChar", &T::useSystemPasswordChar_, false),
        Field(L"MultiLine", &T::multiLine_, false),
        Field(L"MaxLength", &T::maxLength_, 0L),
        Field(L"ScrollBars", &T::scrollBars_, 0L).Range(0, 3),
        Field(L"CueBanner", &T::cueBanner_),
        Field(L"CharacterCasing", &T::characterCasing_, 0L).Range(0, 2),
        Field(L"WantReturn", &T::wantReturn_, false),
        Field(L"IMEMode", &T::imeMode_, 0L).Range(0, 10),
        Field(L"NetAddressValidator", &T::netAddressValidator_, false),
        Field(L"NetAddressType", &T::netAddressType_, 0L).Range(0, 19),
        Field(L"AllowOverType", &T::allowOverType_, false),
        // Kept only while AllowOverType is True.
        foundation::Accessor<T>(L"OverTypeMode", false, [](const T& c) { return host::Value(c.overTypeMode_); },
                                [](T& c, const host::Value& v) { c.overTypeMode_ = c.allowOverType_ && v.AsBool(); }),
    };
    return table;
}

void TextBoxW::InitProperties() {
    LibraryControlBase::InitProperties();
    BuildEditWindow();
}

void TextBoxW::ReadProperties(const host::PropertyBag& bag) {
    LibraryControlBase::ReadProperties(bag);
    BuildEditWindow();
}

void TextBoxW::Terminate() {
    foundation::UnhookControlInterfaces(*this, foundation::HookControlInfo);
    foundation::UnhookControlInterfaces(*this, foundation::HookInPlace);
    foundation::UnhookControlInterfaces(*this, foundation::HookPropertyBrowsing);
    DestroyEditWindow();
    foundation::ShellLibraryRelease();
}

HWND TextBoxW::hWndUserControl() const { return HostWindow(); }

HWND TextBoxW::HostWindow() const { return HasSite() && Site().HostWin() ? Site().HostWin()->hWnd() : nullptr; }

void TextBoxW::Refresh() {
    Site().HostWin()->Refresh();
    RedrawWindow(HostWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// --- what the common properties do to the edit window ------------------------------------------

void TextBoxW::OnEnabledChanged() {
    if (edit_) EnableWindow(edit_.Get(), Enabled());
}

void TextBoxW::OnBorderStyleChanged() {
    if (edit_) foundation::ReapplyBorderStyle(edit_.Get(), borderStyle_);
}

void TextBoxW::OnRightToLeftChanged() {
    if (edit_) foundation::ApplyRightToLeftExStyle(edit_.Get(), rightToLeft_ ? WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR : 0);
}

void TextBoxW::Alignment(long alignment) {
    if (Reject(L"Alignment", alignment)) return;
    bool differs = alignment != alignment_;
    alignment_ = alignment;
    ApplyAlignment();
    // A live edit window keeps the alignment it was created with: it is built again.
    if (differs) RebuildEditWindow();
    Refresh();
    Changed(L"Alignment");
}

// --- text and editing behaviour -------------------------------------------------------------

std::wstring TextBoxW::Text() const { return edit_ ? Edit().Text() : text_; }

void TextBoxW::Text(const std::wstring& value) {
    std::wstring text = maxLength_ > 0 && value.size() > static_cast<size_t>(maxLength_)
                            ? value.substr(0, static_cast<size_t>(maxLength_))
                            : value;
    bool differs = text != Text();
    text_ = text;
    if (edit_) {
        suppressChange_ = true;
        Edit().SetText(text_);
        suppressChange_ = false;
    }
    Changed(L"Text");
    if (differs) NoteTextChanged();
}

// The text changed by the program, by typing or by a message: the host learns it, then the form.
void TextBoxW::NoteTextChanged() {
    Site().DataChanged(true);
    Site().RaiseEvent(DispId::Change, Change);
}

void TextBoxW::AllowOnlyNumbers(bool on) {
    allowOnlyNumbers_ = on;
    SetStyleBit(ES_NUMBER, on);
    Changed(L"AllowOnlyNumbers");
}

bool TextBoxW::Locked() const {
    return edit_ ? (GetWindowLongW(edit_.Get(), GWL_STYLE) & ES_READONLY) != 0 : locked_;
}

void TextBoxW::Locked(bool on) {
    locked_ = on;
    Edit().SetReadOnly(on);
    Changed(L"Locked");
}

void TextBoxW::HideSelection(bool on) {
    hideSelection_ = on;
    RebuildEditWindow();
    Changed(L"HideSelection");
}

std::wstring TextBoxW::PasswordChar() const {
    wchar_t c = edit_ ? Edit().PasswordChar() : passwordChar_;
    return c ? std::wstring(1, c) : std::wstring();
}

void TextBoxW::PasswordChar(const std::wstring& c) {
    if (useSystemPasswordChar_) return;
    if (c.size() > 1) return foundation::InvalidPropertyValue(designMode_);
    passwordChar_ = c.empty() ? 0 : c[0];
    Edit().SetPasswordChar(passwordChar_);
    Refresh();
    Changed(L"PasswordChar");
}

void TextBoxW::UseSystemPasswordChar(bool on) {
    useSystemPasswordChar_ = on;
    RebuildEditWindow();
    Changed(L"UseSystemPasswordChar");
}

void TextBoxW::MultiLine(bool on) {
    multiLine_ = on;
    RebuildEditWindow();
    Changed(L"MultiLine");
}

void TextBoxW::MaxLength(long length) {
    if (length < 0) return foundation::InvalidPropertyValue(designMode_);
    maxLength_ = length;
    Edit().LimitText(length);
    Changed(L"MaxLength");
}

void TextBoxW::ScrollBars(long value) {
    if (Reject(L"ScrollBars", value)) return;
    scrollBars_ = value;
    RebuildEditWindow();
    Changed(L"ScrollBars");
}

void TextBoxW::CueBanner(const std::wstring& text) {
    cueBanner_ = text;
    ApplyCueBanner();
    Changed(L"CueBanner");
}

void TextBoxW::CharacterCasing(long value) {
    if (Reject(L"CharacterCasing", value)) return;
    characterCasing_ = value;
    SetStyleBit(ES_UPPERCASE, value == 1);
    SetStyleBit(ES_LOWERCASE, value == 2);
    if (designMode_ && edit_) {
        std::wstring text = Edit().Text();
        Edit().SetText(L"");
        Edit().SetText(text);
    }
    Changed(L"CharacterCasing");
}

void TextBoxW::WantReturn(bool on) {
    wantReturn_ = on;
    if (!designMode_) foundation::NotifyControlInfoChanged(*this, edit_ && GetFocus() == edit_.Get());
    Changed(L"WantReturn");
}

void TextBoxW::IMEMode(long mode) {
    if (Reject(L"IMEMode", mode)) return;
    imeMode_ = mode;
    if (edit_ && !designMode_ && GetFocus() == edit_.Get()) foundation::ApplyIMEMode(edit_.Get(), imeContext_, mode);
    Changed(L"IMEMode");
}

void TextBoxW::AllowOverType(bool on) {
    allowOverType_ = on;
    if (!on) overTypeMode_ = false;
    Changed(L"AllowOverType");
}

void TextBoxW::OverTypeMode(bool on) {
    overTypeMode_ = allowOverType_ && on;
    Changed(L"OverTypeMode");
}

}  // namespace controls
