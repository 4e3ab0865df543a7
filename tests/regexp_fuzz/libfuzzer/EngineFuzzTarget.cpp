// libFuzzer target over the engine's public interface, built with clang's address and
// undefined-behaviour sanitizers (and libstdc++'s precondition checks). Each input is a set of
// flags, a pattern, a replacement and a text; every entry point runs with a small step budget.
// Besides what the sanitizers catch, the run aborts when a call raises anything but the
// engine's own errors or returns matches that break what a caller relies on.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "regexp/RegExp.h"

namespace {

bool IsEngineNumber(long n) {
    return (n >= rx::err::Syntax && n <= rx::err::InvalidRange) || n == rx::err::BudgetExceeded || n == 7;
}

void Check(bool holds) {
    if (!holds) std::abort();
}

void CheckMatches(const rx::String& text, const rx::MatchCollection& all) {
    long previousEnd = -1;
    for (const rx::Match& m : all) {
        const long start = m.FirstIndex(), end = start + m.Length();
        Check(start >= 0 && m.Length() >= 0 && end <= static_cast<long>(text.size()));
        Check(start >= previousEnd);
        Check(m.ValueView() == rx::StringView(text).substr(static_cast<size_t>(start), static_cast<size_t>(m.Length())));
        for (long g = 0; g < m.SubMatchCount(); ++g) {
            const auto sub = m.SubMatch(g);
            const long at = m.SubMatchIndex(g);
            Check(sub.has_value() == (at >= 0));
            if (sub) Check(at + static_cast<long>(sub->size()) <= static_cast<long>(text.size()));
        }
        previousEnd = end > start ? end : start + 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const auto flags = in.ConsumeIntegral<uint8_t>();
    const rx::String pattern = rx::FromUtf8(in.ConsumeRandomLengthString(512));
    const rx::String replacement = rx::FromUtf8(in.ConsumeRandomLengthString(32));
    const rx::String text = rx::FromUtf8(in.ConsumeRemainingBytesAsString());

    rx::RegExp re;
    re.Pattern(pattern);
    re.IgnoreCase(flags & 1);
    re.Multiline(flags & 2);
    re.Global(flags & 4);
    re.StepBudget(100'000);
    try {
        switch ((flags >> 3) & 3) {
        case 0: {
            const rx::MatchCollection all = re.Execute(text);
            CheckMatches(text, all);
            Check(re.Count(text) == all.Count());
            break;
        }
        case 1: {
            const bool found = re.Test(text);
            Check(found == (re.Count(text) > 0));
            break;
        }
        case 2:
            re.Replace(text, replacement);
            break;
        default:
            re.Count(text);
            break;
        }
    } catch (const base::Error& e) {
        Check(IsEngineNumber(e.Number()));
    }
    return 0;
}
