// What the program does once at start-up for themed controls, and whether themed drawing is in
// effect.
#pragma once

namespace foundation {

// Once, before the main window is shown: with comctl32 6 or later arranges that
// SEM_NOGPFAULTERRORBOX is in force while the program's module data are torn down at exit,
// then InitCommonControlsEx(ICC_STANDARD_CLASSES).
void StartVisualStyles();
// False with comctl32 5 or below or no active theme; true when the application is themed;
// otherwise whether the theme's application properties allow themed controls.
bool VisualStylesActive();
// comctl32's major version from DllGetVersion, cached; 0 when the call fails.
int ComCtlMajorVersion();

}  // namespace foundation
