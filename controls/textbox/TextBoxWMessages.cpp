// TextBoxW: the messages of its two windows (1 = the edit window, 2 = the host window) and the
// answers it gives the host's key routing.
#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/ControlServices.h"
#include "controls/foundation/KeyInput.h"
#include "controls/foundation/MouseActivation.h"
#include "controls/foundation/MouseServices.h"
#include "controls/foundation/Subclass.h"
#include "controls/foundation/VTableHandle.h"
#include "controls/textbox/TextBoxW.h"
#include "host/ControlSite.h"
#include "host/HostWindow.h"

#include <windowsx.h>

namespace controls {

namespace {

bool ClipboardHasNonDigit(HWND owner) {
    if (!OpenClipboard(owner)) return false;
    bool nonDigit = false;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            for (const wchar_t* p = text; *p; ++p)
                if (*p < L'0' || *p > L'9') nonDigit = true;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return nonDigit;
}

}  // namespace

LRESULT TextBoxW::ISubclass_Message(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR ref) {
    switch (ref) {
    case EditWindowRef: return EditWindowProc(hwnd, msg, wParam, lParam);
    case HostWindowRef: return HostWindowProc(hwnd, msg, wParam, lParam);
    default: return foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    }
}

LRESULT TextBoxW::EditWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETFOCUS: return OnEditSetFocus(hwnd, wParam, lParam);
    case WM_KILLFOCUS: return OnEditKillFocus(hwnd, wParam, lParam);
    case WM_INPUTLANGCHANGE:
    case WM_IME_SETCONTEXT: return OnEditImeContext(hwnd, msg, wParam, lParam);
    case WM_SETTEXT: return OnEditSetText(hwnd, wParam, lParam);
    case WM_SETCURSOR: return OnEditSetCursor(hwnd, wParam, lParam);
    case WM_MOUSEACTIVATE: return OnEditMouseActivate(hwnd, wParam, lParam);
    case WM_CONTEXTMENU: return OnEditContextMenu(hwnd, wParam, lParam);
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: return OnEditKey(hwnd, msg, wParam, lParam);
    case WM_CHAR: return OnEditChar(hwnd, wParam, lParam);
    case WM_UNICHAR: return foundation::AnswerUniChar(hwnd, wParam, lParam);
    case WM_IME_CHAR: return foundation::AnswerImeChar(hwnd, wParam, lParam);
    case WM_HSCROLL:
    case WM_VSCROLL: return OnEditScroll(hwnd, msg, wParam, lParam);
    case WM_PASTE: return OnEditPaste(hwnd, wParam, lParam);
    case WM_LBUTTONDOWN: return OnEditLeftButtonDown(hwnd, wParam, lParam);
    case WM_MOUSEMOVE:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSELEAVE: return OnEditMouse(hwnd, msg, wParam, lParam);
    default: return foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    }
}

LRESULT TextBoxW::HostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND: return OnHostCommand(hwnd, wParam, lParam);
    case WM_SETFOCUS: return foundation::HostSetFocus(hwnd, edit_.Get(), wParam, lParam);
    default: return foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    }
}

// Focus always enters through the host window, which hands it on; only then is the edit
// window's own focus handling run, and the form asks this box first for keys.
LRESULT TextBoxW::OnEditSetFocus(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    return foundation::ChildSetFocus(*this, HostWindow(), hwnd, wParam, lParam);
}

LRESULT TextBoxW::OnEditKillFocus(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    balloon_.Hide();
    return foundation::ChildKillFocus(hwnd, wParam, lParam);
}

// The input method follows the box's IMEMode whenever the box becomes the active input target.
LRESULT TextBoxW::OnEditImeContext(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INPUTLANGCHANGE || wParam != 0) foundation::ApplyIMEMode(hwnd, imeContext_, imeMode_);
    return foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
}

// A multi-line edit window sends no EN_CHANGE for WM_SETTEXT, so the change is noticed here.
LRESULT TextBoxW::OnEditSetText(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (!multiLine_ || suppressChange_) return foundation::CallDefaultProc(hwnd, WM_SETTEXT, wParam, lParam);
    const wchar_t* incoming = reinterpret_cast<const wchar_t*>(lParam);
    bool differs = Edit().Text() != (incoming ? incoming : L"");
    LRESULT r = foundation::CallDefaultProc(hwnd, WM_SETTEXT, wParam, lParam);
    if (differs) {
        Changed(L"Text");
        NoteTextChanged();
    }
    return r;
}

// Over selected text that can be dragged, the arrow says so.
LRESULT TextBoxW::OnEditSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(lParam) == HTCLIENT && OLEDragMode() == 1) {
        POINT pt{};
        GetCursorPos(&pt);
        ScreenToClient(hwnd, &pt);
        overSelection_ = MouseOverSelection(pt);
        if (overSelection_) {
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            return TRUE;
        }
    }
    if (ShowMousePointer(lParam)) return TRUE;
    return foundation::CallDefaultProc(hwnd, WM_SETCURSOR, wParam, lParam);
}

LRESULT TextBoxW::OnEditMouseActivate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (auto r = foundation::FocusOnMouseActivate(Site(), hwnd, HostWindow(), lParam, designMode_, validating_)) return *r;
    return foundation::CallDefaultProc(hwnd, WM_MOUSEACTIVATE, wParam, lParam);
}

LRESULT TextBoxW::OnEditContextMenu(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(wParam) != hwnd) return foundation::CallDefaultProc(hwnd, WM_CONTEXTMENU, wParam, lParam);
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    bool handled = false;
    if (pt.x > 0 && pt.y > 0) {
        ScreenToClient(hwnd, &pt);
        float x = static_cast<float>(Site().ScaleX(pt.x, host::ScaleUnit::Pixels, host::ScaleUnit::Container));
        float y = static_cast<float>(Site().ScaleY(pt.y, host::ScaleUnit::Pixels, host::ScaleUnit::Container));
        Site().RaiseEvent(DispId::ContextMenu, ContextMenu, handled, x, y);
    } else if (pt.x == -1 && pt.y == -1) {
        Site().RaiseEvent(DispId::ContextMenu, ContextMenu, handled, -1.0f, -1.0f);
    }
    return handled ? 0 : foundation::CallDefaultProc(hwnd, WM_CONTEXTMENU, wParam, lParam);
}

LRESULT TextBoxW::OnEditKey(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    int keyCode = static_cast<int>(wParam & 0xFF);
    int shift = foundation::ShiftStateFromKeyboard();
    bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
    if (down) balloon_.Hide();
    if (down)
        Site().RaiseEvent(host::dispid::KeyDown, KeyDown, keyCode, shift);
    else
        Site().RaiseEvent(host::dispid::KeyUp, KeyUp, keyCode, shift);
    if (msg == WM_KEYDOWN && keyCode == VK_INSERT && allowOverType_) overTypeMode_ = !overTypeMode_;
    if (msg == WM_KEYDOWN || msg == WM_KEYUP) pendingChar_ = foundation::PeekPendingChar(hwnd);
    return foundation::CallDefaultProc(hwnd, msg, static_cast<WPARAM>(keyCode), lParam);
}

LRESULT TextBoxW::OnEditChar(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    int keyChar = pendingChar_ ? pendingChar_ : static_cast<int>(LOWORD(wParam));
    pendingChar_ = 0;
    Site().RaiseEvent(host::dispid::KeyPress, KeyPress, keyChar);
    if (wParam != 0 && keyChar == 0) return 0;
    OverTypeBeforeChar(static_cast<wchar_t>(keyChar));
    return foundation::CallDefaultProc(hwnd, WM_CHAR, static_cast<WPARAM>(keyChar & 0xFFFF), lParam);
}



LRESULT TextBoxW::OnEditScroll(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == SB_THUMBTRACK) Site().RaiseEvent(DispId::Scroll, Scroll);
    return foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
}

// Before comctl32 6.1 the edit window's ES_NUMBER filters typing only, not pasting.
LRESULT TextBoxW::OnEditPaste(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (allowOnlyNumbers_ && foundation::ComCtlVersionLevel() < 2 && ClipboardHasNonDigit(hwnd)) {
        MessageBeep(0);
        return 0;
    }
    return foundation::CallDefaultProc(hwnd, WM_PASTE, wParam, lParam);
}

LRESULT TextBoxW::OnEditMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT r = foundation::CallDefaultProc(hwnd, msg, wParam, lParam);
    RaiseMouseEvent(msg, wParam, lParam);
    return r;
}

void TextBoxW::RaiseMouseEvent(UINT msg, WPARAM wParam, LPARAM lParam) {
    int shift = foundation::ShiftStateFromParam(wParam);
    foundation::MousePoint pt = foundation::MousePointInTwips(Site(), lParam);
    switch (msg) {
    case WM_MOUSEMOVE:
        if (foundation::MouseEntered(edit_.Get(), mouseTrack_, mouseOver_)) Site().RaiseEvent(DispId::MouseEnter, MouseEnter);
        Site().RaiseEvent(host::dispid::MouseMove, MouseMove, foundation::ButtonFromParam(wParam), shift, pt.x, pt.y);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        clickPending_ = true;
        Site().RaiseEvent(host::dispid::MouseDown, MouseDown, foundation::ButtonOfMessage(msg), shift, pt.x, pt.y);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        Site().RaiseEvent(host::dispid::MouseUp, MouseUp, foundation::ButtonOfMessage(msg), shift, pt.x, pt.y);
        RaiseClickIfInside(lParam);
        break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: Site().RaiseEvent(host::dispid::DblClick, DblClick); break;
    case WM_MOUSELEAVE:
        if (foundation::MouseLeft(mouseOver_)) Site().RaiseEvent(DispId::MouseLeave, MouseLeave);
        break;
    default: break;
    }
}

// A button that went down in the box and comes up inside it is a click; released outside, not.
void TextBoxW::RaiseClickIfInside(LPARAM lParam) {
    if (!clickPending_) return;
    clickPending_ = false;
    SIZE size = HostClientSize();
    int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    if (x >= 0 && x <= size.cx && y >= 0 && y <= size.cy) Site().RaiseEvent(host::dispid::Click, Click);
}

LRESULT TextBoxW::OnHostCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (edit_ && reinterpret_cast<HWND>(lParam) == edit_.Get()) {
        switch (HIWORD(wParam)) {
        case EN_CHANGE:
            if (!suppressChange_) {
                Changed(L"Text");
                NoteTextChanged();
            }
            break;
        case EN_MAXTEXT: Site().RaiseEvent(DispId::MaxText, MaxText); break;
        case EN_HSCROLL:
        case EN_VSCROLL: Site().RaiseEvent(DispId::Scroll, Scroll); break;
        default: break;
        }
    }
    return foundation::CallDefaultProc(hwnd, WM_COMMAND, wParam, lParam);
}


// --- key routing answers --------------------------------------------------------------------

void TextBoxW::IOleInPlaceActiveObjectVB_TranslateAccelerator(bool& handled, long& retVal, UINT wMsg, WPARAM wParam,
                                                              LPARAM lParam, int shift) {
    foundation::TranslatePreviewKey(handled, retVal, Site(), wMsg, wParam, {DispId::PreviewKeyDown, PreviewKeyDown, DispId::PreviewKeyUp, PreviewKeyUp});
}

void TextBoxW::IOleControlVB_GetControlInfo(bool& handled, long& accelCount, HACCEL& accelTable, long& flags) {
    if (!(wantReturn_ && multiLine_)) return;
    flags = 1;  // CTRLINFO_EATS_RETURN
    handled = true;
}

// --- overtype -------------------------------------------------------------------------------

// In overtype mode a typed character replaces the one after the caret, except at a line's end
// or over a selection, where it is inserted as usual.
void TextBoxW::OverTypeBeforeChar(wchar_t c) {
    if (!(allowOverType_ && overTypeMode_) || c <= 31 || !edit_) return;
    EditSelection sel = Edit().Selection();
    if (sel.end != sel.start) return;
    long lineStart = Edit().LineIndex(-1);
    if (lineStart < 0) return;
    long lineLength = Edit().LineLength(lineStart);
    if (lineLength > 0 && sel.start < lineStart + lineLength) {
        Edit().Select(sel.start, sel.start + 1);
        Edit().ReplaceSelection(L"", true);
    }
}

}  // namespace controls
