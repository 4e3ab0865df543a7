// The window messages the common dialogs register by name, each registered on first need.
#pragma once

#include <windows.h>

namespace dialogs::msg {

UINT Help();            // "commdlg_help": a dialog's Help button, sent to the owner
UINT ShareViolation();  // "commdlg_ShareViolation": old-style open/save
UINT FileNameOk();      // "commdlg_FileNameOK": old-style open/save
UINT ColorOk();         // "commdlg_ColorOK": the colour dialog's OK button
UINT SetRgbColor();     // "commdlg_SetRGBColor": sets the colour dialog's current colour
UINT FindReplace();     // "commdlg_FindReplace": find and replace dialogs to their owner

}  // namespace dialogs::msg
