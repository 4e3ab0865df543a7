// ListBoxW: the selection, as the list box keeps it. Every change the program makes that
// changes what is selected raises Click, as a change by the user does.
#include "controls/listbox/ListBoxW.h"
#include "host/ControlSite.h"
#include "host/Error.h"

#include <algorithm>

namespace controls {

long ListBoxW::ListIndex() const { return multiSelect_ != 0 ? Box().CaretIndex() : Box().CurSel(); }

// Setting the index from code raises Click too, as a selection by the user does.
void ListBoxW::ListIndex(long index) {
    if (!list_) return;
    long before = ListIndex();
    if (multiSelect_ != 0) {
        if (Box().SetCaretIndex(index) == LB_ERR) host::Raise(host::err::InvalidPropertyValue);
    } else if (index == -1) {
        Box().SetCurSel(-1);  // answers LB_ERR even when it succeeds
    } else if (Box().SetCurSel(index) == LB_ERR) {
        host::Raise(host::err::InvalidPropertyValue);
    }
    if (index != before) RaiseClick();
}

std::wstring ListBoxW::Text() const {
    long index = ListIndex();
    return index >= 0 ? List(index) : std::wstring();
}

void ListBoxW::Text(const std::wstring& text) {
    if (!list_) return;
    ListIndex(std::max(Box().FindExact(-1, text), -1L));
}

long ListBoxW::SelCount() const {
    if (!list_) return 0;
    long n = Box().SelCount();
    if (n != LB_ERR) return n;
    return Box().CurSel() >= 0 ? 1 : 0;
}

bool ListBoxW::Selected(long index) const {
    if (!list_) return false;
    RequireItem(index, host::err::InvalidPropertyArrayIndex);
    return Box().Selected(index);
}

void ListBoxW::Selected(long index, bool on) {
    if (!list_) return;
    RequireItem(index, host::err::InvalidPropertyArrayIndex);
    if (multiSelect_ != 0) {
        bool before = Box().Selected(index);
        Box().SetSelected(index, on);
        if (Box().Selected(index) != before) RaiseClick();
        return;
    }
    long before = Box().CurSel();
    if (on)
        Box().SetCurSel(index);
    else if (before == index)
        Box().SetCurSel(-1);
    if (Box().CurSel() != before) RaiseClick();
}

long ListBoxW::TopIndex() const { return Box().TopIndex(); }

void ListBoxW::TopIndex(long index) {
    if (!list_) return;
    if (index < 0 || Box().SetTopIndex(index) == LB_ERR) host::Raise(host::err::InvalidPropertyValue);
}

long ListBoxW::AnchorIndex() const { return Box().AnchorIndex(); }

void ListBoxW::AnchorIndex(long index) {
    if (!list_) return;
    if (index < -1 || Box().SetAnchorIndex(index) == LB_ERR) host::Raise(host::err::InvalidPropertyValue);
}

// A single-selection list can only move its one selection to the start of the range.
void ListBoxW::SetSelRange(long startIndex, long endIndex) {
    if (!list_) return;
    RequireItem(startIndex, host::err::InvalidPropertyArrayIndex);
    RequireItem(endIndex, host::err::InvalidPropertyArrayIndex);
    long before = Box().SelCount();
    if (before == LB_ERR) return ListIndex(startIndex);
    Box().SelectRange(startIndex, endIndex);
    if (Box().SelCount() != before) RaiseClick();
}

std::vector<long> ListBoxW::SelectedIndices() const {
    long count = ListCount();
    if (count == 0) return {};
    std::vector<long> indices(static_cast<size_t>(count));
    long n = Box().SelectedItems(indices.data(), count);
    if (n == LB_ERR) {
        long current = Box().CurSel();
        return current >= 0 && Box().Selected(current) ? std::vector<long>{current} : std::vector<long>{};
    }
    indices.resize(static_cast<size_t>(std::max(n, 0L)));
    std::sort(indices.begin(), indices.end());
    return indices;
}

long ListBoxW::SelectItem(const std::wstring& text, long index) {
    if (!list_) return -1;
    if (index != -1) RequireItem(index, host::err::InvalidPropertyArrayIndex);
    long found = Box().SelectString(index, text);
    return found < 0 ? -1 : found;
}

}  // namespace controls
