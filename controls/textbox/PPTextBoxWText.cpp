#include "controls/textbox/PPTextBoxWText.h"

#include "controls/foundation/ComCtlsBase.h"
#include "controls/textbox/TextBoxW.h"
#include "host/ControlSite.h"
#include "host/DesignData.h"
#include "host/Error.h"

namespace controls {

namespace {

constexpr wchar_t kDesign[] = L"Begin PropertyPage PPTextBoxWText\n"
                              L"   Caption         =   \"Text\"\n"
                              L"   ClientWidth     =   5895\n"
                              L"   ClientHeight    =   3435\n"
                              L"End\n";

// Twips, as the page lays its editor out.
constexpr double kLeft = 120, kTop = 120, kWidth = 5655;
constexpr double kOneLineHeight = 315, kMultiLineHeight = 3195;

// The program's project name, read where any program reads it: the source of an error it raises.
std::wstring ProjectName() {
    try {
        host::Raise(host::err::InvalidProcedureCall);
    } catch (const host::Error& e) {
        return e.Source();
    }
    return {};
}

}  // namespace

PPTextBoxWText::PPTextBoxWText() : PropertyPage(host::ParseDesign(kDesign)) {}

void PPTextBoxWText::PropertyPage_Initialize() {
    foundation::ShowUIStateCues(hWnd());
    // With errors ignored: a page whose editor cannot be made stays empty.
    try {
        host::ControlSite& site = AddControl(ProjectName() + L".TextBoxW", L"TextObject", nullptr, kLeft, kTop, kWidth,
                                             kOneLineHeight);
        textObject_ = site.As<TextBoxW>();
    } catch (const std::exception&) {
        textObject_ = nullptr;
    }
    if (!textObject_) return;
    textObject_->Change = [this] { TextObject_Change(); };
    textObject_->KeyPress = [this](int& keyChar) { TextObject_KeyPress(keyChar); };
    textObject_->Visible(true);
    textObject_->ZOrder(0);
}

void PPTextBoxWText::PropertyPage_SelectionChanged() {
    // The flag comes down however the copy ends, or the page would never be marked changed again.
    struct Loading {
        bool& flag;
        explicit Loading(bool& f) : flag(f) { flag = true; }
        ~Loading() { flag = false; }
    } loading(loading_);
    TextBoxW* selected = SelectedBox();
    if (!textObject_ || !selected) return;
    bool multiLine = selected->MultiLine();
    textObject_->Height(multiLine ? kMultiLineHeight : kOneLineHeight);
    textObject_->ScrollBars(multiLine ? 3 : 0);
    textObject_->MultiLine(multiLine);
    textObject_->Text(selected->Text());
}

void PPTextBoxWText::PropertyPage_ApplyChanges() {
    TextBoxW* selected = SelectedBox();
    if (!textObject_ || !selected) return;
    selected->Text(textObject_->Text());
    PropertyPage_SelectionChanged();
}

void PPTextBoxWText::PropertyPage_EditProperty(const std::wstring& propertyName) {
    if (textObject_ && propertyName == L"Text") textObject_->SetFocus();
}

void PPTextBoxWText::TextObject_Change() {
    if (!loading_) Changed(true);
}

// Return would press the sheet's default button; a line feed starts a new line instead.
void PPTextBoxWText::TextObject_KeyPress(int& keyChar) {
    if (keyChar == 13) keyChar = 10;
}

TextBoxW* PPTextBoxWText::SelectedBox() const {
    if (SelectedControls().empty()) return nullptr;
    return SelectedControls().front()->As<TextBoxW>();
}

}  // namespace controls
