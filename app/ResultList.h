// Filling the result list with a run's matches, fast enough for a million entries: the list box
// reserves room for every entry at once and does not repaint until the last one is in.
//
//   AppendMatchValues  the whole fill in one go
//   ResultFill         the same fill a slice at a time from the message loop, so that keys typed
//                      meanwhile are read between slices
#pragma once

#include "app/Wakeup.h"
#include "regexp/RegExp.h"

#include <chrono>
#include <functional>
#include <optional>

namespace controls {
class ListBoxW;
}

namespace workbench {

// Appends the Value of every match, in order, one entry each (the list is expected empty).
void AppendMatchValues(controls::ListBoxW& list, const rx::MatchCollection& matches);

// Nothing of a fill shows before it is complete: the list box's redraw stays off from Begin
// until the last entry is in (or, once the fill is dropped, the list is empty). The list box
// empties a long list in one call that holds the window (a million entries: 40 to 80 ms idle,
// several hundred under load), so a list longer than one call may take at the speed last seen
// is emptied from its end in slices, the rest at once.
class ResultFill {
public:
    // `listed` is called once the last entry of a fill is in, redraw back on; `again` says the
    // listing is one the list showed complete before Hold, put back with its selection and scroll
    // place by Restore.
    ResultFill(controls::ListBoxW& list, std::function<void(bool again)> listed);
    // Leaves the list as it is: the owner drops the fill when the list goes away.
    ~ResultFill() = default;
    ResultFill(const ResultFill&) = delete;
    ResultFill& operator=(const ResultFill&) = delete;

    // Ends any fill in progress, empties the list and lists these matches; with no matches (and
    // a short list) the fill is complete at once.
    void Begin(rx::MatchCollection matches);
    // A listing is on its way to replace this one: the list is emptied now, while the listing is
    // awaited, behind the picture it shows (redraw stays off until Begin, Restore or Drop), and
    // a fill in progress ends.
    void Hold();
    // The listing awaited since Hold does not come: the one the list held (the last Begin's)
    // is listed again, in slices, as it was.
    void Restore();
    // The rest of the work at once (after Hold: the held listing put back).
    void Finish();
    // Ends the fill where it is and empties the list (a long one in slices).
    void Drop();
    // How long one call that empties the list may hold the window (kOneClearBudget unless
    // changed); a budget of 0 empties every list of more than a few thousand entries in slices.
    static constexpr std::chrono::milliseconds kOneClearBudget{30};
    static void OneClearBudget(std::chrono::nanoseconds budget);
    // Whether the list is still being emptied or filled.
    bool Active() const { return emptying_ || matches_.has_value(); }

private:
    void Restart(std::optional<rx::MatchCollection> matches);
    void Slice();
    bool EmptyUntil(std::chrono::steady_clock::time_point end);
    void AppendUpTo(long end);
    void Complete();

    controls::ListBoxW& list_;  // borrowed: the form's list, which outlives the fill
    std::function<void(bool)> listed_;
    std::optional<rx::MatchCollection> matches_;  // what is being listed, if anything
    std::optional<rx::MatchCollection> shown_;    // what the list holds or is taking: the last Begin's
    bool shownComplete_ = false;  // shown_ was listed whole, and its selection is kept at Hold
    bool emptying_ = false;  // entries of an earlier listing are still in the list
    bool reserved_ = false;  // storage for matches_ reserved
    long next_ = 0;
    // Hold: the list is emptied under shown_'s picture, whose selection and top entry are these
    bool held_ = false;
    bool restoring_ = false;  // the fill in progress puts a held listing back
    long heldIndex_ = -1, heldTop_ = 0;
    std::wstring entry_;  // each entry's text on its way in (its room is kept)
    Wakeup nextSlice_;
};

}  // namespace workbench
