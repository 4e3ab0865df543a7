// What the host tests share: forms from design text, keystrokes through the system's input queue,
// bounded pumping, and two small library controls built the way the real ones plug in.
#pragma once

#include "controls/foundation/ComCtlsBase.h"
#include "controls/foundation/Subclass.h"
#include "host/Application.h"
#include "host/ControlRegistry.h"
#include "host/Form.h"
#include "host/HostWindow.h"
#include "host/WindowlessSurface.h"

#include <string>
#include <vector>

namespace hosttest {

// A form whose protected parts a test may reach.
class TestForm : public host::Form {
public:
    explicit TestForm(const std::wstring& design) : Form(host::ParseDesign(design)) {}
    int loads = 0;
    std::vector<std::wstring> log;

protected:
    void Form_Load() override { ++loads; }
};

// Pumps the application's loop until `done` holds; false after `ms`.
bool PumpUntil(const std::function<bool()>& done, DWORD ms = 3000);
// Pumps whatever is waiting (bounded), for effects that have no condition to wait on.
void Drain();

// Types a key through SendInput, with modifiers held, and pumps until it has been processed.
void PressKey(WORD vk, bool shift = false, bool ctrl = false, bool alt = false);

// Brings the form to the front and waits until it is the active window.
bool Activate(host::Form& form);

std::wstring WindowText(HWND hwnd);

// A windowed library control: an "Edit" child in its host window, subclassed the library's way,
// raising KeyDown with a by-reference key code. Arrow keys are kept through the accelerator
// answer, as a text box keeps them.
class TestEdit : public host::Control, public foundation::ISubclass {
public:
    std::wstring TypeName() const override { return L"TestEdit"; }
    void InitProperties() override { CreateEdit(L""); }
    void ReadProperties(const host::PropertyBag& bag) override;
    void WriteProperties(host::PropertyBag& bag) override;
    void Resize() override;
    void Terminate() override;
    void IOleInPlaceActiveObjectVB_TranslateAccelerator(bool& handled, long& retVal, UINT wMsg, WPARAM wParam,
                                                        LPARAM lParam, int shift) override;
    void IOleControlVB_GetControlInfo(bool& handled, long& accelCount, HACCEL& accelTable, long& flags) override;

    std::wstring Text() const;
    void Text(const std::wstring& text);
    HWND hWnd() const { return edit_; }

    bool eatsReturn = false;
    bool keepsTab = false;  // answers Tab as an input key, the way a preview handler asks for it
    host::Event<int& /*KeyCode*/, int /*Shift*/> KeyDown;
    std::vector<UINT> seenMessages;  // every message the subclass delivered, edit and host window

protected:
    LRESULT ISubclass_Message(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam, LONG_PTR dwRefData) override;

private:
    void CreateEdit(const std::wstring& text);
    HWND edit_ = nullptr;  // owned: destroyed in Terminate after the subclasses are removed
};

// A windowless control: fills itself with its ForeColor and counts the mouse input it gets.
class TestPatch : public host::Control {
public:
    std::wstring TypeName() const override { return L"TestPatch"; }
    host::SurfaceKind Surface() const override { return host::SurfaceKind::Windowless; }
    void ReadProperties(const host::PropertyBag& bag) override;
    void Paint(HDC dc) override;
    host::HitResult HitTest(POINT pt, host::HitResult hostAnswer) override;
    void OnSurfaceMouseDown(int button, int shift, int x, int y) override { downs.push_back({x, y}); }
    void OnSurfaceMouseUp(int, int, int, int) override { ++ups; }
    void OnSurfaceClick() override { ++clicks; }

    std::vector<POINT> downs;
    int ups = 0, clicks = 0, paints = 0;
    int timerTicks = 0;
    host::Timer timer;
};

void RegisterTestControls();

}  // namespace hosttest
