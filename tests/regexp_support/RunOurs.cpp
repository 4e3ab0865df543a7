#include "tests/regexp_support/Outcome.h"

#include "base/Error.h"
#include "regexp/RegExp.h"

namespace rxtest {

Outcome RunOurs(const Case& c, uint64_t stepBudget) {
    Outcome out;
    try {
        rx::RegExp re;
        re.Pattern(c.pattern);
        re.IgnoreCase(c.ignoreCase);
        re.Global(c.global);
        re.Multiline(c.multiline);
        re.StepBudget(stepBudget);
        rx::MatchCollection matches = re.Execute(rx::StringView(c.text));
        for (const rx::Match& m : matches) {
            MatchRecord r{m.FirstIndex(), m.Length(), m.Value(), {}};
            for (long g = 0; g < m.SubMatchCount(); ++g) r.subMatches.push_back(m.SubMatch(g));
            out.matches.push_back(std::move(r));
        }
        out.test = re.Test(c.text);
        if (c.probedGlobal) re.Global(false);
        out.replaced = re.Replace(c.text, c.replacement);
    } catch (const base::Error& e) {
        out.status = e.Number() == rx::err::BudgetExceeded ? Outcome::Status::TooComplex : Outcome::Status::Rejected;
        out.errorNumber = e.Number();
        out.matches.clear();
    }
    return out;
}

}  // namespace rxtest
