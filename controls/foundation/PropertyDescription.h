// One description per property: what a control's interface says about each of its persisted
// properties — store name, the value a newly placed control gets, the default assumed and not
// written in the store, the valid range, the texts a property sheet shows — written once as
// data. Persistence (Init/Read/WriteProperties), setter validation, dispatch ids by name and
// property browsing all read the same table, so a control declares a property in one line and
// keeps hand-written code only for what a change does to its windows.
//
//   PropertyDescription   one property: name, defaults, range, texts, how to get and load it
//   PropertyTable         a control's properties in interface order (= store order)
//   Field(...)            a description over a plain member of the control
#pragma once

#include "host/Control.h"
#include "host/Value.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace foundation {

// The value a newly placed control starts with.
enum class NewValue {
    StoreDefault,             // the store default
    Fixed,                    // `newFixed`
    AmbientFont,              // the container's font
    AmbientRightToLeft,       // the container's right-to-left
    AmbientDisplayName,       // the control's name as the host shows it ("Label1(2)")
    OneIfAmbientRightToLeft,  // alignments: 1 (right) on a right-to-left container, else 0
    Surface,                  // nothing is set: the surface keeps its own initial value
};

// How the value travels through the property store.
enum class Persist {
    Value,        // as it is; a value equal to the store default is not written
    UnicodeText,  // UTF-16LE bytes, an empty text as an empty value (PersistStringToVariant)
    Object,       // a font or picture object, always written
    NotStored,    // a member of the interface that the store does not keep
};

// A value of an enumerated property and its text in a property sheet ("1 - Fixed Single").
struct EnumText {
    long value;
    std::wstring text;
};

struct PropertyDescription {
    std::wstring name;           // the property's name, also its store name
    host::Value storeDefault;    // assumed when the store lacks it; equal values are not written
    Persist persist = Persist::Value;
    NewValue newValue = NewValue::StoreDefault;
    host::Value newFixed;        // for NewValue::Fixed
    bool defaultIsAmbientFont = false;  // Font written only when it differs from the ambient one
    // Valid values for the setter; outside them 380 (a message box at design time).
    bool ranged = false;
    long lo = 0, hi = 0;
    bool also99 = false;         // MousePointer: 0..16 and 99
    std::vector<EnumText> texts; // property browsing; empty: the request is not answered
    // The current value, and storing a value that comes from the store or a new control's
    // defaults (no validation, no change report: the control is being built).
    std::function<host::Value(const host::Control&)> get;
    std::function<void(host::Control&, const host::Value&)> load;
    // What a change through LibraryControlBase::Set does to the live control (redraw,
    // re-create, ...); not run while loading.
    std::function<void(host::Control&)> onChange;

    // Builder steps, so a table row reads like the row of the interface's table.
    PropertyDescription& Range(long low, long high) {
        ranged = true, lo = low, hi = high;
        return *this;
    }
    PropertyDescription& New(NewValue v) {
        newValue = v;
        return *this;
    }
    PropertyDescription& New(host::Value v) {
        newValue = NewValue::Fixed, newFixed = std::move(v);
        return *this;
    }
    PropertyDescription& Texts(std::vector<EnumText> t) {
        texts = std::move(t);
        return *this;
    }
    PropertyDescription& StoredAs(Persist p) {
        persist = p;
        return *this;
    }
    template <class C>
    PropertyDescription& OnChange(void (C::*apply)()) {
        onChange = [apply](host::Control& c) { (static_cast<C&>(c).*apply)(); };
        return *this;
    }
    PropertyDescription& AmbientFontDefault() {
        defaultIsAmbientFont = true;
        return *this;
    }

    bool Accepts(long value) const;
    // The text of a value ("99 - Custom"); false when the property has none for it.
    bool TextOf(long value, std::wstring& text) const;
};

// First dispatch id of a control's properties; the n-th row of its table has this + n, the
// way the host numbers the members of a control's interface.
inline constexpr long FirstPropertyDispId = 0x68030000;

class PropertyTable {
public:
    PropertyTable(std::initializer_list<PropertyDescription> rows) : rows_(rows) {}
    PropertyTable(std::vector<PropertyDescription> rows) : rows_(std::move(rows)) {}

    const std::vector<PropertyDescription>& Rows() const { return rows_; }
    // By name, any case; null when the control has no such property.
    const PropertyDescription* Find(std::wstring_view name) const;
    const PropertyDescription* FindDispId(long dispId) const;
    // DISPID_UNKNOWN (-1) for a name the table does not list.
    long DispIdOf(std::wstring_view name) const;

    // Every row's store value, in table order, loaded into the control (Read) or written from
    // it (Write); the new-control values loaded (InitNew).
    void Read(host::Control& control, const host::PropertyBag& bag) const;
    void Write(const host::Control& control, host::PropertyBag& bag) const;
    void InitNew(host::Control& control) const;

    // The property-browsing answers (the host's IPerPropertyBrowsing hook).
    void DisplayString(const host::Control& control, bool& handled, long dispId, std::wstring& text) const;
    void PredefinedStrings(bool& handled, long dispId, std::vector<std::wstring>& strings,
                           std::vector<long>& cookies) const;
    void PredefinedValue(bool& handled, long dispId, long cookie, long& value) const;

private:
    std::vector<PropertyDescription> rows_;
};

// --- descriptions over plain members ----------------------------------------------------------

template <class T>
T FromValue(const host::Value& v) {
    if constexpr (std::is_same_v<T, bool>) return v.AsBool();
    else if constexpr (std::is_same_v<T, std::wstring>) return v.AsString();
    else if constexpr (std::is_same_v<T, host::FontDesc>) return v.AsFont();
    else if constexpr (std::is_same_v<T, host::Picture>) return v.AsPicture();
    else return static_cast<T>(v.AsLong());  // int, long, unsigned long (colours), wchar_t
}

template <class T>
host::Value ToValue(const T& t) {
    if constexpr (std::is_same_v<T, wchar_t>) return host::Value(static_cast<long>(t));
    else return host::Value(t);
}

// A property kept in member `field` of control class C, loaded as stored.
template <class C, class T>
PropertyDescription Field(const wchar_t* name, T C::*field, host::Value storeDefault = {}) {
    PropertyDescription d;
    d.name = name;
    d.storeDefault = std::move(storeDefault);
    if constexpr (std::is_same_v<T, std::wstring>) d.persist = Persist::UnicodeText;
    if constexpr (std::is_same_v<T, host::Picture> || std::is_same_v<T, host::FontDesc>) d.persist = Persist::Object;
    d.get = [field](const host::Control& c) { return ToValue(static_cast<const C&>(c).*field); };
    d.load = [field](host::Control& c, const host::Value& v) { static_cast<C&>(c).*field = FromValue<T>(v); };
    return d;
}

// A property kept in `field` of the control's member `part` (a look or settings struct).
template <class C, class S, class T>
PropertyDescription Field(const wchar_t* name, S C::*part, T S::*field, host::Value storeDefault = {}) {
    PropertyDescription d;
    d.name = name;
    d.storeDefault = std::move(storeDefault);
    if constexpr (std::is_same_v<T, std::wstring>) d.persist = Persist::UnicodeText;
    d.get = [part, field](const host::Control& c) { return ToValue(static_cast<const C&>(c).*part.*field); };
    d.load = [part, field](host::Control& c, const host::Value& v) { static_cast<C&>(c).*part.*field = FromValue<T>(v); };
    return d;
}

// A property read and loaded through the control's own functions (values kept by the surface,
// loads with a side effect).
template <class C>
PropertyDescription Accessor(const wchar_t* name, host::Value storeDefault, std::function<host::Value(const C&)> get,
                             std::function<void(C&, const host::Value&)> load) {
    PropertyDescription d;
    d.name = name;
    d.storeDefault = std::move(storeDefault);
    d.get = [get = std::move(get)](const host::Control& c) { return get(static_cast<const C&>(c)); };
    d.load = [load = std::move(load)](host::Control& c, const host::Value& v) { load(static_cast<C&>(c), v); };
    return d;
}

}  // namespace foundation
