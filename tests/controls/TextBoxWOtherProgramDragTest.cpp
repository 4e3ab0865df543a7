// TextBoxW dragging text to and from another program: a second process (drag_partner, built
// beside this test) shows an edit window of its own, and the real mouse drags between the two
// through the system's drag loop, which runs in whichever process started the drag.
#include "ControlsTestSupport.h"
#include "MouseDrag.h"

#include "controls/textbox/TextBoxW.h"
#include "host/DataObject.h"

#include <gtest/gtest.h>
#include <richedit.h>

#include <functional>

#include <memory>
#include <string>
#include <vector>

using controls::TextBoxW;
using namespace ctltest;

namespace {

const wchar_t* kDesign = LR"(Begin Form F
   StartUpPosition = 0
   Left = 600
   Top = 600
   ClientWidth = 6000
   ClientHeight = 2400
   Begin TextBoxW box
      OLEDragMode = 1
      OLEDropMode = 2
      Left = 300
      Top = 300
      Width = 4800
      Height = 600
   End
   Begin TextBoxW other
      Left = 300
      Top = 1200
      Width = 4800
      Height = 600
   End
End
)";

// The partner program, running until the object goes (closed, or ended when it will not close).
class Partner {
public:
    // mode "richedit" or "textbox"; `editClass` is the class of its edit window.
    Partner(const wchar_t* mode, const wchar_t* caption, const wchar_t* editClass) {
        wchar_t exe[MAX_PATH]{};
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring path(exe);
        path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"drag_partner.exe";
        std::wstring command = L"\"" + path + L"\" " + mode;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        if (!CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process_))
            return;
        PumpUntil(
            [&] {
                frame_ = FindWindowW(nullptr, caption);
                edit_ = frame_ ? FindDescendant(frame_, editClass) : nullptr;
                return edit_ && IsWindowVisible(edit_);
            },
            10000);
    }
    ~Partner() {
        if (frame_) PostMessageW(frame_, WM_CLOSE, 0, 0);
        if (process_.hProcess) {
            if (WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
    }
    Partner(const Partner&) = delete;
    Partner& operator=(const Partner&) = delete;

    HWND Frame() const { return frame_; }
    HWND Edit() const { return edit_; }
    // The window that has the focus in the partner's thread.
    HWND Focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(edit_, nullptr), &info);
        return info.hwndFocus;
    }

    // Text and selection through messages that cross the process boundary.
    std::wstring Text() const {
        wchar_t buffer[512]{};
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(edit_, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 3000, &copied);
        return std::wstring(buffer, copied);
    }
    void SetText(const std::wstring& text) const {
        SendMessageW(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void Select(long start, long end) const { SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(start), end); }
    DWORD Selection(DWORD* end) const {
        DWORD_PTR r = 0;
        SendMessageTimeoutW(edit_, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 3000, &r);
        *end = HIWORD(r);
        return LOWORD(r);
    }
    POINT CharScreen(long index, int dx = 2, int dy = 5) const { return EditCharScreen(edit_, index, dx, dy); }

private:
    struct Search {
        const wchar_t* cls;
        HWND found;
    };
    static BOOL CALLBACK Visit(HWND hwnd, LPARAM lp) {
        auto* s = reinterpret_cast<Search*>(lp);
        wchar_t name[64]{};
        GetClassNameW(hwnd, name, 64);
        if (lstrcmpiW(name, s->cls) != 0) return TRUE;
        s->found = hwnd;
        return FALSE;
    }
    static HWND FindDescendant(HWND parent, const wchar_t* cls) {
        Search search{cls, nullptr};
        EnumChildWindows(parent, Visit, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    PROCESS_INFORMATION process_{};
    HWND frame_ = nullptr;
    HWND edit_ = nullptr;
};

class OtherProgramDrag : public testing::Test {
protected:
    void SetUp() override {
        form_ = ShowForm(kDesign);
        Box().OLECompleteDrag = [this](long& effect) { completed_.push_back(effect); };
    }
    void TearDown() override {
        SendMouse(MOUSEEVENTF_LEFTUP);
        // Keys go to the program in front: let go of Ctrl in both.
        if (partner_ && partner_->Frame()) {
            SetForegroundWindow(partner_->Frame());
            PumpUntil([&] { return GetForegroundWindow() == partner_->Frame(); }, 1000);
            SendKey(VK_CONTROL, true);
        }
        Activate(*form_);
        SendKey(VK_CONTROL, true);
        PumpUntil([] { return GetKeyState(VK_LBUTTON) >= 0 && GetKeyState(VK_CONTROL) >= 0; }, 1000);
        steps_.Stop();
        partner_.reset();
        form_.reset();
    }
    TextBoxW& Box() { return form_->Ctl<TextBoxW>(L"box"); }
    TextBoxW& Other() { return form_->Ctl<TextBoxW>(L"other"); }

    // Started after the form, then the form brought to the front (the press that starts a drag
    // here must find this program active, or the system's drag loop never sees the release).
    Partner& StartPartner(const wchar_t* mode, const wchar_t* caption, const wchar_t* editClass) {
        partner_ = std::make_unique<Partner>(mode, caption, editClass);
        EXPECT_TRUE(partner_->Edit()) << "the other program shows its window";
        Activate(*form_);
        return *partner_;
    }

    // Presses on character `index` of the box's selection and drags; `steps` run once the drag
    // has started; returns when it completed.
    void DragFromBox(long index, std::vector<std::function<void()>> steps) {
        Activate(*form_);
        Box().OLEStartDrag = [this, steps = std::move(steps)](host::DataObject&, long&) { steps_.Start(steps); };
        size_t before = completed_.size();
        POINT from = EditCharScreen(Box().hWnd(), index);
        PressAndMove(from, POINT{from.x + 20, from.y + 20}, false, [&] { return completed_.size() > before; });
        steps_.Stop();
    }

    // Presses on character `index` of the partner's selection and drags: the drag loop runs in
    // the other program, `steps` here while this test pumps; returns once every step ran and
    // the partner's text became `until` (or a bound passed).
    void DragFromPartner(long index, std::vector<std::function<void()>> steps, const std::wstring& until) {
        // The other program in front, as a person's press would bring it (its box does not
        // activate its form on a press), so that its drag loop gets the mouse; and a few ticks
        // for it to take the press and start that loop.
        SetForegroundWindow(partner_->Frame());
        PumpUntil([&] { return GetForegroundWindow() == partner_->Frame(); }, 2000);
        steps.insert(steps.begin(), 4, [] {});
        steps_.Start(std::move(steps));
        POINT from = partner_->CharScreen(index);
        PressAndMove(from, POINT{from.x + 20, from.y + 20}, false, [&] { return steps_.Done(); });
        PumpUntil([&] { return partner_->Text() == until; }, 3000);
        steps_.Stop();
    }

    std::unique_ptr<host::Form> form_;
    std::unique_ptr<Partner> partner_;
    std::vector<long> completed_;
    DragSteps steps_;
};

}  // namespace

TEST_F(OtherProgramDrag, ChineseTextMovesIntoAnotherProgramsBoxOnlyOnceItTookItAndCtrlCopies) {
    Partner& partner = StartPartner(L"textbox", L"拖放伙伴 TextBoxW", L"Edit");
    ASSERT_TRUE(partner.Edit());
    TextBoxW& box = Box();
    box.Text(L"abc 中文字 xyz");
    box.SelStart(4);
    box.SelLength(3);
    partner.SetText(L"12345");
    Drain();

    std::wstring beforeRelease;
    POINT target = partner.CharScreen(2, 1);
    DragFromBox(5, {[&] { SetCursorPos(target.x - 8, target.y); }, [&] { SetCursorPos(target.x, target.y); }, [] {},
                    [&] {
                        beforeRelease = box.Text();
                        SendMouse(MOUSEEVENTF_LEFTUP);
                    }});
    ASSERT_EQ(completed_, std::vector<long>{DROPEFFECT_MOVE});
    EXPECT_EQ(beforeRelease, L"abc 中文字 xyz") << "the moved text stays until the other program took it";
    EXPECT_EQ(partner.Text(), L"12中文字345") << "Unicode text crossed over whole";
    DWORD end = 0;
    EXPECT_EQ(partner.Selection(&end), 2u);
    EXPECT_EQ(end, 5u);
    EXPECT_EQ(partner.Focus(), partner.Edit()) << "the box that took the drop has the other program's focus";
    EXPECT_EQ(box.Text(), L"abc  xyz");

    // Ctrl held at the release copies.
    box.SelStart(0);
    box.SelLength(3);
    target = partner.CharScreen(0, 1);
    DragFromBox(1, {[&] { SetCursorPos(target.x, target.y); }, [] { SendKey(VK_CONTROL, false); }, [] {},
                    [] { SendMouse(MOUSEEVENTF_LEFTUP); }});
    ASSERT_EQ(completed_.back(), DROPEFFECT_COPY);
    EXPECT_EQ(partner.Text(), L"abc12中文字345");
    EXPECT_EQ(box.Text(), L"abc  xyz");

    // Released on the other program's form beside its box, where nothing takes drops: the source
    // keeps its text, Ctrl or not.
    RECT frame{};
    GetWindowRect(partner.Edit(), &frame);
    POINT beside{frame.left + 20, frame.bottom + 15};
    DragFromBox(1, {[&] { SetCursorPos(target.x, target.y); }, [&] { SetCursorPos(beside.x, beside.y); }, [] {},
                    [] { SendMouse(MOUSEEVENTF_LEFTUP); }});
    ASSERT_EQ(completed_.back(), 0);
    EXPECT_EQ(box.Text(), L"abc  xyz");
    EXPECT_EQ(partner.Text(), L"abc12中文字345");
}

TEST_F(OtherProgramDrag, AnotherProgramsTextDropsIntoTheBoxWhereItWasLetGoSelectedAndFocused) {
    Partner& partner = StartPartner(L"textbox", L"拖放伙伴 TextBoxW", L"Edit");
    ASSERT_TRUE(partner.Edit());
    TextBoxW& box = Box();
    box.Text(L"12345");
    Other().SetFocus();
    partner.SetText(L"其他程序的文字");
    partner.Select(2, 4);
    Drain();
    ASSERT_NE(GetFocus(), box.hWnd());

    host::Bytes unicode;
    long dropEffect = -1;
    box.OLEDragDrop = [&](host::DataObject& data, long& effect, int, int, float, float) {
        unicode = data.GetData(CF_UNICODETEXT);
        dropEffect = effect;
    };
    POINT caretSeen{-1, -1};
    POINT target = EditCharScreen(box.hWnd(), 2, 1);
    DragFromPartner(3,
                    {[&] { SetCursorPos(target.x - 8, target.y); }, [&] { SetCursorPos(target.x, target.y); }, [] {},
                     [&] { GetCaretPos(&caretSeen); }, [] { SendMouse(MOUSEEVENTF_LEFTUP); }},
                    L"其他的文字");
    EXPECT_EQ(caretSeen.x, EditCharClient(box.hWnd(), 2).x) << "the caret stood where the text would go";
    const wchar_t moved[] = L"程序";  // with its NUL
    EXPECT_EQ(unicode, host::Bytes(reinterpret_cast<const std::uint8_t*>(moved),
                                   reinterpret_cast<const std::uint8_t*>(moved) + sizeof moved));
    EXPECT_EQ(dropEffect, DROPEFFECT_MOVE);
    EXPECT_EQ(box.Text(), L"12程序345");
    EXPECT_EQ(box.SelStart(), 2);
    EXPECT_EQ(box.SelLength(), 2);
    EXPECT_EQ(GetFocus(), box.hWnd()) << "text from elsewhere brings the focus to the box";
    EXPECT_EQ(partner.Text(), L"其他的文字") << "moved out of the other program once dropped here";

    // Ctrl held at the release copies: the other program keeps its text.
    partner.Select(0, 2);
    target = EditCharScreen(box.hWnd(), 0, 1);
    DragFromPartner(1,
                    {[&] { SetCursorPos(target.x, target.y); }, [] { SendKey(VK_CONTROL, false); }, [] {},
                     [] { SendMouse(MOUSEEVENTF_LEFTUP); }},
                    L"其他的文字");
    PumpUntil([&] { return box.Text() != L"12程序345"; }, 2000);
    EXPECT_EQ(dropEffect, DROPEFFECT_COPY);
    EXPECT_EQ(box.Text(), L"其他12程序345");
    EXPECT_EQ(partner.Text(), L"其他的文字");
}

// Wine's rich edit registers no drop target (nor starts drags of its own); where the platform's
// rich edit takes drops, the text must arrive there as it does in our own box.
TEST_F(OtherProgramDrag, ADragOntoAnotherProgramsRichEditMovesTheTextWhereItTakesDropsElseNothing) {
    Partner& partner = StartPartner(L"richedit", L"拖放伙伴 RichEdit", RICHEDIT_CLASSW);
    ASSERT_TRUE(partner.Edit());
    INT_PTR takesDrops = reinterpret_cast<INT_PTR>(GetPropW(partner.Frame(), L"RichEditTakesDrops"));
    ASSERT_TRUE(takesDrops == 1 || takesDrops == 2) << "the other program looked";
    TextBoxW& box = Box();
    box.Text(L"abc 中文字 xyz");
    box.SelStart(4);
    box.SelLength(3);
    partner.SetText(L"其他程序");
    Drain();
    POINT target = partner.CharScreen(2, 1);
    DragFromBox(5, {[&] { SetCursorPos(target.x - 8, target.y); }, [&] { SetCursorPos(target.x, target.y); }, [] {},
                    [] { SendMouse(MOUSEEVENTF_LEFTUP); }});
    ASSERT_EQ(completed_.size(), 1u);
    if (takesDrops == 1) {
        EXPECT_EQ(completed_[0], DROPEFFECT_MOVE);
        EXPECT_EQ(partner.Text(), L"其他中文字程序");
        EXPECT_EQ(box.Text(), L"abc  xyz");
    } else {
        EXPECT_EQ(completed_[0], 0);
        EXPECT_EQ(partner.Text(), L"其他程序");
        EXPECT_EQ(box.Text(), L"abc 中文字 xyz") << "a drag nobody took leaves the source as it was";
    }
    RecordProperty("rich_edit_takes_drops", takesDrops == 1 ? "yes" : "no");

    // The other way: a press on the rich edit's selection that moves. Where it starts a drag, the
    // text lands in the box; where it does not (Wine's extends the selection), nothing reaches
    // the box and both texts stay as they were.
    std::wstring boxBefore = box.Text(), partnerBefore = partner.Text();
    int arrived = 0;
    box.OLEDragOver = [&](host::DataObject&, long&, int, int, float, float, int) { ++arrived; };
    partner.Select(0, 2);
    target = EditCharScreen(box.hWnd(), 0, 1);
    DragFromPartner(1, {[&] { SetCursorPos(target.x + 4, target.y); }, [&] { SetCursorPos(target.x, target.y); }, [] {},
                        [] { SendMouse(MOUSEEVENTF_LEFTUP); }},
                    L"程序");
    RecordProperty("rich_edit_starts_drags", arrived > 0 ? "yes" : "no");
    if (arrived > 0) {
        EXPECT_EQ(box.Text(), L"其他" + boxBefore);
        EXPECT_EQ(partner.Text(), L"程序");
    } else {
        EXPECT_EQ(box.Text(), boxBefore);
        EXPECT_EQ(partner.Text(), partnerBefore);
    }
}
