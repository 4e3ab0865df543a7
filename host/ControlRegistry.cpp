#include "host/ControlRegistry.h"

#include "host/Application.h"
#include "host/Error.h"
#include "host/ImageList.h"
#include "host/Intrinsics.h"

#include <cwctype>
#include <map>

namespace host {

namespace {

std::wstring Lower(std::wstring s) {
    for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

// The registry's key of a kind name or programmatic identifier; empty for another project's.
std::wstring Key(const std::wstring& kind) {
    size_t dot = kind.rfind(L'.');
    if (dot == std::wstring::npos) return Lower(kind);
    if (Lower(kind.substr(0, dot)) != Lower(App().ProjectName())) return {};
    return Lower(kind.substr(dot + 1));
}

// Process-wide by nature: the kinds the program knows.
std::map<std::wstring, ControlFactory>& Registry() {
    static std::map<std::wstring, ControlFactory> registry;
    static bool intrinsicsRegistered = false;
    if (!intrinsicsRegistered) {
        intrinsicsRegistered = true;
        registry[L"commandbutton"] = [] { return std::make_unique<CommandButton>(); };
        registry[L"checkbox"] = [] { return std::make_unique<CheckBox>(); };
        registry[L"label"] = [] { return std::make_unique<Label>(); };
        registry[L"line"] = [] { return std::make_unique<Line>(); };
        registry[L"imagelist"] = [] { return std::make_unique<ImageList>(); };
    }
    return registry;
}

}  // namespace

void RegisterIntrinsicControls() { Registry(); }

void RegisterControlKind(const std::wstring& kind, ControlFactory factory) { Registry()[Lower(kind)] = std::move(factory); }

bool IsControlKindRegistered(const std::wstring& kind) {
    std::wstring key = Key(kind);
    return !key.empty() && Registry().count(key) != 0;
}

std::unique_ptr<Control> CreateControl(const std::wstring& kind) {
    auto& r = Registry();
    std::wstring key = Key(kind);
    auto it = key.empty() ? r.end() : r.find(key);
    if (it == r.end()) Raise(err::InvalidProcedureCall, L"Unknown control kind: " + kind);
    return it->second();
}

}  // namespace host
