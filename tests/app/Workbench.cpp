#include "Workbench.h"

#include "Input.h"
#include "app/Startup.h"
#include "controls/frame/FrameW.h"
#include "controls/label/LabelW.h"
#include "controls/listbox/ListBoxW.h"
#include "controls/textbox/TextBoxW.h"
#include "host/Intrinsics.h"
#include "host/Scale.h"

#include <gtest/gtest.h>

namespace wbtest {

Workbench::Workbench() {
    workbench::RegisterWorkbenchControls();
    SetCursorPos(0, 0);  // away from where popup menus open
    form_ = std::make_unique<workbench::FrmMain>();
    form_->Show();
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(Window()) && GetForegroundWindow() == Window(); }))
        << "the window did not come up in front";
}

Workbench::~Workbench() {
    form_.reset();
    PumpUntil([] { return true; }, 0);
}

HWND Workbench::Handle(const wchar_t* name, int index) const {
    host::ControlSite& site = form_->Site(name, index);
    host::Control& c = site.GetControl();
    if (auto* t = dynamic_cast<controls::TextBoxW*>(&c)) return t->hWnd();
    if (auto* l = dynamic_cast<controls::ListBoxW*>(&c)) return l->hWnd();
    if (auto* f = dynamic_cast<controls::FrameW*>(&c)) return f->hWnd();
    if (auto* w = dynamic_cast<host::IntrinsicWindowControl*>(&c)) return w->hWnd();
    return site.PlacedWindow();
}

controls::TextBoxW& Workbench::TextBox(const wchar_t* name) const { return form_->Ctl<controls::TextBoxW>(name); }

std::wstring Workbench::Text(const wchar_t* name, int index) const {
    HWND h = Handle(name, index);
    std::wstring s(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(h, s.data(), static_cast<int>(s.size()))));
    return s;
}

std::vector<std::wstring> Workbench::Entries(const wchar_t* list) const {
    HWND h = Handle(list);
    std::vector<std::wstring> out;
    long n = static_cast<long>(SendMessageW(h, LB_GETCOUNT, 0, 0));
    for (long i = 0; i < n; ++i) {
        std::wstring s(static_cast<size_t>(SendMessageW(h, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        s.resize(static_cast<size_t>(SendMessageW(h, LB_GETTEXT, i, reinterpret_cast<LPARAM>(s.data()))));
        out.push_back(s);
    }
    return out;
}

long Workbench::CurrentEntry(const wchar_t* list) const {
    return static_cast<long>(SendMessageW(Handle(list), LB_GETCURSEL, 0, 0));
}

Selection Workbench::SourceSelection() const {
    DWORD start = 0, end = 0;
    SendMessageW(Handle(L"txtSource"), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<long>(start), static_cast<long>(end - start)};
}

bool Workbench::IsShown(const wchar_t* name) const {
    host::ControlSite& site = form_->Site(name);
    if (HWND h = site.PlacedWindow()) return IsWindowVisible(h) != FALSE;
    return site.EffectivelyVisible();  // windowless: the line is drawn when its site is visible
}

bool Workbench::HasFocus(const wchar_t* name) const { return GetFocus() == Handle(name); }

int Workbench::CheckState(const wchar_t* name) const {
    return static_cast<int>(SendMessageW(Handle(name), BM_GETCHECK, 0, 0));
}

RECT Workbench::ScreenRect(const wchar_t* name) const {
    RECT rc;
    GetWindowRect(form_->Site(name).PlacedWindow(), &rc);
    return rc;
}

void Workbench::TypeInto(const wchar_t* box, std::wstring_view text) {
    Click(Handle(box));
    Type(text);
}

void Workbench::PasteSource(const std::wstring& text) {
    Click(Handle(L"txtSource"));
    Paste(text);
}

void Workbench::SetPattern(std::wstring_view pattern) {
    Click(Handle(L"txtMatch"));
    // select what is there, so the typing replaces it
    Press(VK_HOME);
    Press(VK_END, kShift);
    Type(pattern);
}

void Workbench::RunByReturn() {
    Click(Handle(L"txtMatch"));
    Press(VK_RETURN);
}

void Workbench::ClickEntry(long index) {
    RECT rc{};
    SendMessageW(Handle(L"lstResults"), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
    ClickAt(Handle(L"lstResults"), {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
}

bool Workbench::WaitForRealTimeRun(DWORD timeoutMs) {
    return PumpUntil([&] { return !form_->RealTimeRunPending(); }, timeoutMs);
}

double TwipsPerPixelX() { return host::ScaleConverter::Screen().TwipsPerPixelX(); }

}  // namespace wbtest
