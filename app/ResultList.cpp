#include "app/ResultList.h"

#include "controls/listbox/ListBoxW.h"

#include <windows.h>

#include <algorithm>
#include <chrono>

namespace workbench {
namespace {

using Clock = std::chrono::steady_clock;

// Long enough that the per-slice cost vanishes, short enough that a key typed meanwhile is read
// well within a person's notice.
constexpr auto kSliceTime = std::chrono::milliseconds(8);
// Entries appended between two looks at the clock.
constexpr long kEntriesPerLook = 32;
// A list this short is always emptied in one call (about a millisecond on an idle machine).
constexpr long kAlwaysClearAtOnce = 32768;
// Clears shorter than this are too quick to time.
constexpr long kTimedClear = 4096;

// How long one call that empties the list may hold the window, and what the list box took an
// entry in the last clear long enough to time (it moves with the machine's load, by several
// times; the first guess is an idle machine's). Emptying from the end costs several times more
// an entry than one call, so the one call is taken whenever it fits.
std::chrono::nanoseconds oneClearBudget = ResultFill::kOneClearBudget;
double clearNanosPerEntry = 100.0;
// The speed of one clear foretells the next only roughly: the same machine, idle, empties a list
// at 40 to 200 ns an entry from one clear to the next. A clear taken as faster than this is
// counted at this speed, so that a lucky measure does not let one call take far more than the
// budget allows (one measure of 55 ns let a call take 547,583 entries, in 38 ms; the keys of that
// typing waited up to 74 ms). Slower measures are taken as they come.
constexpr double kFastestNanosPerEntry = 100.0;

// Redraw off for the fill, back on (with one repaint) however the fill ends.
class RedrawSuspended {
public:
    explicit RedrawSuspended(controls::ListBoxW& list) : list_(list) { list_.Redraw(false); }
    ~RedrawSuspended() { list_.Redraw(true); }
    RedrawSuspended(const RedrawSuspended&) = delete;
    RedrawSuspended& operator=(const RedrawSuspended&) = delete;

private:
    controls::ListBoxW& list_;
};

// Without this the list box grows its item array a few entries at a time, which makes a large
// fill quadratic. The entries' average length is taken from the first few thousand: a look at all
// of a million matches would hold the window for nothing but an estimate.
void ReserveStorage(controls::ListBoxW& list, const rx::MatchCollection& matches) {
    const long count = matches.Count();
    if (count == 0) return;
    const long sample = std::min(count, 4096L);
    long long chars = 0;
    for (long i = 0; i < sample; ++i) chars += matches.Item(i).Length() + 1;
    list.InitStorage(count, static_cast<long>((chars + sample - 1) / sample));
}

// The entry goes in through a buffer that keeps its room: a string made for each of a million
// entries would cost the fill an allocation and a release each.
void AddValue(controls::ListBoxW& list, const rx::Match& match, std::wstring& buffer) {
    const rx::StringView value = match.ValueView();
    buffer.assign(value.data(), value.size());
    list.AddItem(buffer);
}

bool InputWaiting() { return HIWORD(GetQueueStatus(QS_INPUT)) != 0; }

long ClearAtOnceLimit() {
    const double fits = static_cast<double>(oneClearBudget.count()) / std::max(clearNanosPerEntry, kFastestNanosPerEntry);
    return fits > kAlwaysClearAtOnce ? static_cast<long>(std::min(fits, 1e9)) : kAlwaysClearAtOnce;
}

// Empties the list in one call, and learns from a long one what an entry costs now.
void ClearTimed(controls::ListBoxW& list) {
    const long count = list.ListCount();
    const Clock::time_point start = Clock::now();
    list.Clear();
    if (count < kTimedClear) return;
    const auto took = std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start);
    clearNanosPerEntry = std::max(1.0, static_cast<double>(took.count()) / count);
}

}  // namespace

void AppendMatchValues(controls::ListBoxW& list, const rx::MatchCollection& matches) {
    RedrawSuspended quiet(list);
    ReserveStorage(list, matches);
    std::wstring buffer;
    for (const rx::Match& m : matches) AddValue(list, m, buffer);
}

ResultFill::ResultFill(controls::ListBoxW& list, std::function<void(bool)> listed)
    : list_(list), listed_(std::move(listed)), nextSlice_([this] { Slice(); }) {}

void ResultFill::Begin(rx::MatchCollection matches) {
    shown_ = matches;
    shownComplete_ = false;
    held_ = false;
    restoring_ = false;
    Restart(std::move(matches));
}

void ResultFill::Drop() {
    shown_.reset();
    shownComplete_ = false;
    held_ = false;
    restoring_ = false;
    Restart(std::nullopt);
}

// Emptying the list is most of what a new listing costs before its first entry: done while the
// listing is awaited, it is out of the way when the listing comes.
void ResultFill::Hold() {
    if (held_) return;
    // (a listing being put back keeps the selection and scroll place it had)
    if (shownComplete_ && !restoring_) {
        heldIndex_ = list_.ListIndex();
        heldTop_ = list_.TopIndex();
    }
    held_ = true;
    restoring_ = false;
    Restart(std::nullopt);
}

void ResultFill::Restore() {
    if (!held_) return;
    held_ = false;
    restoring_ = shownComplete_;
    Restart(shown_);
}

// A list that the list box empties within the budget of one call goes at once.
void ResultFill::Restart(std::optional<rx::MatchCollection> matches) {
    list_.Redraw(false);
    matches_ = std::move(matches);
    next_ = 0;
    reserved_ = false;
    emptying_ = true;
    if (list_.ListCount() <= ClearAtOnceLimit()) {
        ClearTimed(list_);
        emptying_ = false;
        if (!matches_ || matches_->Count() == 0) return Complete();
    }
    nextSlice_.Post();
}

void ResultFill::Finish() {
    Restore();
    if (!Active()) return;
    if (emptying_) ClearTimed(list_);
    emptying_ = false;
    if (matches_) {
        if (!reserved_) ReserveStorage(list_, *matches_);
        AppendUpTo(matches_->Count());
    }
    Complete();
}

// Empties, then appends, until the slice's time is up; then the next slice comes from the
// message loop, after the input that waits when there is some. (The queue is looked at once a
// slice: each look is a trip to the window server.)
void ResultFill::Slice() {
    if (!Active()) return;
    if (InputWaiting()) return nextSlice_.PostAfterInput();
    const Clock::time_point end = Clock::now() + kSliceTime;
    if (emptying_ && !EmptyUntil(end)) return nextSlice_.Post();
    if (!matches_) return Complete();
    const long count = matches_->Count();
    // the repaint of a long list takes a while: it comes in a message of its own
    if (next_ == count) return Complete();
    if (!reserved_) {
        ReserveStorage(list_, *matches_);
        reserved_ = true;
    }
    while (next_ < count && Clock::now() < end) AppendUpTo(std::min(count, next_ + kEntriesPerLook));
    if (InputWaiting()) nextSlice_.PostAfterInput();
    else nextSlice_.Post();
}

// Entries go from the end, where taking one out moves nothing; the last stretch goes in one call.
bool ResultFill::EmptyUntil(Clock::time_point end) {
    const long atOnce = ClearAtOnceLimit();
    long count = list_.ListCount();
    while (count > atOnce && Clock::now() < end)
        for (long stop = std::max(atOnce, count - kEntriesPerLook); count > stop;) list_.RemoveItem(--count);
    if (count > atOnce) return false;
    ClearTimed(list_);
    emptying_ = false;
    return true;
}

void ResultFill::OneClearBudget(std::chrono::nanoseconds budget) { oneClearBudget = budget; }

void ResultFill::AppendUpTo(long end) {
    for (; next_ < end; ++next_) AddValue(list_, matches_->Item(next_), entry_);
}

// A held list stays as it looks, emptied, until the listing it awaits. A listing put back gets
// its selection and scroll place again without a Click: nothing was chosen anew.
void ResultFill::Complete() {
    const bool listed = matches_.has_value();
    matches_.reset();
    emptying_ = false;
    if (held_) return;
    const bool again = restoring_;
    restoring_ = false;
    if (listed) shownComplete_ = true;
    if (again && list_.ListCount() > 0) {
        list_.TopIndex(std::min(heldTop_, list_.ListCount() - 1));
        if (heldIndex_ >= 0 && heldIndex_ < list_.ListCount()) SendMessageW(list_.hWnd(), LB_SETCURSEL, heldIndex_, 0);
    }
    list_.Redraw(true);
    if (listed) listed_(again);
}

}  // namespace workbench
