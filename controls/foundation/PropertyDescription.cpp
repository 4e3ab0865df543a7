#include "controls/foundation/PropertyDescription.h"

#include "controls/foundation/ComCtlsBase.h"
#include "host/ControlSite.h"

#include <cwctype>

namespace foundation {

namespace {

bool SameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

host::Value StoreDefaultOf(const PropertyDescription& d, const host::Control& control) {
    return d.defaultIsAmbientFont ? host::Value(control.Site().AmbientFont()) : d.storeDefault;
}

host::Value NewValueOf(const PropertyDescription& d, const host::ControlSite& site) {
    switch (d.newValue) {
    case NewValue::Fixed: return d.newFixed;
    case NewValue::AmbientFont: return host::Value(site.AmbientFont());
    case NewValue::AmbientRightToLeft: return host::Value(site.AmbientRightToLeft());
    case NewValue::AmbientDisplayName: return host::Value(site.AmbientDisplayName());
    case NewValue::OneIfAmbientRightToLeft: return host::Value(site.AmbientRightToLeft() ? 1L : 0L);
    case NewValue::StoreDefault:
    case NewValue::Surface: break;
    }
    return d.storeDefault;
}

}  // namespace

bool PropertyDescription::Accepts(long value) const {
    if (!ranged) return true;
    return (value >= lo && value <= hi) || (also99 && value == 99);
}

bool PropertyDescription::TextOf(long value, std::wstring& text) const {
    for (const EnumText& t : texts)
        if (t.value == value) {
            text = t.text;
            return true;
        }
    return false;
}

const PropertyDescription* PropertyTable::Find(std::wstring_view name) const {
    for (const PropertyDescription& d : rows_)
        if (SameName(d.name, name)) return &d;
    return nullptr;
}

const PropertyDescription* PropertyTable::FindDispId(long dispId) const {
    long index = dispId - FirstPropertyDispId;
    return index >= 0 && index < static_cast<long>(rows_.size()) ? &rows_[static_cast<size_t>(index)] : nullptr;
}

long PropertyTable::DispIdOf(std::wstring_view name) const {
    const PropertyDescription* d = Find(name);
    return d ? FirstPropertyDispId + static_cast<long>(d - rows_.data()) : -1;
}

void PropertyTable::Read(host::Control& control, const host::PropertyBag& bag) const {
    for (const PropertyDescription& d : rows_) {
        if (d.persist == Persist::NotStored) continue;
        host::Value v = bag.Read(d.name, StoreDefaultOf(d, control));
        if (d.persist == Persist::UnicodeText) v = host::Value(PersistVariantToString(v));
        d.load(control, v);
    }
}

void PropertyTable::Write(const host::Control& control, host::PropertyBag& bag) const {
    for (const PropertyDescription& d : rows_) {
        switch (d.persist) {
        case Persist::NotStored: break;
        case Persist::UnicodeText: bag.Write(d.name, PersistStringToVariant(d.get(control).AsString())); break;
        case Persist::Object: {
            host::Value v = d.get(control);
            // No picture is the store default of a picture property: nothing is written.
            if (v.GetKind() == host::Value::Kind::Picture && !v.AsPicture()) v = host::Value();
            if (d.defaultIsAmbientFont) bag.Write(d.name, v, StoreDefaultOf(d, control));
            else bag.Write(d.name, v);
            break;
        }
        case Persist::Value: bag.Write(d.name, d.get(control), d.storeDefault); break;
        }
    }
}

void PropertyTable::InitNew(host::Control& control) const {
    for (const PropertyDescription& d : rows_) {
        if (d.persist == Persist::NotStored || d.newValue == NewValue::Surface) continue;
        d.load(control, NewValueOf(d, control.Site()));
    }
}

void PropertyTable::DisplayString(const host::Control& control, bool& handled, long dispId, std::wstring& text) const {
    const PropertyDescription* d = FindDispId(dispId);
    if (d && !d->texts.empty()) handled = d->TextOf(d->get(control).AsLong(), text);
}

void PropertyTable::PredefinedStrings(bool& handled, long dispId, std::vector<std::wstring>& strings,
                                      std::vector<long>& cookies) const {
    const PropertyDescription* d = FindDispId(dispId);
    if (!d || d->texts.empty()) return;
    for (const EnumText& t : d->texts) {
        strings.push_back(t.text);
        cookies.push_back(t.value);
    }
    handled = true;
}

// The cookie of a predefined string is its value.
void PropertyTable::PredefinedValue(bool& handled, long dispId, long cookie, long& value) const {
    const PropertyDescription* d = FindDispId(dispId);
    std::wstring text;
    if (!d || !d->TextOf(cookie, text)) return;
    value = cookie;
    handled = true;
}

}  // namespace foundation
