// TextBoxW: automatic OLE drag and drop of text. As a source (OLEDragMode 1) a press on the
// selection that moves drags the selected text, offered as Unicode and ANSI text; a move takes
// the text out of the source only once the target accepted it. As a target (OLEDropMode 2) the
// caret follows the pointer, the box scrolls near its edges, and a drop inserts the text there
// and selects it — or, for text from this same box, moves or copies it.
#include "controls/foundation/Common.h"
#include "controls/foundation/MouseServices.h"
#include "controls/textbox/TextBoxW.h"
#include "host/ControlSite.h"
#include "host/DataObject.h"
#include "host/DragDrop.h"

#include <windowsx.h>


namespace controls {

namespace {

constexpr long EffectCopy = DROPEFFECT_COPY;
constexpr long EffectMove = DROPEFFECT_MOVE;
constexpr int ShiftCtrl = 2;

// Ctrl copies, otherwise text moves, each where the source allows it. (A locked box takes no
// drops at all: it takes no typing either.)
long EffectForKeys(long allowed, int shift) {
    if ((shift & ShiftCtrl) && (allowed & EffectCopy)) return EffectCopy;
    if (allowed & EffectMove) return EffectMove;
    return allowed & EffectCopy;
}

// The character nearest a client point and where it starts; x = -1 when the edit window
// gives no position for it (past the last character, where the end of that one is used).
struct CharAt {
    long index;
    POINT pos;
};

CharAt CharAtPoint(HWND edit, POINT pt) {
    CharAt at{static_cast<long>(LOWORD(SendMessageW(edit, EM_CHARFROMPOS, 0, MAKELPARAM(pt.x, pt.y)))), {-1, -1}};
    LRESULT pos = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(at.index), 0);
    if (pos != -1) {
        at.pos = {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
        return at;
    }
    long length = GetWindowTextLengthW(edit);
    if (at.index != length || length == 0) return at;
    pos = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(length - 1), 0);
    if (pos == -1) return at;
    wchar_t last = 0;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(edit, text.data(), length + 1);
    last = text[static_cast<size_t>(length - 1)];
    if (last == L'\n' || last == L'\r') return at;
    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(edit, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, &last, 1, &size);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    at.pos = {GET_X_LPARAM(pos) + size.cx, GET_Y_LPARAM(pos)};
    return at;
}

}  // namespace

// --- the source -----------------------------------------------------------------------------

// `pt` in the edit window's client pixels.
bool TextBoxW::MouseOverSelection(POINT pt) const {
    if (!edit_) return false;
    EditSelection sel = Edit().Selection();
    if (sel.end - sel.start < 1) return false;
    CharAt at = CharAtPoint(edit_.Get(), pt);
    return at.pos.x != -1 && at.index >= sel.start && at.index <= sel.end;
}

// A press on the selection that moves drags it. One that does not is an ordinary click: the
// caret goes where it was pressed (the release was taken by the drag detection, so the box
// stops tracking the mouse and MouseUp and Click follow at once).
LRESULT TextBoxW::OnEditLeftButtonDown(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    // Judged again at the press itself: the pointer may have moved on since the cursor was set.
    POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    overSelection_ = OLEDragMode() == 1 && MouseOverSelection(screen);
    if (!overSelection_) return OnEditMouse(hwnd, WM_LBUTTONDOWN, wParam, lParam);
    ClientToScreen(hwnd, &screen);
    if (DragDetect(hwnd, screen)) {
        clickPending_ = false;
        OLEDrag();
        return 0;
    }
    OnEditMouse(hwnd, WM_LBUTTONDOWN, wParam, lParam);
    if (!foundation::ISubclass::IsLive(this)) return 0;
    ReleaseCapture();
    foundation::CallDefaultProc(hwnd, WM_LBUTTONUP, wParam & ~static_cast<WPARAM>(MK_LBUTTON), lParam);
    RaiseMouseEvent(WM_LBUTTONUP, wParam & ~static_cast<WPARAM>(MK_LBUTTON), lParam);
    return 0;
}

// A locked box offers its text only as a copy: it cannot give it up.
void TextBoxW::OnOLEStartDrag(host::DataObject& data, long& allowedEffects) {
    std::wstring text = OLEDragMode() == 1 ? SelText() : std::wstring();
    if (!text.empty()) {
        data.Text(text);
        allowedEffects = Locked() ? EffectCopy : EffectCopy | EffectMove;
        dragFromSelf_ = true;
    }
    LibraryControl::OnOLEStartDrag(data, allowedEffects);
    if (allowedEffects == 0 && foundation::ISubclass::IsLive(this)) dragFromSelf_ = false;
}

// A drop on this same box has already moved the text and cleared the flag.
void TextBoxW::OnOLECompleteDrag(long& effect) {
    if (effect == EffectMove && OLEDragMode() == 1 && dragFromSelf_ && edit_) SendMessageW(edit_.Get(), WM_CLEAR, 0, 0);
    LibraryControl::OnOLECompleteDrag(effect);
    if (foundation::ISubclass::IsLive(this)) dragFromSelf_ = false;
}

// --- the target -----------------------------------------------------------------------------

// x and y come in the host window's pixels, which the edit window fills inside its border.
POINT TextBoxW::EditPointFromHost(float x, float y) const {
    POINT pt{static_cast<LONG>(x), static_cast<LONG>(y)};
    MapWindowPoints(HostWindow(), edit_.Get(), &pt, 1);
    return pt;
}

void TextBoxW::OnOLEDragOver(host::DataObject& data, long& effect, int button, int shift, float x, float y,
                             int state) {
    if (OLEDropMode() == 2 && state != 1) effect = Locked() ? 0 : EffectForKeys(effect, shift);
    LibraryControl::OnOLEDragOver(data, effect, button, shift, x, y, state);
    if (!foundation::ISubclass::IsLive(this) || !edit_) return;
    POINT pt = EditPointFromHost(x, y);
    if (state == 2 && effect != 0 && OLEDragDropScroll()) ScrollNearEdge(pt);
    if (OLEDropMode() != 2) return;
    if (state != 1 && effect != 0)
        ShowDropCaret(pt);
    else
        HideDropCaret();
}

// One line towards the edge the pointer is near (16 logical pixels), where there is a scroll
// bar that way.
void TextBoxW::ScrollNearEdge(POINT pt) {
    RECT rc{};
    GetClientRect(edit_.Get(), &rc);
    LONG style = GetWindowLongW(edit_.Get(), GWL_STYLE);
    long nearX = static_cast<long>(16 * foundation::DpiScaleX());
    long nearY = static_cast<long>(16 * foundation::DpiScaleY());
    if (style & WS_HSCROLL) {
        if (pt.x < rc.left + nearX)
            SendMessageW(edit_.Get(), WM_HSCROLL, SB_LINELEFT, 0);
        else if (pt.x >= rc.right - nearX)
            SendMessageW(edit_.Get(), WM_HSCROLL, SB_LINERIGHT, 0);
    }
    if (style & WS_VSCROLL) {
        if (pt.y < rc.top + nearY)
            SendMessageW(edit_.Get(), WM_VSCROLL, SB_LINEUP, 0);
        else if (pt.y >= rc.bottom - nearY)
            SendMessageW(edit_.Get(), WM_VSCROLL, SB_LINEDOWN, 0);
    }
}

// A caret as high as "|" in the box's font, at the character the pointer is nearest to.
void TextBoxW::ShowDropCaret(POINT pt) {
    CharAt at = CharAtPoint(edit_.Get(), pt);
    if (at.pos.x == -1) return HideDropCaret();
    HDC dc = GetDC(edit_.Get());
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(edit_.Get(), WM_GETFONT, 0, 0)));
    SIZE bar{};
    GetTextExtentPoint32W(dc, L"|", 1, &bar);
    SelectObject(dc, old);
    ReleaseDC(edit_.Get(), dc);
    dropCaret_.Show(edit_.Get(), at.pos, bar.cy);
}

// The caret goes back to whichever window had it; a focused box puts it back at its selection
// too (the box may have scrolled under the pointer).
void TextBoxW::HideDropCaret() {
    if (!dropCaret_.Showing()) return;
    dropCaret_.Hide();
    if (edit_ && GetFocus() == edit_.Get()) {
        EditSelection sel = Edit().Selection();
        Edit().Select(sel.start, sel.end);
        Refresh();
    }
}

void TextBoxW::OnOLEDragDrop(host::DataObject& data, long& effect, int button, int shift, float x, float y) {
    if (OLEDropMode() == 2) effect = Locked() ? 0 : EffectForKeys(effect, shift);
    LibraryControl::OnOLEDragDrop(data, effect, button, shift, x, y);
    if (!foundation::ISubclass::IsLive(this) || !edit_) return;
    HideDropCaret();
    if (OLEDropMode() == 2 && effect != 0) DropText(data, effect, EditPointFromHost(x, y));
}

// Text from this box lands relative to its selection: on it nothing happens; a move takes it
// out first (so a place after it moves back by its length). Text from elsewhere brings the
// focus here. Either way the text is inserted where it was dropped (undoably) and selected.
void TextBoxW::DropText(host::DataObject& data, long& effect, POINT pt) {
    Refresh();
    std::wstring text = data.Text();
    if (text.empty()) return;
    long pos = CharAtPoint(edit_.Get(), pt).index;
    if (dragFromSelf_) {
        dragFromSelf_ = false;
        EditSelection sel = Edit().Selection();
        if (pos >= sel.start && pos <= sel.end) {
            effect = 0;
            return;
        }
        if (effect == EffectMove) {
            if (pos > sel.end) pos -= sel.end - sel.start;
            SendMessageW(edit_.Get(), WM_CLEAR, 0, 0);
        }
    } else if (GetFocus() != edit_.Get()) {
        ::SetFocus(HostWindow());
    }
    Edit().Select(pos, pos);
    Edit().ReplaceSelection(text, true);
    Edit().Select(pos, pos + static_cast<long>(text.size()));
}

}  // namespace controls
