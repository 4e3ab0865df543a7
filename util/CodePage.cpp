#include "util/CodePage.h"

#include <climits>

#include "util/Errors.h"

namespace util {
namespace {

[[noreturn]] void RaiseConversionFailure() {
    Raise(::GetLastError() == ERROR_NOT_ENOUGH_MEMORY ? base::err::OutOfMemory : base::err::InvalidProcedureCall);
}

}  // namespace

std::string Encode(std::wstring_view text, UINT codePage) {
    if (text.empty()) return {};
    if (text.size() > INT_MAX / 4) Raise(base::err::OutOfMemory);
    const int units = static_cast<int>(text.size());
    // A text that converts to nothing did not convert (an unknown code page, no memory): that is
    // raised, never passed on as an empty text that a save would write over the user's file.
    int size = ::WideCharToMultiByte(codePage, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
    if (size <= 0) RaiseConversionFailure();
    std::string bytes(static_cast<size_t>(size), '\0');
    if (::WideCharToMultiByte(codePage, 0, text.data(), units, bytes.data(), size, nullptr, nullptr) != size)
        RaiseConversionFailure();
    return bytes;
}

std::wstring Decode(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    if (bytes.size() > INT_MAX / 2) Raise(base::err::OutOfMemory);
    const int count = static_cast<int>(bytes.size());
    int size = ::MultiByteToWideChar(codePage, 0, bytes.data(), count, nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), count, text.data(), size);
    return text;
}

}  // namespace util
