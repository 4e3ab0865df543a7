// TextBoxW: selection, lines, clipboard and undo. Every member works on the live edit window
// and is silent (0, False, "") while there is none.
#include "controls/foundation/ComCtlsBase.h"
#include "controls/textbox/TextBoxW.h"
#include "host/ControlSite.h"
#include "host/Error.h"
#include "host/HostWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace controls {

void TextBoxW::Copy() { if (edit_) SendMessageW(edit_.Get(), WM_COPY, 0, 0); }
void TextBoxW::Cut() { if (edit_) SendMessageW(edit_.Get(), WM_CUT, 0, 0); }
void TextBoxW::Paste() { if (edit_) SendMessageW(edit_.Get(), WM_PASTE, 0, 0); }
void TextBoxW::Clear() { if (edit_) SendMessageW(edit_.Get(), WM_CLEAR, 0, 0); }
void TextBoxW::Undo() { if (edit_) SendMessageW(edit_.Get(), EM_UNDO, 0, 0); }
bool TextBoxW::CanUndo() const { return edit_ && SendMessageW(edit_.Get(), EM_CANUNDO, 0, 0) != 0; }
void TextBoxW::ResetUndoFlag() { if (edit_) SendMessageW(edit_.Get(), EM_EMPTYUNDOBUFFER, 0, 0); }
bool TextBoxW::Modified() const { return Edit().Modified(); }
void TextBoxW::Modified(bool on) { Edit().SetModified(on); }

long TextBoxW::SelStart() const { return Edit().Selection().start; }

// Setting the start collapses the selection there. Selection members are run-time calls even on
// a design surface, so a bad value raises there too rather than showing a message box.
void TextBoxW::SelStart(long start) {
    if (start < 0) host::Raise(host::err::InvalidPropertyValue);
    Edit().Select(start, start);
}

long TextBoxW::SelLength() const {
    EditSelection sel = Edit().Selection();
    return sel.end - sel.start;
}

void TextBoxW::SelLength(long length) {
    if (length < 0) host::Raise(host::err::InvalidPropertyValue);
    long start = Edit().Selection().start;
    Edit().Select(start, start + length);
}

std::wstring TextBoxW::SelText() const {
    if (!edit_) return {};
    EditSelection sel = Edit().Selection();
    std::wstring text = Edit().Text();
    size_t start = std::min(static_cast<size_t>(sel.start), text.size());
    return text.substr(start, static_cast<size_t>(sel.end - sel.start));
}

void TextBoxW::SelText(const std::wstring& text) { Edit().ReplaceSelection(text, true); }

// Line 0 is the caret's line; lines count from 1.
std::wstring TextBoxW::GetLine(long lineNumber) const {
    if (!edit_) return {};
    if (lineNumber < 0) host::Raise(host::err::InvalidPropertyValue);
    long start = Edit().LineIndex(lineNumber - 1);
    if (start < 0) host::Raise(host::err::InvalidPropertyValue);
    long length = Edit().LineLength(start);
    if (length <= 0) return {};
    long line = lineNumber == 0 ? Edit().LineFromChar(start) : lineNumber - 1;
    // EM_GETLINE reads the buffer's size from its first character.
    std::vector<wchar_t> buffer(static_cast<size_t>(std::max(length, 2L)) + 1, L'\0');
    buffer[0] = static_cast<wchar_t>(std::min(length, 0xFFFFL));
    auto copied = SendMessageW(edit_.Get(), EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer.data()));
    if (copied <= 0) return {};
    return std::wstring(buffer.data(), static_cast<size_t>(copied));
}

long TextBoxW::GetLineCount() const { return Edit().LineCount(); }

// Makes line `lineNumber` (from 1) the first visible line where the text allows it.
void TextBoxW::ScrollToLine(long lineNumber) {
    if (!edit_) return;
    if (lineNumber < 0 || Edit().LineIndex(lineNumber - 1) < 0) host::Raise(host::err::InvalidPropertyValue);
    Edit().LineScroll(0, lineNumber - Edit().FirstVisibleLine() - 1);
}

void TextBoxW::ScrollToCaret() { Edit().ScrollCaret(); }

long TextBoxW::GetLineFromChar(long charIndex) const {
    if (!edit_) return 0;
    if (charIndex < -1) host::Raise(host::err::InvalidPropertyValue);
    return Edit().LineFromChar(charIndex) + 1;
}

// The low word of the answer, as the edit window gives it.
long TextBoxW::CharFromPos(float x, float y) const {
    if (!edit_) return 0;
    long px = std::lround(Site().ScaleX(x, host::ScaleUnit::Container, host::ScaleUnit::Pixels));
    long py = std::lround(Site().ScaleY(y, host::ScaleUnit::Container, host::ScaleUnit::Pixels));
    return LOWORD(SendMessageW(edit_.Get(), EM_CHARFROMPOS, 0, MAKELPARAM(px, py)));
}

// Without comctl32 6 or a window there is no tip to show, whatever the icon: False, no error.
bool TextBoxW::ShowBalloonTip(const std::wstring& text, const std::wstring& title, long icon) {
    if (!edit_ || foundation::ComCtlVersionLevel() < 1) return false;
    if (icon < 0 || icon > 3) host::Raise(host::err::InvalidPropertyValue);
    if (GetFocus() != edit_.Get()) ::SetFocus(HostWindow());
    return ShowTip(title, text, static_cast<int>(icon));
}

// The edit window's own balloon where it has one, else ours.
bool TextBoxW::ShowTip(const std::wstring& title, const std::wstring& text, int icon) {
    balloon_.Hide();
    EDITBALLOONTIP tip{};
    tip.cbStruct = sizeof(tip);
    tip.pszTitle = title.c_str();
    tip.pszText = text.c_str();
    tip.ttiIcon = icon;
    if (SendMessageW(edit_.Get(), EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip))) return true;
    return balloon_.Show(edit_.Get(), title, text, icon);
}

bool TextBoxW::HideBalloonTip() {
    if (!edit_ || foundation::ComCtlVersionLevel() < 1) return false;
    bool ours = balloon_.Hide();
    return SendMessageW(edit_.Get(), EM_HIDEBALLOONTIP, 0, 0) != 0 || ours;
}

double TextBoxW::LeftMargin() const {
    if (!edit_) return 0;
    auto px = LOWORD(SendMessageW(edit_.Get(), EM_GETMARGINS, 0, 0));
    return Site().ScaleX(px, host::ScaleUnit::Pixels, host::ScaleUnit::Container);
}

double TextBoxW::RightMargin() const {
    if (!edit_) return 0;
    auto px = HIWORD(SendMessageW(edit_.Get(), EM_GETMARGINS, 0, 0));
    return Site().ScaleX(px, host::ScaleUnit::Pixels, host::ScaleUnit::Container);
}

void TextBoxW::LeftMargin(double margin) { SetMargin(EC_LEFTMARGIN, margin); }

void TextBoxW::RightMargin(double margin) { SetMargin(EC_RIGHTMARGIN, margin); }

void TextBoxW::SetMargin(WPARAM which, double margin) {
    bool fontDefault = margin == -1 || margin == 65535;
    if (margin < 0 && !fontDefault) host::Raise(host::err::InvalidPropertyValue);
    if (!edit_) return;
    WORD px = fontDefault ? EC_USEFONTINFO
                          : static_cast<WORD>(std::lround(Site().ScaleX(margin, host::ScaleUnit::Container, host::ScaleUnit::Pixels)));
    LPARAM value = which == EC_LEFTMARGIN ? MAKELPARAM(px, 0) : MAKELPARAM(0, px);
    SendMessageW(edit_.Get(), EM_SETMARGINS, which, value);
}

}  // namespace controls
