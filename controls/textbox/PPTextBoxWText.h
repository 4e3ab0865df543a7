// PPTextBoxWText: the designer's property page for TextBoxW.Text. The text of the selected box
// is edited in a text box of the page's own ("TextObject"), so that several lines and any
// Unicode text can be typed where a one-line property grid cannot take them.
#pragma once

#include "host/PropertyPage.h"

#include <string>

namespace controls {

class TextBoxW;

class PPTextBoxWText : public host::PropertyPage {
public:
    static constexpr const wchar_t* PageName = L"PPTextBoxWText";

    PPTextBoxWText();

    // The page's editor; null when it could not be created (the page then stays empty).
    TextBoxW* TextObject() const { return textObject_; }

protected:
    void PropertyPage_Initialize() override;
    void PropertyPage_SelectionChanged() override;
    void PropertyPage_ApplyChanges() override;
    void PropertyPage_EditProperty(const std::wstring& propertyName) override;

private:
    void TextObject_Change();
    void TextObject_KeyPress(int& keyChar);
    // The first selected control, when it is a text box.
    TextBoxW* SelectedBox() const;

    TextBoxW* textObject_ = nullptr;  // borrowed: the page's form owns its controls
    bool loading_ = false;            // set while the selected box's values are copied in
};

}  // namespace controls
