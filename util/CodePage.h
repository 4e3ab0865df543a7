// Text <-> bytes in a Windows code page (CP_UTF8, 936, CP_ACP). Characters the code page cannot
// hold become its default character; undecodable bytes become U+FFFD. A conversion that fails
// outright (a code page the system lacks) raises 5, or 7 when memory ran out.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace util {

constexpr UINT kGb2312 = 936;

std::string Encode(std::wstring_view text, UINT codePage);
std::wstring Decode(std::string_view bytes, UINT codePage);

}  // namespace util
