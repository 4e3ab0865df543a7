// OLE drag and drop for the controls on a form.
//
// Source: ControlSite::OLEDrag makes a DataObject, asks the control to fill it and to name the
// allowed effects (OnOLEStartDrag; none leaves the drag undone), runs the system's drag loop with
// the host's drop source (Escape or a second mouse button cancels; releasing the button that
// started the drag drops; OnOLEGiveFeedback chooses the cursors), and reports the effect the
// target chose (0 when cancelled) through OnOLECompleteDrag. While a drag is under way another
// OLEDrag raises 674.
//
// Target: a control whose surface has an OLE drop mode other than 0 gets OnOLEDragOver (state 0
// enter, 1 leave, 2 over) and OnOLEDragDrop. The drop target is registered on the control's host
// window, or, for a windowless control, on its container's window, which then hands the drag to
// the windowless control under the point. Effect comes in as the effects the source allows; what
// the control leaves in it (within those) is the answer. x and y are in control pixels; Button 1
// left, 2 right, 4 middle; Shift 1 Shift, 2 Ctrl, 4 Alt.
#pragma once

#include <windows.h>

namespace host {

class ControlSite;
class Form;

namespace dragdrop {

// OleInitialize for the calling thread, once; false when the thread is in a multithreaded
// apartment and cannot do drag and drop.
bool EnsureOle();

// What ControlSite::OLEDrag does.
void StartDrag(ControlSite& site);
bool DragInProgress();
// The control is going away: a drag it started goes on without it (no more notifications).
void SiteGone(const ControlSite& site);

// Drop-target registrations on `window`, counted: the window is registered while at least one
// control needs it. `owner` is the control whose host window `window` is (null for the form);
// windowless controls on that window are found by hit test. Acquire raises 5 when the system
// refuses the registration.
void Acquire(HWND window, Form& form, ControlSite* owner);
void Release(HWND window);
// The window is about to be destroyed: revoke whatever is left.
void Forget(HWND window);

// Button and Shift values of an OLE key state (MK_* flags).
int ButtonOfKeyState(DWORD keyState);
int ShiftOfKeyState(DWORD keyState);

}  // namespace dragdrop
}  // namespace host
