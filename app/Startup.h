// Start-up of the workbench: the common controls, the single-instance rule, the main window.
#pragma once

#include "app/FrmMain.h"

#include <memory>

namespace workbench {

// Creates and shows the main window and hands it to the caller, who keeps it for the run of the
// message loop. When another copy of the program already runs, brings that copy's window to
// the front instead and returns null.
std::unique_ptr<FrmMain> Main();

// Registers the library controls the design data name (TextBoxW, ListBoxW, FrameW, LabelW).
// Safe to call more than once.
void RegisterWorkbenchControls();

// Restores, raises and activates the running copy's main window; false when none was found.
bool ActivateRunningInstance();

}  // namespace workbench
