#include "host/Form.h"

#include "host/Application.h"
#include "host/ClassicDrag.h"
#include "host/ControlRegistry.h"
#include "host/DragDrop.h"
#include "host/HostWindow.h"
#include "host/Intrinsics.h"
#include "host/WindowBinding.h"

#include <algorithm>
#include <cmath>
#include <commctrl.h>
#include <cwchar>

namespace host {

namespace {

bool SameName(const std::wstring& a, std::wstring_view b) {
    return a.size() == b.size() && _wcsnicmp(a.c_str(), b.data(), b.size()) == 0;
}

void RegisterFormClass(HINSTANCE instance, WNDPROC proc) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // The program's own icon when it has one (resource 1), else the system's.
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.lpszClassName = Form::ClassName;
    RegisterClassExW(&wc);
    registered = true;
}

DWORD StyleOfBorder(long borderStyle, bool maxButton, bool minButton, bool controlBox) {
    DWORD style = WS_CLIPCHILDREN;
    switch (borderStyle) {
    case 0: style |= WS_POPUP; break;
    case 1: style |= WS_OVERLAPPED | WS_CAPTION; break;
    case 3: style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME; break;
    default: style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME; break;
    }
    if (borderStyle != 0 && controlBox) {
        style |= WS_SYSMENU;
        if (maxButton) style |= WS_MAXIMIZEBOX;
        if (minButton) style |= WS_MINIMIZEBOX;
    }
    return style;
}

// On i686 a lambda does not convert to a stdcall callback.
BOOL CALLBACK CollectWindow(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

}  // namespace

Form::Form(FormDesign design) : design_(std::move(design)) {}

Form::~Form() {
    if (IsLoaded()) {
        eventsFrozen_ = true;
        DestroyAll();
    }
}

// --- life cycle ------------------------------------------------------------------------------

void Form::Load() {
    if (IsLoaded()) return;
    Form_Initialize();
    const PropertyBag& bag = design_.properties;
    Value font = bag.Read(L"Font");
    Surface::Font(font.GetKind() == Value::Kind::Font ? font.AsFont() : FontDesc{});
    Surface::BackColor(static_cast<unsigned long>(bag.Read(L"BackColor", 0x8000000FUL).AsLong()));
    Surface::ForeColor(static_cast<unsigned long>(bag.Read(L"ForeColor", 0x80000012UL).AsLong()));
    RightToLeft(bag.Read(L"RightToLeft", false).AsBool());
    scaleMode_ = bag.Read(L"ScaleMode", 1L).AsLong() == 3 ? ScaleUnit::Pixels : ScaleUnit::Twips;
    eventsFrozen_ = true;
    CreateWindowFromDesign();
    App().AddForm(*this);
    try {
        CreateSites(design_.controls, nullptr);
    } catch (...) {
        DestroyAll();
        App().RemoveForm(*this);
        throw;
    }
    int next = 0;
    for (const auto& s : sites_) next = std::max(next, s->TabIndex() + 1);
    for (const auto& s : sites_)
        if (s->TabIndex() < 0) s->AssignTabIndex(next++);
    eventsFrozen_ = false;
    dirty_ = false;
    Form_Load();
}

void Form::CreateWindowFromDesign() {
    HINSTANCE instance = App().hInstance();
    RegisterFormClass(instance, &Form::WindowProc);
    const PropertyBag& bag = design_.properties;
    DWORD style = StyleOfBorder(bag.Read(L"BorderStyle", 2L).AsLong(), bag.Read(L"MaxButton", true).AsBool(),
                                bag.Read(L"MinButton", true).AsBool(), bag.Read(L"ControlBox", true).AsBool());
    DWORD exStyle = RightToLeft() ? WS_EX_LAYOUTRTL : 0;
    ScaleConverter sc = ScaleConverter::Screen();
    RECT r{0, 0, sc.TwipsToPixelsX(bag.Read(L"ClientWidth", 4800L).AsDouble()),
           sc.TwipsToPixelsY(bag.Read(L"ClientHeight", 3600L).AsDouble())};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
    if (bag.Read(L"StartUpPosition", 3L).AsLong() == 0) {
        x = sc.TwipsToPixelsX(bag.Read(L"Left", 0L).AsDouble());
        y = sc.TwipsToPixelsY(bag.Read(L"Top", 0L).AsDouble());
    }
    std::wstring caption = bag.Read(L"Caption", design_.name).AsString();
    HWND parent = nullptr;
    if (parentWindow_) {
        // A page: no frame of its own, Tab descends into it, and it covers its parent.
        parent = parentWindow_;
        style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
        exStyle |= WS_EX_CONTROLPARENT;
        GetClientRect(parent, &r);
        x = y = 0;
    }
    CreateWindowExW(exStyle, ClassName, caption.c_str(), style, x, y, r.right - r.left, r.bottom - r.top, parent,
                    nullptr, instance, this);
    if (!hwnd_) Raise(err::OutOfMemory);
}

void Form::CreateSites(const std::vector<ControlDesign>& designs, ControlSite* container) {
    for (const ControlDesign& d : designs) {
        if (SameName(d.kind, L"Menu")) {
            if (container) Raise(err::InvalidPropertyValue, L"A menu cannot be inside " + container->Name());
            menus_.push_back(std::make_unique<MenuItem>(d));
            continue;
        }
        auto site = std::make_unique<ControlSite>(*this, container, CreateControl(d.kind), d.name, d.index);
        ControlSite* raw = site.get();
        sites_.push_back(std::move(site));
        (container ? container->Children() : topLevel_).push_back(raw);
        raw->Create(d.properties, true);
        if (!d.children.empty()) {
            if (!raw->GetControl().IsContainer())
                Raise(err::InvalidPropertyValue, d.name + L" cannot contain other controls");
            CreateSites(d.children, raw);
        }
    }
}

ControlSite& Form::AddControl(const std::wstring& kind, const std::wstring& name, const PropertyBag& placement,
                              ControlSite* container) {
    if (!IsLoaded()) Raise(err::InvalidProcedureCall, L"The form is not loaded");
    if (FindSite(name)) Raise(err::InvalidProcedureCall, L"There is already a control named " + name);
    if (container && !container->GetControl().IsContainer())
        Raise(err::InvalidProcedureCall, container->Name() + L" cannot contain other controls");
    auto owned = std::make_unique<ControlSite>(*this, container, CreateControl(kind), name, -1);
    ControlSite* site = owned.get();
    std::vector<ControlSite*>& siblings = container ? container->Children() : topLevel_;
    sites_.push_back(std::move(owned));
    siblings.push_back(site);
    try {
        site->Create(placement, false);
    } catch (...) {
        siblings.pop_back();
        sites_.pop_back();
        throw;
    }
    if (site->TabIndex() < 0) {
        int next = 0;
        for (const auto& s : sites_) next = std::max(next, s->TabIndex() + 1);
        site->AssignTabIndex(next);
    }
    return *site;
}

ControlSite& Form::AddControl(const std::wstring& kind, const std::wstring& name, ControlSite* container, double left,
                              double top, std::optional<double> width, std::optional<double> height) {
    PropertyBag placement;
    placement.Write(L"Left", left);
    placement.Write(L"Top", top);
    if (width) placement.Write(L"Width", *width);
    if (height) placement.Write(L"Height", *height);
    return AddControl(kind, name, placement, container);
}

void Form::Show() {
    Load();
    if (!shownOnce_) {
        shownOnce_ = true;
        if (design_.properties.Read(L"StartUpPosition", 3L).AsLong() == 2) {
            RECT work, wr;
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
            GetWindowRect(hwnd_.Get(), &wr);
            int w = wr.right - wr.left, h = wr.bottom - wr.top;
            SetWindowPos(hwnd_.Get(), nullptr, work.left + (work.right - work.left - w) / 2,
                         work.top + (work.bottom - work.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    ShowWindow(hwnd_.Get(), SW_SHOW);
    SetForegroundWindow(hwnd_.Get());
    UpdateWindow(hwnd_.Get());
    if (!ActiveControl()) RestoreFocus();
}

void Form::Hide() {
    if (hwnd_) ShowWindow(hwnd_.Get(), SW_HIDE);
}

bool Form::Unload() {
    if (!IsLoaded() || unloading_) return true;
    int cancel = 0;
    Form_Unload(cancel);
    if (cancel) return false;
    unloading_ = true;
    eventsFrozen_ = true;
    DestroyAll();
    unloading_ = false;
    shownOnce_ = false;
    return true;
}

void Form::DestroyAll() {
    // Children before their containers: the reverse of creation.
    for (auto it = sites_.rbegin(); it != sites_.rend(); ++it) (*it)->Destroy();
    // Freed in the same order: a control may hold a timer on its container's window.
    topLevel_.clear();
    while (!sites_.empty()) sites_.pop_back();
    topLevel_.clear();
    menus_.clear();
    lastFocus_ = nullptr;
    validated_ = nullptr;
    tooltip_.Reset();
    if (hwnd_) dragdrop::Forget(hwnd_.Get());
    classicdrag::FormGone(*this);
    hwnd_.Reset();
    App().RemoveForm(*this);
}

// --- properties ------------------------------------------------------------------------------

std::wstring Form::Caption() const {
    if (!hwnd_) return design_.properties.Read(L"Caption").AsString();
    int n = GetWindowTextLengthW(hwnd_.Get());
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(hwnd_.Get(), s.data(), n + 1)));
    return s;
}

void Form::Caption(const std::wstring& caption) {
    if (hwnd_) SetWindowTextW(hwnd_.Get(), caption.c_str());
}

namespace {
RECT WindowRectOf(HWND hwnd) {
    RECT r{};
    if (hwnd) GetWindowRect(hwnd, &r);
    return r;
}
}  // namespace

double Form::Left() const { return Scale().PixelsToTwipsX(WindowRectOf(hwnd_.Get()).left); }
double Form::Top() const { return Scale().PixelsToTwipsY(WindowRectOf(hwnd_.Get()).top); }
double Form::Width() const {
    RECT r = WindowRectOf(hwnd_.Get());
    return Scale().PixelsToTwipsX(r.right - r.left);
}
double Form::Height() const {
    RECT r = WindowRectOf(hwnd_.Get());
    return Scale().PixelsToTwipsY(r.bottom - r.top);
}
void Form::Left(double twips) { Move(twips, Top(), Width(), Height()); }
void Form::Top(double twips) { Move(Left(), twips, Width(), Height()); }
void Form::Width(double twips) { Move(Left(), Top(), twips, Height()); }
void Form::Height(double twips) { Move(Left(), Top(), Width(), twips); }

void Form::Move(double left, std::optional<double> top, std::optional<double> width, std::optional<double> height) {
    if (!hwnd_) return;
    double w = width.value_or(Width()), h = height.value_or(Height());
    if (w < 0 || h < 0) Raise(err::InvalidPropertyValue);
    ScaleConverter sc = Scale();
    SetWindowPos(hwnd_.Get(), nullptr, sc.TwipsToPixelsX(left), sc.TwipsToPixelsY(top.value_or(Top())), sc.TwipsToPixelsX(w),
                 sc.TwipsToPixelsY(h), SWP_NOZORDER | SWP_NOACTIVATE);
}

double Form::ScaleWidth() const {
    RECT r{};
    if (hwnd_) GetClientRect(hwnd_.Get(), &r);
    return Scale().ScaleX(r.right, ScaleUnit::Pixels, ScaleUnit::Container);
}

double Form::ScaleHeight() const {
    RECT r{};
    if (hwnd_) GetClientRect(hwnd_.Get(), &r);
    return Scale().ScaleY(r.bottom, ScaleUnit::Pixels, ScaleUnit::Container);
}

void Form::Refresh() {
    if (hwnd_) RedrawWindow(hwnd_.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// --- controls --------------------------------------------------------------------------------

ControlSite* Form::FindSite(std::wstring_view name, int index) const {
    for (const auto& s : sites_)
        if (SameName(s->Name(), name) && (index < 0 || s->Index() == index)) return s.get();
    return nullptr;
}

ControlSite& Form::Site(std::wstring_view name, int index) const {
    ControlSite* s = FindSite(name, index);
    if (!s) Raise(err::InvalidProcedureCall, L"No control " + std::wstring(name) + (index >= 0 ? L"(" + std::to_wstring(index) + L")" : L""));
    return *s;
}

std::vector<ControlSite*> Form::ArraySites(std::wstring_view name) const {
    std::vector<ControlSite*> out;
    for (const auto& s : sites_)
        if (SameName(s->Name(), name)) out.push_back(s.get());
    std::stable_sort(out.begin(), out.end(), [](auto* a, auto* b) { return a->Index() < b->Index(); });
    return out;
}

std::vector<ControlSite*> Form::ControlsOfType(std::wstring_view typeName) const {
    std::vector<ControlSite*> out;
    for (const auto& s : sites_)
        if (SameName(s->GetControl().TypeName(), typeName)) out.push_back(s.get());
    return out;
}

ControlSite* Form::SiteOfWindow(HWND hwnd) const {
    if (!hwnd) return nullptr;
    // Stored order puts containers before their children: the last match is the innermost.
    ControlSite* found = nullptr;
    for (const auto& s : sites_)
        if (s->ContainsWindow(hwnd)) found = s.get();
    return found;
}

ControlSite* Form::ActiveControl() const { return SiteOfWindow(GetFocus()); }

MenuItem& Form::Menu(std::wstring_view name, int index) const {
    for (const auto& m : menus_)
        if (MenuItem* found = m->Find(name, index)) return *found;
    Raise(err::InvalidProcedureCall, L"No menu " + std::wstring(name));
}

MenuItem* Form::PopupMenu(MenuItem& menu, std::optional<double> x, std::optional<double> y) {
    if (!hwnd_) Raise(err::InvalidProcedureCall);
    UINT nextId = 1;
    std::vector<MenuItem*> byId;
    UniqueMenu popup = menu.BuildPopup(nextId, byId);
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(hwnd_.Get(), &pt);
    ScaleConverter sc = Scale();
    if (x) pt.x = static_cast<LONG>(std::lround(sc.ScaleX(*x, ScaleUnit::Container, ScaleUnit::Pixels)));
    if (y) pt.y = static_cast<LONG>(std::lround(sc.ScaleY(*y, ScaleUnit::Container, ScaleUnit::Pixels)));
    ClientToScreen(hwnd_.Get(), &pt);
    UINT id = static_cast<UINT>(TrackPopupMenuEx(popup.Get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                                                 pt.x, pt.y, hwnd_.Get(), nullptr));
    if (id == 0 || id >= byId.size() || !byId[id]) return nullptr;
    MenuItem* item = byId[id];
    item->Click(item->Index());
    return item;
}

void Form::ApplyToolTip(ControlSite& site) {
    HWND placed = site.PlacedWindow();
    if (!placed || !hwnd_) return;
    if (!tooltip_) {
        tooltip_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_.Get(), nullptr,
                                       App().hInstance(), nullptr));
        if (!tooltip_) return;
        SendMessageW(tooltip_.Get(), TTM_SETMAXTIPWIDTH, 0, 600);
    }
    // The tip shows over the control's own window and over the child windows that cover it.
    std::vector<HWND> windows{placed};
    EnumChildWindows(placed, &CollectWindow, reinterpret_cast<LPARAM>(&windows));
    std::wstring text = site.ToolTipText();
    for (HWND w : windows) {
        TOOLINFOW ti{};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by comctl32 5 and 6
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = hwnd_.Get();
        ti.uId = reinterpret_cast<UINT_PTR>(w);
        ti.lpszText = text.data();
        SendMessageW(tooltip_.Get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        if (!text.empty()) SendMessageW(tooltip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

// --- notifications ---------------------------------------------------------------------------

void Form::OnAmbientPropertyChanged(const wchar_t* name) {
    // The form's own font and colours are what its controls see as ambient values.
    if (eventsFrozen_ || !IsLoaded()) return;
    for (const auto& s : sites_) s->NotifyAmbientChanged(name);
}

void Form::OnPropertyChanged(ControlSite& site, const std::wstring& name) {
    dirty_ = true;
    PropertyChangedNotified(site, name);
}

bool Form::RouteContainerMouse(ControlSite* container, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND window = container && container->HostWin() ? container->HostWin()->hWnd() : hwnd_.Get();
    return routing_.RouteMouse(window, container ? container->Children() : topLevel_, msg, wParam, lParam);
}

// --- window ----------------------------------------------------------------------------------

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return RouteToObject<Form>(hwnd, msg, wParam, lParam);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CLOSE: return OnClose();
    case WM_ERASEBKGND: return OnEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_PAINT: return OnPaint(reinterpret_cast<HDC>(wParam));
    case WM_PRINTCLIENT: return OnPrintClient(reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORBTN: case WM_CTLCOLORSTATIC: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORDLG: return OnControlColor(msg, wParam, lParam);
    case WM_COMMAND: case WM_NOTIFY: case WM_DRAWITEM: return OnChildNotification(msg, wParam, lParam);
    case WM_SIZE: return OnSize();
    case WM_TIMER: return OnTimer(msg, wParam, lParam);
    case WM_ACTIVATE: return OnActivate(LOWORD(wParam));
    case WM_SETCURSOR: return OnSetCursor(wParam, lParam);
    default: return OnOtherMessage(msg, wParam, lParam);
    }
}

LRESULT Form::Default(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcW(hwnd_.Get(), msg, wParam, lParam); }

LRESULT Form::OnPrintClient(HDC dc) {
    ContainerRouting::PaintWindowless(topLevel_, dc);
    return 0;
}

LRESULT Form::OnChildNotification(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT reflected = 0;
    if (ContainerRouting::Reflect(topLevel_, msg, wParam, lParam, reflected)) return reflected;
    return Default(msg, wParam, lParam);
}

LRESULT Form::OnTimer(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DispatchTimer(wParam) ? 0 : Default(msg, wParam, lParam);
}

// Over a windowless control the control chooses the cursor.
LRESULT Form::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    if (ContainerRouting::SetCursor(hwnd_.Get(), topLevel_, wParam, lParam)) return TRUE;
    return Default(WM_SETCURSOR, wParam, lParam);
}

LRESULT Form::OnOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    bool mouse = msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK;
    if (mouse && RouteContainerMouse(nullptr, msg, wParam, lParam)) return 0;
    return Default(msg, wParam, lParam);
}

LRESULT Form::OnClose() {
    // A page closes with the window it is part of (an edit in a dialog asks its parent to close
    // on Escape), never by itself.
    if (parentWindow_) PostMessageW(GetAncestor(hwnd_.Get(), GA_ROOT), WM_CLOSE, 0, 0);
    else Unload();
    return 0;
}

LRESULT Form::OnEraseBackground(HDC dc) {
    RECT rc;
    GetClientRect(hwnd_.Get(), &rc);
    PaintBackground(dc, rc);
    return 1;
}

LRESULT Form::OnPaint(HDC given) {
    // WM_PAINT with a DC of the sender's: a transparent control asks for the form under itself.
    if (given) {
        RECT rc;
        GetClientRect(hwnd_.Get(), &rc);
        PaintBackground(given, rc);
        ContainerRouting::PaintWindowless(topLevel_, given);
        return 0;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_.Get(), &ps);
    ContainerRouting::PaintWindowless(topLevel_, dc);
    EndPaint(hwnd_.Get(), &ps);
    return 0;
}

LRESULT Form::OnControlColor(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT reflected = 0;
    if (ContainerRouting::Reflect(topLevel_, msg, wParam, lParam, reflected)) return reflected;
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, ForeRgb());
    SetBkColor(dc, BackRgb());
    return reinterpret_cast<LRESULT>(BackBrush());
}

LRESULT Form::OnSize() {
    if (!eventsFrozen_) Form_Resize();
    return 0;
}

LRESULT Form::OnActivate(WORD state) {
    if (state == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (SiteOfWindow(focus)) lastFocus_ = focus;
        return 0;
    }
    if (!eventsFrozen_) Form_Activate();
    RestoreFocus();
    return 0;
}

void Form::RestoreFocus() {
    if (lastFocus_ && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_) && IsWindowEnabled(lastFocus_)) {
        SetFocus(lastFocus_);
        return;
    }
    std::vector<ControlSite*> order = TabOrder();
    if (!order.empty()) SetFocus(order.front()->GetControl().FocusWindow());
    else if (hwnd_) SetFocus(hwnd_.Get());
}

}  // namespace host
