// Writes a FormDesign as design text that ParseDesign reads back unchanged.
#include "host/DesignData.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace host {

namespace {

std::wstring Quote(const std::wstring& s) {
    std::wstring out = L"\"";
    for (wchar_t c : s) {
        if (c == L'"') out += L"\"\"";
        else out += c;
    }
    return out + L"\"";
}

std::wstring Hex(const Bytes& b) {
    static const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring out;
    for (auto x : b) {
        out += digits[x >> 4];
        out += digits[x & 15];
    }
    return out;
}

std::wstring DoubleText(double d) {
    wchar_t buf[64];
    std::swprintf(buf, 64, L"%.17g", d);
    std::wstring s = buf;
    // Keep it a Double when read back.
    if (s.find_first_of(L".eEni") == std::wstring::npos) s += L".0";
    return s;
}

class Writer {
public:
    std::wstring out;

    void Line(int depth, const std::wstring& text) {
        out.append(static_cast<size_t>(depth) * 3, L' ');
        out += text;
        out += L"\r\n";
    }

    void Bag(int depth, const PropertyBag& bag) {
        for (const auto& [name, v] : bag.Entries()) {
            if (v.GetKind() == Value::Kind::Font) {
                Font(depth, name, v.AsFont());
                continue;
            }
            if (v.GetKind() == Value::Kind::Picture) continue;  // pictures are not kept in design text
            Line(depth, Pad(name) + L"=   " + Text(v, name));
        }
    }

    void Font(int depth, const std::wstring& name, const FontDesc& f) {
        Line(depth, L"BeginProperty " + name);
        Line(depth + 1, Pad(L"Name") + L"=   " + Quote(f.name));
        Line(depth + 1, Pad(L"Size") + L"=   " + DoubleText(f.size));
        Line(depth + 1, Pad(L"Charset") + L"=   " + std::to_wstring(f.charset));
        Line(depth + 1, Pad(L"Weight") + L"=   " + std::to_wstring(f.weight));
        Line(depth + 1, Pad(L"Underline") + L"=   " + (f.underline ? L"True" : L"False"));
        Line(depth + 1, Pad(L"Italic") + L"=   " + (f.italic ? L"True" : L"False"));
        Line(depth + 1, Pad(L"Strikethrough") + L"=   " + (f.strikethrough ? L"True" : L"False"));
        Line(depth, L"EndProperty");
    }

    static std::wstring Pad(const std::wstring& name) {
        std::wstring s = name;
        while (s.size() < 16) s += L' ';
        return s;
    }

    static std::wstring Text(const Value& v, const std::wstring& name) {
        switch (v.GetKind()) {
        case Value::Kind::Empty: return L"\"\"";
        case Value::Kind::Bool: return v.AsBool() ? L"True" : L"False";
        case Value::Kind::Long: return std::to_wstring(v.AsLong());
        case Value::Kind::Double: return DoubleText(v.AsDouble());
        // A plain string has no form of its own in the text; it reads back as persisted bytes,
        // which compare equal to it.
        case Value::Kind::String: return v.AsString().empty() ? L"\"\"" : Quote(v.AsString());
        case Value::Kind::Bytes: {
            const Bytes& b = v.AsBytes();
            // Bytes that are a text without line breaks are written as the text, so a person can
            // read captions; anything else as hex.
            std::wstring s = FromUtf16LeBytes(b);
            bool plain = b.size() % 2 == 0 && !b.empty() && s.find_first_of(L"\r\n") == std::wstring::npos &&
                         s.find(L'\0') == std::wstring::npos &&
                         std::none_of(s.begin(), s.end(), [](wchar_t c) { return c >= 0xD800 && c <= 0xDFFF; });
            return plain ? Quote(s) : L"Bytes(" + Hex(b) + L")";
        }
        default: return L"\"\"";
        }
    }

    void Control(int depth, const ControlDesign& c) {
        Line(depth, L"Begin " + c.kind + L" " + c.name);
        if (c.index >= 0) Line(depth + 1, Pad(L"Index") + L"=   " + std::to_wstring(c.index));
        Bag(depth + 1, c.properties);
        for (const auto& child : c.children) Control(depth + 1, child);
        Line(depth, L"End");
    }
};

}  // namespace

std::wstring WriteDesign(const FormDesign& form) {
    Writer w;
    w.Line(0, L"Begin " + form.kind + L" " + form.name);
    w.Bag(1, form.properties);
    for (const auto& c : form.controls) w.Control(1, c);
    w.Line(0, L"End");
    return w.out;
}

}  // namespace host
