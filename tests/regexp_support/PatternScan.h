// Syntactic questions about a pattern that the comparison with the reference needs answered
// without running either engine: a light scanner of the dialect, conservative where unsure.
#pragma once

#include "regexp/Text.h"

namespace rxtest {

// True unless the pattern certainly cannot match the empty string anywhere. Unsure means true.
bool MayMatchEmpty(rx::StringView pattern);

// A class range with a class escape (\d \D \w \W \s \S) as one end, such as [a-\d] or [\w-b].
bool HasClassEscapeRangeEnd(rx::StringView pattern);

// The pattern with '.', \s and \S outside and inside classes spelled out the way Wine's
// implementation reads them ('.' also stops at CR, U+2028 and U+2029; \s includes the Unicode
// spaces), so that our engine can be asked what Wine's reading would give.
rx::String SpellOutWineClasses(rx::StringView pattern);

// "$" followed by a digit somewhere in a replacement string.
bool HasNumberedSubstitution(rx::StringView replacement);

}  // namespace rxtest

#include <optional>

namespace rxtest {

// The pattern rewritten for matching WITHOUT IgnoreCase so that it behaves as Wine's IgnoreCase
// does, which folds only the ASCII letters: every ASCII letter stands for both its cases.
// Empty when the pattern has something the rewrite cannot carry (a back-reference).
std::optional<rx::String> AsciiCaseExpanded(rx::StringView pattern);

}  // namespace rxtest
