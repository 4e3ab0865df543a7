#include "gallery/FrmGallery.h"

#include "controls/label/LabelW.h"
#include "controls/listbox/ListBoxW.h"

#include <windows.h>

namespace gallery {

FrmGallery::FrmGallery() : Form(host::LoadDesignResource(GetModuleHandleW(nullptr), L"FRMGALLERY")) {
    host::RegisterControlKind(L"ListBoxW", [] { return std::make_unique<controls::ListBoxW>(); });
    host::RegisterControlKind(L"LabelW", [] { return std::make_unique<controls::LabelW>(); });
}

FrmGallery::~FrmGallery() { Unload(); }

void FrmGallery::Form_Load() {
    auto& list = Ctl<controls::ListBoxW>(L"lstPages");
    for (const PageInfo& page : Pages()) list.AddItem(page.name);
    list.Click = [this] { lstPages_Click(); };
}

// Closing the index closes the gallery: the page goes with it.
void FrmGallery::Form_Unload(int&) { page_.reset(); }

bool FrmGallery::ShowPage(std::wstring_view name) {
    auto& list = Ctl<controls::ListBoxW>(L"lstPages");
    for (long i = 0; i < list.ListCount(); ++i)
        if (_wcsicmp(list.List(i).c_str(), std::wstring(name).c_str()) == 0) {
            list.ListIndex(i);  // Click opens it
            if (!page_ || !page_->IsLoaded()) lstPages_Click();
            return true;
        }
    return false;
}

void FrmGallery::lstPages_Click() {
    auto& list = Ctl<controls::ListBoxW>(L"lstPages");
    long index = list.ListIndex();
    if (index < 0) return;
    if (const PageInfo* info = FindPage(list.List(index))) {
        Ctl<controls::LabelW>(L"lblDescription").Caption(info->description);
        OpenPage(*info);
    }
}

void FrmGallery::OpenPage(const PageInfo& info) {
    if (page_ && page_->IsLoaded() && pageName_ == info.name) {
        SetForegroundWindow(page_->hWnd());
        return;
    }
    page_.reset();
    page_ = info.make();
    pageName_ = info.name;
    page_->Load();
    page_->Move(Left() + Width(), Top());
    page_->Show();
}

}  // namespace gallery
