// ListBoxW: items. Everything works on the list box window and does nothing while there is none.
//
// Appending is built for large fills (the workbench lists up to a million matches after a
// Clear): a burst of AddItem calls suspends the list box's redrawing until the message loop is
// idle again, and the item storage grows geometrically, so a fill costs time linear in its size.
#include "controls/foundation/ComCtlsBase.h"
#include "controls/listbox/ListBoxW.h"
#include "host/ControlSite.h"
#include "host/Error.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <cwctype>

namespace controls {

namespace {

// The position argument of AddItem: a number, or a text holding one.
long ItemIndexArgument(const host::Value& index) {
    using Kind = host::Value::Kind;
    switch (index.GetKind()) {
    case Kind::Long:
        if (index.AsLong() < 0) host::Raise(host::err::InvalidProcedureCall);
        return index.AsLong();
    case Kind::Double:
        if (std::trunc(index.AsDouble()) < 0) host::Raise(host::err::InvalidProcedureCall);
        return index.AsLong();
    case Kind::String:
    case Kind::Bytes: {
        std::wstring text = index.AsString();
        const wchar_t* begin = text.c_str();
        while (std::iswspace(*begin)) ++begin;
        wchar_t* end = nullptr;
        double value = std::wcstod(begin, &end);
        if (end == begin) host::Raise(host::err::TypeMismatch);
        while (std::iswspace(*end)) ++end;
        if (*end != L'\0' || !std::isfinite(value)) host::Raise(host::err::TypeMismatch);
        if (value < 0) host::Raise(host::err::InvalidProcedureCall);
        if (value > 2147483647.0) host::Raise(host::err::InvalidProcedureCall);
        return static_cast<long>(std::nearbyint(value));
    }
    default: host::Raise(host::err::TypeMismatch);
    }
}

}  // namespace

void ListBoxW::RaiseClick() { Site().RaiseEvent(host::dispid::Click, Click); }

long ListBoxW::RequireItem(long index, long error) const {
    if (Box().TextLength(index) == LB_ERR) host::Raise(error);
    return index;
}

// --- adding and removing --------------------------------------------------------------------

void ListBoxW::AddItem(const std::wstring& item, const host::Value& index) {
    if (!list_) return;
    bool append = index.IsEmpty();
    long at = append ? -1 : ItemIndexArgument(index);
    SuspendRedrawUntilIdle();
    if (append) ReserveForAppend(item.size());
    long pos = append ? Box().Add(item) : Box().Insert(at, item);
    if (pos < 0) host::Raise(host::err::InvalidProcedureCall);
    appendedCount_ = append ? pos + 1 : -1;
    newIndex_ = pos;
    NoteItemAdded(pos);
}

// The list box answers the count that is left, which spares a second call per item (a large
// list emptied item by item makes a million of these).
void ListBoxW::RemoveItem(long index) {
    if (!list_) return;
    const long left = index < 0 ? LB_ERR : Box().Delete(index);
    if (left == LB_ERR) host::Raise(host::err::InvalidProcedureCall);
    appendedCount_ = left;
    newIndex_ = -1;
    NoteItemRemoved(index);
    if (insertMarkIndex_ > left - 1) {
        insertMarkIndex_ = -1;
        insertMarkAfter_ = false;
    }
}

void ListBoxW::Clear() {
    if (!list_) return;
    Box().Reset();
    newIndex_ = -1;
    reservedItems_ = 0;
    appendedCount_ = 0;
    if (style_ != 0) ResetChecks();
}

// The storage grows in doubling steps even when the caller knows the whole count: under Wine
// one reservation of a million entries makes every later append slower (measured by the fill
// benchmark: 2.4 us an entry against 1.0 at a million), and on Windows doubling costs next to
// nothing. The rest of a large reservation is made step by step as the appends come.
void ListBoxW::InitStorage(long itemCount, long averageChars) {
    if (!list_ || itemCount <= 0) return;
    Reserve(std::min(itemCount, std::max(Box().Count(), 256L)), averageChars);
}

void ListBoxW::Reserve(long itemCount, long averageChars) {
    long long chars = static_cast<long long>(itemCount) * std::max(averageChars, 1L);
    Box().InitStorage(itemCount, static_cast<long>(std::min(chars, 0x3FFFFFFFLL)));
    reservedItems_ = std::max(reservedItems_, Box().Count() + itemCount);
}

// The list box grows its item table in small steps; doubling it ahead of the appends keeps a
// long fill from copying the table over and over. The count is the one the last append or
// removal left: asking the list box costs a third as much as an append under Wine. An item
// someone else added or removed since makes it wrong for one append at most (the append after
// corrects it), which costs a reservation made one append late or early, nothing more.
void ListBoxW::ReserveForAppend(size_t textLength) {
    long count = appendedCount_ >= 0 ? appendedCount_ : Box().Count();
    if (count < reservedItems_) return;
    Reserve(std::max(count, 256L), static_cast<long>(std::min<size_t>(textLength + 1, 256)));
}

// Repainting after every item makes a fill quadratic; the list box is redrawn once the caller's
// burst is over and the message loop comes back to the posted message.
void ListBoxW::SuspendRedrawUntilIdle() {
    if (redrawSuspended_ || !redraw_ || designMode_) return;
    redrawSuspended_ = true;
    Box().SetRedraw(false);
    PostMessageW(HostWindow(), resumeRedrawMessage_, 0, 0);
}

void ListBoxW::ResumeRedrawAfterBurst() {
    if (!redrawSuspended_) return;
    redrawSuspended_ = false;
    if (!redraw_ || !list_) return;
    Box().SetRedraw(true);
    InvalidateRect(list_.Get(), nullptr, TRUE);
}

// --- reading and replacing items ------------------------------------------------------------

long ListBoxW::ListCount() const { return Box().Count(); }

std::wstring ListBoxW::List(long index) const {
    if (!list_) return {};
    std::wstring text;
    if (!Box().Text(index, text)) host::Raise(host::err::InvalidProcedureCall);
    return text;
}

// Replaces the text in place: the item keeps its position, data and selection. The new text
// goes in before the old one is taken out, so a list box that refuses it keeps the item as it
// was.
void ListBoxW::List(long index, const std::wstring& text) {
    if (!list_) return;
    if (index < 0 || Box().TextLength(index) == LB_ERR) host::Raise(host::err::InvalidProcedureCall);
    long listIndex = ListIndex();
    bool selected = multiSelect_ != 0 && Box().Selected(index);
    LPARAM data = Box().ItemData(index);
    if (Box().Insert(index, text) < 0) host::Raise(host::err::InvalidProcedureCall);
    Box().Delete(index + 1);
    Box().SetItemData(index, data);
    if (multiSelect_ != 0) Box().SetSelected(index, selected);
    ListIndex(listIndex);
}

long ListBoxW::ItemData(long index) const {
    if (!list_) return 0;
    RequireItem(index, host::err::InvalidPropertyArrayIndex);
    return static_cast<long>(Box().ItemData(index));
}

void ListBoxW::ItemData(long index, long data) {
    if (!list_) return;
    if (Box().SetItemData(index, data) == LB_ERR) host::Raise(host::err::InvalidPropertyArrayIndex);
}

long ListBoxW::FindItem(const std::wstring& text, long index, bool partial) const {
    if (!list_) return -1;
    if (index != -1) RequireItem(index, host::err::InvalidPropertyArrayIndex);
    long found = partial ? Box().FindPrefix(index, text) : Box().FindExact(index, text);
    return found < 0 ? -1 : found;
}

}  // namespace controls
