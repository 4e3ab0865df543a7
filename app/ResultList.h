// Filling the result list with a run's matches, fast enough for a million entries: the list box
// reserves room for every entry at once and does not repaint until the last one is in.
//
//   AppendMatchValues  the whole fill in one go
//   ResultFill         the same fill a slice at a time from the message loop, so that keys typed
//                      meanwhile are read between slices
#pragma once

#include "app/Wakeup.h"
#include "regexp/RegExp.h"

#include <functional>
#include <optional>

namespace controls {
class ListBoxW;
}

namespace workbench {

// Appends the Value of every match, in order, one entry each (the list is expected empty).
void AppendMatchValues(controls::ListBoxW& list, const rx::MatchCollection& matches);

// Nothing of a fill shows before it is complete: the list box's redraw stays off from Begin
// until the last entry is in (or the fill is abandoned).
class ResultFill {
public:
    // `listed` is called once the last entry of a fill is in, redraw back on.
    ResultFill(controls::ListBoxW& list, std::function<void()> listed);
    // Leaves the list as it is: the owner drops the fill when the list goes away.
    ~ResultFill() = default;
    ResultFill(const ResultFill&) = delete;
    ResultFill& operator=(const ResultFill&) = delete;

    // Empties the list (ending any fill in progress) and starts listing these matches; with no
    // matches the fill is complete at once.
    void Begin(rx::MatchCollection matches);
    // No slices until Resume; Finish and Abandon still act.
    void Pause();
    void Resume();
    // The rest of the entries at once.
    void Finish();
    // Ends the fill where it is and empties the list.
    void Abandon();
    bool Active() const { return matches_.has_value(); }

private:
    void Slice();
    void AppendUpTo(long end);
    void Complete();

    controls::ListBoxW& list_;  // borrowed: the form's list, which outlives the fill
    std::function<void()> listed_;
    std::optional<rx::MatchCollection> matches_;
    long next_ = 0;
    bool paused_ = false;
    Wakeup nextSlice_;
};

}  // namespace workbench
