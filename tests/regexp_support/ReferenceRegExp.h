// The platform's RegExp object, driven through IRegExp2 the way the workbench would drive it, as
// the reference our engine is compared with. Windows only; the caller holds a ComApartment.
#pragma once

#include <vector>

#include "tests/regexp_support/ComOwners.h"
#include "tests/regexp_support/Outcome.h"
#include "tests/regexp_support/VbScriptInterfaces.h"

namespace rxtest {

class ReferenceRegExp {
public:
    ReferenceRegExp();  // throws std::runtime_error when the class is not there

    HRESULT Configure(rx::StringView pattern, bool ignoreCase, bool global, bool multiline);
    // The match list with sub-matches, or with matches == nullptr only the count (cheaper).
    HRESULT Execute(const Bstr& text, std::vector<MatchRecord>* matches, long* count);
    HRESULT Test(const Bstr& text, bool* matched);
    HRESULT Replace(const Bstr& text, const Bstr& replacement, rx::String* result);

    // The case as RunOurs runs it; any failing call counts as a rejected pattern.
    Outcome Run(const Case& c);

private:
    HRESULT ReadMatch(IDispatch* item, MatchRecord* record);
    // A Global run rebuilt from non-global searches, each anchored at one position by a
    // fixed-length prefix, advancing one unit past an empty match.
    HRESULT ProbeGlobal(const Case& c, const Bstr& text, std::vector<MatchRecord>* matches);

    ComPtr<vbs::IRegExp2> re_;
};

}  // namespace rxtest
