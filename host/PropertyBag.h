// The property store a control reads its persisted properties from and writes them to. Names
// compare case-insensitively (as the host's store does); the order of writing is kept so that
// written design data read the same way a person wrote them.
#pragma once

#include "host/Value.h"

#include <string>
#include <utility>
#include <vector>

namespace host {

class PropertyBag {
public:
    // The stored value, or `defaultValue` when the name was never written.
    Value Read(std::wstring_view name, const Value& defaultValue = {}) const;

    // Stores the value; a value equal to `defaultValue` is not written (and an earlier
    // entry of that name is dropped), so that defaults never reach the design data.
    void Write(std::wstring_view name, const Value& value, const Value& defaultValue = {});

    bool Contains(std::wstring_view name) const;
    void Remove(std::wstring_view name);
    void Clear() { entries_.clear(); }

    const std::vector<std::pair<std::wstring, Value>>& Entries() const { return entries_; }
    bool operator==(const PropertyBag&) const = default;

private:
    std::vector<std::pair<std::wstring, Value>> entries_;
};

}  // namespace host
