#include "dialogs/DeviceSettings.h"

#include <commdlg.h>
#include <winspool.h>

#include <algorithm>
#include <cstring>

namespace dialogs {

namespace {

constexpr DWORD DevModeBytes = 220;
constexpr size_t NameChars = 100;    // each printer name is cut to this
constexpr size_t DevNamesBytes = 208;

static_assert(sizeof(DEVMODEW) == DevModeBytes);

// Locks a global block for the scope; the block is borrowed.
template <class T>
class Locked {
public:
    explicit Locked(HGLOBAL block) : block_(block), p_(block ? static_cast<T*>(GlobalLock(block)) : nullptr) {}
    ~Locked() {
        if (p_) GlobalUnlock(block_);
    }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    size_t Bytes() const { return p_ ? GlobalSize(block_) : 0; }

private:
    HGLOBAL block_;
    T* p_;
};

host::UniqueGlobal ZeroedBlock(size_t bytes) { return host::UniqueGlobal(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes)); }

bool NamesGiven(const DeviceSettings& s) {
    return !s.defaultInit && !s.driver.empty() && !s.name.empty() && !s.port.empty();
}

host::UniqueGlobal BuildDevNames(const DeviceSettings& s) {
    std::wstring driver = s.driver.substr(0, NameChars), name = s.name.substr(0, NameChars),
                 port = s.port.substr(0, NameChars);
    // Header of four words = four characters, then the three strings with their NULs. Names of
    // the full 100 characters do not fit the customary 208 bytes, so the block grows with them.
    size_t chars = 4 + driver.size() + 1 + name.size() + 1 + port.size() + 1;
    host::UniqueGlobal block = ZeroedBlock(std::max(DevNamesBytes, chars * sizeof(wchar_t)));
    Locked<DEVNAMES> dn(block.Get());
    if (!dn.Get()) return {};
    dn->wDriverOffset = 4;
    dn->wDeviceOffset = static_cast<WORD>(dn->wDriverOffset + driver.size() + 1);
    dn->wOutputOffset = static_cast<WORD>(dn->wDeviceOffset + name.size() + 1);
    dn->wDefault = 0;
    auto* text = reinterpret_cast<wchar_t*>(dn.Get());
    std::copy(driver.begin(), driver.end(), text + dn->wDriverOffset);
    std::copy(name.begin(), name.end(), text + dn->wDeviceOffset);
    std::copy(port.begin(), port.end(), text + dn->wOutputOffset);
    return block;
}

std::wstring DefaultPrinterName() {
    wchar_t name[256] = {};
    DWORD chars = 256;
    return GetDefaultPrinterW(name, &chars) ? std::wstring(name) : std::wstring();
}

std::wstring NameAt(const wchar_t* text, size_t totalChars, WORD offset) {
    if (offset >= totalChars) return {};
    const wchar_t* begin = text + offset;
    const wchar_t* end = std::find(begin, text + totalChars, L'\0');
    return std::wstring(begin, end);
}

}  // namespace

void AdoptReturnedBlocks(DeviceBlocks& blocks, HGLOBAL devMode, HGLOBAL devNames) {
    if (blocks.devMode.Get() != devMode) {
        blocks.devMode.Release();
        blocks.devMode.Reset(devMode);
    }
    if (blocks.devNames.Get() != devNames) {
        blocks.devNames.Release();
        blocks.devNames.Reset(devNames);
    }
}

DeviceBlocks BuildDeviceBlocks(const DeviceSettings& s, DWORD fields, bool collate) {
    DeviceBlocks blocks;
    blocks.devMode = ZeroedBlock(DevModeBytes);
    {
        Locked<DEVMODEW> dm(blocks.devMode.Get());
        if (!dm.Get()) return {};
        dm->dmSize = DevModeBytes;
        dm->dmSpecVersion = DM_SPECVERSION;
        dm->dmFields = fields & ~s.untouched;
        if (dm->dmFields & DM_ORIENTATION) dm->dmOrientation = static_cast<short>(s.orientation);
        if (dm->dmFields & DM_PAPERSIZE) dm->dmPaperSize = static_cast<short>(s.paperSize);
        if (dm->dmFields & DM_DEFAULTSOURCE) dm->dmDefaultSource = static_cast<short>(s.paperBin);
        if (dm->dmFields & DM_PRINTQUALITY) dm->dmPrintQuality = static_cast<short>(s.printQuality);
        if (dm->dmFields & DM_COLOR) dm->dmColor = static_cast<short>(s.colorMode);
        if (dm->dmFields & DM_DUPLEX) dm->dmDuplex = static_cast<short>(s.duplex);
        if (dm->dmFields & DM_COPIES) dm->dmCopies = static_cast<short>(s.copies);
        if (dm->dmFields & DM_COLLATE) dm->dmCollate = collate ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
        std::wstring device = NamesGiven(s) ? s.name : DefaultPrinterName();
        std::copy_n(device.begin(), std::min<size_t>(device.size(), CCHDEVICENAME - 1), dm->dmDeviceName);
    }
    if (NamesGiven(s)) blocks.devNames = BuildDevNames(s);
    return blocks;
}

ReturnedDevice ReadDeviceBlocks(const DeviceBlocks& blocks, DeviceSettings& s, DWORD fields) {
    ReturnedDevice r;
    Locked<DEVMODEW> dm(blocks.devMode.Get());
    if (dm.Get() && dm.Bytes() >= offsetof(DEVMODEW, dmCollate) + sizeof(short)) {
        r.dmFields = dm->dmFields;
        r.dmCollate = dm->dmCollate;
        DWORD present = dm->dmFields & fields;
        auto take = [&](DWORD bit, long& setting, short value) {
            if (!(present & bit)) return;
            setting = value;
            s.untouched &= ~bit;
        };
        take(DM_ORIENTATION, s.orientation, dm->dmOrientation);
        take(DM_PAPERSIZE, s.paperSize, dm->dmPaperSize);
        take(DM_DEFAULTSOURCE, s.paperBin, dm->dmDefaultSource);
        take(DM_PRINTQUALITY, s.printQuality, dm->dmPrintQuality);
        take(DM_COLOR, s.colorMode, dm->dmColor);
        take(DM_DUPLEX, s.duplex, dm->dmDuplex);
        if (present & DM_COPIES) s.copies = dm->dmCopies;
    }
    Locked<DEVNAMES> dn(blocks.devNames.Get());
    if (dn.Get() && dn.Bytes() >= sizeof(DEVNAMES)) {
        const auto* text = reinterpret_cast<const wchar_t*>(dn.Get());
        size_t chars = dn.Bytes() / sizeof(wchar_t);
        r.hasNames = true;
        r.defaultPrinter = (dn->wDefault & DN_DEFAULTPRN) != 0;
        r.driver = NameAt(text, chars, dn->wDriverOffset);
        r.name = NameAt(text, chars, dn->wDeviceOffset);
        r.port = NameAt(text, chars, dn->wOutputOffset);
    }
    return r;
}

bool MetricLocale() {
    wchar_t measure[4] = {};
    return GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, measure, 4) > 0 && measure[0] == L'0';
}

}  // namespace dialogs
