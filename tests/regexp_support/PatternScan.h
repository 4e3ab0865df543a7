// Syntactic questions about a pattern that the comparison with the reference needs answered
// without running either engine: a light scanner of the dialect, conservative where unsure.
#pragma once

#include <optional>

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

// The pattern with every '-' that follows a class escape inside a class escaped ("[\d-a-c]"
// becomes "[\d\-a-c]": \d, '-' and the range a-c).
rx::String EscapeDashAfterClassEscape(rx::StringView pattern);

// The end of the group opened at `open` (the index of its ')'), or npos when it is not closed.
size_t GroupEnd(rx::StringView pattern, size_t open);

// A back-reference that stands inside the group it names, such as "(a\1b)".
bool HasBackReferenceInsideItsGroup(rx::StringView pattern);

// The escapes "\" + digits outside classes read by the documented rule: "\nml" (n 0-3, all
// octal) is an octal escape; "\nm" and "\n" are back-references only when that many groups
// come before them in the pattern, else octal (or the digit itself). The octal ones are written
// back as \uXXXX. With `wineDigits` an octal escape takes its digits the way Wine does
// (WineOctal). Empty when nothing changes.
std::optional<rx::String> OctalByPrecedingGroups(rx::StringView pattern, bool wineDigits);

// Wine's octal escape from p[at]: every octal digit that follows is taken, and the value grows
// while it stays within one byte ("\1017" is 'A', "\407" a space, "\0141" 'a'). Returns the
// number of digits taken.
size_t WineOctal(rx::StringView p, size_t at, unsigned* value);

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
