// Our dialect reads a '-' beside a class escape inside a class as a literal ("[\w-.]" is \w, '-'
// and '.'); std::regex and PCRE2 reject that as a range. The other engines get the '-' escaped.
#pragma once

#include "regexp/Text.h"

namespace rxbench {

rx::String EscapeDashBesideClassEscape(const rx::String& pattern);

}  // namespace rxbench
