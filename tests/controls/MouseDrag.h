// Real mouse drags for the control tests: input through the system's queue (SendInput), and
// steps walked by a thread timer, so that they run while the system's drag loop owns the thread
// (or while the test pumps, when the drag loop runs in another program).
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace ctltest {

INPUT MouseMoveInput(POINT screen);
INPUT MouseButtonInput(DWORD flags);
void SendMouse(DWORD flags);
void SendMouseMove(POINT screen);
void SendKey(WORD vk, bool up);

// Where character `index` of an edit window (plain or rich, of any process) starts, in its client
// pixels; and on the screen, (dx, dy) into the character.
POINT EditCharClient(HWND edit, long index);
POINT EditCharScreen(HWND edit, long index, int dx = 2, int dy = 4);

// A press at `from`, then the pointer at `to` with the button still down (or released there when
// `release`), all queued at once, as a quick hand would; then pumped until `done` and until the
// button is seen up. A press within the double-click time of the last one waits that time out.
void PressAndMove(POINT from, POINT to, bool release, const std::function<bool()>& done);

// Runs one step a tick (60 ms) from Start until every step ran or Stop.
class DragSteps {
public:
    DragSteps() = default;
    DragSteps(const DragSteps&) = delete;
    DragSteps& operator=(const DragSteps&) = delete;
    ~DragSteps() { Stop(); }

    void Start(std::vector<std::function<void()>> steps);
    void Stop();
    bool Done() const;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR timer_ = 0;
};

}  // namespace ctltest
