// The step countdown of the matchers that follow every way at once (the linear matcher and the
// lazy DFA). Steps are handed out in grants of at most Matcher::StopPollSteps: the hot loops
// only count `left` down, and the budget and the caller's stop flag are looked at when a grant
// runs out, as often as the backtracker looks at them.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "regexp/Matcher.h"

namespace rx {

class StepCounter {
public:
    struct Out {};  // thrown when the steps run out or the flag is set; the search catches it

    explicit StepCounter(const std::atomic<bool>* stop) : stop_(stop) {}

    // A search's start, with its budget; false when there is nothing to spend (the budget is
    // none or the flag is already set). A budget beyond what the signed count holds is as good
    // as endless: it is cut to that, so that Spent stays true.
    bool Begin(uint64_t budget) {
        budget_ = std::min<uint64_t>(budget, INT64_MAX);
        left = 0;
        budgetLeft_ = static_cast<int64_t>(budget_);
        stopped_ = false;
        return Renew();
    }
    void Step() {
        if (--left < 0 && !Renew()) throw Out{};
    }
    void Charge(int64_t steps) {
        left -= steps;
        if (left < 0 && !Renew()) throw Out{};
    }
    // What the last search spent; one more than its budget when it overdrew.
    uint64_t Spent() const {
        const int64_t rest = budgetLeft_ + left;
        return rest >= 0 ? budget_ - static_cast<uint64_t>(rest) : budget_ + 1;
    }
    Status Ended() const { return stopped_ ? Status::Stopped : Status::BudgetExceeded; }

    // What remains of the current grant. Work charged here without a look at the grant is
    // settled when the next Step or Charge finds it overdrawn.
    int64_t left = 0;

private:
    // Out of line: kept off the hot loops, which then count down in memory with one instruction.
    bool Renew();

    const std::atomic<bool>* stop_;
    uint64_t budget_ = 0;
    int64_t budgetLeft_ = 0;  // beyond the current grant
    bool stopped_ = false;
};

}  // namespace rx
