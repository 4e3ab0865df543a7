// Driving a common dialog from outside, as a person would: while the test's thread sits in the
// dialog's modal loop, a second thread finds the dialog window of that thread, fills its edits,
// ticks its boxes and presses its buttons. Every wait is bounded.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace dlgtest {

// A dialog window (class "#32770") of `thread` that is visible and not in `except`; waits up to `ms`.
HWND WaitForDialog(DWORD thread, DWORD ms = 10000, const std::vector<HWND>& except = {});
// Waits until the window is gone (or `ms` passed); true when it is.
bool WaitGone(HWND hwnd, DWORD ms = 10000);
// Waits until `done` holds, checking every few milliseconds.
bool WaitFor(const std::function<bool()>& done, DWORD ms = 5000);

// The first descendant of `dialog` with that control ID (the Explorer file dialog nests some).
HWND Item(HWND dialog, int id);
// The first descendant with that control ID and window class.
HWND ItemOfClass(HWND dialog, int id, const wchar_t* className);
// The first descendant of that window class.
HWND ChildOfClass(HWND parent, const wchar_t* className);
std::wstring TextOf(HWND hwnd);
void SetText(HWND hwnd, const std::wstring& text);
// Presses a button (BM_CLICK posted to it, as a click would arrive); by ID, the button of that ID.
void Press(HWND button);
void Press(HWND dialog, int id);
// A check box or radio button of the dialog, clicked until it shows `checked`.
void Check(HWND dialog, int id, bool checked = true);

// Runs `script` on a second thread with the id of the thread that created the driver (the one
// that will show the dialog); the destructor waits for the script to end.
class DialogDriver {
public:
    explicit DialogDriver(std::function<void(DWORD testThread)> script);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

private:
    std::thread thread_;
};

// A visible top-level window made active, so the dialogs have an owner.
class ActiveOwner {
public:
    ActiveOwner();
    ~ActiveOwner();
    HWND Get() const { return hwnd_; }

private:
    HWND hwnd_;
};

// A fresh folder under the temporary folder with the given empty files; removed at scope end.
class TempFolder {
public:
    explicit TempFolder(const std::vector<std::wstring>& files = {});
    ~TempFolder();
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
    std::vector<std::wstring> files_;
};

// Pumps the test thread's messages until `done` holds or `ms` passed.
bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000);

}  // namespace dlgtest
