#include "Input.h"

#include "host/Application.h"
#include "host/Handles.h"

#include <gtest/gtest.h>

#include <vector>

namespace wbtest {
namespace {

// Counts the input messages the thread's loops (the host's, a menu's, a message box's) have
// taken off the queue, so a gesture is known to be processed without sleeping.
struct Retrieved {
    long keyUps = 0;
    long buttonUps = 0;
};
Retrieved g_retrieved;
long g_burstKeyUps = 0;  // the count of key-ups retrieved once the last burst is read

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && wParam == PM_REMOVE) {
        const MSG& m = *reinterpret_cast<const MSG*>(lParam);
        if (m.message == WM_KEYUP || m.message == WM_SYSKEYUP) ++g_retrieved.keyUps;
        if (m.message == WM_LBUTTONUP || m.message == WM_RBUTTONUP) ++g_retrieved.buttonUps;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void EnsureHook() {
    static host::UniqueHook hook(SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId()));
}

INPUT KeyInput(WORD vk, WORD scan, DWORD flags) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = scan;
    in.ki.dwFlags = flags;
    return in;
}

void SendAndWait(std::vector<INPUT>& inputs, long keyUps) {
    EnsureHook();
    long target = g_retrieved.keyUps + keyUps;
    ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
    ASSERT_TRUE(PumpUntil([&] { return g_retrieved.keyUps >= target; })) << "keystrokes were not processed";
}

void PostButton(HWND hwnd, POINT pt, UINT down, UINT up, WPARAM downKeys) {
    EnsureHook();
    long target = g_retrieved.buttonUps + 1;
    LPARAM at = MAKELPARAM(pt.x, pt.y);
    PostMessageW(hwnd, down, downKeys, at);
    PostMessageW(hwnd, up, 0, at);
    ASSERT_TRUE(PumpUntil([&] { return g_retrieved.buttonUps >= target; })) << "click was not processed";
}

POINT Middle(HWND hwnd) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    return {rc.right / 2, rc.bottom / 2};
}

}  // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    return host::App().PumpUntil(done, timeoutMs);
}

void Press(WORD vk, int shift) {
    std::vector<WORD> mods;
    if (shift & kShift) mods.push_back(VK_SHIFT);
    if (shift & kCtrl) mods.push_back(VK_CONTROL);
    if (shift & kAlt) mods.push_back(VK_MENU);
    std::vector<INPUT> inputs;
    for (WORD m : mods) inputs.push_back(KeyInput(m, 0, 0));
    inputs.push_back(KeyInput(vk, 0, 0));
    inputs.push_back(KeyInput(vk, 0, KEYEVENTF_KEYUP));
    for (auto it = mods.rbegin(); it != mods.rend(); ++it) inputs.push_back(KeyInput(*it, 0, KEYEVENTF_KEYUP));
    SendAndWait(inputs, static_cast<long>(mods.size()) + 1);
}

void PressKeys(const std::vector<WORD>& vks) {
    std::vector<INPUT> inputs;
    for (WORD vk : vks) {
        inputs.push_back(KeyInput(vk, 0, 0));
        inputs.push_back(KeyInput(vk, 0, KEYEVENTF_KEYUP));
    }
    SendAndWait(inputs, static_cast<long>(vks.size()));
}

void Type(std::wstring_view text) {
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        inputs.push_back(KeyInput(0, c, KEYEVENTF_UNICODE));
        inputs.push_back(KeyInput(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
    }
    SendAndWait(inputs, static_cast<long>(text.size()));
}

void SendKeys(std::wstring_view keys) {
    EnsureHook();
    g_burstKeyUps = g_retrieved.keyUps + static_cast<long>(keys.size());
    std::vector<INPUT> inputs;
    for (wchar_t c : keys) {
        if (c == L'\b') {
            inputs.push_back(KeyInput(VK_BACK, 0, 0));
            inputs.push_back(KeyInput(VK_BACK, 0, KEYEVENTF_KEYUP));
        } else {
            inputs.push_back(KeyInput(0, c, KEYEVENTF_UNICODE));
            inputs.push_back(KeyInput(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
        }
    }
    ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
}

bool KeysRead() { return g_retrieved.keyUps >= g_burstKeyUps; }

void Paste(const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(mem), text.c_str(), bytes);
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);  // the clipboard owns the memory from here
    CloseClipboard();
    Press('V', kCtrl);
}

void Click(HWND hwnd) { ClickAt(hwnd, Middle(hwnd)); }

void ClickAt(HWND hwnd, POINT client) { PostButton(hwnd, client, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON); }

void RightClick(HWND hwnd) { PostButton(hwnd, Middle(hwnd), WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON); }

void PostLeftPress(HWND hwnd) {
    POINT pt = Middle(hwnd);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
}

}  // namespace wbtest
