#include "host/ClassicDrag.h"

#include "host/Application.h"
#include "host/ContainerRouting.h"
#include "host/ControlSite.h"
#include "host/Error.h"
#include "host/Form.h"
#include "host/HostWindow.h"
#include "host/WindowlessSurface.h"

#include <optional>
#include <utility>
#include <vector>

namespace host::classicdrag {

namespace {

constexpr const wchar_t* kCaptureClass = L"ClassicDragW";
constexpr UINT kReshowOutline = WM_APP + 1;   // the paint that hid the outline is done
constexpr UINT kCancelByKey = WM_APP + 2;     // Escape was pressed
constexpr UINT kRetakeCapture = WM_APP + 3;   // a window of ours took the capture
constexpr int kOutlineWidth = 3;              // pixels of the outline's band

// Where a drag is: a form, and the control on it (null: the form itself).
struct Target {
    Form* form = nullptr;
    ControlSite* site = nullptr;
    bool operator==(const Target&) const = default;
    explicit operator bool() const { return form != nullptr; }
};

// A half-tone grey brush: inverting through it twice gives back what was there.
HBRUSH HalftoneBrush() {
    static UniqueBrush brush = [] {
        WORD rows[8];
        for (int i = 0; i < 8; ++i) rows[i] = static_cast<WORD>(i % 2 ? 0xAAAA : 0x5555);
        UniqueBitmap bits(CreateBitmap(8, 8, 1, 1, rows));
        return UniqueBrush(CreatePatternBrush(bits.Get()));
    }();
    return brush.Get();
}

// Inverts a band along the edges of `local` (window coordinates of `hwnd`), over the window's
// children too.
void InvertBand(HWND hwnd, const RECT& local) {
    HDC dc = GetDCEx(hwnd, nullptr, DCX_WINDOW | DCX_CACHE);
    if (!dc) return;
    int saved = SaveDC(dc);
    // A monochrome pattern draws its 0 bits in the text colour and its 1 bits in the background
    // colour: black leaves the pixel, white inverts it.
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    SelectObject(dc, HalftoneBrush());
    int w = local.right - local.left, h = local.bottom - local.top;
    int k = kOutlineWidth;
    if (w <= 2 * k || h <= 2 * k) {
        PatBlt(dc, local.left, local.top, w, h, PATINVERT);
    } else {
        PatBlt(dc, local.left, local.top, w, k, PATINVERT);
        PatBlt(dc, local.left, local.bottom - k, w, k, PATINVERT);
        PatBlt(dc, local.left, local.top + k, k, h - 2 * k, PATINVERT);
        PatBlt(dc, local.right - k, local.top + k, k, h - 2 * k, PATINVERT);
    }
    RestoreDC(dc, saved);
    ReleaseDC(hwnd, dc);
}

// The outline of the dragged control, drawn on the windows of our forms (the only surfaces we
// may draw on above their children). Each window keeps the rectangle drawn on it, so hiding
// inverts exactly what showing inverted, even if a form moved in between.
class Outline {
public:
    Outline() = default;
    Outline(Outline&& o) noexcept : drawn_(std::exchange(o.drawn_, {})) {}
    Outline& operator=(Outline&&) = delete;
    ~Outline() { Hide(); }

    bool Shown() const { return !drawn_.empty(); }
    void Show(const RECT& screen) {
        Hide();
        for (Form* form : App().Forms()) {
            HWND hwnd = form->hWnd();
            RECT wr, overlap;
            if (!hwnd || !IsWindowVisible(hwnd) || !GetWindowRect(hwnd, &wr) || !IntersectRect(&overlap, &screen, &wr))
                continue;
            RECT local = screen;
            OffsetRect(&local, -wr.left, -wr.top);
            InvertBand(hwnd, local);
            drawn_.push_back({hwnd, local});
        }
    }
    void Hide() {
        for (const Drawn& d : drawn_)
            if (IsWindow(d.hwnd)) InvertBand(d.hwnd, d.local);
        drawn_.clear();
    }

private:
    struct Drawn {
        HWND hwnd;
        RECT local;
    };
    std::vector<Drawn> drawn_;
};

struct DragState {
    ControlSite* source = nullptr;
    Picture icon;                 // kept alive while its handle is the cursor
    HCURSOR cursor = nullptr;     // the DragIcon's handle; null: the outline
    POINT grab{};                 // the mouse minus the source's top-left, when it began
    SIZE size{};                  // the source's size in pixels
    POINT mouse{};                // where the mouse was last seen
    Target target;
    Outline outline;
    UniqueHook hook;
    bool reshowPosted = false;
    unsigned generation = 0;
};

std::optional<DragState> g_drag;  // one mouse, one drag: process-wide by nature
unsigned g_generation = 0;

LRESULT CALLBACK CaptureWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The hidden window that holds the capture during a drag; made once.
HWND CaptureWindow() {
    static UniqueWindow window = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &CaptureWindowProc;
        wc.hInstance = App().hInstance();
        wc.lpszClassName = kCaptureClass;
        RegisterClassExW(&wc);
        return UniqueWindow(CreateWindowExW(WS_EX_TOOLWINDOW, kCaptureClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                            nullptr, App().hInstance(), nullptr));
    }();
    return window.Get();
}

RECT ScreenRectOf(const ControlSite& site) {
    RECT r = site.PixelRect();
    MapWindowPoints(site.ContainerWindow(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

HCURSOR CursorOf(const Picture& picture) {
    if (!picture) return nullptr;
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_ICON) return nullptr;
    if (FAILED(picture->get_Handle(&handle))) return nullptr;
    return reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(handle));
}

bool Accepts(const ControlSite& site) {
    if (!site.IsCreated() || !site.EffectivelyVisible()) return false;
    if (const WindowlessSurface* w = site.Windowless()) return w->Enabled();
    return true;
}

// The target a window (under the mouse, or getting a press) stands for at a point: the control
// owning it, or a windowless control of the container whose own window it is.
Target TargetOfWindow(HWND hwnd, POINT screen) {
    Form* form = App().FormOfWindow(hwnd);
    if (!form || !form->IsLoaded()) return {};
    ControlSite* site = form->SiteOfWindow(hwnd);
    HWND containerWindow = site ? (site->HostWin() ? site->HostWin()->hWnd() : nullptr) : form->hWnd();
    if (hwnd == containerWindow) {
        POINT pt = screen;
        ScreenToClient(containerWindow, &pt);
        const std::vector<ControlSite*>& children = site ? site->Children() : form->TopLevelSites();
        if (ControlSite* windowless = ContainerRouting::WindowlessAt(children, pt)) site = windowless;
    }
    while (site && !Accepts(*site)) site = site->Container();
    return {form, site};
}

Target TargetAt(POINT screen) { return TargetOfWindow(WindowFromPoint(screen), screen); }

// The mouse in the target's scale, from its top-left corner.
void PointIn(const Target& t, POINT screen, float& x, float& y) {
    POINT p = screen;
    if (t.site) {
        ScreenToClient(t.site->ContainerWindow(), &p);
        RECT r = t.site->PixelRect();
        x = static_cast<float>(t.site->ScaleX(p.x - r.left, ScaleUnit::Pixels, ScaleUnit::Container));
        y = static_cast<float>(t.site->ScaleY(p.y - r.top, ScaleUnit::Pixels, ScaleUnit::Container));
    } else {
        ScreenToClient(t.form->hWnd(), &p);
        x = static_cast<float>(t.form->Scale().ScaleX(p.x, ScaleUnit::Pixels, ScaleUnit::Container));
        y = static_cast<float>(t.form->Scale().ScaleY(p.y, ScaleUnit::Pixels, ScaleUnit::Container));
    }
}

void RaiseDragOver(const Target& t, ControlSite& source, POINT screen, int state) {
    if (!t || t.form->EventsFrozen()) return;
    float x = 0, y = 0;
    PointIn(t, screen, x, y);
    if (t.site) t.site->DragOver(source, x, y, state);
    else t.form->DragOver(source, x, y, state);
}

void RaiseDragDrop(const Target& t, ControlSite& source, POINT screen) {
    if (!t || t.form->EventsFrozen()) return;
    float x = 0, y = 0;
    PointIn(t, screen, x, y);
    if (t.site) t.site->DragDrop(source, x, y);
    else t.form->DragDrop(source, x, y);
}

// Whether the drag that had `generation` still runs (a handler may have ended it, or begun
// another).
bool StillRunning(unsigned generation) { return g_drag && g_drag->generation == generation; }

// What a person sees of the drag: the DragIcon as the cursor, or the outline at the mouse.
void ShowFeedback() {
    DragState& d = *g_drag;
    if (d.cursor) {
        SetCursor(d.cursor);
        return;
    }
    RECT r{d.mouse.x - d.grab.x, d.mouse.y - d.grab.y, 0, 0};
    r.right = r.left + d.size.cx;
    r.bottom = r.top + d.size.cy;
    d.outline.Show(r);
}

// Paints that the handlers caused are done while the outline is off, so the inversion is undone
// over the same pixels it was made on.
void FinishPaints() {
    for (Form* form : App().Forms())
        if (HWND hwnd = form->hWnd()) RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void MoveTo(POINT screen) {
    DragState& d = *g_drag;
    unsigned generation = d.generation;
    d.mouse = screen;
    d.outline.Hide();
    Target now = TargetAt(screen);
    ControlSite& source = *d.source;
    if (now != d.target) {
        Target was = std::exchange(d.target, now);
        RaiseDragOver(was, source, screen, Leave);
        if (StillRunning(generation)) RaiseDragOver(now, source, screen, Enter);
    } else {
        RaiseDragOver(now, source, screen, Over);
    }
    if (!StillRunning(generation)) return;
    FinishPaints();
    ShowFeedback();
}

// The drag ends: the screen and the mouse are given back first, then the target hears of it.
void Finish(bool drop, POINT screen) {
    if (!g_drag) return;
    DragState d = std::move(*g_drag);
    g_drag.reset();
    d.outline.Hide();
    d.hook.Reset();
    if (GetCapture() == CaptureWindow()) ReleaseCapture();
    // The cursor of whatever is under the mouse, as the next move would set it.
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    if (HWND under = WindowFromPoint(screen); under && GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId()) {
        LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
        SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
    }
    if (!drop) {
        RaiseDragOver(d.target, *d.source, screen, Leave);
        return;
    }
    Target at = TargetAt(screen);
    if (at != d.target) RaiseDragOver(d.target, *d.source, screen, Leave);
    RaiseDragDrop(at, *d.source, screen);
}

POINT MouseNow() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

// Paints and Escape reach the drag before their windows: the outline comes off the screen for
// the length of a paint, and Escape cancels instead of reaching the focused control.
LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && g_drag) {
        MSG& m = *reinterpret_cast<MSG*>(lParam);
        if (m.message == WM_PAINT && g_drag->outline.Shown()) {
            g_drag->outline.Hide();
            if (!std::exchange(g_drag->reshowPosted, true)) PostMessageW(CaptureWindow(), kReshowOutline, 0, 0);
        } else if ((m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) && m.wParam == VK_ESCAPE) {
            m.message = WM_NULL;
            PostMessageW(CaptureWindow(), kCancelByKey, 0, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

POINT MessagePoint(HWND hwnd, LPARAM lParam) {
    POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(hwnd, &p);
    return p;
}

void OnReshowOutline() {
    if (!g_drag) return;
    g_drag->reshowPosted = false;
    if (!g_drag->outline.Shown()) ShowFeedback();
}

// Another window of ours (a control's own press handling) took the capture: the drag takes it
// back. Anything else (another program, a lost activation) cancels the drag.
void OnCaptureChanged(HWND newHolder) {
    if (!g_drag || newHolder == CaptureWindow()) return;
    if (newHolder && App().FormOfWindow(newHolder)) PostMessageW(CaptureWindow(), kRetakeCapture, 0, 0);
    else Finish(false, g_drag->mouse);
}

void OnRetakeCapture() {
    if (g_drag && GetCapture() != CaptureWindow()) SetCapture(CaptureWindow());
}

LRESULT HandleCaptureMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEMOVE: if (g_drag) MoveTo(MessagePoint(hwnd, lParam)); return 0;
    case WM_LBUTTONUP: Finish(true, MessagePoint(hwnd, lParam)); return 0;
    case WM_RBUTTONDOWN: Finish(false, MessagePoint(hwnd, lParam)); return 0;
    case WM_CAPTURECHANGED: OnCaptureChanged(reinterpret_cast<HWND>(lParam)); return 0;
    case kReshowOutline: OnReshowOutline(); return 0;
    case kCancelByKey: if (g_drag) Finish(false, g_drag->mouse); return 0;
    case kRetakeCapture: OnRetakeCapture(); return 0;
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK CaptureWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        return HandleCaptureMessage(hwnd, msg, wParam, lParam);
    } catch (const Error&) {
        // A failing DragOver or DragDrop handler ends with its message, as in the host's loop.
        return 0;
    }
}

void Begin(ControlSite& source, POINT mouse) {
    if (g_drag) {
        if (g_drag->source == &source) return;
        Finish(false, g_drag->mouse);
    }
    RECT r = ScreenRectOf(source);
    DragState d;
    d.source = &source;
    d.icon = source.DragIcon();
    d.cursor = CursorOf(d.icon);
    d.grab = {mouse.x - r.left, mouse.y - r.top};
    d.size = {r.right - r.left, r.bottom - r.top};
    d.mouse = mouse;
    d.generation = ++g_generation;
    d.hook.Reset(SetWindowsHookExW(WH_GETMESSAGE, &GetMessageHook, nullptr, GetCurrentThreadId()));
    g_drag.emplace(std::move(d));
    SetCapture(CaptureWindow());
    MoveTo(mouse);
}

}  // namespace

void Drag(ControlSite& source, int action) {
    switch (action) {
    case Cancel: if (Source() == &source) Finish(false, MouseNow()); break;
    case BeginDrag: Begin(source, MouseNow()); break;
    case EndDrag: if (Source() == &source) Finish(true, MouseNow()); break;
    default: Raise(err::InvalidProcedureCall);
    }
}

bool InProgress() { return g_drag.has_value(); }

ControlSite* Source() { return g_drag ? g_drag->source : nullptr; }

bool OfferMessage(const MSG& msg) {
    if ((msg.message != WM_LBUTTONDOWN && msg.message != WM_LBUTTONDBLCLK) || g_drag) return false;
    // The press's own point, also for a press that was posted rather than made by the mouse.
    POINT at{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
    ClientToScreen(msg.hwnd, &at);
    Target t = TargetOfWindow(msg.hwnd, at);
    if (!t.site || !t.form->UserMode() || t.site->DragMode() != 1) return false;
    Begin(*t.site, at);
    return true;
}

void SiteGone(const ControlSite& site) {
    if (!g_drag) return;
    if (g_drag->source == &site) {
        // Nothing is told: the control the events would name is going away.
        g_drag->target = {};
        Finish(false, g_drag->mouse);
        return;
    }
    // The next move finds what is under the mouse now and tells it of the drag.
    if (g_drag->target.site == &site) g_drag->target = {};
}

void FormGone(const Form& form) {
    if (g_drag && g_drag->target.form == &form) g_drag->target = {};
}

}  // namespace host::classicdrag
