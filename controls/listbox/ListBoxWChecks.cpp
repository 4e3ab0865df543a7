// ListBoxW: check boxes (Style 1) and option buttons (Style 2). The states belong to the
// control, one per item, and follow the items as they are added and removed; the list box
// only draws them (owner-drawn, ListBoxWDrawing.cpp).
#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/MouseServices.h"
#include "controls/foundation/PropertyRanges.h"
#include "controls/listbox/ListBoxW.h"
#include "host/ControlSite.h"
#include "host/Error.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>

namespace controls {

// --- bookkeeping --------------------------------------------------------------------------

// Items the bookkeeping never counted (added straight to the window, or the design-time name
// item) are taken in as unchecked before the new one, at the end where the window appends them,
// so the states always cover every position the list box reports: a position beyond the count
// can never be written.
long ListBoxW::CountedItemsBefore(long pos) const {
    return std::max({checkItemCount_, pos, Box().Count() - 1});
}

// A new item is never checked; the states after it move up with their items.
void ListBoxW::NoteItemAdded(long pos) {
    if (style_ == 0 || pos < 0) return;
    long n = CountedItemsBefore(pos);
    checkItemCount_ = n + 1;
    if (style_ == 1) {
        checkStates_.resize(static_cast<size_t>(n) + 2, 0);
        if (pos < n) std::memmove(&checkStates_[static_cast<size_t>(pos) + 2], &checkStates_[static_cast<size_t>(pos) + 1], static_cast<size_t>(n - pos));
        checkStates_[static_cast<size_t>(pos) + 1] = 0;
    } else if (optionIndex_ >= pos) {
        ++optionIndex_;
    }
}

// An item the bookkeeping never counted takes no state with it; the count then follows the
// list box down if it had fewer items than counted.
void ListBoxW::NoteItemRemoved(long index) {
    if (style_ == 0) return;
    long n = checkItemCount_;
    if (index < 0 || index > n - 1) {
        long left = Box().Count();
        if (left < n) {
            checkItemCount_ = left;
            checkStates_.resize(static_cast<size_t>(left) + 1);
            if (optionIndex_ > left - 1) optionIndex_ = -1;
        }
        return;
    }
    checkItemCount_ = n - 1;
    if (style_ == 1) {
        if (checkItemCount_ == 0) {
            checkStates_.assign(1, 0);
        } else {
            if (index < n - 1)
                std::memmove(&checkStates_[static_cast<size_t>(index) + 1], &checkStates_[static_cast<size_t>(index) + 2], static_cast<size_t>(n - 1 - index));
            checkStates_.resize(static_cast<size_t>(n));
        }
    } else if (optionIndex_ >= 0) {
        // The checked option moves down with its item first; only then is an index left beyond
        // the last item stale. (Judged the other way round, removing any item before a checked
        // last item would clear the check.)
        if (index == optionIndex_) optionIndex_ = -1;
        else if (index < optionIndex_) --optionIndex_;
        if (checkItemCount_ == 0 || optionIndex_ > Box().Count() - 1) optionIndex_ = -1;
    }
}

void ListBoxW::ResetChecks() {
    checkItemCount_ = 0;
    checkStates_.assign(1, 0);
    optionIndex_ = -1;
}

bool ListBoxW::IsChecked(long index) const {
    if (index < 0 || index > checkItemCount_ - 1) return false;
    if (style_ == 1) return checkStates_[static_cast<size_t>(index) + 1] == 1;
    if (style_ == 2) return index == optionIndex_;
    return false;
}

void ListBoxW::InvalidateItem(long index) {
    RECT rc{};
    if (index >= 0 && Box().ItemRect(index, rc)) InvalidateRect(list_.Get(), &rc, FALSE);
}

// Asks ItemBeforeCheck, then changes the state, repaints and tells ItemCheck.
void ListBoxW::SetCheckState(long index, bool checked) {
    bool cancel = false;
    Site().RaiseEvent(DispId::ItemBeforeCheck, ItemBeforeCheck, index, cancel);
    if (cancel) return;
    if (style_ == 1) {
        checkStates_[static_cast<size_t>(index) + 1] = checked ? 1 : 0;
    } else {
        InvalidateItem(optionIndex_);
        optionIndex_ = checked ? index : -1;
    }
    InvalidateItem(index);
    Site().RaiseEvent(DispId::ItemCheck, ItemCheck, index);
}

// By mouse or space bar; clicking the checked option again changes nothing.
void ListBoxW::ToggleItemCheck(long index) {
    if (index == -1) index = Box().CurSel();
    if (index < 0 || index > checkItemCount_ - 1) return;
    if (style_ == 2 && index == optionIndex_) return;
    if (style_ == 1 || style_ == 2) SetCheckState(index, !IsChecked(index));
}

// --- members --------------------------------------------------------------------------------

bool ListBoxW::ItemChecked(long index) const {
    if (!list_) return false;
    RequireItem(index, host::err::InvalidPropertyArrayIndex);
    return IsChecked(index);
}

void ListBoxW::ItemChecked(long index, bool checked) {
    if (!list_) return;
    RequireItem(index, host::err::InvalidPropertyArrayIndex);
    if (style_ == 0 || index > checkItemCount_ - 1 || IsChecked(index) == checked) return;
    SetCheckState(index, checked);
}

void ListBoxW::OptionIndex(long index) {
    if (!list_) return;
    if (index != -1) RequireItem(index, host::err::InvalidPropertyArrayIndex);
    if (style_ != 2) return;
    if (index == -1) {
        if (optionIndex_ >= 0) ItemChecked(optionIndex_, false);
    } else {
        ItemChecked(index, true);
    }
}

std::vector<long> ListBoxW::CheckedIndices() const {
    std::vector<long> out;
    if (style_ == 1) {
        for (long i = 0; i < checkItemCount_; ++i)
            if (checkStates_[static_cast<size_t>(i) + 1] == 1) out.push_back(i);
    } else if (style_ == 2 && optionIndex_ >= 0) {
        out.push_back(optionIndex_);
    }
    return out;
}

void ListBoxW::Style(long style) {
    if (!designMode_) foundation::RaiseReadOnlyAtRunTime(L"Style");
    if (Reject(L"Style", style)) return;
    if (style != 0 && drawMode_ != 0) {
        foundation::ShowMessageBox(L"Style must be 0 - Standard when DrawMode is not 0 - Normal", MB_ICONSTOP);
        return;
    }
    style_ = style;
    if (style != 0) multiSelect_ = 0;
    ReCreateListBox();
    Changed(L"Style");
}

}  // namespace controls
