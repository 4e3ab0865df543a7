// Answers the message boxes the code under test shows, the way a person would: finds the box
// among the thread's windows while it is up, reads its title, text, icon and buttons, and clicks
// the chosen button. Works from a thread timer, so it acts inside the box's own modal loop.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

namespace wbtest {

struct ShownBox {
    std::wstring title;
    std::wstring text;
    std::vector<int> buttons;  // control ids: IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7
    HICON icon = nullptr;      // the icon shown, compare with LoadIcon(nullptr, IDI_...)
};

class MessageBoxAnswer {
public:
    // Answers the next boxes, in order, with these buttons (one answer per box).
    explicit MessageBoxAnswer(std::initializer_list<int> answers);
    ~MessageBoxAnswer();
    MessageBoxAnswer(const MessageBoxAnswer&) = delete;
    MessageBoxAnswer& operator=(const MessageBoxAnswer&) = delete;

    const std::vector<ShownBox>& Shown() const { return shown_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void AnswerOpenBox();

    std::deque<int> answers_;
    std::vector<ShownBox> shown_;
    std::vector<HWND> answered_;
    UINT_PTR timer_ = 0;
};

}  // namespace wbtest
