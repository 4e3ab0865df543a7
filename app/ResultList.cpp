#include "app/ResultList.h"

#include "controls/listbox/ListBoxW.h"

namespace workbench {
namespace {

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
// fill quadratic.
void ReserveStorage(controls::ListBoxW& list, const rx::MatchCollection& matches) {
    unsigned long long chars = 0;
    for (const rx::Match& m : matches) chars += static_cast<unsigned long long>(m.Length()) + 1;
    long count = matches.Count();
    if (count == 0) return;
    list.InitStorage(count, static_cast<long>((chars + count - 1) / count));
}

}  // namespace

void AppendMatchValues(controls::ListBoxW& list, const rx::MatchCollection& matches) {
    RedrawSuspended quiet(list);
    ReserveStorage(list, matches);
    for (const rx::Match& m : matches) list.AddItem(m.Value());
}

}  // namespace workbench
