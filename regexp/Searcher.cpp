#include "regexp/Searcher.h"

#include <algorithm>
#include <atomic>
#include <cstdint>

namespace rx {
namespace {

std::atomic<bool> dfaSwitch{true};
std::atomic<size_t> dfaFromLength{Searcher::kDfaFromLength};

// A program without a choice to go back to (sequences of units, strings, classes, loops that
// never give back, anchors): each of the backtracker's attempts runs straight through, with its
// vector scans, and the automaton has nothing to save it.
bool Straight(const Program& program) {
    const auto& code = program.code;
    for (size_t pc = 0; pc < code.size(); pc += static_cast<size_t>(InstrSize(code.data(), pc))) {
        switch (static_cast<Op>(code[pc])) {
        case Op::Split: case Op::SplitLazy: case Op::Loop: case Op::Star: case Op::StarLazy: return false;
        default: break;
        }
    }
    return true;
}

}  // namespace

bool Searcher::MayUseDfa(const Program& program) {
    return program.reversed && LazyDfa::Handles(program) && !Straight(program);
}

bool Searcher::DfaFor(const Program& program, size_t length) {
    return dfaSwitch.load(std::memory_order_relaxed) && length >= dfaFromLength.load(std::memory_order_relaxed) &&
           MayUseDfa(program);
}

void Searcher::PieceOf(size_t wholeLength, Automata* kept, const std::shared_ptr<const Program>& program) {
    dfa_ = DfaFor(prog_, std::max(length_, wholeLength));
    if (!kept || program.get() != &prog_) return;
    if (kept->program_ != program) {
        // (the automata, kept alive, keep their program alive: no other can take its place)
        kept->forward_.reset();
        kept->backward_.reset();
        kept->program_ = program;
        kept->gaveUp_ = false;
    }
    dfas_ = kept;
}

void Searcher::UseDfa(bool on) { dfaSwitch.store(on); }
bool Searcher::DfaInUse() { return dfaSwitch.load(); }
void Searcher::DfaFromLength(size_t units) { dfaFromLength.store(units); }
size_t Searcher::DfaFromLength() { return dfaFromLength.load(); }

Searcher::Searcher(const Program& program, const Char* text, size_t length, uint64_t stepBudget,
                   const std::atomic<bool>* stop)
    : prog_(program), matcher_(program, text, length, stepBudget, stop), text_(text), length_(length),
      budget_(stepBudget), linear_(PikeVm::Handles(program)), dfa_(DfaFor(program, length)),
      allowance_(kBaseSteps + kStepsPerUnit * static_cast<uint64_t>(length)) {
    const uint64_t extra = kRunStepsPerUnit * static_cast<uint64_t>(length);
    runLeft_ = runBudget_ = stepBudget > UINT64_MAX - extra ? UINT64_MAX : stepBudget + extra;
}

// False when the text from `from` on lacks a unit that every match contains. The text is read
// once, backwards from its end to the unit's last place, however many searches ask.
bool Searcher::MayMatchFrom(size_t from) {
    if (prog_.start.requiredUnit < 0) return true;
    if (!requiredKnown_) {
        const auto unit = static_cast<Char>(prog_.start.requiredUnit);
        size_t p = length_;
        while (p > 0 && text_[p - 1] != unit) --p;
        lastRequired_ = p;  // one past the last place; 0: nowhere
        requiredKnown_ = true;
    }
    return lastRequired_ > from;
}

// The size `spans` may reach with matches appended in a batch: room for `many` less the last.
size_t Searcher::Room(const std::vector<int32_t>& spans, size_t many) {
    return many > SIZE_MAX / 2 - spans.size() ? SIZE_MAX : spans.size() + 2 * (many - 1);
}

// Where no match can start at or after: one past the required unit's last place (SIZE_MAX when
// the program has no required unit).
size_t Searcher::Before() {
    if (prog_.start.requiredUnit < 0) return SIZE_MAX;
    MayMatchFrom(0);  // (finds that place once)
    return lastRequired_;
}

Status Searcher::Linear(size_t from, bool anchored, size_t slots, uint64_t budget, std::vector<int32_t>& spans) {
    if (!pike_) pike_ = std::make_unique<PikeVm>(prog_, matcher_, text_, length_);
    return pike_->Search(from, anchored, slots, budget, spans);
}

// The selection point. Back-references and look-aheads: the backtracker, bounded by the budget.
// Everything else: the backtracker while the run's allowance lasts, then the linear matcher.
Status Searcher::Search(size_t from, std::vector<int32_t>& spans, bool withGroups, size_t many) {
    if (withGroups) many = 1;
    const size_t all = 2 * (prog_.groupCount + 1), slots = withGroups ? all : 2;
    if (from >= exhausted_ || !MayMatchFrom(from)) return Status::NoMatch;
    if (runLeft_ == 0) return Status::BudgetExceeded;
    if (dfa_) {
        const size_t before = spans.size();
        size_t began = from;
        const Status st = Automaton(from, spans, withGroups, many, std::min(budget_, runLeft_), began);
        // (after matches of a batch: the search that found none tells of the rest of the text)
        if (st == Status::NoMatch && spans.size() > before) {
            exhausted_ = began;
            return Status::Match;
        }
        if (st != Status::OutOfMemory) return st;
        // the cache cannot hold the states this text needs: the other matchers take over, from
        // the search in hand on
        dfa_ = false;
        dfas_->forward_.reset();
        dfas_->backward_.reset();
        dfas_->gaveUp_ = true;
        if (spans.size() > before) return Status::Match;
        if (runLeft_ == 0) return Status::BudgetExceeded;
    }
    // a search gets the budget, or what the run has left of it when that is less
    const uint64_t searchBudget = std::min(budget_, runLeft_);
    uint64_t used = 0;
    if (!linear_ || allowance_ > 0) {
        // the backtracker keeps half the budget at most, so that the linear matcher has the rest
        Batch batch{&spans, linear_ ? std::max<uint64_t>(searchBudget / 2, 1) : searchBudget, runLeft_, budget_,
                    linear_ ? allowance_ : UINT64_MAX, Before(), Room(spans, many), 0, from};
        matcher_.Budget(batch.Budget());
        const size_t before = spans.size();
        const Status st = matcher_.Search(from, spans, many > 1 ? &batch : nullptr);
        if (st == Status::Match && slots < all) spans.resize(spans.size() - all + slots);
        used = std::min(matcher_.Steps(), batch.Budget());
        // (the backtrack stack's cap is no limit for the linear matcher either)
        if (!linear_ || (st != Status::BudgetExceeded && st != Status::OutOfMemory)) {
            if (linear_) allowance_ -= std::min(allowance_, batch.spent + used);
            Spend(batch.spent + used);
            if (st == Status::NoMatch && spans.size() > before) {
                exhausted_ = batch.from;
                return Status::Match;
            }
            return st;
        }
        // the search in hand goes on the linear matcher, from where it began
        allowance_ = 0;
        Spend(batch.spent);
        from = batch.from;
    }
    const uint64_t linearBudget = searchBudget - std::min(used, searchBudget);
    const Status st = Linear(from, false, slots, linearBudget, spans);
    Spend(used + std::min(pike_->Steps(), linearBudget));
    return st;
}

// Forwards to the leftmost match's end, backwards from there to its start (no further back than
// where the forward search began it; not at all when the forward search knows it), then the
// groups when asked for.
Status Searcher::Automaton(size_t from, std::vector<int32_t>& spans, bool withGroups, size_t many, uint64_t budget,
                           size_t& began) {
    Automata& a = *dfas_;
    if (!a.forward_) {
        a.forward_ = std::make_unique<LazyDfa>(prog_, LazyDfa::Mode::LeftmostFirst, matcher_.StopFlag());
        a.backward_ = std::make_unique<LazyDfa>(*prog_.reversed, LazyDfa::Mode::Longest, matcher_.StopFlag());
    }
    LazyDfa& forward = *a.forward_;
    LazyDfa& backward = *a.backward_;
    forward.Budget(budget);
    forward.FollowedBy(followedBy_);
    size_t end = 0, floor = 0, start = 0;
    bool atFloor = false;
    Batch batch{&spans, budget, runLeft_, budget_, UINT64_MAX, Before(), Room(spans, many), 0, from};
    Status st = forward.Forward(text_, length_, from, &matcher_, end, floor, atFloor, many > 1 ? &batch : nullptr);
    began = batch.from;
    waysAtEnd_ = waysAtEnd_ || forward.WaysAtEnd();
    // (the searches of the batch spent within their budgets; the one in hand may have overdrawn)
    uint64_t used = std::min(forward.Steps(), budget);
    Spend(batch.spent + used);
    if (st != Status::Match) return st;
    if (atFloor) {
        start = floor;
    } else {
        backward.Budget(budget - used);
        st = backward.Backward(text_, length_, end, floor, start);
        const uint64_t back = std::min(backward.Steps(), budget - used);
        Spend(back);
        used += back;
        // (a match found forwards is always found backwards: were it not, the other matchers answer)
        if (st == Status::NoMatch) return Status::OutOfMemory;
        if (st != Status::Match) return st;
    }
    if (withGroups) {
        const uint64_t left = budget - std::min(budget, used);
        uint64_t spent = 0;
        st = Groups(start, end, left, spans, spent);
        Spend(spent);
        return st;
    }
    spans.push_back(static_cast<int32_t>(start));
    spans.push_back(static_cast<int32_t>(end));
    return Status::Match;
}

Status Searcher::MatchAt(size_t start, size_t end, std::vector<int32_t>& spans) {
    // (one match's groups, read when asked for: the run's allowance is not this reading's to spend)
    const uint64_t allowance = allowance_;
    uint64_t used = 0;
    const Status st = Groups(start, end, budget_, spans, used);
    allowance_ = allowance;
    return st;
}

Status Searcher::Groups(size_t start, size_t end, uint64_t budget, std::vector<int32_t>& spans, uint64_t& used) {
    const size_t all = 2 * (prog_.groupCount + 1);
    if (linear_ && allowance_ == 0) {
        const Status st = Linear(start, true, all, budget, spans);
        used = std::min(pike_->Steps(), budget);
        return st;
    }
    // the backtracker's first attempt at start is the match; a pattern the linear matcher
    // follows gets no more steps than the match's length warrants before it takes over
    const uint64_t first =
        linear_ ? std::min(std::max<uint64_t>(budget / 2, 1), kBaseSteps + kStepsPerUnit * (end - start + 1)) : budget;
    matcher_.Budget(first);
    const size_t before = spans.size();
    const Status st = matcher_.Search(start, spans);
    used = std::min(matcher_.Steps(), first);
    if (linear_) allowance_ -= std::min(allowance_, used);
    if (!linear_ || (st != Status::BudgetExceeded && st != Status::OutOfMemory)) return st;
    spans.resize(before);
    allowance_ = 0;
    const Status again = Linear(start, true, all, budget - used, spans);
    used += std::min(pike_->Steps(), budget - used);
    return again;
}

}  // namespace rx
