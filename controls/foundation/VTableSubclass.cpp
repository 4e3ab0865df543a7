#include "controls/foundation/VTableSubclass.h"

namespace foundation {

bool WriteTableEntry(void** slot, void* value) {
    DWORD previous = 0;
    if (!VirtualProtect(slot, sizeof(void*), PAGE_EXECUTE_READWRITE, &previous)) return false;
    *slot = value;
    DWORD ignored = 0;
    VirtualProtect(slot, sizeof(void*), previous, &ignored);
    FlushInstructionCache(GetCurrentProcess(), slot, sizeof(void*));
    return true;
}

VTableSubclass::~VTableSubclass() {
    if (table_) UnSubclass();
}

void VTableSubclass::Subclass(void* objectPointer, int firstEntry, int lastEntry, void* const* newEntries) {
    if (!objectPointer || firstEntry < 1 || lastEntry < firstEntry || !newEntries) return;
    void** table = *static_cast<void***>(objectPointer);
    if (table_ && table_ != table) UnSubclass();
    table_ = table;
    if (lastEntry > lastEntry_) {
        lastEntry_ = lastEntry;
        new_.resize(lastEntry + 1, nullptr);
        old_.resize(lastEntry + 1, nullptr);
    }
    for (int e = firstEntry; e <= lastEntry; ++e) {
        if (!newEntries[e - firstEntry]) continue;
        new_[e] = newEntries[e - firstEntry];
        Apply(e);
    }
}

void VTableSubclass::Apply(int entry) {
    void** slot = &table_[entry - 1];
    void* current = *slot;
    // Already ours (patched by an earlier user of the same replacement): the saved pointer must
    // stay the object's own, or restoring would leave our entry calling itself.
    if (current == new_[entry]) return;
    if (WriteTableEntry(slot, new_[entry])) old_[entry] = current;
}

void VTableSubclass::Restore(int entry) {
    if (!old_[entry]) return;
    if (WriteTableEntry(&table_[entry - 1], old_[entry])) old_[entry] = nullptr;
}

bool VTableSubclass::SubclassEntry(int entry) const { return Valid(entry) && old_[entry] != nullptr; }

void VTableSubclass::SubclassEntry(int entry, bool on) {
    if (!Valid(entry)) return;
    if (!on) Restore(entry);
    else if (new_[entry]) Apply(entry);
}

void* VTableSubclass::SavedEntry(int entry) const { return Valid(entry) ? old_[entry] : nullptr; }

void VTableSubclass::ReSubclass() {
    if (!table_) return;
    for (int e = 1; e <= lastEntry_; ++e) Restore(e);
    for (int e = 1; e <= lastEntry_; ++e)
        if (new_[e]) Apply(e);
}

void VTableSubclass::UnSubclass() {
    if (!table_) return;
    for (int e = 1; e <= lastEntry_; ++e) Restore(e);
    table_ = nullptr;
    lastEntry_ = 0;
    new_.clear();
    old_.clear();
}

}  // namespace foundation
