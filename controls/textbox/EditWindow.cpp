#include "EditWindow.h"

namespace controls {

LRESULT EditWindow::Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return hwnd_ ? SendMessageW(hwnd_, msg, wParam, lParam) : 0;
}

std::wstring EditWindow::Text() const {
    if (!hwnd_) return {};
    long len = TextLength();
    if (len <= 0) return {};
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    auto copied = SendMessageW(hwnd_, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

void EditWindow::SetText(const std::wstring& text) const {
    Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

long EditWindow::TextLength() const { return static_cast<long>(Send(WM_GETTEXTLENGTH)); }

void EditWindow::ReplaceSelection(const std::wstring& text, bool canUndo) const {
    Send(EM_REPLACESEL, canUndo ? TRUE : FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

EditSelection EditWindow::Selection() const {
    DWORD start = 0, end = 0;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<long>(start), static_cast<long>(end)};
}

void EditWindow::Select(long start, long end) const { Send(EM_SETSEL, start, end); }

void EditWindow::LimitText(long maxLength) const { Send(EM_LIMITTEXT, static_cast<WPARAM>(maxLength)); }

void EditWindow::SetPasswordChar(wchar_t c) const { Send(EM_SETPASSWORDCHAR, c); }

wchar_t EditWindow::PasswordChar() const { return static_cast<wchar_t>(Send(EM_GETPASSWORDCHAR)); }

void EditWindow::SetReadOnly(bool readOnly) const { Send(EM_SETREADONLY, readOnly ? TRUE : FALSE); }

bool EditWindow::Modified() const { return Send(EM_GETMODIFY) != 0; }

void EditWindow::SetModified(bool modified) const { Send(EM_SETMODIFY, modified ? 1 : 0); }

long EditWindow::LineCount() const { return static_cast<long>(Send(EM_GETLINECOUNT)); }

long EditWindow::LineIndex(long line) const { return static_cast<long>(Send(EM_LINEINDEX, line)); }

long EditWindow::LineLength(long charIndex) const { return static_cast<long>(Send(EM_LINELENGTH, charIndex)); }

long EditWindow::LineFromChar(long charIndex) const { return static_cast<long>(Send(EM_LINEFROMCHAR, charIndex)); }

long EditWindow::FirstVisibleLine() const { return static_cast<long>(Send(EM_GETFIRSTVISIBLELINE)); }

void EditWindow::LineScroll(long dx, long dy) const { Send(EM_LINESCROLL, dx, dy); }

void EditWindow::ScrollCaret() const { Send(EM_SCROLLCARET); }

int EditWindow::ScrollPos(int bar) const { return hwnd_ ? GetScrollPos(hwnd_, bar) : 0; }

void EditWindow::ScrollToThumb(int bar, int pos) const {
    Send(bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos), 0);
}

}  // namespace controls
