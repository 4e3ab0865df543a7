// Patches entries of one COM interface table and puts them back: the route into a host whose own
// objects answer IOleControl and IPerPropertyBrowsing, when the host offers no other. Entries are
// numbered from 1 in table order (1 = QueryInterface). The table is shared by every object of its
// class, so a patched entry runs for all of them until it is restored.
#pragma once

#include <windows.h>

#include <vector>

namespace foundation {

class VTableSubclass {
public:
    VTableSubclass() = default;
    // Still patching at the end: the entries are put back.
    ~VTableSubclass();
    VTableSubclass(const VTableSubclass&) = delete;
    VTableSubclass& operator=(const VTableSubclass&) = delete;

    // Users of the patch; no COM meaning. Release never goes below 0.
    long RefCount() const { return refCount_; }
    void AddRef() { ++refCount_; }
    void Release() {
        if (refCount_ > 0) --refCount_;
    }

    // Replaces entries firstEntry..lastEntry of the table of `objectPointer` (its first word)
    // with the non-null values of `newEntries` (lastEntry - firstEntry + 1 of them, in order).
    // A patch of another table is taken off first.
    void Subclass(void* objectPointer, int firstEntry, int lastEntry, void* const* newEntries);
    // True while the entry holds our replacement. False puts the saved pointer back (so the
    // object's own entry can be called), True replaces it again.
    bool SubclassEntry(int entry) const;
    void SubclassEntry(int entry, bool on);
    // Puts every entry back, then replaces every entry that has a replacement again.
    void ReSubclass();
    // Puts every entry back and forgets the table.
    void UnSubclass();

    void** Table() const { return table_; }
    // The object's own pointer for an entry while it is replaced, else null.
    void* SavedEntry(int entry) const;

private:
    bool Valid(int entry) const { return table_ && entry >= 1 && entry <= lastEntry_; }
    void Apply(int entry);
    void Restore(int entry);

    void** table_ = nullptr;        // not owned: the class's table
    int lastEntry_ = 0;
    std::vector<void*> new_;        // by entry, 0 = not replaced
    std::vector<void*> old_;        // the object's own pointers of the entries replaced now
    long refCount_ = 0;
};

// Writes one table word (read-only memory as a rule: made writable for the write, its protection
// restored after). Returns false when the page could not be made writable.
bool WriteTableEntry(void** slot, void* value);

}  // namespace foundation
