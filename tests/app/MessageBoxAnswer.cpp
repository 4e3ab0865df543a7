#include "MessageBoxAnswer.h"

#include <algorithm>

namespace wbtest {
namespace {

MessageBoxAnswer* g_active = nullptr;  // the timer procedure has no context argument

std::wstring TextOf(HWND hwnd) {
    std::wstring s(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(hwnd, s.data(), static_cast<int>(s.size()))));
    return s;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

BOOL CALLBACK FindBox(HWND hwnd, LPARAM out) {
    if (IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770") {
        *reinterpret_cast<HWND*>(out) = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK ReadChild(HWND child, LPARAM out) {
    ShownBox& box = *reinterpret_cast<ShownBox*>(out);
    std::wstring cls = ClassOf(child);
    if (_wcsicmp(cls.c_str(), L"Button") == 0) {
        box.buttons.push_back(GetDlgCtrlID(child));
    } else if (_wcsicmp(cls.c_str(), L"Static") == 0) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            box.icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        else if (GetWindowTextLengthW(child) > 0)
            box.text = TextOf(child);
    }
    return TRUE;
}

}  // namespace

MessageBoxAnswer::MessageBoxAnswer(std::initializer_list<int> answers) : answers_(answers) {
    g_active = this;
    timer_ = SetTimer(nullptr, 0, 10, &MessageBoxAnswer::Tick);
}

MessageBoxAnswer::~MessageBoxAnswer() {
    KillTimer(nullptr, timer_);
    g_active = nullptr;
}

void CALLBACK MessageBoxAnswer::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_active) g_active->AnswerOpenBox();
}

void MessageBoxAnswer::AnswerOpenBox() {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box || answers_.empty() || std::find(answered_.begin(), answered_.end(), box) != answered_.end()) return;
    ShownBox seen;
    seen.title = TextOf(box);
    EnumChildWindows(box, ReadChild, reinterpret_cast<LPARAM>(&seen));
    shown_.push_back(seen);
    answered_.push_back(box);
    HWND button = GetDlgItem(box, answers_.front());
    answers_.pop_front();
    // A box without the wanted button still has to go, or the test would hang; the test sees
    // the box's real buttons in Shown().
    if (!button && !seen.buttons.empty()) button = GetDlgItem(box, seen.buttons.front());
    if (!button) return;
    RECT rc;
    GetClientRect(button, &rc);
    LPARAM at = MAKELPARAM(rc.right / 2, rc.bottom / 2);
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(button, WM_LBUTTONUP, 0, at);
}

}  // namespace wbtest
