#include "host/Menu.h"

namespace host {

MenuItem::MenuItem(const ControlDesign& design) : name_(design.name), index_(design.index) {
    const PropertyBag& bag = design.properties;
    caption_ = bag.Read(L"Caption").AsString();
    tag_ = bag.Read(L"Tag").AsString();
    enabled_ = bag.Read(L"Enabled", true).AsBool();
    visible_ = bag.Read(L"Visible", true).AsBool();
    checked_ = bag.Read(L"Checked", false).AsBool();
    for (const ControlDesign& child : design.children) items_.push_back(std::make_unique<MenuItem>(child));
}

MenuItem* MenuItem::Find(std::wstring_view name, int index) {
    if (_wcsnicmp(name_.c_str(), name.data(), name.size()) == 0 && name_.size() == name.size() &&
        (index < 0 || index == index_))
        return this;
    for (auto& item : items_)
        if (MenuItem* found = item->Find(name, index)) return found;
    return nullptr;
}

UniqueMenu MenuItem::BuildPopup(UINT& nextId, std::vector<MenuItem*>& byId) const {
    UniqueMenu menu(CreatePopupMenu());
    for (const auto& item : items_) {
        if (!item->Visible()) continue;
        if (item->IsSeparator()) {
            AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING | (item->Enabled() ? MF_ENABLED : MF_GRAYED) | (item->Checked() ? MF_CHECKED : 0);
        if (!item->Items().empty()) {
            UniqueMenu sub = item->BuildPopup(nextId, byId);
            // The parent menu owns the submenu from here on.
            AppendMenuW(menu.Get(), flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Release()), item->Caption().c_str());
            continue;
        }
        UINT id = nextId++;
        byId.resize(id + 1, nullptr);
        byId[id] = item.get();
        AppendMenuW(menu.Get(), flags, id, item->Caption().c_str());
    }
    return menu;
}

}  // namespace host
