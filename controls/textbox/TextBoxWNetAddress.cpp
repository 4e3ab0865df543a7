// TextBoxW: network-address validation. The system's "msctls_netaddress" window answers the
// address query where it exists; on a plain edit window (no such class) our own parser answers
// the same query from the text, so the results and errors are the same either way.
#include "controls/foundation/ComCtlsBase.h"
#include "controls/textbox/NetAddress.h"
#include "controls/textbox/TextBoxW.h"
#include "host/Error.h"

#include <commctrl.h>

namespace controls {

namespace {

[[noreturn]] void RaiseNetAddressError(long number, const wchar_t* description, std::wstring& lastError) {
    lastError = description;
    host::Raise(number, description);
}

}  // namespace

void TextBoxW::NetAddressValidator(bool on) {
    netAddressValidator_ = on;
    ResetNetAddressResults();
    if (foundation::ComCtlVersionLevel() == 2) RebuildEditWindow();
    Changed(L"NetAddressValidator");
}

void TextBoxW::NetAddressType(long type) {
    if (Reject(L"NetAddressType", type)) return;
    netAddressType_ = type;
    ApplyNetAddressType();
    Changed(L"NetAddressType");
}

// Our parser reads NetAddressType itself; only the system's window is told.
void TextBoxW::ApplyNetAddressType() {
    if (!edit_ || !netAddressValidator_ || !netAddressNative_ || foundation::ComCtlVersionLevel() != 2) return;
    SendMessageW(edit_.Get(), netaddress::NCM_SETALLOWTYPE, netaddress::AllowTypeMask(netAddressType_), 0);
}

void TextBoxW::ResetNetAddressResults() {
    netFormat_ = 0;
    netString_.clear();
    netPort_ = 0;
    netPrefix_ = 0;
}

long TextBoxW::QueryNetAddress(netaddress::NcAddress& query) const {
    if (netAddressNative_)
        return static_cast<long>(SendMessageW(edit_.Get(), netaddress::NCM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&query)));
    return netaddress::Parse(Edit().Text(), netaddress::AllowTypeMask(netAddressType_), query);
}

void TextBoxW::ValidateNetAddress() {
    ResetNetAddressResults();
    if (!edit_ || !netAddressValidator_)
        host::Raise(5, L"Procedure call can't be carried out as property NetAddressValidator is False.");
    if (foundation::ComCtlVersionLevel() < 2)
        host::Raise(5, L"To use this functionality, you must provide a manifest specifying comctl32.dll version 6.1 or higher.");
    netaddress::NetAddressInfo info{};
    netaddress::NcAddress query{&info, 0, 0};
    long result = QueryNetAddress(query);
    switch (result) {
    case netaddress::ResultOk: break;
    case netaddress::ResultEmpty:
        RaiseNetAddressError(380, L"There is no network address string to validate.", netError_);
    case netaddress::ResultWrongType:
        RaiseNetAddressError(87, L"The network address string is not of any type specified.", netError_);
    case netaddress::ResultBufferTooSmall:
        RaiseNetAddressError(122, L"The out buffer is too small to hold the parsed network address.", netError_);
    case netaddress::ResultInvalid:
        RaiseNetAddressError(result, L"The network address string is invalid.", netError_);
    default: RaiseNetAddressError(result, L"Unexpected error.", netError_);
    }
    netError_.clear();
    netFormat_ = static_cast<WORD>(info.format & 0xFFFF);
    netPort_ = query.portNumber;
    netPrefix_ = query.prefixLength;
    switch (netFormat_) {
    case netaddress::Unspecified: host::Raise(380, L"The network address format is not provided.");
    case netaddress::DnsName:
        netString_.assign(info.named.address, wcsnlen(info.named.address, netaddress::NameBufferLength));
        break;
    case netaddress::Ipv4: netString_ = netaddress::Ipv4Text(info.ipv4); break;
    case netaddress::Ipv6: netString_ = netaddress::Ipv6Text(info.ipv6); break;
    default: host::Raise(380, L"The network address format is unspecified.");
    }
}

// The system's window shows its own tip; on a plain edit window a balloon tip of the edit
// window says what went wrong last and which forms are expected.
void TextBoxW::ShowNetAddressErrorTip() {
    if (!edit_ || !netAddressValidator_ || foundation::ComCtlVersionLevel() != 2) return;
    if (GetFocus() != edit_.Get()) ::SetFocus(HostWindow());
    if (netAddressNative_) {
        SendMessageW(edit_.Get(), netaddress::NCM_DISPLAYERRORTIP, 0, 0);
        return;
    }
    std::wstring title = netError_.empty() ? L"The network address string is invalid." : netError_;
    std::wstring text = netaddress::ExpectedForms(netaddress::AllowTypeMask(netAddressType_));
    ShowTip(title, text, TTI_ERROR);
}

}  // namespace controls
