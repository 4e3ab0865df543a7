// The platform's VBScript.RegExp through IRegExp2 (under Wine: Wine's implementation).
#include <memory>

#include "bench/regexp/Engines.h"
#include "tests/regexp_support/ReferenceRegExp.h"

namespace rxbench {

namespace {

class VbScriptEngine : public Engine {
public:
    const char* Name() const override { return "VBScript"; }

    std::string Prepare(const rx::String& pattern) override {
        HRESULT hr = re_.Configure(pattern, false, true, true);
        return SUCCEEDED(hr) ? std::string() : "HRESULT " + std::to_string(hr);
    }

    CountResult Count(const rx::String& text) override {
        if (!text_ || source_ != &text) {
            text_ = std::make_unique<rxtest::Bstr>(text);
            source_ = &text;
        }
        long n = 0;
        HRESULT hr = re_.Execute(*text_, nullptr, &n);
        if (FAILED(hr)) return {-1, "HRESULT " + std::to_string(hr)};
        return {n, {}};
    }

private:
    rxtest::ReferenceRegExp re_;
    std::unique_ptr<rxtest::Bstr> text_;  // the text as a BSTR, made once per text
    const rx::String* source_ = nullptr;  // not owned: the text text_ was made from
};

}  // namespace

std::unique_ptr<Engine> MakeVbScriptEngine() { return std::make_unique<VbScriptEngine>(); }

}  // namespace rxbench
