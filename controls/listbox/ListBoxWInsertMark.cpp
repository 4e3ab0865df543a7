// ListBoxW: the insertion mark, a 2-pixel bar with short ends drawn over the list after it has
// painted, above or below one item, as feedback while something is dragged over the list. The
// control never sets it by itself; InsertMark does, HitTestInsertMark tells where it belongs.
#include "controls/foundation/Common.h"
#include "controls/listbox/ListBoxW.h"
#include "host/ControlSite.h"
#include "host/Error.h"
#include "host/Handles.h"

#include <commctrl.h>

#include <cmath>

namespace controls {

bool ListBoxW::InsertMarkShown() const {
    return list_ && insertMarkIndex_ >= 0 && insertMarkIndex_ < Box().Count();
}

void ListBoxW::InvalidateInsertMark() {
    RECT item{};
    if (!InsertMarkShown() || !Box().ItemRect(insertMarkIndex_, item)) return;
    long y0 = insertMarkAfter_ ? item.bottom : item.top;
    RECT band{item.left, y0 - 3, item.right, y0 + 3};
    InvalidateRect(list_.Get(), &band, TRUE);
}

void ListBoxW::DrawInsertMark() {
    RECT item{};
    if (!InsertMarkShown() || !Box().ItemRect(insertMarkIndex_, item)) return;
    long y0 = insertMarkAfter_ ? item.bottom : item.top;
    host::WindowDC dc(list_.Get());
    RECT client{};
    GetClientRect(list_.Get(), &client);
    host::UniqueRegion clip(CreateRectRgnIndirect(&client));
    ExtSelectClipRgn(dc.Get(), clip.Get(), RGN_COPY);
    long color = foundation::TranslateColorValue(insertMarkColor_);
    host::UniqueBrush brush(CreateSolidBrush(color < 0 ? RGB(0, 0, 0) : static_cast<COLORREF>(color)));
    {
        host::SelectObjectGuard selected(dc.Get(), brush.Get());
        long l = item.left, r = item.right;
        PatBlt(dc.Get(), l, y0 - 3, 1, 6, PATCOPY);
        PatBlt(dc.Get(), l + 1, y0 - 2, 1, 4, PATCOPY);
        PatBlt(dc.Get(), l + 2, y0 - 1, r - l - 2, 2, PATCOPY);
        PatBlt(dc.Get(), r - 2, y0 - 2, 1, 4, PATCOPY);
        PatBlt(dc.Get(), r - 1, y0 - 3, 1, 6, PATCOPY);
    }
    ExtSelectClipRgn(dc.Get(), nullptr, RGN_COPY);
}

long ListBoxW::InsertMark(bool* after) const {
    if (after) *after = insertMarkAfter_;
    return insertMarkIndex_;
}

// Without a window there is no item to mark, and nothing to say so.
void ListBoxW::InsertMark(long index, bool after) {
    if (!list_) return;
    if (index != -1) RequireItem(index, host::err::InvalidPropertyArrayIndex);
    if (index == insertMarkIndex_ && after == insertMarkAfter_) return;
    InvalidateInsertMark();
    insertMarkIndex_ = index;
    insertMarkAfter_ = after;
    if (index >= 0) InvalidateInsertMark();
}

void ListBoxW::InsertMarkColor(unsigned long oleColor) {
    insertMarkColor_ = oleColor;
    InvalidateInsertMark();
    Changed(L"InsertMarkColor");
}

long ListBoxW::HitTestInsertMark(float x, float y, bool* after) const {
    long item = HitTest(x, y);
    RECT rc{};
    if (item < 0 || !Box().ItemRect(item, rc)) return item;
    double py = Site().ScaleY(y, host::ScaleUnit::Container, host::ScaleUnit::Pixels);
    if (after) *after = py > rc.top + (rc.bottom - rc.top) / 2.0;
    return item;
}

}  // namespace controls
