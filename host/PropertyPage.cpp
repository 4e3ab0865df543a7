#include "host/PropertyPage.h"

#include "host/Error.h"

#include <commctrl.h>
#include <prsht.h>

#include <cwctype>
#include <map>

namespace host {

PropertyPage::PropertyPage(FormDesign design) : Form(std::move(design)) {}

PropertyPage::~PropertyPage() = default;

void PropertyPage::Attach(HWND pageWindow, std::vector<ControlSite*> selection) {
    pageWindow_ = pageWindow;
    selected_ = std::move(selection);
    ParentWindow(pageWindow);
}

void PropertyPage::Changed(bool changed) {
    changed_ = changed;
    if (!pageWindow_) return;
    HWND sheet = GetParent(pageWindow_);
    if (changed) PropSheet_Changed(sheet, pageWindow_);
    else PropSheet_UnChanged(sheet, pageWindow_);
}

namespace {

std::wstring Key(std::wstring name) {
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(c));
    return name;
}

// Process-wide by nature: the pages the program knows.
std::map<std::wstring, PropertyPageFactory>& Pages() {
    static std::map<std::wstring, PropertyPageFactory> pages;
    return pages;
}

}  // namespace

void RegisterPropertyPage(const std::wstring& name, PropertyPageFactory factory) { Pages()[Key(name)] = std::move(factory); }

bool IsPropertyPageRegistered(const std::wstring& name) { return Pages().count(Key(name)) != 0; }

std::unique_ptr<PropertyPage> CreatePropertyPage(const std::wstring& name) {
    auto it = Pages().find(Key(name));
    if (it == Pages().end()) Raise(err::InvalidProcedureCall, L"Unknown property page: " + name);
    return it->second();
}

}  // namespace host
