// The setters that check their value: an invalid one raises 380 and leaves the property as it
// was; the read-only ones raise 383.
#include "dialogs/CommonDialog.h"

#include "dialogs/DialogErrors.h"
#include "host/Error.h"

namespace dialogs {

namespace {

void Require(bool valid) {
    if (!valid) host::Raise(host::err::InvalidPropertyValue);
}
bool InRange(long v, long lo, long hi) { return v >= lo && v <= hi; }

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
    Require(v > 0);
    maxFileSize_ = v;
}
void CommonDialog::FilterIndex(long v) {
    Require(v >= 0);
    filterIndex_ = v;
}

void CommonDialog::Min(long v) {
    Require(v >= 0);
    min_ = v;
}
void CommonDialog::Max(long v) {
    Require(v >= 0);
    max_ = v;
}
void CommonDialog::FromPage(long v) {
    Require(v >= 0);
    fromPage_ = v;
}
void CommonDialog::ToPage(long v) {
    Require(v >= 0);
    toPage_ = v;
}

void CommonDialog::Orientation(long v) {
    Require(v == DMORIENT_PORTRAIT || v == DMORIENT_LANDSCAPE);
    SetDevice(device_, device_.orientation, v, DM_ORIENTATION);
}
void CommonDialog::PaperSize(long v) {
    Require(InRange(v, 1, 32767));
    SetDevice(device_, device_.paperSize, v, DM_PAPERSIZE);
}
void CommonDialog::Copies(int v) {
    Require(InRange(v, 1, 32767));  // a 16-bit count
    device_.copies = v;
}
void CommonDialog::PaperBin(long v) {
    Require(InRange(v, 1, 32767));
    SetDevice(device_, device_.paperBin, v, DM_DEFAULTSOURCE);
}
void CommonDialog::PrintQuality(long v) {
    Require(InRange(v, -4, 32767));
    SetDevice(device_, device_.printQuality, v, DM_PRINTQUALITY);
}
void CommonDialog::ColorMode(long v) {
    Require(v == DMCOLOR_MONOCHROME || v == DMCOLOR_COLOR);
    SetDevice(device_, device_.colorMode, v, DM_COLOR);
}
void CommonDialog::Duplex(long v) {
    Require(InRange(v, DMDUP_SIMPLEX, DMDUP_HORIZONTAL));
    SetDevice(device_, device_.duplex, v, DM_DUPLEX);
}

void CommonDialog::HelpCommand(long v) {
    Require(InRange(v, 0, HELP_SETCONTENTS) || v == HELP_CONTEXTPOPUP || v == HELP_FORCEFILE ||
            v == HELP_KEY || v == HELP_COMMAND || v == HELP_PARTIALKEY);
    helpCommand_ = v;
}

void CommonDialog::PageLeftMargin(long v) {
    Require(v >= 0);
    margin_.left = v;
}
void CommonDialog::PageTopMargin(long v) {
    Require(v >= 0);
    margin_.top = v;
}
void CommonDialog::PageRightMargin(long v) {
    Require(v >= 0);
    margin_.right = v;
}
void CommonDialog::PageBottomMargin(long v) {
    Require(v >= 0);
    margin_.bottom = v;
}
void CommonDialog::PageLeftMinMargin(long v) {
    Require(v >= 0);
    minMargin_.left = v;
}
void CommonDialog::PageTopMinMargin(long v) {
    Require(v >= 0);
    minMargin_.top = v;
}
void CommonDialog::PageRightMinMargin(long v) {
    Require(v >= 0);
    minMargin_.right = v;
}
void CommonDialog::PageBottomMinMargin(long v) {
    Require(v >= 0);
    minMargin_.bottom = v;
}

void CommonDialog::RootFolder(host::Value v) {
    using K = host::Value::Kind;
    K k = v.GetKind();
    Require(k == K::Empty || k == K::Long || k == K::Double || k == K::String);
    rootFolder_ = std::move(v);
}

}  // namespace dialogs
