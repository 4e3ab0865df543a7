#include "DialogDriver.h"

#include "host/Application.h"

namespace dlgtest {

namespace {

struct DialogSearch {
    const std::vector<HWND>* except;
    HWND found = nullptr;
};

BOOL CALLBACK TakeDialog(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<DialogSearch*>(param);
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (std::wstring(cls) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
    for (HWND e : *s->except)
        if (e == hwnd) return TRUE;
    s->found = hwnd;
    return FALSE;
}

struct ItemSearch {
    int id;
    const wchar_t* cls;
    bool both = false;
    HWND found = nullptr;
};

BOOL CALLBACK TakeItem(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<ItemSearch*>(param);
    if (s->cls) {
        wchar_t cls[64] = {};
        GetClassNameW(hwnd, cls, 64);
        if (lstrcmpiW(cls, s->cls) != 0) return TRUE;
    }
    if ((!s->cls || s->both) && GetDlgCtrlID(hwnd) != s->id) return TRUE;
    s->found = hwnd;
    return FALSE;
}

}  // namespace

bool WaitFor(const std::function<bool()>& done, DWORD ms) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(10);
    }
    return true;
}

HWND WaitForDialog(DWORD thread, DWORD ms, const std::vector<HWND>& except) {
    DialogSearch s{&except};
    WaitFor(
        [&] {
            s.found = nullptr;
            EnumThreadWindows(thread, &TakeDialog, reinterpret_cast<LPARAM>(&s));
            return s.found != nullptr;
        },
        ms);
    if (s.found) Sleep(100);  // let the dialog finish its WM_INITDIALOG work (list fills, selections)
    return s.found;
}

bool WaitGone(HWND hwnd, DWORD ms) {
    return WaitFor([&] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }, ms);
}

HWND Item(HWND dialog, int id) {
    ItemSearch s{id, nullptr};
    EnumChildWindows(dialog, &TakeItem, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND ItemOfClass(HWND dialog, int id, const wchar_t* className) {
    ItemSearch s{id, className, true};
    EnumChildWindows(dialog, &TakeItem, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND ChildOfClass(HWND parent, const wchar_t* className) {
    ItemSearch s{0, className};
    EnumChildWindows(parent, &TakeItem, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t buf[1024] = {};
    SendMessageW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf));
    return buf;
}

void SetText(HWND hwnd, const std::wstring& text) {
    SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Press(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }
void Press(HWND dialog, int id) { Press(ItemOfClass(dialog, id, L"Button")); }

void Check(HWND dialog, int id, bool checked) {
    HWND box = ItemOfClass(dialog, id, L"Button");
    for (int i = 0; i < 3 && (SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED) != checked; ++i) {
        SendMessageW(box, BM_CLICK, 0, 0);
        Sleep(20);
    }
}

DialogDriver::DialogDriver(std::function<void(DWORD)> script)
    : thread_([script = std::move(script), test = GetCurrentThreadId()] { script(test); }) {}

DialogDriver::~DialogDriver() {
    if (thread_.joinable()) thread_.join();
}

ActiveOwner::ActiveOwner()
    : hwnd_(CreateWindowExW(0, L"Static", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400, 300, nullptr, nullptr,
                            nullptr, nullptr)) {
    SetForegroundWindow(hwnd_);
    SetActiveWindow(hwnd_);
    PumpUntil([this] { return GetActiveWindow() == hwnd_; }, 2000);
}

ActiveOwner::~ActiveOwner() { DestroyWindow(hwnd_); }

TempFolder::TempFolder(const std::vector<std::wstring>& files) : files_(files) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    static int serial = 0;
    path_ = std::wstring(temp) + L"dlgtest" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++serial);
    CreateDirectoryW(path_.c_str(), nullptr);
    for (const std::wstring& f : files_) {
        HANDLE h = CreateFileW((path_ + L"\\" + f).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
}

TempFolder::~TempFolder() {
    for (const std::wstring& f : files_) DeleteFileW((path_ + L"\\" + f).c_str());
    RemoveDirectoryW(path_.c_str());
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms) { return host::App().PumpUntil(done, ms); }

}  // namespace dlgtest
