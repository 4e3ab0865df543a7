// ListBoxW: the left button on an item (the check column, the automatic item drag) and OLE drag
// and drop — the dragged item, the selected texts as the drag's data, and scrolling the list
// when something is dragged near its edges.
#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/Common.h"
#include "controls/foundation/MouseServices.h"
#include "controls/listbox/ListBoxW.h"
#include "host/ControlSite.h"
#include "host/DragDrop.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cmath>

namespace controls {

namespace {

// Puts a field of the control back to a value at the end of the scope, unless the control went
// away meanwhile (a drag's event handler may unload the form and the control with it).
class ResetOnExit {
public:
    ResetOnExit(const foundation::ISubclass& owner, long& field, long atExit) : owner_(owner), field_(field), atExit_(atExit) {}
    ~ResetOnExit() {
        if (foundation::ISubclass::IsLive(&owner_)) field_ = atExit_;
    }
    ResetOnExit(const ResetOnExit&) = delete;
    ResetOnExit& operator=(const ResetOnExit&) = delete;

private:
    const foundation::ISubclass& owner_;
    long& field_;
    long atExit_;
};

}  // namespace

// --- the left button ----------------------------------------------------------------------

long ListBoxW::ItemAtClientPoint(HWND hwnd, POINT pt) const {
    POINT screen = pt;
    ClientToScreen(hwnd, &screen);
    return LBItemFromPt(hwnd, screen, FALSE);
}

// A press on the item that was already selected counts as one in the check column, so clicking
// a selected item anywhere toggles it.
bool ListBoxW::InCheckColumn(long item, POINT pt) const {
    if (item == Box().CurSel()) return true;
    RECT rc{};
    if (!Box().ItemRect(item, rc)) return false;
    return RightToLeft() ? pt.x >= rc.right - checkBoxWidth_ : pt.x < rc.left + checkBoxWidth_;
}

// Check toggling and the automatic drag take the press before the list box does; everything
// else is the list box's ordinary handling.
LRESULT ListBoxW::OnListLeftButtonDown(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (style_ == 0 && OLEDragMode() != 1) return OnListAfterDefault(hwnd, WM_LBUTTONDOWN, wParam, lParam);
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    long item = ItemAtClientPoint(hwnd, pt);
    if (item < 0) return OnListAfterDefault(hwnd, WM_LBUTTONDOWN, wParam, lParam);
    if (OLEDragMode() == 1 && Box().Selected(item)) return OnListPressOnSelected(hwnd, item, pt, wParam, lParam);
    if (style_ == 0) return OnListAfterDefault(hwnd, WM_LBUTTONDOWN, wParam, lParam);
    bool inColumn = InCheckColumn(item, pt);
    LRESULT r = foundation::CallDefaultProc(hwnd, WM_LBUTTONDOWN, wParam, lParam);
    RaisePressMouseDown(wParam, lParam);
    if (inColumn) ToggleItemCheck(item);
    return r;
}

// A press on a selected item with automatic drag: moved beyond the drag distance it drags the
// selected items (and is no MouseDown); released where it was, it is an ordinary click.
LRESULT ListBoxW::OnListPressOnSelected(HWND hwnd, long item, POINT pt, WPARAM wParam, LPARAM lParam) {
    POINT screen = pt;
    ClientToScreen(hwnd, &screen);
    if (DragDetect(hwnd, screen)) {
        ResetOnExit started(*this, dragStartItem_, 0);
        dragStartItem_ = item + 1;
        OLEDrag();
        return 0;
    }
    bool inColumn = style_ != 0 && InCheckColumn(item, pt);
    LRESULT r = foundation::CallDefaultProc(hwnd, WM_LBUTTONDOWN, wParam, lParam);
    if (inColumn) ToggleItemCheck(item);
    RaisePressMouseDown(wParam, lParam);
    // The release was taken by the drag detection: the list box must not go on tracking.
    ReleaseCapture();
    return r;
}

void ListBoxW::RaisePressMouseDown(WPARAM wParam, LPARAM lParam) {
    foundation::MousePoint at = foundation::MousePointInTwips(Site(), lParam);
    Site().RaiseEvent(host::dispid::MouseDown, MouseDown, 1, foundation::ShiftStateFromParam(wParam), at.x, at.y);
}

// --- the drag source ------------------------------------------------------------------------

// The item of an automatic drag becomes the dragged item; a drag from code finds its item under
// the pointer when it starts. Once the drag is over, no item is dragged, whatever happened.
void ListBoxW::OLEDrag() {
    if (host::dragdrop::DragInProgress()) return Site().OLEDrag();  // refused by the host (674)
    if (draggedItem_ <= 0 && dragStartItem_ > 0) draggedItem_ = dragStartItem_;
    ResetOnExit over(*this, draggedItem_, 0);
    Site().OLEDrag();
}

void ListBoxW::OnOLEStartDrag(host::DataObject& data, long& allowedEffects) {
    if (draggedItem_ < 1) {
        if (list_) {
            POINT cursor{};
            GetCursorPos(&cursor);
            draggedItem_ = LBItemFromPt(list_.Get(), cursor, FALSE) + 1;
        }
    } else if (OLEDragMode() == 1) {
        std::wstring joined;
        std::wstring text;
        bool first = true;
        for (long index : SelectedIndices()) {
            if (!first) joined += L"\r\n";
            first = false;
            if (Box().Text(index, text)) joined += text;
        }
        data.Text(joined);
        allowedEffects = DROPEFFECT_COPY;
    }
    LibraryControl::OnOLEStartDrag(data, allowedEffects);
    if (allowedEffects == 0 && foundation::ISubclass::IsLive(this)) draggedItem_ = 0;
}

void ListBoxW::OnOLECompleteDrag(long& effect) {
    ResetOnExit over(*this, draggedItem_, 0);
    LibraryControl::OnOLECompleteDrag(effect);
}

// --- the drop target ------------------------------------------------------------------------

void ListBoxW::OnOLEDragOver(host::DataObject& data, long& effect, int button, int shift, float x, float y,
                             int state) {
    LibraryControl::OnOLEDragOver(data, effect, button, shift, x, y, state);
    if (!foundation::ISubclass::IsLive(this)) return;
    if (list_ && state == 2 && effect != 0 && OLEDragDropScroll()) ScrollNearEdge(x, y);
}

// One line towards the edge the pointer is near (16 logical pixels), horizontally and then
// vertically, through the list's own scroll handling (so Scroll is raised). x and y are the host
// window's pixels, which the list box fills.
void ListBoxW::ScrollNearEdge(float x, float y) {
    RECT rc{};
    GetWindowRect(list_.Get(), &rc);
    float width = static_cast<float>(rc.right - rc.left), height = static_cast<float>(rc.bottom - rc.top);
    LONG style = GetWindowLongW(list_.Get(), GWL_STYLE);
    float nearX = 16.0f * static_cast<float>(foundation::DpiScaleX());
    float nearY = 16.0f * static_cast<float>(foundation::DpiScaleY());
    if (style & WS_HSCROLL) {
        if (std::fabs(x) < nearX)
            SendMessageW(list_.Get(), WM_HSCROLL, SB_LINELEFT, 0);
        else if (std::fabs(x - width) < nearX)
            SendMessageW(list_.Get(), WM_HSCROLL, SB_LINERIGHT, 0);
    }
    if (style & WS_VSCROLL) {
        if (std::fabs(y) < nearY)
            SendMessageW(list_.Get(), WM_VSCROLL, SB_LINEUP, 0);
        else if (std::fabs(y - height) < nearY)
            SendMessageW(list_.Get(), WM_VSCROLL, SB_LINEDOWN, 0);
    }
}

}  // namespace controls
