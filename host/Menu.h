// Menus from design data: a tree of items, each with Caption, Tag, Enabled, Visible, Checked and
// an Index when it belongs to a control array. A caption "-" is a separator. An invisible
// top-level menu is never shown in a menu bar; Form::PopupMenu shows it at a point of the form.
#pragma once

#include "host/DesignData.h"
#include "host/Event.h"

#include <memory>
#include <string>
#include <vector>

namespace host {

class MenuItem {
public:
    explicit MenuItem(const ControlDesign& design);

    const std::wstring& Name() const { return name_; }
    int Index() const { return index_; }
    const std::wstring& Caption() const { return caption_; }
    void Caption(std::wstring caption) { caption_ = std::move(caption); }
    const std::wstring& Tag() const { return tag_; }
    void Tag(std::wstring tag) { tag_ = std::move(tag); }
    bool Enabled() const { return enabled_; }
    void Enabled(bool on) { enabled_ = on; }
    bool Visible() const { return visible_; }
    void Visible(bool on) { visible_ = on; }
    bool Checked() const { return checked_; }
    void Checked(bool on) { checked_ = on; }
    bool IsSeparator() const { return caption_ == L"-"; }

    const std::vector<std::unique_ptr<MenuItem>>& Items() const { return items_; }
    // The first item of that name (and index, when given) in this subtree, or null.
    MenuItem* Find(std::wstring_view name, int index = -1);

    // Raised when the item is chosen; the argument is the item's Index (-1 outside arrays).
    Event<int /*Index*/> Click;

    // Builds a popup menu of the visible subitems; command ids are taken from `nextId`, and
    // `byId` receives the item of each id. The caller owns the menu.
    UniqueMenu BuildPopup(UINT& nextId, std::vector<MenuItem*>& byId) const;

private:
    std::wstring name_;
    int index_;
    std::wstring caption_, tag_;
    bool enabled_ = true, visible_ = true, checked_ = false;
    std::vector<std::unique_ptr<MenuItem>> items_;
};

}  // namespace host
