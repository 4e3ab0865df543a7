// Typed property values: what a property bag stores and what design data parse into.
//
//   FontDesc   the host font object (name, size in points, weight, styles, character set)
//   Picture    a host picture: an OLE IPicture (handle, type, HIMETRIC size, Render)
//   Value      Empty | Bool | Long | Double | String | Bytes | Font | Picture
//
// Unicode text properties are stored as Bytes holding UTF-16LE code units (an empty text as
// Empty), the way the library persists strings; plain String values exist for texts the host
// itself keeps (Name, Tag).
#pragma once

#include "host/Handles.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace host {

using Bytes = std::vector<std::uint8_t>;

struct FontDesc {
    std::wstring name = L"MS Sans Serif";
    double size = 8.25;  // points
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int charset = 0;

    bool Bold() const { return weight >= 700; }
    void Bold(bool b) { weight = b ? 700 : 400; }
    bool operator==(const FontDesc&) const = default;
};

using Picture = ComPtr<IPicture>;

class Value {
public:
    enum class Kind { Empty, Bool, Long, Double, String, Bytes, Font, Picture };

    Value() = default;
    Value(bool b) : v_(b) {}
    Value(int n) : v_(static_cast<long>(n)) {}
    Value(long n) : v_(n) {}
    Value(unsigned long n) : v_(static_cast<long>(n)) {}  // OLE colours: &H80000005& etc.
    Value(double d) : v_(d) {}
    Value(std::wstring s) : v_(std::move(s)) {}
    Value(const wchar_t* s) : v_(std::wstring(s)) {}
    Value(Bytes b) : v_(std::move(b)) {}
    Value(FontDesc f) : v_(std::move(f)) {}
    Value(Picture p) : v_(std::move(p)) {}

    Kind GetKind() const { return static_cast<Kind>(v_.index()); }
    bool IsEmpty() const { return GetKind() == Kind::Empty; }

    // Conversions as the host's property store makes them; a value that cannot be converted
    // raises 13 "Type mismatch".
    bool AsBool() const;
    long AsLong() const;        // Double rounds half to even; Bool gives -1/0
    double AsDouble() const;
    std::wstring AsString() const;  // Bytes read as UTF-16LE; Empty gives ""; numbers as text
    const Bytes& AsBytes() const;   // Bytes only
    const FontDesc& AsFont() const;
    Picture AsPicture() const;      // Empty gives no picture

    bool operator==(const Value& o) const;

private:
    std::variant<std::monostate, bool, long, double, std::wstring, Bytes, FontDesc, Picture> v_;
};

// UTF-16LE bytes of a text and back (an odd trailing byte is dropped).
Bytes Utf16LeBytes(std::wstring_view text);
std::wstring FromUtf16LeBytes(const Bytes& bytes);

}  // namespace host
