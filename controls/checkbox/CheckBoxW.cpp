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

namespace {

// MouseIcon takes an icon (or cursor) picture, or none.
bool IsIconOrNone(const host::Picture& picture) {
    if (!picture) return true;
    SHORT type = PICTYPE_NONE;
    return SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_ICON;
}

// Dispatch ids of the properties the host browses (what GetIDsOfNames would answer).
constexpr long DispIdValue = 0;            // DISPID_VALUE
constexpr long DispIdMousePointer = -521;  // DISPID_MOUSEPOINTER
constexpr long DispIdImageList = 20;

}  // namespace

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

void CheckBoxW::InitProperties() {
    designMode_ = !Site().AmbientUserMode();
    font_ = Site().AmbientFont();
    bool ambientRightToLeft = Site().AmbientRightToLeft();
    imageListAlignment_ = ambientRightToLeft ? 1 : 0;
    alignment_ = ambientRightToLeft ? 1 : 0;
    textAlignment_ = ambientRightToLeft ? 1 : 0;
    caption_ = Site().AmbientDisplayName();
    Site().HostWin()->BackColor(foundation::SystemColorButtonFace);
    Site().HostWin()->ForeColor(foundation::SystemColorButtonText);
    if (ambientRightToLeft) {
        rightToLeft_ = true;
        Site().HostWin()->RightToLeft(true);
        foundation::ResolveRightToLeft(rightToLeft_, Site().HostWin()->RightToLeft(), rightToLeftMode_);
    }
    CreateButton();
}

void CheckBoxW::ReadProperties(const host::PropertyBag& bag) {
    designMode_ = !Site().AmbientUserMode();
    host::Value font = bag.Read(L"Font");
    font_ = font.GetKind() == host::Value::Kind::Font ? font.AsFont() : Site().AmbientFont();
    visualStyles_ = bag.Read(L"VisualStyles", true).AsBool();
    Site().HostWin()->Appearance(static_cast<int>(bag.Read(L"Appearance", 1L).AsLong()));
    Site().HostWin()->BackColor(static_cast<unsigned long>(bag.Read(L"BackColor", foundation::SystemColorButtonFace).AsLong()));
    Site().HostWin()->ForeColor(static_cast<unsigned long>(bag.Read(L"ForeColor", foundation::SystemColorButtonText).AsLong()));
    Site().HostWin()->Enabled(bag.Read(L"Enabled", true).AsBool());
    ReadOLEDropMode(bag);
    mousePointer_ = static_cast<int>(bag.Read(L"MousePointer", 0L).AsLong());
    mouseIcon_ = bag.Read(L"MouseIcon").AsPicture();
    mouseTrack_ = bag.Read(L"MouseTrack", false).AsBool();
    rightToLeft_ = bag.Read(L"RightToLeft", false).AsBool();
    rightToLeftMode_ = bag.Read(L"RightToLeftMode", 1L).AsLong();
    if (rightToLeft_) {
        Site().HostWin()->RightToLeft(true);
        foundation::ResolveRightToLeft(rightToLeft_, Site().HostWin()->RightToLeft(), rightToLeftMode_);
    }
    imageListName_ = foundation::PersistVariantToString(bag.Read(L"ImageList", std::wstring(NoImageList)));
    if (imageListName_.empty()) imageListName_ = NoImageList;
    imageListAlignment_ = bag.Read(L"ImageListAlignment", 0L).AsLong();
    imageListMargin_ = bag.Read(L"ImageListMargin", 0L).AsLong();
    int value = static_cast<int>(bag.Read(L"Value", 0L).AsLong());
    value_ = value == -1 ? 1 : value;
    caption_ = foundation::PersistVariantToString(bag.Read(L"Caption"));
    alignment_ = bag.Read(L"Alignment", 0L).AsLong();
    textAlignment_ = bag.Read(L"TextAlignment", 0L).AsLong();
    pushLike_ = bag.Read(L"PushLike", false).AsBool();
    picture_ = bag.Read(L"Picture").AsPicture();
    wordWrap_ = bag.Read(L"WordWrap", true).AsBool();
    transparent_ = bag.Read(L"Transparent", false).AsBool();
    verticalAlignment_ = bag.Read(L"VerticalAlignment", 1L).AsLong();
    style_ = bag.Read(L"Style", 0L).AsLong();
    disabledPicture_ = bag.Read(L"DisabledPicture").AsPicture();
    downPicture_ = bag.Read(L"DownPicture").AsPicture();
    useMaskColor_ = bag.Read(L"UseMaskColor", false).AsBool();
    maskColor_ = static_cast<unsigned long>(bag.Read(L"MaskColor", 0xC0C0C0L).AsLong());
    drawMode_ = bag.Read(L"DrawMode", 0L).AsLong();
    CreateButton();
    // The image list control may come later in the design data, or get its images in Form_Load:
    // the name is bound on the first tick after loading.
    if (imageListName_ != NoImageList) imageListTimer_.Enabled(true);
}

void CheckBoxW::WriteProperties(host::PropertyBag& bag) {
    bag.Write(L"Font", font_);
    bag.Write(L"VisualStyles", visualStyles_, true);
    bag.Write(L"Appearance", static_cast<long>(Appearance()), 1L);
    bag.Write(L"BackColor", BackColor(), foundation::SystemColorButtonFace);
    bag.Write(L"ForeColor", ForeColor(), foundation::SystemColorButtonText);
    bag.Write(L"Enabled", Enabled(), true);
    bag.Write(L"OLEDropMode", oleDropMode_, 0L);
    bag.Write(L"MousePointer", static_cast<long>(mousePointer_), 0L);
    bag.Write(L"MouseIcon", mouseIcon_);
    bag.Write(L"MouseTrack", mouseTrack_, false);
    bag.Write(L"RightToLeft", rightToLeft_, false);
    bag.Write(L"RightToLeftMode", rightToLeftMode_, 1L);
    bag.Write(L"ImageList", foundation::PersistStringToVariant(imageListName_),
              foundation::PersistStringToVariant(NoImageList));
    bag.Write(L"ImageListAlignment", imageListAlignment_, 0L);
    bag.Write(L"ImageListMargin", imageListMargin_, 0L);
    bag.Write(L"Value", static_cast<long>(Value()), 0L);
    bag.Write(L"Caption", foundation::PersistStringToVariant(Caption()));
    bag.Write(L"Alignment", alignment_, 0L);
    bag.Write(L"TextAlignment", textAlignment_, 0L);
    bag.Write(L"PushLike", pushLike_, false);
    bag.Write(L"Picture", picture_);
    bag.Write(L"WordWrap", wordWrap_, true);
    bag.Write(L"Transparent", transparent_, false);
    bag.Write(L"VerticalAlignment", verticalAlignment_, 1L);
    bag.Write(L"Style", style_, 0L);
    bag.Write(L"DisabledPicture", disabledPicture_);
    bag.Write(L"DownPicture", downPicture_);
    bag.Write(L"UseMaskColor", useMaskColor_, false);
    bag.Write(L"MaskColor", static_cast<long>(maskColor_), 0xC0C0C0L);
    bag.Write(L"DrawMode", drawMode_, 0L);
}

void CheckBoxW::Terminate() {
    imageListTimer_.Enabled(false);
    foundation::UnhookControlInterfaces(*this, foundation::HookInPlace);
    foundation::UnhookControlInterfaces(*this, foundation::HookControlInfo);
    foundation::UnhookControlInterfaces(*this, foundation::HookPropertyBrowsing);
    DestroyButton();
    foundation::ShellLibraryRelease();
}

HWND CheckBoxW::hWndUserControl() const { return HostWindow(); }

HWND CheckBoxW::HostWindow() const { return HasSite() && Site().HostWin() ? Site().HostWin()->hWnd() : nullptr; }

long CheckBoxW::GetIDOfName(std::wstring_view name) const {
    auto is = [&](const wchar_t* n) { return _wcsnicmp(name.data(), n, name.size()) == 0 && wcslen(n) == name.size(); };
    if (is(L"Value")) return DispIdValue;
    if (is(L"MousePointer")) return DispIdMousePointer;
    if (is(L"ImageList")) return DispIdImageList;
    return -1;
}

// --- appearance -----------------------------------------------------------------------------

void CheckBoxW::Font(const host::FontDesc& font) {
    font_ = font;
    ApplyFont();
    Changed(L"Font");
}

void CheckBoxW::VisualStyles(bool on) {
    visualStyles_ = on;
    themesActive_ = foundation::VisualStylesActive();
    ApplyVisualStyles();
    Changed(L"VisualStyles");
}

int CheckBoxW::Appearance() const { return Site().HostWin()->Appearance(); }

void CheckBoxW::Appearance(int value) {
    if (foundation::RejectOutOfRange(value, 0, 1, designMode_)) return;
    Site().HostWin()->Appearance(value);
    if (!IsOwnerDrawn()) SetStyleBits(BS_FLAT, value == 0 ? BS_FLAT : 0);
    ForeColor(value == 0 ? foundation::SystemColorWindowText : foundation::SystemColorButtonText);
    Changed(L"Appearance");
}

unsigned long CheckBoxW::BackColor() const { return Site().HostWin()->BackColor(); }

void CheckBoxW::BackColor(unsigned long oleColor) {
    Site().HostWin()->BackColor(oleColor);
    Refresh();
    Changed(L"BackColor");
}

unsigned long CheckBoxW::ForeColor() const { return Site().HostWin()->ForeColor(); }

void CheckBoxW::ForeColor(unsigned long oleColor) {
    Site().HostWin()->ForeColor(oleColor);
    Refresh();
    Changed(L"ForeColor");
}

bool CheckBoxW::Enabled() const { return Site().HostWin()->Enabled(); }

void CheckBoxW::Enabled(bool on) {
    Site().HostWin()->Enabled(on);
    if (button_) EnableWindow(button_.Get(), on);
    Changed(L"Enabled");
}

void CheckBoxW::RightToLeft(bool on) {
    bool was = rightToLeft_;
    rightToLeft_ = on;
    Site().HostWin()->RightToLeft(on);
    foundation::ResolveRightToLeft(rightToLeft_, Site().HostWin()->RightToLeft(), rightToLeftMode_);
    if (button_) foundation::ApplyRightToLeftExStyle(button_.Get(), rightToLeft_ ? WS_EX_RTLREADING : 0);
    // A left-aligned text and image list follow the reading direction, and back.
    if (rightToLeft_ && !was) {
        if (imageListAlignment_ == 0) ImageListAlignment(1);
        if (textAlignment_ == 0) TextAlignment(1);
    } else if (!rightToLeft_ && was) {
        if (imageListAlignment_ == 1) ImageListAlignment(0);
        if (textAlignment_ == 1) TextAlignment(0);
    }
    Changed(L"RightToLeft");
}

void CheckBoxW::RightToLeftMode(long mode) {
    if (foundation::RejectOutOfRange(mode, 0, 4, designMode_)) return;
    rightToLeftMode_ = mode;
    RightToLeft(rightToLeft_);
    Changed(L"RightToLeftMode");
}

// --- mouse ----------------------------------------------------------------------------------

void CheckBoxW::MousePointer(int value) {
    if (foundation::RejectMousePointer(value, designMode_)) return;
    mousePointer_ = value;
    Changed(L"MousePointer");
}

void CheckBoxW::MouseIcon(host::Picture icon) {
    if (!IsIconOrNone(icon)) return foundation::InvalidPropertyValue(designMode_);
    mouseIcon_ = std::move(icon);
    Changed(L"MouseIcon");
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

// --- button styles --------------------------------------------------------------------------

void CheckBoxW::Alignment(long alignment) {
    if (foundation::RejectOutOfRange(alignment, 0, 1, designMode_)) return;
    alignment_ = alignment;
    if (!IsOwnerDrawn()) SetStyleBits(BS_LEFTTEXT, alignment == 1 ? BS_LEFTTEXT : 0);
    Changed(L"Alignment");
}

void CheckBoxW::TextAlignment(long alignment) {
    if (foundation::RejectOutOfRange(alignment, 0, 2, designMode_)) return;
    textAlignment_ = alignment;
    if (!IsOwnerDrawn()) SetStyleBits(BS_CENTER, ButtonTextAlignmentStyle(alignment));
    Changed(L"TextAlignment");
}

void CheckBoxW::VerticalAlignment(long alignment) {
    if (foundation::RejectOutOfRange(alignment, 0, 2, designMode_)) return;
    verticalAlignment_ = alignment;
    if (!IsOwnerDrawn()) SetStyleBits(BS_VCENTER, ButtonVerticalAlignmentStyle(alignment));
    Changed(L"VerticalAlignment");
}

void CheckBoxW::PushLike(bool on) {
    pushLike_ = on;
    if (!IsOwnerDrawn()) SetStyleBits(BS_PUSHLIKE, on ? BS_PUSHLIKE : 0);
    Changed(L"PushLike");
}

void CheckBoxW::WordWrap(bool on) {
    wordWrap_ = on;
    if (!IsOwnerDrawn()) SetStyleBits(BS_MULTILINE, on ? BS_MULTILINE : 0);
    Changed(L"WordWrap");
}

void CheckBoxW::Style(long style) {
    if (foundation::RejectOutOfRange(style, 0, 1, designMode_)) return;
    if (style == 1 && drawMode_ != 0) {
        if (designMode_) {
            foundation::ShowMessageBox(StyleDrawModeRule, MB_ICONHAND);
            return;
        }
        foundation::RaiseCantSetProperty(StyleDrawModeRule);
    }
    style_ = style;
    RecreateButton();
    Changed(L"Style");
}

void CheckBoxW::DrawMode(long mode) {
    if (foundation::RejectOutOfRange(mode, 0, 1, designMode_)) return;
    drawMode_ = mode;
    RecreateButton();
    Changed(L"DrawMode");
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
