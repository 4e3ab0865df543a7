// Filling the result list with a run's matches, fast enough for a million entries: the list box
// reserves room for every entry at once and does not repaint until the last one is in.
#pragma once

#include "regexp/RegExp.h"

namespace controls {
class ListBoxW;
}

namespace workbench {

// Appends the Value of every match, in order, one entry each (the list is expected empty).
void AppendMatchValues(controls::ListBoxW& list, const rx::MatchCollection& matches);

}  // namespace workbench
