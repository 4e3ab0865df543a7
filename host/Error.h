// The library's one error type, shared with the engine; the host adds the standard texts so a
// raised number always carries the description a caller expects to read back.
#pragma once

#include "base/Error.h"

#include <string>

namespace host {

using base::Error;
namespace err = base::err;

// The standard description of a number ("Invalid property value" for 380, ...); numbers
// without a standard text give "Application-defined or object-defined error".
std::wstring StandardDescription(long number);

// Throws Error(number, StandardDescription(number)), its source the program's project name
// (App().ProjectName()), as every error the host raises.
[[noreturn]] void Raise(long number);

// Throws Error(number, description) for errors with a text of their own (382, 383, ...).
[[noreturn]] void Raise(long number, std::wstring description);

}  // namespace host
