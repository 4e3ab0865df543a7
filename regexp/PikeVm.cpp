#include "regexp/PikeVm.h"

#include <algorithm>
#include <climits>
#include <new>

#include "regexp/CaseFold.h"

namespace rx {
namespace {

bool IsWordUnit(uint16_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsLineBreak(uint16_t c) { return c == '\n' || c == '\r'; }

// Every word of the key reaches every bit of the hash: the counters of nested loops differ in a
// few low bits, and a weaker mix piles their states into long runs of the table.
uint64_t HashKey(const int32_t* key, size_t width) {
    uint64_t h = 0;
    for (size_t k = 0; k < width; ++k) h = (h ^ static_cast<uint32_t>(key[k])) * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 33);
}

}  // namespace

PikeVm::PikeVm(const Program& program, const Matcher& starts, const Char* text, size_t length)
    : prog_(program), starts_(starts), code_(program.code.data()), text_(text), length_(length),
      // the same memory as the backtracker's stack cap allows: 128 MB on 32 bits, 1 GB on 64
      maxInts_((sizeof(void*) == 4 ? (size_t{128} << 20) : (size_t{1} << 30)) / sizeof(int32_t)),
      // of which the states seen and the threads may take 64 MB (the threads' copies of the
      // slots may take the rest: many groups make them long). The states of one position that
      // need more are those of counted loops run through millions of counts, each a miss in a
      // table far larger than the caches: such a search cannot end within its budget anyway, and
      // a larger cap only makes it take seconds longer to fail.
      maxStateInts_((size_t{64} << 20) / sizeof(int32_t)) {
    std::vector<uint8_t> isMark(program.registerCount, 0);
    loopMark_.assign(program.code.size(), -1);
    const auto& code = program.code;
    for (size_t pc = 0; pc < code.size(); pc += static_cast<size_t>(InstrSize(code.data(), pc))) {
        switch (static_cast<Op>(code[pc])) {
        case Op::SetMark: case Op::CheckProgress: isMark[static_cast<size_t>(code[pc + 1])] = 1; break;
        case Op::CounterNext:
            if (code[pc + 2] >= 0) {
                isMark[static_cast<size_t>(code[pc + 2])] = 1;
                // the compiler closes a counted loop's body with CounterNext; Jump back to its Loop
                if (pc + 5 < code.size() && static_cast<Op>(code[pc + 5]) == Op::Jump)
                    loopMark_[static_cast<size_t>(code[pc + 6])] = code[pc + 2];
            }
            break;
        default: break;
        }
    }
    regIndex_.resize(program.registerCount);
    for (uint32_t r = 0; r < program.registerCount; ++r)
        regIndex_[r] = static_cast<int32_t>(isMark[r] ? markCount_++ : counters_++);
    marks_.assign((markCount_ + 31) / 32, 0);
    keyWidth_ = 2 + counters_ + marks_.size();
    if (keyWidth_ <= 5) direct_.assign(program.code.size() << (keyWidth_ - 1), 0);
    key_.resize(keyWidth_);
    table_.assign(64, 0);
    ProbeCost();
}

bool PikeVm::Handles(const Program& program) {
    const auto& code = program.code;
    for (size_t pc = 0; pc < code.size(); pc += static_cast<size_t>(InstrSize(code.data(), pc))) {
        switch (static_cast<Op>(code[pc])) {
        case Op::BackRef: case Op::BackRefFold: case Op::LookAhead: case Op::NegLookAhead: return false;
        default: break;
        }
    }
    return true;
}

// The current grant of steps has run out (what it overdrew included): the search ends at its
// budget or at the caller's request, or goes on with a new grant.
bool PikeVm::Renew() {
    const int64_t remaining = budgetLeft_ + left_;
    if (remaining < 0) return false;
    const std::atomic<bool>* stop = starts_.StopFlag();
    if (stop && stop->load(std::memory_order_relaxed)) {
        stopped_ = true;
        return false;
    }
    left_ = std::min(remaining, Matcher::StopPollSteps);
    budgetLeft_ = remaining - left_;
    return true;
}

bool PikeVm::IsWordAt(size_t pos) const { return pos < length_ && IsWordUnit(At(pos)); }

bool PikeVm::UnitMatches(int32_t kind, int32_t operand, uint16_t unit) const {
    switch (static_cast<UnitKind>(kind)) {
    case UnitKind::Char: return unit == static_cast<uint16_t>(operand);
    case UnitKind::CharFold: return FoldCase(unit) == static_cast<uint16_t>(operand);
    case UnitKind::Set: return prog_.sets[static_cast<size_t>(operand)].Contains(unit);
    case UnitKind::Any: return unit != '\n';
    }
    return false;
}

// Whether the consuming instruction at pc (count units into it) takes the unit at pos.
bool PikeVm::CanTake(int32_t pc, int32_t count, size_t pos) const {
    if (pos >= length_) return false;
    const uint16_t unit = At(pos);
    const int32_t* arg = code_ + pc + 1;
    switch (static_cast<Op>(code_[pc])) {
    case Op::Char: return unit == static_cast<uint16_t>(arg[0]);
    case Op::CharFold: return FoldCase(unit) == static_cast<uint16_t>(arg[0]);
    case Op::String: return unit == static_cast<uint16_t>(arg[1 + count]);
    case Op::StringFold: return FoldCase(unit) == static_cast<uint16_t>(arg[1 + count]);
    case Op::Any: return unit != '\n';
    case Op::Set: return prog_.sets[static_cast<size_t>(arg[0])].Contains(unit);
    case Op::Star: case Op::StarLazy: case Op::StarAtomic: return UnitMatches(arg[0], arg[1], unit);
    default: return false;
    }
}

// Where a thread goes once it has taken its unit (CanTake was checked when it was added).
bool PikeVm::Next(const Thread& t, int32_t& pc, int32_t& count) const {
    const int32_t* arg = code_ + t.pc + 1;
    switch (static_cast<Op>(code_[t.pc])) {
    case Op::Char: case Op::CharFold: case Op::Set: pc = t.pc + 2; count = 0; return true;
    case Op::Any: pc = t.pc + 1; count = 0; return true;
    case Op::String: case Op::StringFold:
        if (t.count + 1 == arg[0]) {
            pc = t.pc + 2 + arg[0];
            count = 0;
        } else {
            pc = t.pc;
            count = t.count + 1;
        }
        return true;
    case Op::Star: case Op::StarLazy: case Op::StarAtomic: {
        // past the minimum of an unbounded loop every count behaves alike: one state
        const auto min = static_cast<uint32_t>(arg[2]), max = static_cast<uint32_t>(arg[3]);
        uint32_t next = static_cast<uint32_t>(t.count) + 1;
        if (max == kInfinite && next > min) next = min;
        pc = t.pc;
        count = static_cast<int32_t>(next);
        return true;
    }
    default: return false;
    }
}

bool PikeVm::OverCap() const {
    // what is held, not what is used: a vector that doubles holds up to twice its size
    const size_t threads = lists_[0].threads.capacity() + lists_[1].threads.capacity();
    const size_t states = keys_.capacity() + 2 * table_.capacity() + 3 * threads;
    const size_t used = lists_[0].pool.capacity() + lists_[1].pool.capacity() + states + 4 * stack_.capacity();
    return states > maxStateInts_ || used > maxInts_;
}

void PikeVm::NewPosition() {
    if (++stamp_ == 0) {
        std::fill(table_.begin(), table_.end(), 0);
        std::fill(direct_.begin(), direct_.end(), 0);
        stamp_ = 1;
    }
    keys_.clear();
    keyCount_ = 0;
}

// False when the state (pc, count, registers) was already reached at this position by a way of
// higher priority; else records it.
bool PikeVm::Visit(int32_t pc, int32_t count, size_t) {
    // the common state (a count, a few counters and marks, each 0 or 1) by direct look-up
    if (!direct_.empty() && static_cast<uint32_t>(count) <= 1) {
        size_t index = static_cast<size_t>(pc) << 1 | static_cast<size_t>(count);
        bool small = true;
        for (uint32_t c = 0; c < counters_ && small; ++c) {
            small = static_cast<uint32_t>(cur_[c]) <= 1;
            index = index << 1 | static_cast<size_t>(cur_[c] & 1);
        }
        for (size_t w = 0; w < marks_.size() && small; ++w) {
            small = marks_[w] <= 1;
            index = index << 1 | marks_[w];
        }
        if (small) {
            uint32_t& seen = direct_[index];
            if (seen == stamp_) return false;
            seen = stamp_;
            return true;
        }
    }
    key_[0] = pc;
    key_[1] = count;
    size_t k = 2;
    for (uint32_t c = 0; c < counters_; ++c) key_[k++] = cur_[c];
    for (uint32_t word : marks_) key_[k++] = static_cast<int32_t>(word);
    // hashing the key and the first look (a long key costs its length)
    left_ -= probeCost_;
    const uint64_t stamp = static_cast<uint64_t>(stamp_) << 32;
    const size_t mask = table_.size() - 1;
    for (size_t i = HashKey(key_.data(), keyWidth_) & mask;; i = (i + 1) & mask) {
        const uint64_t e = table_[i];
        if ((e & ~0xFFFFFFFFull) != stamp) {
            if (2 * (keyCount_ + 1) > table_.size()) {
                Grow();
                return Visit(pc, count, 0);
            }
            const size_t at = keys_.size();
            keys_.resize(at + keyWidth_);
            for (size_t k = 0; k < keyWidth_; ++k) keys_[at + k] = key_[k];
            table_[i] = stamp | static_cast<uint64_t>(++keyCount_);
            if ((keyCount_ & 255) == 0 && OverCap()) throw std::bad_alloc();
            return true;
        }
        const int32_t* other = keys_.data() + (static_cast<size_t>(e & 0xFFFFFFFFull) - 1) * keyWidth_;
        size_t k = 0;
        while (k < keyWidth_ && other[k] == key_[k]) ++k;
        if (k == keyWidth_) return false;
        // every key passed on the way is work: a search whose states crowd the table pays for it
        left_ -= probeCost_;
    }
}

// A look at a key costs a step, and more for a long key; once the table has outgrown the caches
// each look is a miss, which costs about what a dozen of the backtracker's steps do.
void PikeVm::ProbeCost() {
    probeCost_ = static_cast<int64_t>(1 + keyWidth_ / 8) + (table_.size() > kCachedEntries ? 12 : 0);
}

// Twice the table, with this position's keys put back.
void PikeVm::Grow() {
    left_ -= static_cast<int64_t>(keyCount_) * probeCost_;
    table_.assign(table_.size() * 2, 0);
    ProbeCost();
    const uint64_t stamp = static_cast<uint64_t>(stamp_) << 32;
    const size_t mask = table_.size() - 1;
    for (size_t k = 0; k < keyCount_; ++k) {
        size_t i = HashKey(keys_.data() + k * keyWidth_, keyWidth_) & mask;
        while ((table_[i] & ~0xFFFFFFFFull) == stamp) i = (i + 1) & mask;
        table_[i] = stamp | static_cast<uint64_t>(k + 1);
    }
}

// A write that the ways still waiting on the stack must not see.
void PikeVm::Write(int32_t index, int32_t value) {
    int32_t& v = cur_[static_cast<size_t>(index)];
    if (v == value) return;
    stack_.push_back(Item{Restore, 0, index, v});
    v = value;
}

void PikeVm::SetMark(int32_t reg, bool here) {
    const auto m = static_cast<uint32_t>(regIndex_[static_cast<size_t>(reg)]);
    uint32_t& word = marks_[m >> 5];
    const bool was = (word >> (m & 31)) & 1;
    if (was == here) return;
    stack_.push_back(Item{RestoreMark, 0, static_cast<int32_t>(m), was ? 1 : 0});
    word ^= 1u << (m & 31);
}

// Drops the ways still waiting (they have lower priority than a match), undoing their writes.
void PikeVm::Unwind() {
    while (!stack_.empty()) {
        const Item& item = stack_.back();
        if (item.kind == Restore) cur_[static_cast<size_t>(item.a)] = item.b;
        else if (item.kind == RestoreMark) marks_[static_cast<uint32_t>(item.a) >> 5] ^= 1u << (item.a & 31);
        stack_.pop_back();
    }
}

void PikeVm::Add(List& list, int32_t pc, int32_t count) {
    const size_t at = list.pool.size();
    list.threads.push_back(Thread{pc, count, static_cast<uint32_t>(at)});
    list.pool.resize(at + cur_.size());
    for (size_t k = 0; k < cur_.size(); ++k) list.pool[at + k] = cur_[k];
    // the copy of the counters and slots is work too (many groups make it long)
    left_ -= static_cast<int64_t>(cur_.size() / 8);
    if ((list.threads.size() & 255) == 0 && OverCap()) throw std::bad_alloc();
}

// Follows every way from (pc, count) at pos that consumes nothing, in priority order, adding to
// `list` the ways that wait for the unit at pos. Returns true when one of them reached the end
// of the pattern: the ways after it have lower priority and are dropped.
bool PikeVm::Closure(List& list, int32_t startPc, int32_t startCount, size_t pos) {
    const auto here = static_cast<int32_t>(pos);
    stack_.clear();
    stack_.push_back(Item{Explore, startPc, startCount, 0});
    while (!stack_.empty()) {
        const Item item = stack_.back();
        stack_.pop_back();
        int32_t pc = item.pc, count = item.a;
        switch (item.kind) {
        case Restore: cur_[static_cast<size_t>(item.a)] = item.b; continue;
        case RestoreMark: marks_[static_cast<uint32_t>(item.a) >> 5] ^= 1u << (item.a & 31); continue;
        case AddThread: Add(list, item.pc, item.a); continue;
        case LoopExit:
            // a loop left behind: its counter and mark no longer tell states apart
            Write(regIndex_[static_cast<size_t>(item.a)], 0);
            if (item.b >= 0) SetMark(item.b, false);
            count = 0;
            break;
        default: break;
        }
        for (;;) {
            if (--left_ < 0 && !Renew()) throw Out{};
            if (!Visit(pc, count, pos)) break;
            const int32_t* arg = code_ + pc + 1;
            bool go = true;
            switch (static_cast<Op>(code_[pc])) {
            case Op::Match:
                best_.assign(cur_.begin() + counters_, cur_.end());
                best_[1] = here;
                matched_ = true;
                Unwind();
                return true;
            case Op::Char: case Op::CharFold: case Op::String: case Op::StringFold: case Op::Any: case Op::Set:
                if (CanTake(pc, count, pos)) Add(list, pc, count);
                go = false;
                break;
            case Op::Star: case Op::StarAtomic: {
                // greedy: one more unit before leaving
                const auto min = static_cast<uint32_t>(arg[2]), max = static_cast<uint32_t>(arg[3]);
                if (static_cast<uint32_t>(count) < max && CanTake(pc, count, pos)) Add(list, pc, count);
                if (static_cast<uint32_t>(count) >= min) {
                    pc += 5;
                    count = 0;
                } else {
                    go = false;
                }
                break;
            }
            case Op::StarLazy: {
                const auto min = static_cast<uint32_t>(arg[2]), max = static_cast<uint32_t>(arg[3]);
                const bool more = static_cast<uint32_t>(count) < max && CanTake(pc, count, pos);
                if (static_cast<uint32_t>(count) >= min) {
                    // leaving first; one more unit only after every way from there
                    if (more) stack_.push_back(Item{AddThread, pc, count, 0});
                    pc += 5;
                    count = 0;
                } else {
                    if (more) Add(list, pc, count);
                    go = false;
                }
                break;
            }
            case Op::LineStart: go = pos == 0; pc += 1; break;
            case Op::LineStartM: go = pos == 0 || IsLineBreak(At(pos - 1)); pc += 1; break;
            case Op::LineEnd: go = pos == length_; pc += 1; break;
            case Op::LineEndM: go = pos == length_ || IsLineBreak(At(pos)); pc += 1; break;
            case Op::WordBoundary: case Op::NotWordBoundary: {
                const bool edge = IsWordAt(pos) != (pos > 0 && IsWordUnit(At(pos - 1)));
                go = edge == (static_cast<Op>(code_[pc]) == Op::WordBoundary);
                pc += 1;
                break;
            }
            case Op::Jump: pc = arg[0]; break;
            case Op::Split:
                stack_.push_back(Item{Explore, arg[0], 0, 0});
                pc += 2;
                break;
            case Op::SplitLazy:
                stack_.push_back(Item{Explore, pc + 2, 0, 0});
                pc = arg[0];
                break;
            case Op::Save:
                if (static_cast<size_t>(arg[0]) < slotCount_) Write(static_cast<int32_t>(counters_) + arg[0], here);
                pc += 2;
                break;
            case Op::ResetGroups: {
                const auto end = std::min<size_t>(static_cast<size_t>(arg[1]), slotCount_);
                for (auto s = static_cast<size_t>(arg[0]); s < end; ++s) Write(static_cast<int32_t>(counters_ + s), -1);
                left_ -= static_cast<int64_t>(static_cast<uint64_t>(arg[1] - arg[0]) / 2);
                pc += 3;
                break;
            }
            case Op::SetMark: SetMark(arg[0], true); pc += 2; break;
            case Op::CheckProgress:
                // an optional iteration that matched nothing ends the loop as a failure
                go = !MarkHere(arg[0]);
                pc += 2;
                break;
            case Op::CounterInit: Write(regIndex_[static_cast<size_t>(arg[0])], 0); pc += 2; break;
            case Op::Loop: {
                const auto c = static_cast<uint32_t>(Counter(arg[0]));
                const auto min = static_cast<uint32_t>(arg[1]), max = static_cast<uint32_t>(arg[2]);
                const int32_t mark = loopMark_[static_cast<size_t>(pc)];
                if (c < min) {
                    pc += 6;
                } else if (c >= max) {
                    Write(regIndex_[static_cast<size_t>(arg[0])], 0);
                    if (mark >= 0) SetMark(mark, false);
                    pc = arg[4];
                } else if (arg[3]) {
                    stack_.push_back(Item{LoopExit, arg[4], arg[0], mark});
                    pc += 6;
                } else {
                    stack_.push_back(Item{Explore, pc + 6, 0, 0});
                    Write(regIndex_[static_cast<size_t>(arg[0])], 0);
                    if (mark >= 0) SetMark(mark, false);
                    pc = arg[4];
                }
                break;
            }
            case Op::CounterNext: {
                const int32_t c = Counter(arg[0]);
                if (arg[1] >= 0 && static_cast<uint32_t>(c) >= static_cast<uint32_t>(arg[2]) && MarkHere(arg[1])) {
                    go = false;
                    break;
                }
                if (static_cast<uint32_t>(arg[3]) != kInfinite || static_cast<uint32_t>(c) < static_cast<uint32_t>(arg[2]))
                    Write(regIndex_[static_cast<size_t>(arg[0])], c + 1);
                pc += 5;
                break;
            }
            default:  // back-references and look-aheads never come here (Handles)
                go = false;
                break;
            }
            if (!go) break;
        }
    }
    return false;
}

Status PikeVm::Search(size_t from, bool anchored, size_t slotCount, uint64_t stepBudget, std::vector<int32_t>& spans) {
    if (length_ > static_cast<size_t>(INT32_MAX) - 1) return Status::OutOfMemory;
    slotCount_ = slotCount;
    cur_.assign(counters_ + slotCount_, -1);
    std::fill(marks_.begin(), marks_.end(), 0);
    budget_ = std::min<uint64_t>(stepBudget, INT64_MAX);
    left_ = 0;
    budgetLeft_ = static_cast<int64_t>(budget_);
    stopped_ = false;
    if (!Renew()) return stopped_ ? Status::Stopped : Status::BudgetExceeded;
    matched_ = false;
    Status result = Status::NoMatch;
    try {
        List* now = &lists_[0];
        List* next = &lists_[1];
        now->Clear();
        next->Clear();
        size_t pos = from;
        size_t start = anchored ? from : starts_.NextStart(from);
        NewPosition();
        for (;;) {
            if (!matched_ && pos == start && pos <= length_) {
                // a new start, after every way begun earlier
                std::fill(cur_.begin(), cur_.begin() + counters_, 0);
                std::fill(cur_.begin() + counters_, cur_.end(), -1);
                cur_[counters_] = static_cast<int32_t>(pos);
                Closure(*now, 0, 0, pos);
            }
            if (now->threads.empty()) {
                if (matched_ || anchored) break;
                // nothing under way: on to where the next match could begin
                if (start <= pos) start = starts_.NextStart(pos + 1);
                if (start > length_) break;
                pos = start;
                NewPosition();
                continue;
            }
            if (pos >= length_) break;
            next->Clear();
            NewPosition();
            for (const Thread& t : now->threads) {
                if (--left_ < 0 && !Renew()) throw Out{};
                int32_t pc = 0, count = 0;
                if (!Next(t, pc, count)) continue;
                std::copy_n(now->pool.begin() + t.payload, cur_.size(), cur_.begin());
                left_ -= static_cast<int64_t>(cur_.size() / 8);
                if (Closure(*next, pc, count, pos + 1)) break;  // the ways after it have lower priority
            }
            std::swap(now, next);
            ++pos;
            if (!anchored && !matched_ && start < pos) start = starts_.NextStart(pos);
        }
        if (matched_) {
            spans.insert(spans.end(), best_.begin(), best_.end());
            result = Status::Match;
        }
    } catch (const Out&) {
        result = stopped_ ? Status::Stopped : Status::BudgetExceeded;
    } catch (const std::bad_alloc&) {
        result = Status::OutOfMemory;
    }
    if (result != Status::Match && result != Status::NoMatch) {
        // what an abandoned search held goes back
        for (List& l : lists_) {
            l.threads = {};
            l.pool = {};
        }
        keys_ = {};
        stack_ = {};
        table_.assign(64, 0);
        ProbeCost();
    }
    return result;
}

}  // namespace rx
