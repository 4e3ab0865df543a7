#include "host/Value.h"

#include "host/Error.h"

#include <cmath>
#include <cwchar>

namespace host {

namespace {

long RoundHalfEven(double d) {
    if (!(d >= -2147483648.5 && d <= 2147483647.5)) Raise(err::Overflow);
    return static_cast<long>(std::nearbyint(d));  // default rounding mode: to nearest, ties to even
}

std::wstring NumberText(double d) {
    wchar_t buf[64];
    std::swprintf(buf, 64, L"%.15g", d);
    return buf;
}

}  // namespace

bool Value::AsBool() const {
    switch (GetKind()) {
    case Kind::Empty: return false;
    case Kind::Bool: return std::get<bool>(v_);
    case Kind::Long: return std::get<long>(v_) != 0;
    case Kind::Double: return std::get<double>(v_) != 0.0;
    case Kind::String:
    case Kind::Bytes: {
        std::wstring s = AsString();
        if (_wcsicmp(s.c_str(), L"True") == 0) return true;
        if (_wcsicmp(s.c_str(), L"False") == 0) return false;
        return AsDouble() != 0.0;
    }
    default: Raise(err::TypeMismatch);
    }
}

long Value::AsLong() const {
    switch (GetKind()) {
    case Kind::Empty: return 0;
    case Kind::Bool: return std::get<bool>(v_) ? -1 : 0;
    case Kind::Long: return std::get<long>(v_);
    case Kind::Double: return RoundHalfEven(std::get<double>(v_));
    case Kind::String:
    case Kind::Bytes: return RoundHalfEven(AsDouble());
    default: Raise(err::TypeMismatch);
    }
}

double Value::AsDouble() const {
    switch (GetKind()) {
    case Kind::Empty: return 0;
    case Kind::Bool: return std::get<bool>(v_) ? -1 : 0;
    case Kind::Long: return static_cast<double>(std::get<long>(v_));
    case Kind::Double: return std::get<double>(v_);
    case Kind::String:
    case Kind::Bytes: {
        std::wstring s = AsString();
        wchar_t* end = nullptr;
        double d = std::wcstod(s.c_str(), &end);
        if (s.empty() || end == s.c_str()) Raise(err::TypeMismatch);
        while (*end == L' ') ++end;
        if (*end) Raise(err::TypeMismatch);
        return d;
    }
    default: Raise(err::TypeMismatch);
    }
}

std::wstring Value::AsString() const {
    switch (GetKind()) {
    case Kind::Empty: return {};
    case Kind::Bool: return std::get<bool>(v_) ? L"True" : L"False";
    case Kind::Long: return std::to_wstring(std::get<long>(v_));
    case Kind::Double: return NumberText(std::get<double>(v_));
    case Kind::String: return std::get<std::wstring>(v_);
    case Kind::Bytes: return FromUtf16LeBytes(std::get<Bytes>(v_));
    default: Raise(err::TypeMismatch);
    }
}

const Bytes& Value::AsBytes() const {
    if (GetKind() != Kind::Bytes) Raise(err::TypeMismatch);
    return std::get<Bytes>(v_);
}

const FontDesc& Value::AsFont() const {
    if (GetKind() != Kind::Font) Raise(err::TypeMismatch);
    return std::get<FontDesc>(v_);
}

Picture Value::AsPicture() const {
    if (GetKind() == Kind::Empty) return {};
    if (GetKind() != Kind::Picture) Raise(err::TypeMismatch);
    return std::get<Picture>(v_);
}

bool Value::operator==(const Value& o) const {
    if (GetKind() != o.GetKind()) {
        // Numbers compare by value whatever their storage, as the store's default test does.
        auto numeric = [](Kind k) { return k == Kind::Bool || k == Kind::Long || k == Kind::Double; };
        if (numeric(GetKind()) && numeric(o.GetKind())) return AsDouble() == o.AsDouble();
        // A text equals its persisted bytes.
        auto text = [](Kind k) { return k == Kind::String || k == Kind::Bytes; };
        if (text(GetKind()) && text(o.GetKind())) return AsString() == o.AsString();
        return false;
    }
    return v_ == o.v_;
}

Bytes Utf16LeBytes(std::wstring_view text) {
    Bytes out;
    out.reserve(text.size() * 2);
    for (wchar_t c : text) {
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
        out.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
    }
    return out;
}

std::wstring FromUtf16LeBytes(const Bytes& bytes) {
    std::wstring out;
    out.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        out.push_back(static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8)));
    return out;
}

}  // namespace host
