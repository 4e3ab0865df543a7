// EditWindow: a typed view of a live "Edit" child window, one method per edit message.
// Borrowed: it never destroys the window; TextBoxW owns it. Every call is a no-op (or returns
// an empty value) while the view holds no window, which is how TextBoxW's methods stay silent
// when there is no edit window.
#pragma once

#include <windows.h>

#include <string>

namespace controls {

struct EditSelection {
    long start = 0;
    long end = 0;
};

class EditWindow {
public:
    explicit EditWindow(HWND hwnd = nullptr) : hwnd_(hwnd) {}

    HWND Handle() const { return hwnd_; }
    explicit operator bool() const { return hwnd_ != nullptr; }

    // --- text
    std::wstring Text() const;
    void SetText(const std::wstring& text) const;
    long TextLength() const;
    void ReplaceSelection(const std::wstring& text, bool canUndo) const;

    // --- selection; the 32-bit pointer form, since the packed 16-bit answer of EM_GETSEL
    // loses positions beyond 65535 in a long text
    EditSelection Selection() const;
    void Select(long start, long end) const;

    // --- settings
    void LimitText(long maxLength) const;
    void SetPasswordChar(wchar_t c) const;
    wchar_t PasswordChar() const;
    void SetReadOnly(bool readOnly) const;
    bool Modified() const;
    void SetModified(bool modified) const;

    // --- lines and scrolling
    long LineCount() const;
    long LineIndex(long line) const;
    long LineLength(long charIndex) const;
    long LineFromChar(long charIndex) const;
    long FirstVisibleLine() const;
    void LineScroll(long dx, long dy) const;
    void ScrollCaret() const;
    int ScrollPos(int bar) const;
    void ScrollToThumb(int bar, int pos) const;

private:
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;

    HWND hwnd_;  // not owned
};

}  // namespace controls
