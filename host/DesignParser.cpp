// Reads design text into a FormDesign. Line-oriented: "Begin Kind Name", "End",
// "BeginProperty Font" ... "EndProperty", "Name = value".
#include "host/DesignData.h"

#include "host/Error.h"

#include <cerrno>
#include <cwchar>
#include <cwctype>

namespace host {

namespace {

class Parser {
public:
    explicit Parser(std::wstring_view text) : text_(text) {}

    FormDesign Parse() {
        FormDesign form;
        std::wstring line = NextStatement();
        std::wstring kind, name;
        if (!SplitBegin(line, kind, name)) Fail(L"a form must start with Begin");
        form.kind = kind;
        form.name = name;
        ParseBody(form.properties, form.controls, /*isMenu*/ false);
        if (!NextStatement().empty() || !AtEnd()) Fail(L"text after the form's End");
        return form;
    }

private:
    [[noreturn]] void Fail(const std::wstring& what) const {
        Raise(err::InvalidPropertyValue,
              StandardDescription(err::InvalidPropertyValue) + L": " + what + L" (line " + std::to_wstring(lineNo_) + L")");
    }

    bool AtEnd() const { return pos_ >= text_.size(); }

    // The next non-blank line with comments removed and whitespace trimmed; "" at the end.
    std::wstring NextStatement() {
        while (!AtEnd()) {
            size_t eol = text_.find(L'\n', pos_);
            if (eol == std::wstring_view::npos) eol = text_.size();
            std::wstring line(text_.substr(pos_, eol - pos_));
            pos_ = eol + 1;
            ++lineNo_;
            line = Trim(StripComment(line));
            if (!line.empty()) return line;
        }
        return {};
    }

    static std::wstring StripComment(const std::wstring& line) {
        bool quoted = false;
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == L'"') quoted = !quoted;
            else if (line[i] == L'\'' && !quoted) return line.substr(0, i);
        }
        return line;
    }

    static std::wstring Trim(const std::wstring& s) {
        size_t a = 0, b = s.size();
        while (a < b && (std::iswspace(s[a]) || s[a] == 0xFEFF)) ++a;
        while (b > a && std::iswspace(s[b - 1])) --b;
        return s.substr(a, b - a);
    }

    static bool StartsWithWord(const std::wstring& line, const wchar_t* word) {
        size_t n = std::wcslen(word);
        return line.size() >= n && _wcsnicmp(line.c_str(), word, n) == 0 &&
               (line.size() == n || std::iswspace(line[n]));
    }

    bool SplitBegin(const std::wstring& line, std::wstring& kind, std::wstring& name) const {
        if (!StartsWithWord(line, L"Begin")) return false;
        std::wstring rest = Trim(line.substr(5));
        size_t sp = rest.find_first_of(L" \t");
        if (sp == std::wstring::npos) Fail(L"Begin needs a kind and a name");
        kind = rest.substr(0, sp);
        // Tolerate a library prefix ("ComCtls.TextBoxW"): the kind is the last part.
        if (size_t dot = kind.rfind(L'.'); dot != std::wstring::npos) kind = kind.substr(dot + 1);
        name = Trim(rest.substr(sp));
        if (kind.empty() || name.empty() || name.find_first_of(L" \t") != std::wstring::npos)
            Fail(L"Begin needs a kind and a name");
        return true;
    }

    void ParseBody(PropertyBag& bag, std::vector<ControlDesign>& children, bool isMenu) {
        for (;;) {
            std::wstring line = NextStatement();
            if (line.empty()) Fail(L"missing End");
            if (_wcsicmp(line.c_str(), L"End") == 0) return;
            std::wstring kind, name;
            if (SplitBegin(line, kind, name)) {
                ControlDesign child;
                child.kind = kind;
                child.name = name;
                ParseBody(child.properties, child.children, _wcsicmp(kind.c_str(), L"Menu") == 0);
                TakeIndex(child);
                children.push_back(std::move(child));
                continue;
            }
            if (StartsWithWord(line, L"BeginProperty")) {
                std::wstring prop = Trim(line.substr(13));
                if (prop.empty()) Fail(L"BeginProperty needs a name");
                bag.Write(prop, ParseFont());
                continue;
            }
            ParseAssignment(line, bag);
        }
    }

    void TakeIndex(ControlDesign& c) const {
        if (c.properties.Contains(L"Index")) {
            Value v = c.properties.Read(L"Index");
            if (v.GetKind() != Value::Kind::Long || v.AsLong() < 0) Fail(L"Index must be a whole number from 0");
            c.index = static_cast<int>(v.AsLong());
            c.properties.Remove(L"Index");
        }
    }

    FontDesc ParseFont() {
        FontDesc f;
        for (;;) {
            std::wstring line = NextStatement();
            if (line.empty()) Fail(L"missing EndProperty");
            if (_wcsicmp(line.c_str(), L"EndProperty") == 0) return f;
            PropertyBag tmp;
            ParseAssignment(line, tmp);
            const auto& [name, v] = tmp.Entries().front();
            const wchar_t* n = name.c_str();
            if (!_wcsicmp(n, L"Name")) f.name = v.AsString();
            else if (!_wcsicmp(n, L"Size")) f.size = v.AsDouble();
            else if (!_wcsicmp(n, L"Weight")) f.weight = static_cast<int>(v.AsLong());
            else if (!_wcsicmp(n, L"Bold")) f.Bold(v.AsBool());
            else if (!_wcsicmp(n, L"Italic")) f.italic = v.AsBool();
            else if (!_wcsicmp(n, L"Underline")) f.underline = v.AsBool();
            else if (!_wcsicmp(n, L"Strikethrough")) f.strikethrough = v.AsBool();
            else if (!_wcsicmp(n, L"Charset")) f.charset = static_cast<int>(v.AsLong());
            else Fail(L"unknown font attribute " + name);
        }
    }

    void ParseAssignment(const std::wstring& line, PropertyBag& bag) const {
        size_t eq = line.find(L'=');
        if (eq == std::wstring::npos) Fail(L"expected Name = value");
        std::wstring name = Trim(line.substr(0, eq));
        std::wstring text = Trim(line.substr(eq + 1));
        if (name.empty() || name.find_first_of(L" \t\"") != std::wstring::npos) Fail(L"bad property name");
        // Keep every value as written, defaults included: the control decides what a missing
        // name means, and an explicit default must not read as "absent" either way.
        bag.Write(name, ParseValue(text), NoDefault());
    }

    // A value no parsed value equals, so Write always stores.
    static const Value& NoDefault() {
        static const Value sentinel(Picture{});
        return sentinel;
    }

    Value ParseValue(const std::wstring& t) const {
        if (t.empty()) Fail(L"missing value");
        if (t[0] == L'"') return ParseString(t);
        if (!_wcsicmp(t.c_str(), L"True")) return Value(true);
        if (!_wcsicmp(t.c_str(), L"False")) return Value(false);
        if (t.size() > 2 && t[0] == L'&' && (t[1] == L'H' || t[1] == L'h')) return ParseHex(t.substr(2));
        if (t.size() > 7 && !_wcsnicmp(t.c_str(), L"Bytes(", 6) && t.back() == L')') return ParseBytes(t.substr(6, t.size() - 7));
        return ParseNumber(t);
    }

    Value ParseString(const std::wstring& t) const {
        std::wstring out;
        size_t i = 1;
        for (;;) {
            if (i >= t.size()) Fail(L"unterminated string");
            if (t[i] == L'"') {
                if (i + 1 < t.size() && t[i + 1] == L'"') {
                    out += L'"';
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            out += t[i++];
        }
        if (i != t.size()) Fail(L"text after a string");
        if (out.empty()) return Value();
        return Value(Utf16LeBytes(out));
    }

    Value ParseHex(std::wstring h) const {
        if (!h.empty() && h.back() == L'&') h.pop_back();
        if (h.empty() || h.size() > 8 || h.find_first_not_of(L"0123456789abcdefABCDEF") != std::wstring::npos)
            Fail(L"bad hexadecimal number");
        return Value(static_cast<unsigned long>(std::wcstoul(h.c_str(), nullptr, 16)));
    }

    Value ParseBytes(const std::wstring& h) const {
        if (h.size() % 2 || h.find_first_not_of(L"0123456789abcdefABCDEF") != std::wstring::npos) Fail(L"bad Bytes()");
        Bytes b;
        for (size_t i = 0; i < h.size(); i += 2) b.push_back(static_cast<std::uint8_t>(std::wcstoul(h.substr(i, 2).c_str(), nullptr, 16)));
        return Value(std::move(b));
    }

    Value ParseNumber(const std::wstring& t) const {
        wchar_t* end = nullptr;
        bool isDouble = t.find_first_of(L".eE") != std::wstring::npos;
        if (!isDouble) {
            errno = 0;
            long long n = std::wcstoll(t.c_str(), &end, 10);
            if (*end == 0 && end != t.c_str() && errno == 0 && n >= -2147483648LL && n <= 2147483647LL)
                return Value(static_cast<long>(n));
        }
        double d = std::wcstod(t.c_str(), &end);
        if (*end != 0 || end == t.c_str()) Fail(L"bad value " + t);
        return Value(d);
    }

    std::wstring_view text_;
    size_t pos_ = 0;
    int lineNo_ = 0;
};

std::wstring FromUtf8(std::string_view s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

}  // namespace

std::wstring ControlDesign::DisplayName() const {
    return index >= 0 ? name + L"(" + std::to_wstring(index) + L")" : name;
}

FormDesign ParseDesign(std::wstring_view text) { return Parser(text).Parse(); }

FormDesign ParseDesignUtf8(std::string_view utf8) { return ParseDesign(FromUtf8(utf8)); }

FormDesign LoadDesignResource(HINSTANCE module, const wchar_t* resourceName) {
    HRSRC res = FindResourceW(module, resourceName, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL data = res ? LoadResource(module, res) : nullptr;  // resource memory: not freed
    const void* p = data ? LockResource(data) : nullptr;
    if (!p) Raise(err::InvalidPropertyValue, L"Design data not found: " + std::wstring(resourceName));
    return ParseDesignUtf8(std::string_view(static_cast<const char*>(p), SizeofResource(module, res)));
}

}  // namespace host
