// Factories of controls by kind name, so design data can name "TextBoxW" and the host creates it.
// The intrinsic kinds (CommandButton, CheckBox, Label, Line) are always registered; each
// library control registers itself once before the first form loads, e.g. in Main:
//
//     host::RegisterControlKind(L"TextBoxW", [] { return std::make_unique<TextBoxW>(); });
#pragma once

#include "host/Control.h"

#include <functional>
#include <memory>
#include <string>

namespace host {

using ControlFactory = std::function<std::unique_ptr<Control>()>;

// Registers (or replaces) the factory of a kind. Kind names compare case-insensitively.
void RegisterControlKind(const std::wstring& kind, ControlFactory factory);
// A kind is named by itself ("TextBoxW") or by its programmatic identifier, the program's
// project name, a dot and the kind ("RegexWorkbench.TextBoxW", see App().ProjectName()); an
// identifier of another project names no kind of ours.
bool IsControlKindRegistered(const std::wstring& kind);
// Creates a control of the kind; raises 5 "Invalid procedure call or argument" with the kind
// named in the description for an unknown kind.
std::unique_ptr<Control> CreateControl(const std::wstring& kind);

}  // namespace host
