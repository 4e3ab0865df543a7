// The shell library is held while any control lives, so shell calls of the controls never pay
// for loading it and it cannot go away under them.
#include "controls/foundation/ComCtlsBase.h"

#include "host/Error.h"

#include <climits>

namespace foundation {

namespace {
struct ShellLibraryState {
    host::UniqueLibrary handle;
    long count = 0;
};
ShellLibraryState& State() {
    static ShellLibraryState state;
    return state;
}
}  // namespace

void ShellLibraryAddRef() {
    ShellLibraryState& s = State();
    if (s.count == LONG_MAX) host::Raise(host::err::Overflow);
    if (s.count == 0 && !s.handle) s.handle.Reset(LoadLibraryW(L"Shell32.dll"));
    ++s.count;
}

void ShellLibraryRelease() {
    ShellLibraryState& s = State();
    if (s.count <= 0) return;  // an unbalanced release must not free what others hold
    if (s.count == 1 && s.handle) s.handle.Reset();
    --s.count;
}

long ShellLibraryRefCount() { return State().count; }

}  // namespace foundation
