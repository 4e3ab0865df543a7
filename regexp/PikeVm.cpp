#include "regexp/PikeVm.h"

#include <algorithm>
#include <climits>
#include <new>

namespace rx {
namespace {

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
    : starts_(starts), text_(text), length_(length), steps_(starts.StopFlag()),
      // the same memory as the backtracker's stack cap allows: 128 MB on 32 bits, 1 GB on 64
      maxInts_((sizeof(void*) == 4 ? (size_t{128} << 20) : (size_t{1} << 30)) / sizeof(int32_t)),
      // of which the states seen and the threads may take 64 MB (the threads' copies of the
      // slots may take the rest: many groups make them long). The states of one position that
      // need more are those of counted loops run through millions of counts, each a miss in a
      // table far larger than the caches: such a search cannot end within its budget anyway, and
      // a larger cap only makes it take seconds longer to fail.
      maxStateInts_((size_t{64} << 20) / sizeof(int32_t)), closure_(program) {
    keyWidth_ = 2 + closure_.Counters() + closure_.MarkWords();
    if (keyWidth_ <= 5) direct_.assign(program.code.size() << (keyWidth_ - 1), 0);
    key_.resize(keyWidth_);
    table_.assign(64, 0);
    ProbeCost();
}

bool PikeVm::Handles(const Program& program) { return rx::Closure::Follows(program); }

bool PikeVm::OverCap() const {
    // what is held, not what is used: a vector that doubles holds up to twice its size
    const size_t threads = lists_[0].threads.capacity() + lists_[1].threads.capacity();
    const size_t states = keys_.capacity() + 2 * table_.capacity() + 3 * threads;
    const size_t used =
        lists_[0].pool.capacity() + lists_[1].pool.capacity() + states + 4 * closure_.LogCapacity();
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
bool PikeVm::Visit(int32_t pc, int32_t count) {
    const std::vector<int32_t>& regs = closure_.Regs();
    const std::vector<uint32_t>& marks = closure_.Marks();
    const uint32_t counters = closure_.Counters();
    // the common state (a count, a few counters and marks, each 0 or 1) by direct look-up
    if (!direct_.empty() && static_cast<uint32_t>(count) <= 1) {
        size_t index = static_cast<size_t>(pc) << 1 | static_cast<size_t>(count);
        bool small = true;
        for (uint32_t c = 0; c < counters && small; ++c) {
            small = static_cast<uint32_t>(regs[c]) <= 1;
            index = index << 1 | static_cast<size_t>(regs[c] & 1);
        }
        for (size_t w = 0; w < marks.size() && small; ++w) {
            small = marks[w] <= 1;
            index = index << 1 | marks[w];
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
    for (uint32_t c = 0; c < counters; ++c) key_[k++] = regs[c];
    for (uint32_t word : marks) key_[k++] = static_cast<int32_t>(word);
    // hashing the key and the first look (a long key costs its length)
    steps_.left -= probeCost_;
    const uint64_t stamp = static_cast<uint64_t>(stamp_) << 32;
    const size_t mask = table_.size() - 1;
    for (size_t i = HashKey(key_.data(), keyWidth_) & mask;; i = (i + 1) & mask) {
        const uint64_t e = table_[i];
        if ((e & ~0xFFFFFFFFull) != stamp) {
            if (2 * (keyCount_ + 1) > table_.size()) {
                Grow();
                return Visit(pc, count);
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
        steps_.left -= probeCost_;
    }
}

// A look at a key costs a step, and more for a long key; once the table has outgrown the caches
// each look is a miss, which costs about what a dozen of the backtracker's steps do.
void PikeVm::ProbeCost() {
    probeCost_ = static_cast<int64_t>(1 + keyWidth_ / 8) + (table_.size() > kCachedEntries ? 12 : 0);
}

// Twice the table, with this position's keys put back.
void PikeVm::Grow() {
    steps_.left -= static_cast<int64_t>(keyCount_) * probeCost_;
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

void PikeVm::Add(List& list, int32_t pc, int32_t count) {
    const std::vector<int32_t>& regs = closure_.Regs();
    const size_t at = list.pool.size();
    list.threads.push_back(Thread{pc, count, static_cast<uint32_t>(at)});
    list.pool.resize(at + regs.size());
    for (size_t k = 0; k < regs.size(); ++k) list.pool[at + k] = regs[k];
    // the copy of the counters and slots is work too (many groups make it long)
    steps_.left -= static_cast<int64_t>(regs.size() / 8);
    if ((list.threads.size() & 255) == 0 && OverCap()) throw std::bad_alloc();
}

// The closure walk at one position: the ways that wait for the unit there join `list`, and the
// first to reach the pattern's end is the match so far, with its slots.
class PikeVm::Ways {
public:
    Ways(PikeVm& vm, List& list, size_t pos) : vm_(vm), list_(list), pos_(pos) {}
    void Step() { vm_.steps_.Step(); }
    bool Visit(int32_t pc, int32_t count) { return vm_.Visit(pc, count); }
    bool Match() {
        const std::vector<int32_t>& regs = vm_.closure_.Regs();
        vm_.best_.assign(regs.begin() + vm_.closure_.Counters(), regs.end());
        vm_.best_[1] = static_cast<int32_t>(pos_);
        vm_.matched_ = true;
        return true;
    }
    void Take(int32_t pc, int32_t count) { vm_.Add(list_, pc, count); }
    bool Holds(Op assertion) const {
        const Side before = pos_ == 0 ? Edge : SideOfUnit(vm_.At(pos_ - 1));
        const Side after = pos_ >= vm_.length_ ? Edge : SideOfUnit(vm_.At(pos_));
        return AssertionHolds(assertion, before, after);
    }
    void Save(int32_t slot) {
        if (static_cast<size_t>(slot) < vm_.slotCount_)
            vm_.closure_.Write(static_cast<int32_t>(vm_.closure_.Counters()) + slot, static_cast<int32_t>(pos_));
    }
    void ResetGroups(int32_t from, int32_t to) {
        const auto end = std::min<size_t>(static_cast<size_t>(to), vm_.slotCount_);
        const auto counters = static_cast<int32_t>(vm_.closure_.Counters());
        for (auto s = static_cast<size_t>(from); s < end; ++s) vm_.closure_.Write(counters + static_cast<int32_t>(s), -1);
        vm_.steps_.left -= static_cast<int64_t>(static_cast<uint64_t>(to - from) / 2);
    }

private:
    PikeVm& vm_;
    List& list_;
    size_t pos_;
};

// Follows every way from (pc, count) at pos that consumes nothing, in priority order, adding to
// `list` the ways that wait for the unit at pos. Returns true when one of them reached the end
// of the pattern: the ways after it have lower priority and are dropped.
bool PikeVm::Follow(List& list, int32_t pc, int32_t count, size_t pos) {
    Ways ways(*this, list, pos);
    return closure_.Walk(ways, pc, count, pos < length_ ? At(pos) : -1);
}

Status PikeVm::Search(size_t from, bool anchored, size_t slotCount, uint64_t stepBudget, std::vector<int32_t>& spans) {
    if (length_ > static_cast<size_t>(INT32_MAX) - 1) return Status::OutOfMemory;
    slotCount_ = slotCount;
    std::vector<int32_t>& regs = closure_.Regs();
    const uint32_t counters = closure_.Counters();
    regs.assign(counters + slotCount_, -1);
    closure_.ClearMarks();
    if (!steps_.Begin(stepBudget)) return steps_.Ended();
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
                std::fill(regs.begin(), regs.begin() + counters, 0);
                std::fill(regs.begin() + counters, regs.end(), -1);
                regs[counters] = static_cast<int32_t>(pos);
                Follow(*now, 0, 0, pos);
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
                steps_.Step();
                int32_t pc = 0, count = 0;
                if (!closure_.After(t.pc, t.count, pc, count)) continue;
                std::copy_n(now->pool.begin() + t.payload, regs.size(), regs.begin());
                steps_.left -= static_cast<int64_t>(regs.size() / 8);
                if (Follow(*next, pc, count, pos + 1)) break;  // the ways after it have lower priority
            }
            std::swap(now, next);
            ++pos;
            if (!anchored && !matched_ && start < pos) start = starts_.NextStart(pos);
        }
        if (matched_) {
            spans.insert(spans.end(), best_.begin(), best_.end());
            result = Status::Match;
        }
    } catch (const StepCounter::Out&) {
        result = steps_.Ended();
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
        closure_.ReleaseLog();
        table_.assign(64, 0);
        ProbeCost();
    }
    return result;
}

}  // namespace rx
