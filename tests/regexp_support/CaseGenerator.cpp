#include "tests/regexp_support/CaseGenerator.h"

#include "tests/regexp_support/PatternWriter.h"

namespace rxtest {

Case CaseGenerator::Next() {
    Case c;
    c.number = count_++;
    c.pattern = Pattern(&c.malformed);
    c.text = Text(24);
    c.replacement = Replacement();
    c.ignoreCase = rng_.Percent(30);
    c.global = rng_.Percent(60);
    c.multiline = rng_.Percent(40);
    return c;
}

rx::String CaseGenerator::Pattern(bool* malformed) {
    PatternWriter writer(rng_);
    *malformed = rng_.Percent(5);
    return *malformed ? writer.Malformed() : writer.WellFormed();
}

rx::String CaseGenerator::Text(int maxLength) {
    rx::String text;
    int length = rng_.Between(0, maxLength);
    while (static_cast<int>(text.size()) < length) {
        if (rng_.Percent(8)) {
            text += u'\r';  // the line break the edit control produces
            text += u'\n';
        } else {
            text += AlphabetChar(rng_);
        }
    }
    return text;
}

rx::String CaseGenerator::Replacement() {
    // "$00" is rare: Wine's Replace result is not comparable where it appears.
    static const char* const kPieces[] = {"x", "-", "ab", "$1", "$2", "$3", "$9", "$10", "$12", "$99", "$0", "$01",
                                          "$&", "$`", "$'", "$$", "$", "$a", "$ ", "\\1", "$+", "$1$"};
    rx::String out;
    int pieces = rng_.Between(0, 4);
    for (int i = 0; i < pieces; ++i) {
        for (const char* p = rng_.Pick(kPieces); *p; ++p) out += static_cast<rx::Char>(*p);
    }
    if (rng_.Percent(10)) out += u'\u00E9';
    if (rng_.Percent(2)) out += rx::String{u'$', u'0', u'0'};
    return out;
}

}  // namespace rxtest
