// The device settings the print and page-setup dialogs share: the values, the printer names and
// the mask of settings still left to the printer driver, turned into the DEVMODEW and DEVNAMES
// blocks the dialogs take and read back from the blocks they return.
#pragma once

#include "host/Handles.h"

#include <windows.h>

#include <string>

namespace dialogs {

struct DeviceSettings {
    // A set bit leaves that setting to the driver; setting a property or reading a value back
    // from a dialog clears it.
    static constexpr DWORD AllUntouched =
        DM_ORIENTATION | DM_PAPERSIZE | DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_COLOR | DM_DUPLEX;  // 0x1E03

    DWORD untouched = AllUntouched;
    long orientation = DMORIENT_PORTRAIT;
    long paperSize = DMPAPER_A4;  // the constructor of CommonDialog picks by the user's measure
    int copies = 1;
    long paperBin = DMBIN_AUTO;
    long printQuality = DMRES_HIGH;
    long colorMode = DMCOLOR_COLOR;
    long duplex = DMDUP_SIMPLEX;
    bool defaultInit = true;
    std::wstring driver, name, port;
};

// The two movable global blocks a dialog takes; whichever the dialog replaced it hands back in
// the same members, and the owner frees them.
struct DeviceBlocks {
    host::UniqueGlobal devMode;
    host::UniqueGlobal devNames;
};

// The dialog may have replaced the blocks it was given; from then on the blocks it handed back
// are the ones to read and free.
void AdoptReturnedBlocks(DeviceBlocks& blocks, HGLOBAL devMode, HGLOBAL devNames);

// A DEVMODEW of 220 bytes with `fields` (less the untouched bits) filled from the settings, and,
// when the three printer names are given and PrinterDefaultInit is off, the DEVNAMES naming that
// printer (with its name also in dmDeviceName). Without names dmDeviceName holds the default
// printer's name: Wine's dialogs take a device mode only for the printer it names, and start
// from the driver's own otherwise. `collate` is dmCollate.
DeviceBlocks BuildDeviceBlocks(const DeviceSettings& settings, DWORD fields, bool collate);

// What came back: every field present in the returned device mode among `fields` becomes the
// setting and leaves the untouched mask (copies has no mask bit).
struct ReturnedDevice {
    DWORD dmFields = 0;
    short dmCollate = 0;
    bool defaultPrinter = false;  // DN_DEFAULTPRN
    bool hasNames = false;
    std::wstring driver, name, port;
};
ReturnedDevice ReadDeviceBlocks(const DeviceBlocks& blocks, DeviceSettings& settings, DWORD fields);

// The user's locale measures in metric (LOCALE_IMEASURE "0").
bool MetricLocale();

}  // namespace dialogs
