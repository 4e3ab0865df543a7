// Network-address validation for TextBoxW: the structures the "msctls_netaddress" window fills
// for NCM_GETADDRESS, at their documented layout, and a parser of our own that gives the same
// answers from the text of a plain edit window where the system has no such window class
// (comctl32 before 6.1, Wine).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace controls::netaddress {

// The window class and its messages.
inline constexpr wchar_t ClassName[] = L"msctls_netaddress";
inline constexpr UINT NCM_GETADDRESS = WM_USER + 1;
inline constexpr UINT NCM_SETALLOWTYPE = WM_USER + 2;
inline constexpr UINT NCM_DISPLAYERRORTIP = WM_USER + 4;

// NET_STRING_... bits of the allow-type mask.
enum TypeBit : DWORD {
    Ipv4Address = 0x1,
    Ipv4Service = 0x2,
    Ipv4Network = 0x4,
    Ipv6Address = 0x8,
    Ipv6AddressNoScope = 0x10,
    Ipv6Service = 0x20,
    Ipv6ServiceNoScope = 0x40,
    Ipv6Network = 0x80,
    NamedAddress = 0x100,
    NamedService = 0x200,
};

// NetAddressType 0..19 → the mask sent with NCM_SETALLOWTYPE; 0 outside the range.
DWORD AllowTypeMask(long netAddressType);

// NET_ADDRESS_FORMAT.
enum Format : WORD { Unspecified = 0, DnsName = 1, Ipv4 = 2, Ipv6 = 3 };

// NET_ADDRESS_INFO: the format, then a union of the named form (a 256-character name and a
// 6-character port) and the socket addresses.
struct SocketAddressV4 {
    short family;
    USHORT port;  // network byte order
    BYTE address[4];
    char zero[8];
};
struct SocketAddressV6 {
    short family;
    USHORT port;  // network byte order
    ULONG flowInfo;
    BYTE address[16];
    ULONG scopeId;
};
inline constexpr size_t NameBufferLength = 256;
struct NetAddressInfo {
    DWORD format;
    union {
        struct {
            wchar_t address[NameBufferLength];
            wchar_t port[6];
        } named;
        SocketAddressV4 ipv4;
        SocketAddressV6 ipv6;
    };
};
static_assert(sizeof(NetAddressInfo) == 4 + 2 * (NameBufferLength + 6));

// NC_ADDRESS, the NCM_GETADDRESS parameter.
struct NcAddress {
    NetAddressInfo* info;
    USHORT portNumber;
    BYTE prefixLength;
};

// The answers of NCM_GETADDRESS.
inline constexpr long ResultOk = 0;             // S_OK
inline constexpr long ResultEmpty = 1;          // S_FALSE: nothing to validate
inline constexpr long ResultWrongType = 87;     // a valid address, but of no allowed type
inline constexpr long ResultBufferTooSmall = 122;
inline constexpr long ResultInvalid = static_cast<long>(0x80070057);  // E_INVALIDARG

// Parses `text` (spaces around it ignored) as the first of the forms in `mask` it matches:
// IPv4 address, service (":port") or network ("/prefix"); IPv6 address with or without a
// numeric scope ("%n"), service ("[address]:port") or network; DNS name or named service.
// Fills `out` (zeroed first) as NCM_GETADDRESS does and answers one of the results above.
long Parse(std::wstring_view text, DWORD mask, NcAddress& out);

// The text form of a parsed numeric address: four decimals joined by "."; eight upper-case
// hexadecimal groups joined by ":" (no shortening, no scope).
std::wstring Ipv4Text(const SocketAddressV4& a);
std::wstring Ipv6Text(const SocketAddressV6& a);

// What the error tip says: one example line per allowed form.
std::wstring ExpectedForms(DWORD mask);

}  // namespace controls::netaddress
