// The network-address parser that stands in for the system's where "msctls_netaddress" is
// missing. A text is first matched against every form; only then is the allow-type mask
// consulted, so that "a valid address of a type not allowed" (87) and "not an address at all"
// (E_INVALIDARG) stay apart, as the system's control reports them.
#include "controls/textbox/NetAddress.h"

#include <cwctype>
#include <optional>
#include <vector>

namespace controls::netaddress {

namespace {

constexpr DWORD AllForms = 0x3FF;
constexpr short FamilyV4 = 2;   // AF_INET
constexpr short FamilyV6 = 23;  // AF_INET6 on Windows

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

int HexValue(wchar_t c) {
    if (IsDigit(c)) return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// Decimal digits only, at most `maxDigits` of them, not above `maxValue`.
std::optional<unsigned long> Decimal(std::wstring_view s, size_t maxDigits, unsigned long maxValue) {
    if (s.empty() || s.size() > maxDigits) return std::nullopt;
    unsigned long long v = 0;
    for (wchar_t c : s) {
        if (!IsDigit(c)) return std::nullopt;
        v = v * 10 + static_cast<unsigned>(c - L'0');
    }
    if (v > maxValue) return std::nullopt;
    return static_cast<unsigned long>(v);
}

std::optional<USHORT> Port(std::wstring_view s) {
    auto v = Decimal(s, 5, 65535);
    if (!v) return std::nullopt;
    return static_cast<USHORT>(*v);
}

std::vector<std::wstring_view> Split(std::wstring_view s, wchar_t sep) {
    std::vector<std::wstring_view> parts;
    size_t start = 0;
    for (;;) {
        size_t at = s.find(sep, start);
        parts.push_back(s.substr(start, at == std::wstring_view::npos ? std::wstring_view::npos : at - start));
        if (at == std::wstring_view::npos) return parts;
        start = at + 1;
    }
}

// Four decimal numbers 0..255 joined by ".".
bool ParseIpv4(std::wstring_view s, BYTE out[4]) {
    auto parts = Split(s, L'.');
    if (parts.size() != 4) return false;
    for (size_t i = 0; i < 4; ++i) {
        auto v = Decimal(parts[i], 3, 255);
        if (!v) return false;
        out[i] = static_cast<BYTE>(*v);
    }
    return true;
}

// Colon-separated groups of one to four hexadecimal digits; the last may be a dotted IPv4
// address standing for two groups.
bool ParseGroups(std::wstring_view s, bool v4TailAllowed, std::vector<USHORT>& words) {
    if (s.empty()) return true;
    auto parts = Split(s, L':');
    for (size_t i = 0; i < parts.size(); ++i) {
        std::wstring_view p = parts[i];
        if (v4TailAllowed && i + 1 == parts.size() && p.find(L'.') != std::wstring_view::npos) {
            BYTE v4[4];
            if (!ParseIpv4(p, v4)) return false;
            words.push_back(static_cast<USHORT>(v4[0] << 8 | v4[1]));
            words.push_back(static_cast<USHORT>(v4[2] << 8 | v4[3]));
            continue;
        }
        if (p.empty() || p.size() > 4) return false;
        unsigned v = 0;
        for (wchar_t c : p) {
            int h = HexValue(c);
            if (h < 0) return false;
            v = v * 16 + static_cast<unsigned>(h);
        }
        words.push_back(static_cast<USHORT>(v));
    }
    return true;
}

// An IPv6 address without scope: eight groups, or fewer with one "::" standing for the zeros.
bool ParseIpv6(std::wstring_view s, BYTE out[16]) {
    std::vector<USHORT> head, tail;
    size_t gap = s.find(L"::");
    if (gap == std::wstring_view::npos) {
        if (!ParseGroups(s, true, head) || head.size() != 8) return false;
    } else {
        std::wstring_view after = s.substr(gap + 2);
        if (after.find(L"::") != std::wstring_view::npos) return false;
        if (!ParseGroups(s.substr(0, gap), false, head) || !ParseGroups(after, true, tail)) return false;
        if (head.size() + tail.size() > 7) return false;
        head.resize(8 - tail.size(), 0);
        head.insert(head.end(), tail.begin(), tail.end());
    }
    for (size_t i = 0; i < 8; ++i) {
        out[2 * i] = static_cast<BYTE>(head[i] >> 8);
        out[2 * i + 1] = static_cast<BYTE>(head[i] & 0xFF);
    }
    return true;
}

// "address" or "address%scope" with a numeric scope.
bool ParseIpv6WithScope(std::wstring_view s, SocketAddressV6& a, bool& scoped) {
    size_t pct = s.find(L'%');
    scoped = pct != std::wstring_view::npos;
    if (scoped) {
        auto scope = Decimal(s.substr(pct + 1), 10, 0xFFFFFFFFul);
        if (!scope) return false;
        a.scopeId = *scope;
    }
    if (!ParseIpv6(s.substr(0, pct), a.address)) return false;
    a.family = FamilyV6;
    return true;
}

bool IsLabelChar(wchar_t c) {
    if (c < 0x80) return std::iswalnum(c) || c == L'-' || c == L'_';
    return std::iswalnum(c) != 0;  // internationalised names
}

// Labels of letters, digits, "-" and "_", 1..63 characters, not beginning or ending with "-";
// a final "." is allowed; the last label is not all digits, so a malformed dotted number is
// never taken for a name. The length limit is the buffer's, checked by the caller.
bool IsName(std::wstring_view s) {
    if (!s.empty() && s.back() == L'.') s.remove_suffix(1);
    if (s.empty()) return false;
    auto labels = Split(s, L'.');
    for (std::wstring_view label : labels) {
        if (label.empty() || label.size() > 63 || label.front() == L'-' || label.back() == L'-') return false;
        for (wchar_t c : label)
            if (!IsLabelChar(c)) return false;
    }
    std::wstring_view last = labels.back();
    for (wchar_t c : last)
        if (!IsDigit(c)) return true;
    return false;
}

// One parsed candidate: the form it matched and what NCM_GETADDRESS reports for it.
struct Candidate {
    DWORD forms = 0;  // every form the text matches
    NetAddressInfo info{};
    USHORT port = 0;
    BYTE prefix = 0;
    bool nameTooLong = false;
};

void MatchIpv4(std::wstring_view s, Candidate& c) {
    SocketAddressV4& a = c.info.ipv4;
    size_t colon = s.rfind(L':'), slash = s.find(L'/');
    if (ParseIpv4(s, a.address)) {
        c.forms |= Ipv4Address;
    } else if (colon != std::wstring_view::npos && ParseIpv4(s.substr(0, colon), a.address)) {
        auto port = Port(s.substr(colon + 1));
        if (!port) return;
        c.port = *port;
        a.port = static_cast<USHORT>(*port >> 8 | (*port & 0xFF) << 8);
        c.forms |= Ipv4Service;
    } else if (slash != std::wstring_view::npos && ParseIpv4(s.substr(0, slash), a.address)) {
        auto prefix = Decimal(s.substr(slash + 1), 2, 32);
        if (!prefix) return;
        c.prefix = static_cast<BYTE>(*prefix);
        c.forms |= Ipv4Network;
    }
    if (c.forms) {
        c.info.format = Ipv4;
        a.family = FamilyV4;
    }
}

void MatchIpv6(std::wstring_view s, Candidate& c) {
    SocketAddressV6& a = c.info.ipv6;
    bool scoped = false;
    if (!s.empty() && s.front() == L'[') {
        size_t close = s.find(L"]:");
        if (close == std::wstring_view::npos || !ParseIpv6WithScope(s.substr(1, close - 1), a, scoped)) return;
        auto port = Port(s.substr(close + 2));
        if (!port) return;
        c.port = *port;
        a.port = static_cast<USHORT>(*port >> 8 | (*port & 0xFF) << 8);
        c.forms |= scoped ? Ipv6Service : Ipv6Service | Ipv6ServiceNoScope;
    } else if (size_t slash = s.find(L'/'); slash != std::wstring_view::npos) {
        auto prefix = Decimal(s.substr(slash + 1), 3, 128);
        if (!prefix || !ParseIpv6(s.substr(0, slash), a.address)) return;
        a.family = FamilyV6;
        c.prefix = static_cast<BYTE>(*prefix);
        c.forms |= Ipv6Network;
    } else if (ParseIpv6WithScope(s, a, scoped)) {
        c.forms |= scoped ? Ipv6Address : Ipv6Address | Ipv6AddressNoScope;
    }
    if (c.forms) c.info.format = Ipv6;
}

void MatchName(std::wstring_view s, Candidate& c) {
    std::wstring_view name = s;
    std::wstring_view portText;
    DWORD form = NamedAddress;
    if (size_t colon = s.find(L':'); colon != std::wstring_view::npos) {
        name = s.substr(0, colon);
        portText = s.substr(colon + 1);
        auto port = Port(portText);
        if (!port) return;
        c.port = *port;
        form = NamedService;
    }
    if (!IsName(name)) return;
    c.forms |= form;
    c.info.format = DnsName;
    if (name.size() >= NameBufferLength) {
        c.nameTooLong = true;
        return;
    }
    name.copy(c.info.named.address, name.size());
    portText.copy(c.info.named.port, portText.size());
}

std::wstring_view Trimmed(std::wstring_view s) {
    while (!s.empty() && std::iswspace(s.front())) s.remove_prefix(1);
    while (!s.empty() && std::iswspace(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace

DWORD AllowTypeMask(long netAddressType) {
    static constexpr DWORD masks[] = {0,  1,  2,  4,   8,   16,  32,  64,  128, 256,
                                      512, 9, 17, 34, 66, 132, 265, 273, 546, 578};
    return netAddressType >= 0 && netAddressType < 20 ? masks[netAddressType] : 0;
}

long Parse(std::wstring_view text, DWORD mask, NcAddress& out) {
    *out.info = NetAddressInfo{};
    out.portNumber = 0;
    out.prefixLength = 0;
    std::wstring_view s = Trimmed(text);
    if (s.empty()) return ResultEmpty;

    // Each family is tried on its own candidate so that a partial match of one leaves nothing
    // behind in the answer of another.
    Candidate v4, v6, named;
    MatchIpv4(s, v4);
    MatchIpv6(s, v6);
    MatchName(s, named);
    if (!((v4.forms | v6.forms | named.forms) & AllForms)) return ResultInvalid;
    for (Candidate* c : {&v4, &v6, &named}) {
        if (!(c->forms & mask)) continue;
        if (c->nameTooLong) return ResultBufferTooSmall;
        *out.info = c->info;
        out.portNumber = c->port;
        out.prefixLength = c->prefix;
        return ResultOk;
    }
    return ResultWrongType;
}

std::wstring Ipv4Text(const SocketAddressV4& a) {
    std::wstring s;
    for (int i = 0; i < 4; ++i) {
        if (i) s += L'.';
        s += std::to_wstring(a.address[i]);
    }
    return s;
}

std::wstring Ipv6Text(const SocketAddressV6& a) {
    std::wstring s;
    wchar_t group[8];
    for (int i = 0; i < 8; ++i) {
        if (i) s += L':';
        swprintf(group, 8, L"%X", static_cast<unsigned>(a.address[2 * i] << 8 | a.address[2 * i + 1]));
        s += group;
    }
    return s;
}

std::wstring ExpectedForms(DWORD mask) {
    static const struct {
        DWORD bit;
        const wchar_t* text;
    } forms[] = {
        {Ipv4Address, L"IPv4 address: 192.168.0.1"},
        {Ipv4Service, L"IPv4 address and port: 192.168.0.1:80"},
        {Ipv4Network, L"IPv4 network: 192.168.0.0/24"},
        {Ipv6Address | Ipv6AddressNoScope, L"IPv6 address: fe80::1"},
        {Ipv6Service | Ipv6ServiceNoScope, L"IPv6 address and port: [fe80::1]:80"},
        {Ipv6Network, L"IPv6 network: 2001:db8::/32"},
        {NamedAddress, L"Host name: www.example.com"},
        {NamedService, L"Host name and port: www.example.com:80"},
    };
    std::wstring text;
    for (const auto& f : forms) {
        if (!(mask & f.bit)) continue;
        if (!text.empty()) text += L"\r\n";
        text += f.text;
    }
    return text;
}

}  // namespace controls::netaddress
