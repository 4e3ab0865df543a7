#include "ListBoxWindow.h"

namespace controls {

LRESULT ListBoxWindow::Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return hwnd_ ? SendMessageW(hwnd_, msg, wParam, lParam) : LB_ERR;
}

LRESULT ListBoxWindow::SendItem(UINT msg, WPARAM wParam, LPARAM lParam) const {
    if (!hwnd_) return LB_ERR;
    return itemProc_ ? CallWindowProcW(itemProc_, hwnd_, msg, wParam, lParam) : SendMessageW(hwnd_, msg, wParam, lParam);
}

long ListBoxWindow::Add(const std::wstring& text) const {
    return static_cast<long>(SendItem(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

long ListBoxWindow::Insert(long index, const std::wstring& text) const {
    return static_cast<long>(SendItem(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str())));
}

long ListBoxWindow::Delete(long index) const { return static_cast<long>(SendItem(LB_DELETESTRING, static_cast<WPARAM>(index))); }

void ListBoxWindow::Reset() const { SendItem(LB_RESETCONTENT); }

long ListBoxWindow::Count() const {
    auto n = SendItem(LB_GETCOUNT);
    return n == LB_ERR ? 0 : static_cast<long>(n);
}

long ListBoxWindow::TextLength(long index) const { return static_cast<long>(SendItem(LB_GETTEXTLEN, static_cast<WPARAM>(index))); }

bool ListBoxWindow::Text(long index, std::wstring& out) const {
    long len = TextLength(index);
    if (len == LB_ERR || len < 0) return false;
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    long copied = static_cast<long>(SendItem(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data())));
    if (copied == LB_ERR) return false;
    text.resize(static_cast<size_t>(copied));
    out = std::move(text);
    return true;
}

LPARAM ListBoxWindow::ItemData(long index) const { return SendItem(LB_GETITEMDATA, static_cast<WPARAM>(index)); }

long ListBoxWindow::SetItemData(long index, LPARAM data) const {
    return static_cast<long>(SendItem(LB_SETITEMDATA, static_cast<WPARAM>(index), data));
}

long ListBoxWindow::FindExact(long after, const std::wstring& text) const {
    return static_cast<long>(SendItem(LB_FINDSTRINGEXACT, static_cast<WPARAM>(after), reinterpret_cast<LPARAM>(text.c_str())));
}

void ListBoxWindow::InitStorage(long items, long textChars) const {
    if (items > 0) SendItem(LB_INITSTORAGE, static_cast<WPARAM>(items), static_cast<LPARAM>(textChars) * sizeof(wchar_t));
}

long ListBoxWindow::FindPrefix(long after, const std::wstring& text) const {
    return static_cast<long>(SendItem(LB_FINDSTRING, static_cast<WPARAM>(after), reinterpret_cast<LPARAM>(text.c_str())));
}

long ListBoxWindow::SelCount() const { return static_cast<long>(Send(LB_GETSELCOUNT)); }

long ListBoxWindow::CurSel() const { return static_cast<long>(Send(LB_GETCURSEL)); }

long ListBoxWindow::SetCurSel(long index) const { return static_cast<long>(Send(LB_SETCURSEL, static_cast<WPARAM>(index))); }

long ListBoxWindow::CaretIndex() const { return static_cast<long>(Send(LB_GETCARETINDEX)); }

long ListBoxWindow::SetCaretIndex(long index) const {
    return static_cast<long>(Send(LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE));
}

bool ListBoxWindow::Selected(long index) const { return Send(LB_GETSEL, static_cast<WPARAM>(index)) > 0; }

long ListBoxWindow::SetSelected(long index, bool selected) const {
    return static_cast<long>(Send(LB_SETSEL, selected ? TRUE : FALSE, index));
}

long ListBoxWindow::SelectRange(long first, long last) const {
    return static_cast<long>(Send(LB_SELITEMRANGEEX, static_cast<WPARAM>(first), last));
}

long ListBoxWindow::SelectedItems(long* out, long capacity) const {
    return static_cast<long>(Send(LB_GETSELITEMS, static_cast<WPARAM>(capacity), reinterpret_cast<LPARAM>(out)));
}

long ListBoxWindow::SelectString(long after, const std::wstring& text) const {
    return static_cast<long>(Send(LB_SELECTSTRING, static_cast<WPARAM>(after), reinterpret_cast<LPARAM>(text.c_str())));
}

long ListBoxWindow::AnchorIndex() const { return static_cast<long>(Send(LB_GETANCHORINDEX)); }

long ListBoxWindow::SetAnchorIndex(long index) const { return static_cast<long>(Send(LB_SETANCHORINDEX, static_cast<WPARAM>(index))); }

long ListBoxWindow::TopIndex() const {
    auto top = Send(LB_GETTOPINDEX);
    return top == LB_ERR ? 0 : static_cast<long>(top);
}

long ListBoxWindow::SetTopIndex(long index) const { return static_cast<long>(Send(LB_SETTOPINDEX, static_cast<WPARAM>(index))); }

long ListBoxWindow::ItemHeight(long index) const { return static_cast<long>(Send(LB_GETITEMHEIGHT, static_cast<WPARAM>(index))); }

long ListBoxWindow::SetItemHeight(long index, long height) const {
    return static_cast<long>(Send(LB_SETITEMHEIGHT, static_cast<WPARAM>(index), MAKELPARAM(height, 0)));
}

void ListBoxWindow::SetColumnWidth(long pixels) const { Send(LB_SETCOLUMNWIDTH, static_cast<WPARAM>(pixels)); }

long ListBoxWindow::ItemsPerColumn() const { return hwnd_ ? static_cast<long>(Send(LB_GETLISTBOXINFO)) : 0; }

bool ListBoxWindow::ItemRect(long index, RECT& rc) const {
    return Send(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc)) != LB_ERR;
}

long ListBoxWindow::HorizontalExtent() const { return static_cast<long>(Send(LB_GETHORIZONTALEXTENT)); }

void ListBoxWindow::SetHorizontalExtent(long pixels) const { Send(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(pixels)); }

void ListBoxWindow::SetRedraw(bool redraw) const { Send(WM_SETREDRAW, redraw ? TRUE : FALSE); }

}  // namespace controls
