// The range checks of property setters and the system colours the controls start from.
#pragma once

namespace foundation {

// OLE colours of the system colours the controls start from.
constexpr unsigned long SystemColorWindow = 0x80000005;
constexpr unsigned long SystemColorWindowText = 0x80000008;
constexpr unsigned long SystemColorButtonFace = 0x8000000F;
constexpr unsigned long SystemColorButtonText = 0x80000012;

// True when `value` is outside lo..hi, after reporting it by the 380 convention (raised at run
// time; a message box at design time, where the setter then returns keeping its old value):
//     if (foundation::RejectOutOfRange(v, 0, 4, designMode_)) return;
bool RejectOutOfRange(long value, long lo, long hi, bool designMode);
// The same for MousePointer, which accepts 0..16 and 99.
bool RejectMousePointer(long value, bool designMode);

}  // namespace foundation
