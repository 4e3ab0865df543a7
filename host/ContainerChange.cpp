// Setting a control's Container: the site moves between its form's containers, its window (or
// windowless rectangle) follows, and the form keeps its sites in an order where containers come
// first.
#include "host/ControlSite.h"
#include "host/Error.h"
#include "host/Form.h"
#include "host/WindowlessSurface.h"

#include <algorithm>
#include <unordered_set>

namespace host {

namespace {

void CollectWithChildren(ControlSite& site, std::unordered_set<const ControlSite*>& out) {
    out.insert(&site);
    for (ControlSite* child : site.Children()) CollectWithChildren(*child, out);
}

}  // namespace

void ControlSite::Container(Form& form) {
    if (&form != &form_) Raise(err::InvalidPropertyValue);
    Container(static_cast<ControlSite*>(nullptr));
}

void ControlSite::Container(ControlSite* container) {
    if (container == container_) return;
    if (container) {
        if (&container->form_ != &form_ || !container->control_ || !container->control_->IsContainer())
            Raise(err::InvalidPropertyValue);
        for (const ControlSite* s = container; s; s = s->container_)
            if (s == this) Raise(err::InvalidPropertyValue);
    }
    HWND oldWindow = ContainerWindow();
    RECT before = PixelRect();
    std::erase(container_ ? container_->children_ : form_.MutableTopLevel(), this);
    container_ = container;
    (container_ ? container_->children_ : form_.MutableTopLevel()).push_back(this);
    form_.KeepAfterContainers(*this);
    if (!created_) return;
    if (HWND placed = PlacedWindow()) {
        SetParent(placed, ContainerWindow());
        ApplyPlacement();
        SetWindowPos(placed, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else if (windowless_) {
        InvalidateRect(oldWindow, &before, TRUE);
        windowless_->ContainerChanged();
        windowless_->Refresh();
    }
}

void Form::KeepAfterContainers(ControlSite& site) {
    std::unordered_set<const ControlSite*> moving;
    CollectWithChildren(site, moving);
    std::stable_partition(sites_.begin(), sites_.end(),
                          [&](const std::unique_ptr<ControlSite>& s) { return !moving.contains(s.get()); });
}

}  // namespace host
