#include "host/HostWindow.h"

#include "host/Application.h"
#include "host/ContainerRouting.h"
#include "host/ControlSite.h"
#include "host/DragDrop.h"
#include "host/Error.h"
#include "host/Form.h"
#include "host/WindowBinding.h"

#include <algorithm>
#include <utility>

namespace host {

namespace {

void RegisterHostWindowClass(HINSTANCE instance, WNDPROC proc) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = HostWindow::ClassName;
    RegisterClassExW(&wc);
    registered = true;
}

}  // namespace

HostWindow::HostWindow(ControlSite& site, HWND parent) : site_(site) {
    HINSTANCE instance = App().hInstance();
    RegisterHostWindowClass(instance, &HostWindow::WindowProc);
    RECT r = site.PixelRect();
    CreateWindowExW(WS_EX_CONTROLPARENT, ClassName, site.DisplayName().c_str(),
                    WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, r.left, r.top, r.right - r.left,
                    r.bottom - r.top, parent, nullptr, instance, this);
    // hwnd_ was set in WM_NCCREATE so that the messages of creation already find it.
    BackColor(site.AmbientBackColor());
    ForeColor(site.AmbientForeColor());
    Font(site.AmbientFont());
}

HostWindow::~HostWindow() {
    ReleaseDropTarget();
    if (hwnd_) {
        dragdrop::Forget(hwnd_.Get());  // what windowless children left registered
        SetWindowLongPtrW(hwnd_.Get(), GWLP_USERDATA, 0);
    }
}

Surface::DropHome HostWindow::DropTargetHome() const {
    if (!hwnd_ || !site_.AmbientUserMode()) return {};
    return {hwnd_.Get(), &site_.Parent(), &site_};
}

void HostWindow::Enabled(bool on) {
    Surface::Enabled(on);
    if (hwnd_) EnableWindow(hwnd_.Get(), on);
}

void HostWindow::Refresh() {
    if (hwnd_) RedrawWindow(hwnd_.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT HostWindow::OnClose() {
    PostMessageW(GetAncestor(hwnd_.Get(), GA_ROOT), WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CALLBACK HostWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return RouteToObject<HostWindow>(hwnd, msg, wParam, lParam);
}

LRESULT HostWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND: return OnEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_PAINT: return OnPaint(reinterpret_cast<HDC>(wParam));
    case WM_PRINTCLIENT: return OnPrintClient(reinterpret_cast<HDC>(wParam), lParam);
    case WM_CTLCOLORBTN: case WM_CTLCOLORSTATIC: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORDLG: return OnControlColor(msg, wParam, lParam);
    case WM_COMMAND: case WM_NOTIFY: case WM_DRAWITEM: return OnChildNotification(msg, wParam, lParam);
    case WM_SETFOCUS: return OnSetFocus();
    case WM_CLOSE: return OnClose();
    case WM_SIZE: return OnSize();
    case WM_TIMER: return OnTimer(msg, wParam, lParam);
    case WM_SETCURSOR: return OnSetCursor(wParam, lParam);
    default: return OnOtherMessage(msg, wParam, lParam);
    }
}

LRESULT HostWindow::Default(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcW(hwnd_.Get(), msg, wParam, lParam); }

// Asked to erase as well, the background goes first: for a control that draws into the
// persistent image (a frame) that is all there is to print.
LRESULT HostWindow::OnPrintClient(HDC dc, LPARAM flags) {
    if (flags & PRF_ERASEBKGND) {
        RECT rc;
        GetClientRect(hwnd_.Get(), &rc);
        PaintHostBackground(dc, rc);
    }
    PaintContent(dc);
    return 0;
}

// Children that are controls of their own (a container's intrinsic windows) answer first.
LRESULT HostWindow::OnControlColor(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT reflected = 0;
    if (ContainerRouting::Reflect(site_.Children(), msg, wParam, lParam, reflected)) return reflected;
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, ForeRgb());
    SetBkColor(dc, BackRgb());
    return reinterpret_cast<LRESULT>(BackBrush());
}

LRESULT HostWindow::OnChildNotification(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT reflected = 0;
    if (ContainerRouting::Reflect(site_.Children(), msg, wParam, lParam, reflected)) return reflected;
    return Default(msg, wParam, lParam);
}

LRESULT HostWindow::OnTimer(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DispatchTimer(wParam) ? 0 : Default(msg, wParam, lParam);
}

// Over a windowless child the child chooses the cursor.
LRESULT HostWindow::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    if (ContainerRouting::SetCursor(hwnd_.Get(), site_.Children(), wParam, lParam)) return TRUE;
    return Default(WM_SETCURSOR, wParam, lParam);
}

// Mouse input over a container goes to its windowless controls by hit test.
LRESULT HostWindow::OnOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    bool mouse = msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK;
    if (mouse && site_.Parent().RouteContainerMouse(&site_, msg, wParam, lParam)) return 0;
    return Default(msg, wParam, lParam);
}

LRESULT HostWindow::OnEraseBackground(HDC dc) {
    RECT rc;
    GetClientRect(hwnd_.Get(), &rc);
    PaintHostBackground(dc, rc);
    return 1;
}

void HostWindow::PaintHostBackground(HDC dc, const RECT& rc) const {
    if (image_.dc && !BackgroundPicture()) {
        BitBlt(dc, 0, 0, image_.size.cx, image_.size.cy, image_.dc.Get(), 0, 0, SRCCOPY);
        return;
    }
    PaintBackground(dc, rc);
}

void HostWindow::Image::Release() {
    if (dc && original) SelectObject(dc.Get(), original);
    original = nullptr;
    bitmap.Reset();
    dc.Reset();
}

HDC HostWindow::ImageDC() {
    if (!image_.dc) ResizeImage();
    return image_.dc.Get();
}

void HostWindow::ClearImage() {
    if (!image_.dc) return;
    RECT r{0, 0, image_.size.cx, image_.size.cy};
    FillRect(image_.dc.Get(), &r, BackBrush());
    Refresh();
}

void HostWindow::ResizeImage() {
    RECT rc;
    GetClientRect(hwnd_.Get(), &rc);
    SIZE size{std::max<LONG>(rc.right, 1), std::max<LONG>(rc.bottom, 1)};
    WindowDC screen(hwnd_.Get());
    Image next;
    next.dc.Reset(CreateCompatibleDC(screen.Get()));
    next.bitmap.Reset(CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
    if (!next.dc || !next.bitmap) return;
    next.original = SelectObject(next.dc.Get(), next.bitmap.Get());
    next.size = size;
    RECT all{0, 0, size.cx, size.cy};
    FillRect(next.dc.Get(), &all, BackBrush());
    if (image_.dc) BitBlt(next.dc.Get(), 0, 0, image_.size.cx, image_.size.cy, image_.dc.Get(), 0, 0, SRCCOPY);
    image_.Release();
    image_.dc = std::move(next.dc);
    image_.bitmap = std::move(next.bitmap);
    image_.original = std::exchange(next.original, nullptr);
    image_.size = size;
}

LRESULT HostWindow::OnPaint(HDC given) {
    // A control that shows its container through itself sends WM_PAINT with a DC of its own:
    // everything is drawn into that DC, background included, and nothing is validated.
    if (given) {
        RECT rc;
        GetClientRect(hwnd_.Get(), &rc);
        PaintHostBackground(given, rc);
        PaintContent(given);
        return 0;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_.Get(), &ps);
    PaintContent(dc);
    EndPaint(hwnd_.Get(), &ps);
    return 0;
}

void HostWindow::PaintContent(HDC dc) {
    if (site_.IsCreated()) {
        int saved = SaveDC(dc);
        SelectObject(dc, FontHandle());
        SetTextColor(dc, ForeRgb());
        SetBkColor(dc, BackRgb());
        site_.GetControl().Paint(dc);
        RestoreDC(dc, saved);
    }
    ContainerRouting::PaintWindowless(site_.Children(), dc);
}


LRESULT HostWindow::OnSetFocus() {
    // The focus enters a windowed control through its host window and goes on to its child.
    if (site_.IsCreated() && !site_.GetControl().IsContainer()) {
        if (HWND child = GetWindow(hwnd_.Get(), GW_CHILD)) SetFocus(child);
    }
    return 0;
}

LRESULT HostWindow::OnSize() {
    if (image_.dc) ResizeImage();
    if (site_.IsCreated()) site_.GetControl().Resize();
    return 0;
}

}  // namespace host
