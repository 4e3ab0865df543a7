#include "HostTestSupport.h"

#include "controls/foundation/ComCtlsBase.h"

namespace hosttest {

bool PumpUntil(const std::function<bool()>& done, DWORD ms) { return host::App().PumpUntil(done, ms); }

void Drain() {
    for (int i = 0; i < 200 && host::App().PumpOne(false); ++i) {
    }
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
}  // namespace

void PressKey(WORD vk, bool shift, bool ctrl, bool alt) {
    std::vector<INPUT> seq;
    if (shift) seq.push_back(Key(VK_SHIFT, false));
    if (ctrl) seq.push_back(Key(VK_CONTROL, false));
    if (alt) seq.push_back(Key(VK_MENU, false));
    seq.push_back(Key(vk, false));
    seq.push_back(Key(vk, true));
    if (alt) seq.push_back(Key(VK_MENU, true));
    if (ctrl) seq.push_back(Key(VK_CONTROL, true));
    if (shift) seq.push_back(Key(VK_SHIFT, true));
    SendInput(static_cast<UINT>(seq.size()), seq.data(), sizeof(INPUT));
    // The key is processed once its key-up has left the queue and the modifiers read up again.
    PumpUntil([&] { return GetKeyState(vk) >= 0 && !GetQueueStatus(QS_KEY); }, 2000);
    Drain();
}

bool Activate(host::Form& form) {
    SetForegroundWindow(form.hWnd());
    SetActiveWindow(form.hWnd());
    return PumpUntil([&] { return GetForegroundWindow() == form.hWnd(); }, 3000);
}

std::wstring WindowText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(hwnd, s.data(), n + 1)));
    return s;
}

// --- TestEdit ---------------------------------------------------------------------------------

void TestEdit::ReadProperties(const host::PropertyBag& bag) {
    CreateEdit(foundation::PersistVariantToString(bag.Read(L"Text")));
}

void TestEdit::WriteProperties(host::PropertyBag& bag) { bag.Write(L"Text", foundation::PersistStringToVariant(Text())); }

void TestEdit::CreateEdit(const std::wstring& text) {
    HWND host = Site().HostWin()->hWnd();
    RECT rc;
    GetClientRect(host, &rc);
    edit_ = CreateWindowExW(0, L"Edit", text.c_str(), WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, rc.right, rc.bottom,
                            host, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(Site().HostWin()->FontHandle()), FALSE);
    foundation::InstallSubclass(edit_, this, 1);
    foundation::InstallSubclass(host, this, 2);
}

void TestEdit::Resize() {
    if (!edit_) return;
    RECT rc;
    GetClientRect(Site().HostWin()->hWnd(), &rc);
    MoveWindow(edit_, 0, 0, rc.right, rc.bottom, TRUE);
}

void TestEdit::Terminate() {
    foundation::RemoveSubclass(edit_);
    foundation::RemoveSubclass(Site().HostWin()->hWnd());
    DestroyWindow(edit_);
    edit_ = nullptr;
}

std::wstring TestEdit::Text() const { return edit_ ? WindowText(edit_) : std::wstring(); }

void TestEdit::Text(const std::wstring& text) {
    SetWindowTextW(edit_, text.c_str());
    Site().PropertyChanged(L"Text");
}

void TestEdit::IOleInPlaceActiveObjectVB_TranslateAccelerator(bool& handled, long& retVal, UINT wMsg, WPARAM wParam,
                                                              LPARAM lParam, int shift) {
    if (wMsg != WM_KEYDOWN && wMsg != WM_KEYUP) return;
    WPARAM key = wParam & 0xFF;
    if (key >= VK_LEFT && key <= VK_DOWN) {
        SendMessageW(edit_, wMsg, wParam, lParam);
        handled = true;
        retVal = S_OK;
    } else if (key == VK_TAB && keepsTab) {
        handled = true;
        retVal = S_FALSE;
    }
}

void TestEdit::IOleControlVB_GetControlInfo(bool& handled, long&, HACCEL&, long& flags) {
    if (eatsReturn) {
        flags = 1;  // CTRLINFO_EATS_RETURN
        handled = true;
    }
}

LRESULT TestEdit::ISubclass_Message(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam, LONG_PTR dwRefData) {
    seenMessages.push_back(wMsg);
    if (dwRefData == 1 && wMsg == WM_KEYDOWN) {
        int keyCode = static_cast<int>(wParam);
        Site().RaiseEvent(host::dispid::KeyDown, KeyDown, keyCode, foundation::ShiftStateFromKeyboard());
        if (keyCode == 0) return 0;  // the handler swallowed the key
        wParam = static_cast<WPARAM>(keyCode);
    }
    return foundation::CallDefaultProc(hwnd, wMsg, wParam, lParam);
}

// --- TestPatch --------------------------------------------------------------------------------

void TestPatch::ReadProperties(const host::PropertyBag& bag) {
    Site().Windowless()->ForeColor(static_cast<unsigned long>(bag.Read(L"ForeColor", 0x000000FFUL).AsLong()));
    Site().Windowless()->BackStyle(static_cast<int>(bag.Read(L"BackStyle", 0L).AsLong()));
    timer = Site().CreateTimer(10, [this] {
        if (++timerTicks >= 3) timer.Enabled(false);
    });
}

void TestPatch::Paint(HDC dc) {
    ++paints;
    host::WindowlessSurface& s = *Site().Windowless();
    RECT r{0, 0, s.WidthPixels(), s.HeightPixels()};
    host::UniqueBrush brush(CreateSolidBrush(s.ForeRgb()));
    FillRect(dc, &r, brush.Get());
}

host::HitResult TestPatch::HitTest(POINT, host::HitResult hostAnswer) {
    // Transparent, yet clickable all over, as a label is.
    return hostAnswer == host::HitResult::Outside ? host::HitResult::Hit : hostAnswer;
}

void RegisterTestControls() {
    host::RegisterControlKind(L"TestEdit", [] { return std::make_unique<TestEdit>(); });
    host::RegisterControlKind(L"TestPatch", [] { return std::make_unique<TestPatch>(); });
}

}  // namespace hosttest
