// ListBoxW: the messages of its two windows (1 = the list box, 2 = the host window), scroll
// detection and the answer it gives the host's key routing.
#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/KeyInput.h"
#include "controls/foundation/MouseActivation.h"
#include "controls/foundation/MouseServices.h"
#include "controls/foundation/Subclass.h"
#include "controls/foundation/VTableHandle.h"
#include "controls/listbox/ListBoxW.h"
#include "host/ControlSite.h"
#include "host/HostWindow.h"

#include <windowsx.h>

namespace controls {

LRESULT ListBoxW::ISubclass_Message(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR ref) {
    switch (ref) {
    case ListBoxRef: return ListBoxProc(hwnd, msg, wParam, lParam);
    case HostWindowRef: return HostWindowProc(hwnd, msg, wParam, lParam);
    case DesignHostWindowRef: return DesignHostWindowProc(hwnd, msg, wParam, lParam);
    default: return foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    }
}

LRESULT ListBoxW::ListBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETFOCUS: return OnListSetFocus(hwnd, wParam, lParam);
    case WM_KILLFOCUS: return OnListKillFocus(hwnd, wParam, lParam);
    case WM_SETCURSOR: return OnListSetCursor(hwnd, wParam, lParam);
    case WM_MOUSEACTIVATE: return OnListMouseActivate(hwnd, wParam, lParam);
    case WM_CONTEXTMENU: return OnListContextMenu(hwnd, wParam, lParam);
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: return OnListKey(hwnd, msg, wParam, lParam);
    case WM_CHAR: return OnListChar(hwnd, wParam, lParam);
    case WM_IME_CHAR: return foundation::AnswerImeChar(hwnd, wParam, lParam);
    case WM_UNICHAR: return foundation::AnswerUniChar(hwnd, wParam, lParam);
    case WM_VSCROLL:
    case WM_HSCROLL: return OnListScroll(hwnd, msg, wParam, lParam);
    case WM_LBUTTONDOWN: return OnListLeftButtonDown(hwnd, wParam, lParam);
    default: return OnListAfterDefault(hwnd, msg, wParam, lParam);
    }
}

LRESULT ListBoxW::HostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == resumeRedrawMessage_) return OnHostResumeRedraw(hwnd, wParam, lParam);
    switch (msg) {
    case WM_COMMAND: return OnHostCommand(hwnd, wParam, lParam);
    case WM_SETFOCUS: return foundation::HostSetFocus(hwnd, list_.Get(), wParam, lParam);
    case WM_DRAWITEM: return OnHostDrawItem(hwnd, wParam, lParam);
    case WM_MEASUREITEM: return OnHostMeasureItem(hwnd, wParam, lParam);
    default: return foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    }
}

LRESULT ListBoxW::DesignHostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DRAWITEM: return OnHostDrawItem(hwnd, wParam, lParam);
    default: return foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    }
}

// Focus always enters through the host window, which hands it on to the list box; then the
// form asks this list first for keys.
LRESULT ListBoxW::OnListSetFocus(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    return foundation::ChildSetFocus(*this, HostWindow(), hwnd, wParam, lParam);
}

LRESULT ListBoxW::OnListKillFocus(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    return foundation::ChildKillFocus(hwnd, wParam, lParam);
}

LRESULT ListBoxW::OnListSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (ShowMousePointer(lParam)) return TRUE;
    return foundation::CallDefaultProc(hwnd, WM_SETCURSOR, wParam, lParam);
}

LRESULT ListBoxW::OnListMouseActivate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (auto r = foundation::FocusOnMouseActivate(Site(), hwnd, HostWindow(), lParam, designMode_, validating_)) return *r;
    return foundation::CallDefaultProc(hwnd, WM_MOUSEACTIVATE, wParam, lParam);
}

// A point from the mouse (both coordinates above 0) or the keyboard (-1, -1) raises
// ContextMenu; anything else does not.
LRESULT ListBoxW::OnListContextMenu(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(wParam) == hwnd) {
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (pt.x > 0 && pt.y > 0) {
            ScreenToClient(hwnd, &pt);
            float x = static_cast<float>(Site().ScaleX(pt.x, host::ScaleUnit::Pixels, host::ScaleUnit::Container));
            float y = static_cast<float>(Site().ScaleY(pt.y, host::ScaleUnit::Pixels, host::ScaleUnit::Container));
            Site().RaiseEvent(DispId::ContextMenu, ContextMenu, x, y);
        } else if (pt.x == -1 && pt.y == -1) {
            Site().RaiseEvent(DispId::ContextMenu, ContextMenu, -1.0f, -1.0f);
        }
    }
    return foundation::CallDefaultProc(hwnd, WM_CONTEXTMENU, wParam, lParam);
}

LRESULT ListBoxW::OnListKey(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    int keyCode = static_cast<int>(wParam & 0xFF);
    int shift = foundation::ShiftStateFromKeyboard();
    if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN)
        Site().RaiseEvent(host::dispid::KeyDown, KeyDown, keyCode, shift);
    else
        Site().RaiseEvent(host::dispid::KeyUp, KeyUp, keyCode, shift);
    if (msg == WM_KEYDOWN && keyCode == VK_SPACE && style_ != 0) ToggleItemCheck(-1);
    if (msg == WM_KEYDOWN || msg == WM_KEYUP) pendingChar_ = foundation::PeekPendingChar(hwnd);
    return foundation::CallDefaultProc(hwnd, msg, static_cast<WPARAM>(keyCode), lParam);
}

LRESULT ListBoxW::OnListChar(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    int keyChar = pendingChar_ ? pendingChar_ : static_cast<int>(LOWORD(wParam));
    pendingChar_ = 0;
    Site().RaiseEvent(host::dispid::KeyPress, KeyPress, keyChar);
    return foundation::CallDefaultProc(hwnd, WM_CHAR, static_cast<WPARAM>(keyChar & 0xFFFF), lParam);
}



LRESULT ListBoxW::OnListScroll(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (ThumbScroll(hwnd, msg, wParam, lParam)) return 0;
    return OnListAfterDefault(hwnd, msg, wParam, lParam);
}

// The thumb of the list's own scroll bar: with ScrollTrack off the list stays put while the
// thumb is dragged and jumps when it is released.
bool ListBoxW::ThumbScroll(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_HSCROLL && !multiColumn_) return false;
    int code = LOWORD(wParam);
    if ((code != SB_THUMBPOSITION && code != SB_THUMBTRACK) || lParam != 0) return false;
    int bar = msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    if (!(style & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL))) return false;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(hwnd, bar, &si);
    int pos = si.nPos;
    if (code == SB_THUMBPOSITION || scrollTrack_) pos = si.nTrackPos;
    if (pos != si.nPos) {
        if (bar == SB_HORZ) pos *= static_cast<int>(SendMessageW(hwnd, LB_GETLISTBOXINFO, 0, 0));
        SendMessageW(hwnd, LB_SETTOPINDEX, static_cast<WPARAM>(pos), 0);
    }
    return true;
}

LRESULT ListBoxW::OnListAfterDefault(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT r = foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_PAINT: DrawInsertMark(); break;
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL:
    case LB_SETTOPINDEX:
        if (!CheckTopIndexChange()) InvalidateInsertMark();
        break;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: RaiseMouseEvent(msg, wParam, lParam); break;
    default: break;
    }
    return r;
}

bool ListBoxW::CheckTopIndexChange() {
    long top = list_ ? Box().TopIndex() : 0;
    if (top == lastTopIndex_) return false;
    lastTopIndex_ = top;
    InvalidateInsertMark();
    Site().RaiseEvent(DispId::Scroll, Scroll);
    return true;
}

void ListBoxW::RaiseMouseEvent(UINT msg, WPARAM wParam, LPARAM lParam) {
    int shift = foundation::ShiftStateFromParam(wParam);
    foundation::MousePoint pt = foundation::MousePointInTwips(Site(), lParam);
    switch (msg) {
    case WM_MOUSELEAVE:
        if (foundation::MouseLeft(mouseOver_)) Site().RaiseEvent(DispId::MouseLeave, MouseLeave);
        break;
    case WM_MOUSEMOVE:
        if (wParam & MK_LBUTTON) CheckTopIndexChange();
        if (foundation::MouseEntered(list_.Get(), mouseTrack_, mouseOver_)) Site().RaiseEvent(DispId::MouseEnter, MouseEnter);
        Site().RaiseEvent(host::dispid::MouseMove, MouseMove, foundation::ButtonFromParam(wParam), shift, pt.x, pt.y);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        Site().RaiseEvent(host::dispid::MouseDown, MouseDown, foundation::ButtonOfMessage(msg), shift, pt.x, pt.y);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: Site().RaiseEvent(host::dispid::MouseUp, MouseUp, foundation::ButtonOfMessage(msg), shift, pt.x, pt.y); break;
    default: break;
    }
}

LRESULT ListBoxW::OnHostCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (list_ && reinterpret_cast<HWND>(lParam) == list_.Get()) {
        switch (HIWORD(wParam)) {
        case LBN_SELCHANGE:
            if (!CheckTopIndexChange()) InvalidateInsertMark();
            RaiseClick();
            break;
        case LBN_SELCANCEL:
            InvalidateInsertMark();
            RaiseClick();
            break;
        case LBN_DBLCLK: Site().RaiseEvent(host::dispid::DblClick, DblClick); break;
        default: break;
        }
    }
    return foundation::CallDefaultProc(hwnd, WM_COMMAND, wParam, lParam);
}


LRESULT ListBoxW::OnHostResumeRedraw(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    ResumeRedrawAfterBurst();
    return 0;
}

void ListBoxW::IOleInPlaceActiveObjectVB_TranslateAccelerator(bool& handled, long& retVal, UINT wMsg, WPARAM wParam,
                                                              LPARAM lParam, int shift) {
    foundation::TranslatePreviewKey(handled, retVal, Site(), wMsg, wParam, {DispId::PreviewKeyDown, PreviewKeyDown, DispId::PreviewKeyUp, PreviewKeyUp});
}

}  // namespace controls
