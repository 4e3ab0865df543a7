#include "tests/regexp_support/ReferenceRegExp.h"

#include <stdexcept>

namespace rxtest {

namespace {

VARIANT_BOOL ToVariantBool(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }

HRESULT GetProperty(IDispatch* object, DISPID id, VARIANT* args, UINT argCount, Variant& result) {
    DISPPARAMS params{args, nullptr, argCount, 0};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &params, result.Put(), nullptr, nullptr);
}

// One sub-match: a string, or Empty for a group that did not take part.
HRESULT ReadSubMatch(IDispatch* subMatches, long index, std::optional<rx::String>* out) {
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_I4;
    arg.lVal = index;
    Variant value;
    HRESULT hr = GetProperty(subMatches, vbs::DISPID_SubMatchesItem, &arg, 1, value);
    if (FAILED(hr)) return hr;
    if (value.Get().vt == VT_EMPTY) {
        out->reset();
    } else if (value.Get().vt == VT_BSTR) {
        BSTR b = value.Get().bstrVal;
        *out = rx::String(b ? b : L"", b ? SysStringLen(b) : 0);
    } else {
        return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}

}  // namespace

ReferenceRegExp::ReferenceRegExp() {
    HRESULT hr = CoCreateInstance(vbs::CLSID_RegExp, nullptr, CLSCTX_INPROC_SERVER, vbs::IID_IRegExp2,
                                  reinterpret_cast<void**>(re_.Put()));
    if (FAILED(hr)) throw std::runtime_error("VBScript.RegExp is not available: HRESULT " + std::to_string(hr));
}

HRESULT ReferenceRegExp::Configure(rx::StringView pattern, bool ignoreCase, bool global, bool multiline) {
    Bstr p(pattern);
    HRESULT hr = re_->put_Pattern(p.Get());
    if (SUCCEEDED(hr)) hr = re_->put_IgnoreCase(ToVariantBool(ignoreCase));
    if (SUCCEEDED(hr)) hr = re_->put_Global(ToVariantBool(global));
    if (SUCCEEDED(hr)) hr = re_->put_Multiline(ToVariantBool(multiline));
    return hr;
}

HRESULT ReferenceRegExp::ReadMatch(IDispatch* item, MatchRecord* record) {
    ComPtr<vbs::IMatch2> match;
    HRESULT hr = item->QueryInterface(vbs::IID_IMatch2, reinterpret_cast<void**>(match.Put()));
    if (FAILED(hr)) return hr;
    Bstr value;
    LONG index = 0, length = 0;
    if (FAILED(hr = match->get_Value(value.Put()))) return hr;
    if (FAILED(hr = match->get_FirstIndex(&index))) return hr;
    if (FAILED(hr = match->get_Length(&length))) return hr;
    record->index = index;
    record->length = length;
    record->value = rx::String(value.View());

    ComPtr<IDispatch> subMatches;
    if (FAILED(hr = match->get_SubMatches(subMatches.Put()))) return hr;
    Variant count;
    if (FAILED(hr = GetProperty(subMatches.Get(), vbs::DISPID_SubMatchesCount, nullptr, 0, count))) return hr;
    Variant asLong;
    if (FAILED(hr = VariantChangeType(asLong.Put(), count.Ptr(), 0, VT_I4))) return hr;
    record->subMatches.resize(static_cast<size_t>(asLong.Get().lVal));
    for (long g = 0; g < asLong.Get().lVal; ++g) {
        if (FAILED(hr = ReadSubMatch(subMatches.Get(), g, &record->subMatches[g]))) return hr;
    }
    return S_OK;
}

HRESULT ReferenceRegExp::Execute(const Bstr& text, std::vector<MatchRecord>* matches, long* count) {
    ComPtr<IDispatch> result;
    HRESULT hr = re_->Execute(text.Get(), result.Put());
    if (FAILED(hr)) return hr;
    ComPtr<vbs::IMatchCollection2> collection;
    if (FAILED(hr = result.As(vbs::IID_IMatchCollection2, collection))) return hr;
    LONG n = 0;
    if (FAILED(hr = collection->get_Count(&n))) return hr;
    *count = n;
    if (!matches) return S_OK;
    matches->assign(static_cast<size_t>(n), MatchRecord{});
    for (LONG i = 0; i < n; ++i) {
        ComPtr<IDispatch> item;
        if (FAILED(hr = collection->get_Item(i, item.Put()))) return hr;
        if (FAILED(hr = ReadMatch(item.Get(), &(*matches)[i]))) return hr;
    }
    return S_OK;
}

HRESULT ReferenceRegExp::Test(const Bstr& text, bool* matched) {
    VARIANT_BOOL b = VARIANT_FALSE;
    HRESULT hr = re_->Test(text.Get(), &b);
    *matched = b != VARIANT_FALSE;
    return hr;
}

HRESULT ReferenceRegExp::Replace(const Bstr& text, const Bstr& replacement, rx::String* result) {
    VARIANT with;
    VariantInit(&with);
    with.vt = VT_BSTR;
    with.bstrVal = replacement.Get();  // borrowed: Replace takes the VARIANT by value, we keep ownership
    Bstr out;
    HRESULT hr = re_->Replace(text.Get(), with, out.Put());
    if (SUCCEEDED(hr)) *result = rx::String(out.View());
    return hr;
}

HRESULT ReferenceRegExp::ProbeGlobal(const Case& c, const Bstr& text, std::vector<MatchRecord>* matches) {
    matches->clear();
    const long length = static_cast<long>(c.text.size());
    long from = 0;
    while (from <= length) {
        bool found = false;
        for (long at = from; at <= length && !found; ++at) {
            // "^" meets position 0 first, so a match starting at 0 is the pattern's match at `at`.
            std::wstring probe = L"^[\\s\\S]{" + std::to_wstring(at) + L"}(?:" + std::wstring(c.pattern) + L")";
            HRESULT hr = Configure(probe, c.ignoreCase, false, c.multiline);
            std::vector<MatchRecord> one;
            long n = 0;
            if (SUCCEEDED(hr)) hr = Execute(text, &one, &n);
            if (FAILED(hr)) return hr;
            if (n != 1 || one[0].index != 0) continue;
            MatchRecord m = std::move(one[0]);
            m.index = at;
            m.length -= at;
            m.value.erase(0, static_cast<size_t>(at));
            from = m.length == 0 ? at + 1 : at + m.length;
            matches->push_back(std::move(m));
            found = true;
        }
        if (!found) break;
    }
    return S_OK;
}

Outcome ReferenceRegExp::Run(const Case& c) {
    Outcome out;
    Bstr text(c.text);
    Bstr replacement(c.replacement);
    long count = 0;
    bool probe = c.global && c.probedGlobal;
    HRESULT hr = Configure(c.pattern, c.ignoreCase, c.global && !probe, c.multiline);
    // the plain run first: it rejects a malformed pattern the way the probes would not
    if (SUCCEEDED(hr)) hr = Execute(text, &out.matches, &count);
    if (SUCCEEDED(hr)) hr = Test(text, &out.test);
    if (SUCCEEDED(hr)) hr = Replace(text, replacement, &out.replaced);
    if (SUCCEEDED(hr) && probe) hr = ProbeGlobal(c, text, &out.matches);
    if (FAILED(hr)) {
        out.status = Outcome::Status::Rejected;
        out.errorNumber = static_cast<long>(hr);
        out.matches.clear();
    }
    return out;
}

}  // namespace rxtest
