#include "host/Intrinsics.h"

#include "host/ContainerRouting.h"
#include "host/ControlSite.h"
#include "host/Error.h"
#include "host/Font.h"
#include "host/Form.h"
#include "host/WindowlessSurface.h"

#include <cmath>
#include <commctrl.h>
#include <olectl.h>

namespace host {

namespace {

COLORREF ToRgb(unsigned long oleColor) {
    COLORREF rgb = 0;
    if (FAILED(OleTranslateColor(oleColor, nullptr, &rgb))) rgb = 0;
    return rgb;
}

std::wstring WindowText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(hwnd, s.data(), n + 1)));
    return s;
}

}  // namespace

// --- shared ---------------------------------------------------------------------------------

void IntrinsicWindowControl::InitProperties() {
    PropertyBag bag;
    bag.Write(L"Caption", Site().DisplayName());
    CreateWindowFrom(bag);
}

void IntrinsicWindowControl::ReadProperties(const PropertyBag& bag) { CreateWindowFrom(bag); }

void IntrinsicWindowControl::CreateWindowFrom(const PropertyBag& bag) {
    ControlSite& site = Site();
    backColor_ = static_cast<unsigned long>(bag.Read(L"BackColor", 0x8000000FUL).AsLong());
    foreColor_ = static_cast<unsigned long>(bag.Read(L"ForeColor", 0x80000012UL).AsLong());
    ReadExtra(bag);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WindowStyle(bag);
    if (site.TabStop() && CanGetFocus()) style |= WS_TABSTOP;
    std::wstring caption = bag.Read(L"Caption").AsString();
    RECT r = site.PixelRect();
    HWND hwnd = CreateWindowExW(0, WindowClass(), caption.c_str(), style, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, site.ContainerWindow(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) Raise(err::OutOfMemory);
    site.AdoptWindow(hwnd);
    HFONT font = site.Parent().FontHandle();
    if (bag.Contains(L"Font")) {
        font_ = CreateGdiFont(bag.Read(L"Font").AsFont());
        font = font_.Get();
    }
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    EnableWindow(hwnd, bag.Read(L"Enabled", true).AsBool());
    wchar_t key = AccessKeyOf(caption);
    site.AccessKeys(key ? std::wstring(1, key) : std::wstring());
    subclassed_ = SetWindowSubclass(hwnd, &IntrinsicWindowControl::WindowEvents, reinterpret_cast<UINT_PTR>(this), 0);
    AfterCreate();
}

void IntrinsicWindowControl::AmbientChanged(const std::wstring& name) {
    if (name == L"Font" && !font_ && hWnd())
        SendMessageW(hWnd(), WM_SETFONT, reinterpret_cast<WPARAM>(Site().Parent().FontHandle()), TRUE);
}

void IntrinsicWindowControl::Terminate() {
    // The window outlives this call (the site destroys it): stop delivering first.
    if (subclassed_ && hWnd()) RemoveWindowSubclass(hWnd(), &IntrinsicWindowControl::WindowEvents, reinterpret_cast<UINT_PTR>(this));
    subclassed_ = false;
}

LRESULT CALLBACK IntrinsicWindowControl::WindowEvents(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &IntrinsicWindowControl::WindowEvents, id);
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    return reinterpret_cast<IntrinsicWindowControl*>(id)->OnWindowMessage(hwnd, msg, wParam, lParam);
}

namespace {
// An event handler that failed ends with its event; the window still handles its message.
template <class F>
void Guarded(F&& raise) {
    try {
        raise();
    } catch (const Error&) {
    }
}
}  // namespace

LRESULT IntrinsicWindowControl::OnWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN: return OnKey(KeyDown, dispid::KeyDown, hwnd, msg, wParam, lParam);
    case WM_KEYUP: case WM_SYSKEYUP: return OnKey(KeyUp, dispid::KeyUp, hwnd, msg, wParam, lParam);
    case WM_CHAR: return OnChar(hwnd, msg, wParam, lParam);
    // MouseUp before the window's handling: a button's release clicks it, and Click follows MouseUp.
    case WM_LBUTTONUP: return OnMouseUp(1, hwnd, msg, wParam, lParam);
    case WM_RBUTTONUP: return OnMouseUp(2, hwnd, msg, wParam, lParam);
    case WM_MBUTTONUP: return OnMouseUp(4, hwnd, msg, wParam, lParam);
    // MouseDown and MouseMove after it: the button is pressed and holds the capture by then.
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: return OnMouseDown(1, hwnd, msg, wParam, lParam);
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: return OnMouseDown(2, hwnd, msg, wParam, lParam);
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: return OnMouseDown(4, hwnd, msg, wParam, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(hwnd, msg, wParam, lParam);
    default: return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
}

// A key code set to 0 by the handler swallows the key.
LRESULT IntrinsicWindowControl::OnKey(const Event<int&, int>& event, long dispId, HWND hwnd, UINT msg, WPARAM wParam,
                                      LPARAM lParam) {
    int key = static_cast<int>(wParam);
    int shift = (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
    Guarded([&] { Site().RaiseEvent(dispId, event, key, shift); });
    return key == 0 ? 0 : DefSubclassProc(hwnd, msg, static_cast<WPARAM>(key), lParam);
}

LRESULT IntrinsicWindowControl::OnChar(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    int ch = static_cast<int>(wParam);
    Guarded([&] { Site().RaiseEvent(dispid::KeyPress, KeyPress, ch); });
    return ch == 0 ? 0 : DefSubclassProc(hwnd, msg, static_cast<WPARAM>(ch), lParam);
}

LRESULT IntrinsicWindowControl::OnMouseUp(int button, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    RaiseMouse(MouseUp, dispid::MouseUp, button, wParam, lParam);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT IntrinsicWindowControl::OnMouseDown(int button, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
    RaiseMouse(MouseDown, dispid::MouseDown, button, wParam, lParam);
    return result;
}

LRESULT IntrinsicWindowControl::OnMouseMove(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
    int buttons = (wParam & MK_LBUTTON ? 1 : 0) | (wParam & MK_RBUTTON ? 2 : 0) | (wParam & MK_MBUTTON ? 4 : 0);
    RaiseMouse(MouseMove, dispid::MouseMove, buttons, wParam, lParam);
    return result;
}

void IntrinsicWindowControl::RaiseMouse(const Event<int, int, float, float>& event, long dispId, int button, WPARAM wParam,
                                        LPARAM lParam) {
    if (!HasSite()) return;
    int shift = (wParam & MK_SHIFT ? 1 : 0) | (wParam & MK_CONTROL ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
    ScaleConverter sc = Site().Scale();
    auto x = static_cast<float>(sc.ScaleX(static_cast<short>(LOWORD(lParam)), ScaleUnit::Pixels, ScaleUnit::Twips));
    auto y = static_cast<float>(sc.ScaleY(static_cast<short>(HIWORD(lParam)), ScaleUnit::Pixels, ScaleUnit::Twips));
    Guarded([&] { Site().RaiseEvent(dispId, event, button, shift, x, y); });
}

void IntrinsicWindowControl::WriteProperties(PropertyBag& bag) {
    bag.Write(L"Caption", Utf16LeBytes(Caption()), Value());
    bag.Write(L"Enabled", Enabled(), true);
    bag.Write(L"BackColor", backColor_, 0x8000000FUL);
    bag.Write(L"ForeColor", foreColor_, 0x80000012UL);
    WriteExtra(bag);
}

HWND IntrinsicWindowControl::hWnd() const { return HasSite() ? Site().OwnWindow() : nullptr; }

std::wstring IntrinsicWindowControl::Caption() const { return hWnd() ? WindowText(hWnd()) : std::wstring(); }

void IntrinsicWindowControl::Caption(const std::wstring& caption) {
    if (!hWnd()) return;
    SetWindowTextW(hWnd(), caption.c_str());
    wchar_t key = AccessKeyOf(caption);
    Site().AccessKeys(key ? std::wstring(1, key) : std::wstring());
    Site().PropertyChanged(L"Caption");
}

bool IntrinsicWindowControl::Enabled() const { return hWnd() && IsWindowEnabled(hWnd()); }

void IntrinsicWindowControl::Enabled(bool on) {
    if (hWnd()) EnableWindow(hWnd(), on);
}

void IntrinsicWindowControl::BackColor(unsigned long oleColor) {
    backColor_ = oleColor;
    if (hWnd()) InvalidateRect(hWnd(), nullptr, TRUE);
}

void IntrinsicWindowControl::ForeColor(unsigned long oleColor) {
    foreColor_ = oleColor;
    if (hWnd()) InvalidateRect(hWnd(), nullptr, TRUE);
}

LRESULT IntrinsicWindowControl::AnswerColor(HDC dc, bool transparent) {
    SetTextColor(dc, ToRgb(foreColor_));
    if (transparent) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    COLORREF back = ToRgb(backColor_);
    SetBkColor(dc, back);
    brush_.Reset(CreateSolidBrush(back));
    return reinterpret_cast<LRESULT>(brush_.Get());
}

// --- CommandButton --------------------------------------------------------------------------

DWORD CommandButton::WindowStyle(const PropertyBag& bag) const {
    return bag.Read(L"Default", false).AsBool() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void CommandButton::ReadExtra(const PropertyBag& bag) {
    default_ = bag.Read(L"Default", false).AsBool();
    cancel_ = bag.Read(L"Cancel", false).AsBool();
}

void CommandButton::WriteExtra(PropertyBag& bag) {
    bag.Write(L"Default", default_, false);
    bag.Write(L"Cancel", cancel_, false);
}

void CommandButton::Default(bool on) {
    default_ = on;
    if (hWnd()) SendMessageW(hWnd(), BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool CommandButton::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        Site().RaiseEvent(dispid::Click, Click);
        result = 0;
        return true;
    }
    if (msg == WM_CTLCOLORBTN) {
        result = AnswerColor(reinterpret_cast<HDC>(wParam), false);
        return true;
    }
    return false;
}

void CommandButton::Press() {
    // The notification a click sends, without the mouse's focus change: Return on a default
    // button leaves the focus where it is.
    if (hWnd() && Enabled() && IsWindowVisible(hWnd()))
        SendMessageW(GetParent(hWnd()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hWnd()), BN_CLICKED),
                     reinterpret_cast<LPARAM>(hWnd()));
}

// --- CheckBox -------------------------------------------------------------------------------

DWORD CheckBox::WindowStyle(const PropertyBag&) const { return BS_AUTOCHECKBOX; }

void CheckBox::ReadExtra(const PropertyBag& bag) { pendingValue_ = static_cast<int>(bag.Read(L"Value", 0L).AsLong()); }

void CheckBox::WriteExtra(PropertyBag& bag) { bag.Write(L"Value", static_cast<long>(Value()), 0L); }

int CheckBox::Value() const {
    if (!hWnd()) return pendingValue_;
    LRESULT state = SendMessageW(hWnd(), BM_GETCHECK, 0, 0);
    return state == BST_CHECKED ? 1 : state == BST_INDETERMINATE ? 2 : 0;
}

void CheckBox::Value(int value) {
    if (value < 0 || value > 2) Raise(err::InvalidPropertyValue);
    bool changed = value != Value();
    pendingValue_ = value;
    if (!hWnd()) return;
    if (value == 2) SetWindowLongW(hWnd(), GWL_STYLE, (GetWindowLongW(hWnd(), GWL_STYLE) & ~0xF) | BS_AUTO3STATE);
    SendMessageW(hWnd(), BM_SETCHECK, value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED, 0);
    // Setting the value in code clicks the box, as the system's own check box does for its users.
    if (changed) Site().RaiseEvent(dispid::Click, Click);
}

void CheckBox::AfterCreate() {
    if (pendingValue_ == 2) SetWindowLongW(hWnd(), GWL_STYLE, (GetWindowLongW(hWnd(), GWL_STYLE) & ~0xF) | BS_AUTO3STATE);
    SendMessageW(hWnd(), BM_SETCHECK,
                 pendingValue_ == 1 ? BST_CHECKED : pendingValue_ == 2 ? BST_INDETERMINATE : BST_UNCHECKED, 0);
}

bool CheckBox::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        Site().RaiseEvent(dispid::Click, Click);
        result = 0;
        return true;
    }
    if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN) {
        result = AnswerColor(reinterpret_cast<HDC>(wParam), false);
        return true;
    }
    return false;
}

// --- Label ----------------------------------------------------------------------------------

DWORD Label::WindowStyle(const PropertyBag& bag) const {
    DWORD align = alignment_ == 1 ? SS_RIGHT : alignment_ == 2 ? SS_CENTER : SS_LEFT;
    return SS_NOTIFY | align;
}

void Label::ReadExtra(const PropertyBag& bag) {
    alignment_ = static_cast<int>(bag.Read(L"Alignment", 0L).AsLong());
    backStyle_ = static_cast<int>(bag.Read(L"BackStyle", 1L).AsLong());
}

void Label::WriteExtra(PropertyBag& bag) {
    bag.Write(L"Alignment", static_cast<long>(alignment_), 0L);
    bag.Write(L"BackStyle", static_cast<long>(backStyle_), 1L);
}

bool Label::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        Site().RaiseEvent(dispid::Click, Click);
        result = 0;
        return true;
    }
    if (msg == WM_COMMAND && HIWORD(wParam) == STN_DBLCLK) {
        Site().RaiseEvent(dispid::DblClick, DblClick);
        result = 0;
        return true;
    }
    if (msg == WM_CTLCOLORSTATIC) {
        result = AnswerColor(reinterpret_cast<HDC>(wParam), backStyle_ == 0);
        return true;
    }
    return false;
}

// --- Line -----------------------------------------------------------------------------------

void Line::ReadProperties(const PropertyBag& bag) {
    x1_ = bag.Read(L"X1", 0.0).AsDouble();
    y1_ = bag.Read(L"Y1", 0.0).AsDouble();
    x2_ = bag.Read(L"X2", 0.0).AsDouble();
    y2_ = bag.Read(L"Y2", 0.0).AsDouble();
    borderColor_ = static_cast<unsigned long>(bag.Read(L"BorderColor", 0x80000008UL).AsLong());
    borderWidth_ = static_cast<int>(bag.Read(L"BorderWidth", 1L).AsLong());
    Place();
}

void Line::WriteProperties(PropertyBag& bag) {
    bag.Write(L"X1", x1_, 0.0);
    bag.Write(L"Y1", y1_, 0.0);
    bag.Write(L"X2", x2_, 0.0);
    bag.Write(L"Y2", y2_, 0.0);
    bag.Write(L"BorderColor", borderColor_, 0x80000008UL);
    bag.Write(L"BorderWidth", static_cast<long>(borderWidth_), 1L);
}

void Line::BorderColor(unsigned long oleColor) {
    borderColor_ = oleColor;
    if (HasSite() && Site().Windowless()) Site().Windowless()->Refresh();
}

void Line::BorderWidth(int px) {
    if (px < 1 || px > 8192) Raise(err::InvalidPropertyValue);
    borderWidth_ = px;
    Place();
}

void Line::Place() {
    if (!HasSite()) return;
    ControlSite& s = Site();
    ScaleConverter sc = s.Scale();
    double padX = sc.PixelsToTwipsX(borderWidth_ + 1), padY = sc.PixelsToTwipsY(borderWidth_ + 1);
    double left = std::min(x1_, x2_) - padX, top = std::min(y1_, y2_) - padY;
    s.Move(left, top, std::fabs(x2_ - x1_) + 2 * padX, std::fabs(y2_ - y1_) + 2 * padY);
}

void Line::Paint(HDC dc) {
    ControlSite& s = Site();
    ScaleConverter sc = s.Scale();
    auto px = [&](double v, double origin, bool x) {
        return x ? sc.TwipsToPixelsX(v) - sc.TwipsToPixelsX(origin) : sc.TwipsToPixelsY(v) - sc.TwipsToPixelsY(origin);
    };
    UniquePen pen(CreatePen(PS_SOLID, borderWidth_, ToRgb(borderColor_)));
    SelectObjectGuard keep(dc, pen.Get());
    MoveToEx(dc, px(x1_, s.Left(), true), px(y1_, s.Top(), false), nullptr);
    LineTo(dc, px(x2_, s.Left(), true), px(y2_, s.Top(), false));
}

}  // namespace host
