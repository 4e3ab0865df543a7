#include "host/ControlRegistry.h"

#include "host/Error.h"
#include "host/ImageList.h"
#include "host/Intrinsics.h"

#include <cwctype>
#include <map>

namespace host {

namespace {

std::wstring Key(const std::wstring& kind) {
    std::wstring k = kind;
    for (wchar_t& c : k) c = static_cast<wchar_t>(std::towlower(c));
    return k;
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

void RegisterControlKind(const std::wstring& kind, ControlFactory factory) { Registry()[Key(kind)] = std::move(factory); }

bool IsControlKindRegistered(const std::wstring& kind) { return Registry().count(Key(kind)) != 0; }

std::unique_ptr<Control> CreateControl(const std::wstring& kind) {
    auto& r = Registry();
    auto it = r.find(Key(kind));
    if (it == r.end()) Raise(err::InvalidProcedureCall, L"Unknown control kind: " + kind);
    return it->second();
}

}  // namespace host
