// TextBoxW: life cycle, persistence and the property setters (validate, store, apply to the
// live window, tell the host).
#include "controls/textbox/TextBoxW.h"

#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/ControlServices.h"
#include "controls/foundation/PropertyRanges.h"
#include "controls/foundation/VTableHandle.h"
#include "controls/foundation/VisualStyles.h"
#include "controls/textbox/EditStyles.h"
#include "host/ControlSite.h"
#include "host/Error.h"
#include "host/HostWindow.h"

#include <commctrl.h>

namespace controls {

namespace {

// MouseIcon takes an icon (or cursor) picture, or none.
bool IsIconOrNone(const host::Picture& picture) {
    if (!picture) return true;
    SHORT type = PICTYPE_NONE;
    return SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_ICON;
}

}  // namespace

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

void TextBoxW::InitProperties() {
    designMode_ = !Site().AmbientUserMode();
    font_ = Site().AmbientFont();
    rightToLeft_ = Site().AmbientRightToLeft();
    alignment_ = rightToLeft_ ? 1 : 0;
    text_ = Site().AmbientDisplayName();
    Site().HostWin()->BackColor(foundation::SystemColorWindow);
    Site().HostWin()->ForeColor(foundation::SystemColorWindowText);
    BuildEditWindow();
}

void TextBoxW::ReadProperties(const host::PropertyBag& bag) {
    designMode_ = !Site().AmbientUserMode();
    host::Value font = bag.Read(L"Font");
    font_ = font.GetKind() == host::Value::Kind::Font ? font.AsFont() : Site().AmbientFont();
    visualStyles_ = bag.Read(L"VisualStyles", true).AsBool();
    Site().HostWin()->BackColor(static_cast<unsigned long>(bag.Read(L"BackColor", foundation::SystemColorWindow).AsLong()));
    Site().HostWin()->ForeColor(static_cast<unsigned long>(bag.Read(L"ForeColor", foundation::SystemColorWindowText).AsLong()));
    Site().HostWin()->Enabled(bag.Read(L"Enabled", true).AsBool());
    oleDragMode_ = bag.Read(L"OLEDragMode", 0L).AsLong();
    oleDragDropScroll_ = bag.Read(L"OLEDragDropScroll", true).AsBool();
    ReadOLEDropMode(bag);
    mousePointer_ = static_cast<int>(bag.Read(L"MousePointer", 0L).AsLong());
    mouseIcon_ = bag.Read(L"MouseIcon").AsPicture();
    mouseTrack_ = bag.Read(L"MouseTrack", false).AsBool();
    rightToLeft_ = bag.Read(L"RightToLeft", false).AsBool();
    rightToLeftMode_ = bag.Read(L"RightToLeftMode", 1L).AsLong();
    if (rightToLeft_) Site().HostWin()->RightToLeft(true);
    borderStyle_ = bag.Read(L"BorderStyle", 3L).AsLong();
    text_ = foundation::PersistVariantToString(bag.Read(L"Text"));
    alignment_ = bag.Read(L"Alignment", 0L).AsLong();
    allowOnlyNumbers_ = bag.Read(L"AllowOnlyNumbers", false).AsBool();
    locked_ = bag.Read(L"Locked", false).AsBool();
    hideSelection_ = bag.Read(L"HideSelection", true).AsBool();
    passwordChar_ = static_cast<wchar_t>(bag.Read(L"PasswordChar", 0L).AsLong());
    useSystemPasswordChar_ = bag.Read(L"UseSystemPasswordChar", false).AsBool();
    multiLine_ = bag.Read(L"MultiLine", false).AsBool();
    maxLength_ = bag.Read(L"MaxLength", 0L).AsLong();
    scrollBars_ = bag.Read(L"ScrollBars", 0L).AsLong();
    cueBanner_ = foundation::PersistVariantToString(bag.Read(L"CueBanner"));
    characterCasing_ = bag.Read(L"CharacterCasing", 0L).AsLong();
    wantReturn_ = bag.Read(L"WantReturn", false).AsBool();
    imeMode_ = bag.Read(L"IMEMode", 0L).AsLong();
    allowOverType_ = bag.Read(L"AllowOverType", false).AsBool();
    overTypeMode_ = allowOverType_ && bag.Read(L"OverTypeMode", false).AsBool();
    BuildEditWindow();
}

void TextBoxW::WriteProperties(host::PropertyBag& bag) {
    bag.Write(L"Font", font_);
    bag.Write(L"VisualStyles", visualStyles_, true);
    bag.Write(L"BackColor", BackColor(), foundation::SystemColorWindow);
    bag.Write(L"ForeColor", ForeColor(), foundation::SystemColorWindowText);
    bag.Write(L"Enabled", Enabled(), true);
    bag.Write(L"OLEDragMode", oleDragMode_, 0L);
    bag.Write(L"OLEDragDropScroll", oleDragDropScroll_, true);
    bag.Write(L"OLEDropMode", oleDropMode_, 0L);
    bag.Write(L"MousePointer", static_cast<long>(mousePointer_), 0L);
    bag.Write(L"MouseIcon", mouseIcon_);
    bag.Write(L"MouseTrack", mouseTrack_, false);
    bag.Write(L"RightToLeft", rightToLeft_, false);
    bag.Write(L"RightToLeftMode", rightToLeftMode_, 1L);
    bag.Write(L"BorderStyle", borderStyle_, 3L);
    bag.Write(L"Text", foundation::PersistStringToVariant(Text()));
    bag.Write(L"Alignment", alignment_, 0L);
    bag.Write(L"AllowOnlyNumbers", allowOnlyNumbers_, false);
    bag.Write(L"Locked", Locked(), false);
    bag.Write(L"HideSelection", hideSelection_, true);
    bag.Write(L"PasswordChar", static_cast<long>(passwordChar_), 0L);
    bag.Write(L"UseSystemPasswordChar", useSystemPasswordChar_, false);
    bag.Write(L"MultiLine", multiLine_, false);
    bag.Write(L"MaxLength", maxLength_, 0L);
    bag.Write(L"ScrollBars", scrollBars_, 0L);
    bag.Write(L"CueBanner", foundation::PersistStringToVariant(cueBanner_));
    bag.Write(L"CharacterCasing", characterCasing_, 0L);
    bag.Write(L"WantReturn", wantReturn_, false);
    bag.Write(L"IMEMode", imeMode_, 0L);
    bag.Write(L"AllowOverType", allowOverType_, false);
    bag.Write(L"OverTypeMode", overTypeMode_, false);
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

// --- appearance -----------------------------------------------------------------------------

void TextBoxW::Font(const host::FontDesc& font) {
    font_ = font;
    ApplyFont();
    Changed(L"Font");
}

void TextBoxW::VisualStyles(bool on) {
    visualStyles_ = on;
    ApplyVisualStyles();
    Changed(L"VisualStyles");
}

unsigned long TextBoxW::BackColor() const { return Site().HostWin()->BackColor(); }

void TextBoxW::BackColor(unsigned long oleColor) {
    Site().HostWin()->BackColor(oleColor);
    Refresh();
    Changed(L"BackColor");
}

unsigned long TextBoxW::ForeColor() const { return Site().HostWin()->ForeColor(); }

void TextBoxW::ForeColor(unsigned long oleColor) {
    Site().HostWin()->ForeColor(oleColor);
    Refresh();
    Changed(L"ForeColor");
}

bool TextBoxW::Enabled() const { return Site().HostWin()->Enabled(); }

void TextBoxW::Enabled(bool on) {
    Site().HostWin()->Enabled(on);
    if (edit_) EnableWindow(edit_.Get(), on);
    Changed(L"Enabled");
}

void TextBoxW::BorderStyle(long style) {
    if (foundation::RejectOutOfRange(style, 0, 4, designMode_)) return;
    borderStyle_ = style;
    if (edit_) foundation::ReapplyBorderStyle(edit_.Get(), style);
    Changed(L"BorderStyle");
}

void TextBoxW::Alignment(long alignment) {
    if (foundation::RejectOutOfRange(alignment, 0, 2, designMode_)) return;
    alignment_ = alignment;
    ApplyAlignment();
    Refresh();
    Changed(L"Alignment");
}

void TextBoxW::RightToLeft(bool on) {
    rightToLeft_ = on;
    Site().HostWin()->RightToLeft(on);
    foundation::ResolveRightToLeft(rightToLeft_, Site().HostWin()->RightToLeft(), rightToLeftMode_);
    if (edit_) foundation::ApplyRightToLeftExStyle(edit_.Get(), rightToLeft_ ? WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR : 0);
    Changed(L"RightToLeft");
}

void TextBoxW::RightToLeftMode(long mode) {
    if (foundation::RejectOutOfRange(mode, 0, 4, designMode_)) return;
    rightToLeftMode_ = mode;
    RightToLeft(rightToLeft_);
    Changed(L"RightToLeftMode");
}

// --- mouse and drag settings ----------------------------------------------------------------

void TextBoxW::OLEDragMode(long mode) {
    if (foundation::RejectOutOfRange(mode, 0, 1, designMode_)) return;
    oleDragMode_ = mode;
    Changed(L"OLEDragMode");
}

void TextBoxW::OLEDragDropScroll(bool on) {
    oleDragDropScroll_ = on;
    Changed(L"OLEDragDropScroll");
}

void TextBoxW::MousePointer(int value) {
    if (foundation::RejectMousePointer(value, designMode_)) return;
    mousePointer_ = value;
    Changed(L"MousePointer");
}

void TextBoxW::MouseIcon(host::Picture icon) {
    if (!IsIconOrNone(icon)) return foundation::InvalidPropertyValue(designMode_);
    mouseIcon_ = std::move(icon);
    Changed(L"MouseIcon");
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
    if (foundation::RejectOutOfRange(value, 0, 3, designMode_)) return;
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
    if (foundation::RejectOutOfRange(value, 0, 2, designMode_)) return;
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
    if (foundation::RejectOutOfRange(mode, 0, 10, designMode_)) return;
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
