#include "ControlsTestSupport.h"

#include "controls/frame/FrameW.h"
#include "controls/label/LabelW.h"
#include "controls/listbox/ListBoxW.h"
#include "controls/textbox/TextBoxW.h"
#include "host/ControlRegistry.h"
#include "host/DesignData.h"

#include <uxtheme.h>

#include <vector>

namespace ctltest {

// Read from the program itself (its manifest resource) and the system's theme, not from the
// foundation, whose answer is what the tests check.
bool ThemedProgram() {
    static const bool themed =
        FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)) != nullptr && IsThemeActive();
    return themed;
}

void RegisterLibraryControls() {
    host::RegisterControlKind(L"TextBoxW", [] { return std::make_unique<controls::TextBoxW>(); });
    host::RegisterControlKind(L"ListBoxW", [] { return std::make_unique<controls::ListBoxW>(); });
    host::RegisterControlKind(L"FrameW", [] { return std::make_unique<controls::FrameW>(); });
    host::RegisterControlKind(L"LabelW", [] { return std::make_unique<controls::LabelW>(); });
}

std::unique_ptr<host::Form> ShowForm(const std::wstring& design) {
    RegisterLibraryControls();
    auto form = std::make_unique<host::Form>(host::ParseDesign(design));
    form->Show();
    PumpUntil([&] { return IsWindowVisible(form->hWnd()) != FALSE; });
    Drain();
    return form;
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms) { return host::App().PumpUntil(done, ms); }

void Drain() {
    for (int i = 0; i < 500 && host::App().PumpOne(false); ++i) {
    }
}

bool Activate(host::Form& form) {
    SetForegroundWindow(form.hWnd());
    SetActiveWindow(form.hWnd());
    return PumpUntil([&] { return GetForegroundWindow() == form.hWnd(); });
}

namespace {

INPUT Key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

INPUT UnicodeKey(wchar_t c, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = c;
    in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return in;
}

void SendAndSettle(std::vector<INPUT>& seq) {
    SendInput(static_cast<UINT>(seq.size()), seq.data(), sizeof(INPUT));
    PumpUntil([] { return !GetQueueStatus(QS_KEY); }, 2000);
    Drain();
}

}  // namespace

void PressKey(WORD vk, bool shift, bool ctrl) {
    std::vector<INPUT> seq;
    if (shift) seq.push_back(Key(VK_SHIFT, false));
    if (ctrl) seq.push_back(Key(VK_CONTROL, false));
    seq.push_back(Key(vk, false));
    seq.push_back(Key(vk, true));
    if (ctrl) seq.push_back(Key(VK_CONTROL, true));
    if (shift) seq.push_back(Key(VK_SHIFT, true));
    SendAndSettle(seq);
}

void TypeText(const std::wstring& text) {
    std::vector<INPUT> seq;
    for (wchar_t c : text) {
        seq.push_back(UnicodeKey(c, false));
        seq.push_back(UnicodeKey(c, true));
    }
    SendAndSettle(seq);
}

void PostClick(HWND hwnd, POINT pt, UINT downMsg, UINT upMsg, POINT upPt) {
    if (upPt.x == -1 && upPt.y == -1) upPt = pt;
    WPARAM held = downMsg == WM_LBUTTONDOWN ? MK_LBUTTON : downMsg == WM_RBUTTONDOWN ? MK_RBUTTON : MK_MBUTTON;
    PostMessageW(hwnd, downMsg, held, MAKELPARAM(pt.x, pt.y));
    PostMessageW(hwnd, upMsg, 0, MAKELPARAM(upPt.x, upPt.y));
    PumpUntil([] { return !GetQueueStatus(QS_POSTMESSAGE | QS_MOUSE); }, 2000);
    Drain();
}

std::wstring WindowText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(hwnd, s.data(), n + 1)));
    return s;
}

std::wstring ListBoxText(HWND list, int index) {
    LRESULT n = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == LB_ERR) return L"<no item>";
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    s.resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()))));
    return s;
}

DWORD SelectionOf(HWND edit, DWORD* end) {
    DWORD start = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(end));
    return start;
}

namespace {

// A 32-bit top-down DIB section and a memory DC for it, freed together.
struct Canvas {
    Canvas(int w, int h) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bitmap);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    void* bits = nullptr;
};

}  // namespace

Snapshot Snapshot::OfClient(HWND hwnd) {
    RECT rc{};
    GetClientRect(hwnd, &rc);
    Snapshot s;
    s.width_ = rc.right;
    s.height_ = rc.bottom;
    Canvas canvas(s.width_, s.height_);
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    s.bits_.assign(static_cast<const DWORD*>(canvas.bits), static_cast<size_t>(s.width_) * s.height_);
    return s;
}

Snapshot Snapshot::OfWindowRect(HWND container, const RECT& rc) {
    Snapshot s;
    s.width_ = rc.right - rc.left;
    s.height_ = rc.bottom - rc.top;
    Canvas canvas(s.width_, s.height_);
    HDC dc = GetDC(container);
    BitBlt(canvas.dc, 0, 0, s.width_, s.height_, dc, rc.left, rc.top, SRCCOPY);
    ReleaseDC(container, dc);
    GdiFlush();
    s.bits_.assign(static_cast<const DWORD*>(canvas.bits), static_cast<size_t>(s.width_) * s.height_);
    return s;
}

Snapshot Snapshot::OfPainting(int w, int h, COLORREF back, const std::function<void(HDC)>& paint) {
    Snapshot s;
    s.width_ = w;
    s.height_ = h;
    Canvas canvas(w, h);
    RECT all{0, 0, w, h};
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(canvas.dc, &all, brush);
    DeleteObject(brush);
    paint(canvas.dc);
    GdiFlush();
    s.bits_.assign(static_cast<const DWORD*>(canvas.bits), static_cast<size_t>(w) * h);
    return s;
}

POINT Snapshot::Find(const Snapshot& part) const {
    for (int y = 0; y + part.height_ <= height_; ++y)
        for (int x = 0; x + part.width_ <= width_; ++x) {
            bool same = true;
            for (int py = 0; same && py < part.height_; ++py)
                for (int px = 0; same && px < part.width_; ++px) same = At(x + px, y + py) == part.At(px, py);
            if (same) return POINT{x, y};
        }
    return POINT{-1, -1};
}

COLORREF Snapshot::At(int x, int y) const {
    DWORD v = bits_[static_cast<size_t>(y) * width_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

int Snapshot::CountDiffering(const RECT& rc, COLORREF background) const {
    int n = 0;
    for (int y = std::max<int>(rc.top, 0); y < std::min<int>(rc.bottom, height_); ++y)
        for (int x = std::max<int>(rc.left, 0); x < std::min<int>(rc.right, width_); ++x)
            if (At(x, y) != background) ++n;
    return n;
}

}  // namespace ctltest
