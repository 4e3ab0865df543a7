// MouseDown for a push button. The host's CommandButton raises only Click, while the preset menu
// must open on the press of any mouse button, before any Click. Until the host's button offers
// MouseDown itself, this watches the button's window and raises the event with the usual
// arguments: Button (1 left, 2 right, 4 middle), Shift (1 Shift, 2 Ctrl, 4 Alt), X and Y in
// twips from the button's top-left corner.
#pragma once

#include "controls/foundation/ISubclass.h"
#include "controls/foundation/Subclass.h"
#include "host/Event.h"

namespace workbench {

class ButtonMouseDown : public foundation::ISubclass {
public:
    ButtonMouseDown() = default;
    ~ButtonMouseDown() override { Detach(); }

    // Starts watching the window (a button the form owns); a second call moves to the new window.
    void Attach(HWND button);
    // Stops watching; required before the button's window is destroyed.
    void Detach() { subclass_.Reset(); }

    host::Event<int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/> MouseDown;

protected:
    LRESULT ISubclass_Message(HWND hwnd, UINT wMsg, WPARAM wParam, LPARAM lParam, LONG_PTR dwRefData) override;

private:
    void RaiseMouseDown(int button, WPARAM wParam, LPARAM lParam);
    foundation::ScopedSubclass subclass_;
};

}  // namespace workbench
