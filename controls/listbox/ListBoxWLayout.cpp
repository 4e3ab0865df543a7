// ListBoxW: geometry in the container's units — hit testing, item height, column width and
// the horizontal extent that shows the widest item.
#include "controls/listbox/ListBoxW.h"
#include "host/ControlSite.h"
#include "host/Error.h"
#include "host/HostWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

namespace controls {

namespace {

long Round(double v) { return static_cast<long>(std::lround(v)); }

}  // namespace

long ListBoxW::HitTest(float x, float y) const {
    if (!list_) return -1;
    POINT pt{Round(Site().ScaleX(x, host::ScaleUnit::Container, host::ScaleUnit::Pixels)),
             Round(Site().ScaleY(y, host::ScaleUnit::Container, host::ScaleUnit::Pixels))};
    ClientToScreen(list_.Get(), &pt);
    int item = LBItemFromPt(list_.Get(), pt, FALSE);
    return item < 0 ? -1 : item;
}

// Only item 0 has a height of its own in a list whose items all share it; owner-drawn variable
// rows each have theirs.
double ListBoxW::ItemHeight(long index) const {
    if (!list_) return 0;
    long px = index == 0 || drawMode_ == 2 ? Box().ItemHeight(index) : LB_ERR;
    if (px == LB_ERR) host::Raise(host::err::InvalidProcedureCall);
    return Site().ScaleY(px, host::ScaleUnit::Pixels, host::ScaleUnit::Container);
}

void ListBoxW::ItemHeight(long index, double height) {
    if (height < 0) host::Raise(host::err::InvalidPropertyValue);
    if (!list_) return;
    if (index != 0 && drawMode_ != 2) host::Raise(host::err::InvalidProcedureCall);
    long px = Round(Site().ScaleY(height, host::ScaleUnit::Container, host::ScaleUnit::Pixels));
    // The list box refuses heights it cannot keep (above 255 pixels).
    if (Box().SetItemHeight(index, px) == LB_ERR) host::Raise(host::err::InvalidProcedureCall);
    if (integralHeight_) {
        // Moving it taller and back makes the list box fit whole items of the new height again.
        SIZE size = HostClientSize();
        MoveWindow(list_.Get(), 0, 0, size.cx, size.cy + 10, FALSE);
        MoveWindow(list_.Get(), 0, 0, size.cx, size.cy, FALSE);
        Resize();
    }
    Refresh();
}

void ListBoxW::SetColumnWidth(double width) {
    if (width < 0) host::Raise(host::err::InvalidPropertyValue);
    if (!list_) return;
    long px = Round(Site().ScaleX(width, host::ScaleUnit::Container, host::ScaleUnit::Pixels));
    if (px < 1) host::Raise(host::err::InvalidPropertyValue);
    Box().SetColumnWidth(px);
}

long ListBoxW::ItemsPerColumn() const { return Box().ItemsPerColumn(); }

// The HorizontalExtent at which the widest item shows whole.
double ListBoxW::GetIdealHorizontalExtent() const {
    long count = ListCount();
    if (!list_ || count == 0) return 0;
    RECT window{}, client{};
    GetWindowRect(list_.Get(), &window);
    GetClientRect(list_.Get(), &client);
    long scrollBar = (GetWindowLongW(list_.Get(), GWL_STYLE) & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    long widest = 0;
    host::WindowDC dc(list_.Get());
    host::SelectObjectGuard font(dc.Get(), hFont_.Get());
    std::wstring text;
    for (long i = 0; i < count; ++i) {
        SIZE extent{};
        if (Box().Text(i, text)) GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
        widest = std::max(widest, extent.cx - scrollBar);
    }
    if (widest <= 0) return 0;
    long px = widest + (window.right - window.left) - (client.right - client.left);
    return Site().ScaleX(px, host::ScaleUnit::Pixels, host::ScaleUnit::Container);
}

}  // namespace controls
