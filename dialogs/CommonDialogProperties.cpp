// The setters that check their value: an invalid one raises 380 and leaves the property as it
// was; the read-only ones raise 383.
#include "dialogs/CommonDialog.h"

#include "controls/foundation/PropertyRanges.h"
#include "dialogs/DialogErrors.h"
#include "host/Error.h"

#include <limits>

namespace dialogs {

namespace {

constexpr long NoLimit = std::numeric_limits<long>::max();

// The class has no design surface: a value out of range always raises 380.
void RequireRange(long v, long lo, long hi) { foundation::RejectOutOfRange(v, lo, hi, false); }
void Require(bool valid) {
    if (!valid) host::Raise(host::err::InvalidPropertyValue);
}

// Setting a device setting hands it to the dialogs from then on.
void SetDevice(DeviceSettings& d, long& setting, long v, DWORD bit) {
    setting = v;
    d.untouched &= ~bit;
}

}  // namespace

void CommonDialog::hDC(HDC) { RaiseReadOnly(); }
void CommonDialog::FileTitle(const std::wstring&) { RaiseReadOnly(); }
void CommonDialog::FileOffset(int) { RaiseReadOnly(); }

void CommonDialog::MaxFileSize(long v) {
    RequireRange(v, 1, NoLimit);
    maxFileSize_ = v;
}
void CommonDialog::FilterIndex(long v) {
    RequireRange(v, 0, NoLimit);
    filterIndex_ = v;
}

void CommonDialog::Min(long v) {
    RequireRange(v, 0, NoLimit);
    min_ = v;
}
void CommonDialog::Max(long v) {
    RequireRange(v, 0, NoLimit);
    max_ = v;
}
void CommonDialog::FromPage(long v) {
    RequireRange(v, 0, NoLimit);
    fromPage_ = v;
}
void CommonDialog::ToPage(long v) {
    RequireRange(v, 0, NoLimit);
    toPage_ = v;
}

void CommonDialog::Orientation(long v) {
    RequireRange(v, DMORIENT_PORTRAIT, DMORIENT_LANDSCAPE);
    SetDevice(device_, device_.orientation, v, DM_ORIENTATION);
}
void CommonDialog::PaperSize(long v) {
    RequireRange(v, 1, 32767);
    SetDevice(device_, device_.paperSize, v, DM_PAPERSIZE);
}
void CommonDialog::Copies(int v) {
    RequireRange(v, 1, 32767);  // a 16-bit count
    device_.copies = v;
}
void CommonDialog::PaperBin(long v) {
    RequireRange(v, 1, 32767);
    SetDevice(device_, device_.paperBin, v, DM_DEFAULTSOURCE);
}
void CommonDialog::PrintQuality(long v) {
    RequireRange(v, DMRES_HIGH, 32767);
    SetDevice(device_, device_.printQuality, v, DM_PRINTQUALITY);
}
void CommonDialog::ColorMode(long v) {
    RequireRange(v, DMCOLOR_MONOCHROME, DMCOLOR_COLOR);
    SetDevice(device_, device_.colorMode, v, DM_COLOR);
}
void CommonDialog::Duplex(long v) {
    RequireRange(v, DMDUP_SIMPLEX, DMDUP_HORIZONTAL);
    SetDevice(device_, device_.duplex, v, DM_DUPLEX);
}

void CommonDialog::HelpCommand(long v) {
    Require((v >= 0 && v <= HELP_SETCONTENTS) || v == HELP_CONTEXTPOPUP || v == HELP_FORCEFILE ||
            v == HELP_KEY || v == HELP_COMMAND || v == HELP_PARTIALKEY);
    helpCommand_ = v;
}

void CommonDialog::PageLeftMargin(long v) {
    RequireRange(v, 0, NoLimit);
    margin_.left = v;
}
void CommonDialog::PageTopMargin(long v) {
    RequireRange(v, 0, NoLimit);
    margin_.top = v;
}
void CommonDialog::PageRightMargin(long v) {
    RequireRange(v, 0, NoLimit);
    margin_.right = v;
}
void CommonDialog::PageBottomMargin(long v) {
    RequireRange(v, 0, NoLimit);
    margin_.bottom = v;
}
void CommonDialog::PageLeftMinMargin(long v) {
    RequireRange(v, 0, NoLimit);
    minMargin_.left = v;
}
void CommonDialog::PageTopMinMargin(long v) {
    RequireRange(v, 0, NoLimit);
    minMargin_.top = v;
}
void CommonDialog::PageRightMinMargin(long v) {
    RequireRange(v, 0, NoLimit);
    minMargin_.right = v;
}
void CommonDialog::PageBottomMinMargin(long v) {
    RequireRange(v, 0, NoLimit);
    minMargin_.bottom = v;
}

void CommonDialog::RootFolder(host::Value v) {
    using K = host::Value::Kind;
    K k = v.GetKind();
    Require(k == K::Empty || k == K::Long || k == K::Double || k == K::String);
    rootFolder_ = std::move(v);
}

}  // namespace dialogs
