// A property page: a form of ours shown as one page of a designer's property sheet
// (PropertySheetDialog.h), editing controls selected on a form in design mode. Its window is a child
// of the sheet's page, its controls run as at run time, and the sheet tells it what happens:
//
//   PropertyPage_Initialize          once, when the sheet first shows the page (its window and
//                                    its design-data controls exist)
//   PropertyPage_SelectionChanged    the selected controls were given (or changed): load them
//   PropertyPage_ApplyChanges        OK or Apply while the page is marked Changed: write back
//   PropertyPage_EditProperty(name)  the sheet was opened to edit that property
//
// A page marks itself Changed when the user edits something; the sheet then enables Apply.
// Cancel applies nothing. Pages are registered by name, as control kinds are:
//
//     host::RegisterPropertyPage(L"PPTextBoxWText", [] { return std::make_unique<PPTextBoxWText>(); });
//
// and a control names the pages it has (Control::PropertyPages).
#pragma once

#include "host/Form.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace host {

class PropertySheetDialog;

class PropertyPage : public Form {
public:
    explicit PropertyPage(FormDesign design);
    ~PropertyPage() override;

    // The controls the sheet edits, in selection order; borrowed from the designed form. A page
    // edits the first one.
    const std::vector<ControlSite*>& SelectedControls() const { return selected_; }
    // Marks the page as holding edits that OK or Apply will write (and enables Apply), or not.
    bool Changed() const { return changed_; }
    void Changed(bool changed);
    // The page of the sheet that shows this form; null until the sheet showed it.
    HWND PageWindow() const { return pageWindow_; }

protected:
    virtual void PropertyPage_Initialize() {}
    virtual void PropertyPage_SelectionChanged() {}
    virtual void PropertyPage_ApplyChanges() {}
    virtual void PropertyPage_EditProperty(const std::wstring& propertyName) {}

private:
    friend class PropertySheetDialog;
    void Attach(HWND pageWindow, std::vector<ControlSite*> selection);

    HWND pageWindow_ = nullptr;  // borrowed: the sheet's page dialog, our window's parent
    std::vector<ControlSite*> selected_;  // borrowed from the designed form
    bool changed_ = false;
};

using PropertyPageFactory = std::function<std::unique_ptr<PropertyPage>()>;

// Registers (or replaces) a page under its name (any case).
void RegisterPropertyPage(const std::wstring& name, PropertyPageFactory factory);
bool IsPropertyPageRegistered(const std::wstring& name);
// Raises 5 naming the page when none is registered under the name.
std::unique_ptr<PropertyPage> CreatePropertyPage(const std::wstring& name);

}  // namespace host
