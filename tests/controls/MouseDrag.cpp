#include "MouseDrag.h"

#include "ControlsTestSupport.h"

namespace ctltest {

namespace {

// One walk at a time: the timer procedure has no context of its own.
std::vector<std::function<void()>> g_steps;
size_t g_next = 0;

}  // namespace

INPUT MouseMoveInput(POINT screen) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

INPUT MouseButtonInput(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    return in;
}

void SendMouse(DWORD flags) {
    INPUT in = MouseButtonInput(flags);
    SendInput(1, &in, sizeof in);
}

void SendMouseMove(POINT screen) {
    INPUT in = MouseMoveInput(screen);
    SendInput(1, &in, sizeof in);
}

void SendKey(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

// With a small index in wParam the rich edit, like the edit window, returns the position packed
// (its other form fills in a POINTL, which no pointer could reach across processes).
POINT EditCharClient(HWND edit, long index) {
    DWORD_PTR pos = 0;
    SendMessageTimeoutW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, 3000, &pos);
    return POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
}

POINT EditCharScreen(HWND edit, long index, int dx, int dy) {
    POINT p = EditCharClient(edit, index);
    p.x += dx;
    p.y += dy;
    ClientToScreen(edit, &p);
    return p;
}

void PressAndMove(POINT from, POINT to, bool release, const std::function<bool()>& done) {
    // A press soon after the last one would be a double click, which starts no drag.
    static DWORD lastPress = GetTickCount() - GetDoubleClickTime() - 1;
    DWORD since = GetTickCount() - lastPress;
    if (since <= GetDoubleClickTime()) PumpUntil([] { return false; }, GetDoubleClickTime() - since + 50);
    lastPress = GetTickCount();
    SetCursorPos(from.x, from.y);
    std::vector<INPUT> seq{MouseMoveInput(from), MouseButtonInput(MOUSEEVENTF_LEFTDOWN)};
    if (to.x != from.x || to.y != from.y) seq.push_back(MouseMoveInput(to));
    if (release) seq.push_back(MouseButtonInput(MOUSEEVENTF_LEFTUP));
    SendInput(static_cast<UINT>(seq.size()), seq.data(), sizeof(INPUT));
    PumpUntil(done, 5000);
    PumpUntil([] { return GetKeyState(VK_LBUTTON) >= 0 && !GetQueueStatus(QS_MOUSE); }, 2000);
    Drain();
}

void DragSteps::Start(std::vector<std::function<void()>> steps) {
    Stop();
    g_steps = std::move(steps);
    g_next = 0;
    timer_ = SetTimer(nullptr, 0, 60, Tick);
}

void DragSteps::Stop() {
    if (timer_) KillTimer(nullptr, timer_);
    timer_ = 0;
}

bool DragSteps::Done() const { return g_next >= g_steps.size(); }

void CALLBACK DragSteps::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_next < g_steps.size()) {
        // a step may start a nested loop (a drop handler pumping): count it taken first
        size_t step = g_next++;
        g_steps[step]();
    }
}

}  // namespace ctltest
