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

    CountResult Count(const rx::String& text) override {
        try {
            return {re_->Execute(rx::StringView(text)).Count(), {}};
        } catch (const base::Error& e) {
            return {-1, e.what()};
        }
    }

private:
    std::unique_ptr<rx::RegExp> re_;
};

}  // namespace

std::unique_ptr<Engine> MakeOurEngine() { return std::make_unique<OurEngine>(); }

}  // namespace rxbench
