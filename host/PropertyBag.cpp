#include "host/PropertyBag.h"

#include <cwchar>

namespace host {

namespace {
bool SameName(const std::wstring& a, std::wstring_view b) {
    return a.size() == b.size() && _wcsnicmp(a.c_str(), b.data(), b.size()) == 0;
}
}  // namespace

Value PropertyBag::Read(std::wstring_view name, const Value& defaultValue) const {
    for (const auto& [n, v] : entries_)
        if (SameName(n, name)) return v;
    return defaultValue;
}

void PropertyBag::Write(std::wstring_view name, const Value& value, const Value& defaultValue) {
    Remove(name);
    if (value == defaultValue) return;
    entries_.emplace_back(std::wstring(name), value);
}

bool PropertyBag::Contains(std::wstring_view name) const {
    for (const auto& e : entries_)
        if (SameName(e.first, name)) return true;
    return false;
}

void PropertyBag::Remove(std::wstring_view name) {
    std::erase_if(entries_, [&](const auto& e) { return SameName(e.first, name); });
}

}  // namespace host
