// INI keys through the ANSI profile functions, with their fixed-size buffers: a read returns
// at most 254 bytes, a write stores at most 256 characters.

#include "util/clsUtil.h"

#include <cstring>

#include "util/CodePage.h"

namespace {

constexpr size_t kBufferChars = 256;
constexpr DWORD kReadSize = 255;

std::string Ansi(const std::wstring& s) {
    return util::Encode(s, CP_ACP);
}

}  // namespace

std::wstring clsUtil::ReadIniKeyValue(const std::wstring& FileName, const std::wstring& Section,
                                      const std::wstring& Key, const std::wstring& DefaultValue) const {
    char buffer[kBufferChars];
    std::memset(buffer, ' ', sizeof buffer);
    ::GetPrivateProfileStringA(Ansi(Section).c_str(), Ansi(Key).c_str(), Ansi(DefaultValue).c_str(), buffer,
                               kReadSize, Ansi(FileName).c_str());
    return util::Decode(std::string_view(buffer, ::strnlen(buffer, kReadSize)), CP_ACP);
}

void clsUtil::WriteIniKeyValue(const std::wstring& FileName, const std::wstring& Section, const std::wstring& Key,
                               const std::wstring& Value) const {
    // The value up to its first NUL, and never more than the buffer holds.
    std::wstring stored = Value.substr(0, kBufferChars);
    ::WritePrivateProfileStringA(Ansi(Section).c_str(), Ansi(Key).c_str(), Ansi(stored).c_str(),
                                 Ansi(FileName).c_str());
}
