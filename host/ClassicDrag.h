// The classic drag of a control: the extender's Drag method and DragMode, the host's own drag
// of a control over the forms of the program (not OLE: no data, the source control itself is
// what the target gets).
//
// While a drag runs the host holds the mouse capture and shows either the source's DragIcon as
// the cursor or, without one, a grey outline of the source's rectangle that follows the mouse
// where it was grabbed. The form or control under the mouse hears of it through its DragOver
// (state 0 enter, 1 leave, 2 over) and, where the drag ends, DragDrop; x and y are in the
// target's scale, from its top-left corner. Windowless controls and controls inside containers
// are targets like any other; a disabled or hidden one is not (its container is).
//
// The drag ends with a drop when the left button is released (or Drag 2 is called), and is
// cancelled by Escape, the right button, Drag 0, or the capture going to another program; a
// cancelled drag tells its last target that the drag left it.
#pragma once

#include <windows.h>

namespace host {

class ControlSite;
class Form;

namespace classicdrag {

// The actions of the extender's Drag method.
constexpr int Cancel = 0;
constexpr int BeginDrag = 1;
constexpr int EndDrag = 2;

// The states DragOver reports.
constexpr int Enter = 0;
constexpr int Leave = 1;
constexpr int Over = 2;

// What ControlSite::Drag does: begin a drag of `source` from the mouse's position, end it with a
// drop, or cancel it. Ending or cancelling concerns only a drag of `source`; beginning while
// another control is dragged cancels that drag first. Other actions raise 5.
void Drag(ControlSite& source, int action);
bool InProgress();
// The control being dragged, null when none is.
ControlSite* Source();

// Offered every message the host's loop takes, before it is routed: a left press on a control
// whose DragMode is 1 begins its drag instead of reaching the control. True when the message
// was used so.
bool OfferMessage(const MSG& msg);

// A control or form is going away: a drag of that control ends without events, and it is no
// longer told about a drag.
void SiteGone(const ControlSite& site);
void FormGone(const Form& form);

}  // namespace classicdrag
}  // namespace host
