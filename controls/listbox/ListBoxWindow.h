// ListBoxWindow: a typed view of a live "ListBox" child window, one method per list box
// message. Borrowed: ListBoxW owns the window. Without a window every call does nothing and
// answers LB_ERR (or an empty value), so the control's members stay silent before creation.
//
// Given the list box class's own window procedure, the item messages (adding, reading,
// removing, storage) go straight to it. None of them has handling of the control's, and under
// Wine every message through the subclass chain costs a wineserver round trip for the chain's
// window properties: twenty times the list box's own work, which makes a million-entry fill
// take a minute instead of seconds. Selection, scrolling and redraw messages still go through
// the chain, where the control watches them.
#pragma once

#include <windows.h>

#include <string>

namespace controls {

class ListBoxWindow {
public:
    explicit ListBoxWindow(HWND hwnd = nullptr, WNDPROC itemProc = nullptr) : hwnd_(hwnd), itemProc_(itemProc) {}

    HWND Handle() const { return hwnd_; }
    explicit operator bool() const { return hwnd_ != nullptr; }

    // --- items
    long Add(const std::wstring& text) const;
    long Insert(long index, const std::wstring& text) const;
    long Delete(long index) const;
    void Reset() const;
    long Count() const;
    long TextLength(long index) const;
    bool Text(long index, std::wstring& out) const;  // false: no such item
    LPARAM ItemData(long index) const;
    long SetItemData(long index, LPARAM data) const;
    long FindExact(long after, const std::wstring& text) const;
    long FindPrefix(long after, const std::wstring& text) const;
    // Reserves room for `items` more items and `textChars` characters of text in one go.
    void InitStorage(long items, long textChars) const;

    // --- selection and scrolling
    long CurSel() const;
    long SetCurSel(long index) const;
    long CaretIndex() const;
    long SetCaretIndex(long index) const;
    bool Selected(long index) const;
    long SelCount() const;  // LB_ERR for a single-selection list
    long SetSelected(long index, bool selected) const;
    long SelectRange(long first, long last) const;
    long SelectedItems(long* out, long capacity) const;  // LB_ERR for a single-selection list
    long SelectString(long after, const std::wstring& text) const;
    long AnchorIndex() const;
    long SetAnchorIndex(long index) const;
    long TopIndex() const;
    long SetTopIndex(long index) const;
    long ItemHeight(long index) const;
    long SetItemHeight(long index, long height) const;  // LB_ERR: refused
    void SetColumnWidth(long pixels) const;
    long ItemsPerColumn() const;
    bool ItemRect(long index, RECT& rc) const;
    long HorizontalExtent() const;
    void SetHorizontalExtent(long pixels) const;

    // --- drawing
    void SetRedraw(bool redraw) const;

private:
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT SendItem(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;

    HWND hwnd_;  // not owned
    WNDPROC itemProc_;  // the class's procedure, or null to send item messages through the chain
};

}  // namespace controls
