#include "regexp/StepCounter.h"

namespace rx {

// The current grant has run out (what it overdrew included): the search ends at its budget or at
// the caller's request, or goes on with a new grant.
bool StepCounter::Renew() {
    const int64_t remaining = budgetLeft_ + left;
    if (remaining < 0) return false;
    if (stop_ && stop_->load(std::memory_order_relaxed)) {
        stopped_ = true;
        return false;
    }
    left = std::min(remaining, Matcher::StopPollSteps);
    budgetLeft_ = remaining - left;
    return true;
}

}  // namespace rx
