// The one error type of the library's convention: a number and a description, raised to the
// caller the way an Automation error is (380 "Invalid property value", 5 "Invalid procedure
// call or argument", 5017 "Syntax error in regular expression", ...). Portable: used by the
// engine on Linux as well as by the host and the controls on Windows.
#pragma once

#include <exception>
#include <string>

namespace base {

class Error : public std::exception {
public:
    Error(long number, std::wstring description, std::wstring source = {})
        : number_(number), description_(std::move(description)), source_(std::move(source)),
          what_(Narrow(description_)) {}

    long Number() const noexcept { return number_; }
    const std::wstring& Description() const noexcept { return description_; }
    // Who raised it: the host names the program's project, as an Automation error's Source does.
    const std::wstring& Source() const noexcept { return source_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    // UTF-8 of the description, for what(); the descriptions are BMP text.
    static std::string Narrow(const std::wstring& s) {
        std::string out;
        for (wchar_t wc : s) {
            auto c = static_cast<unsigned long>(wc);
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else if (c < 0x800) {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            } else {
                out += static_cast<char>(0xE0 | ((c >> 12) & 0x0F));
                out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        return out;
    }

    long number_;
    std::wstring description_;
    std::wstring source_;
    std::string what_;
};

// Numbers used across the library.
namespace err {
constexpr long InvalidProcedureCall = 5;     // "Invalid procedure call or argument"
constexpr long Overflow = 6;                 // "Overflow"
constexpr long OutOfMemory = 7;              // "Out of memory"
constexpr long TypeMismatch = 13;            // "Type mismatch"
constexpr long InvalidPropertyValue = 380;   // "Invalid property value"
constexpr long InvalidPropertyArrayIndex = 381;
constexpr long ReadOnlyAtRunTime = 382;
constexpr long CantSetProperty = 383;
}  // namespace err

}  // namespace base
