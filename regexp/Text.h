// The engine works on UTF-16 code units, the units of the Windows edit control's SelStart and
// SelLength. On Windows that is wchar_t (so a std::wstring is passed without conversion); on
// Linux, where wchar_t is 32 bits wide, it is char16_t.
#pragma once

#include <climits>
#include <cstdint>
#include <cwchar>
#include <string>
#include <string_view>

namespace rx {

#if WCHAR_MAX == 0xFFFF
using Char = wchar_t;
#else
using Char = char16_t;
#endif
using String = std::basic_string<Char>;
using StringView = std::basic_string_view<Char>;

// Conversions for tools and tests (UTF-8 <-> UTF-16; invalid UTF-8 becomes U+FFFD, a lone
// surrogate is written as the three-byte form of its code unit).
String FromUtf8(std::string_view utf8);
// FromUtf8 into a buffer of at least utf8.size() units; returns how many it wrote.
size_t FromUtf8(std::string_view utf8, Char* out);
std::string ToUtf8(StringView text);

}  // namespace rx
