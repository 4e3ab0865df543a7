// The form's share of keyboard routing: Tab order, arrows, Return and Escape, access keys, and
// the validation chain that runs before the focus moves.
#include "host/Form.h"

#include "host/Intrinsics.h"

#include <algorithm>
#include <cwctype>
#include <utility>

namespace host {

namespace {

int KeyboardShift() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

long ControlInfoFlags(ControlSite* site) {
    if (!site) return 0;
    bool handled = false;
    long count = 0, flags = 0;
    HACCEL table = nullptr;
    site->GetControl().IOleControlVB_GetControlInfo(handled, count, table, flags);
    return handled ? flags : 0;
}

}  // namespace

std::vector<ControlSite*> Form::TabOrder() const {
    std::vector<ControlSite*> order;
    for (const auto& s : sites_)
        if (s->TabStop() && s->CanTakeFocus()) order.push_back(s.get());
    std::stable_sort(order.begin(), order.end(), [](auto* a, auto* b) { return a->TabIndex() < b->TabIndex(); });
    return order;
}

void Form::TabToNext(bool backwards) {
    std::vector<ControlSite*> order = TabOrder();
    if (order.empty()) return;
    ControlSite* current = ActiveControl();
    auto it = std::find(order.begin(), order.end(), current);
    size_t n = order.size(), next;
    if (it == order.end()) {
        // From a control outside the cycle (a hidden or disabled one), continue after its index.
        next = backwards ? n - 1 : 0;
        if (current) {
            for (size_t i = 0; i < n; ++i) {
                size_t k = backwards ? n - 1 - i : i;
                if (backwards ? order[k]->TabIndex() < current->TabIndex() : order[k]->TabIndex() > current->TabIndex()) {
                    next = k;
                    break;
                }
            }
        }
    } else {
        size_t pos = static_cast<size_t>(it - order.begin());
        next = backwards ? (pos + n - 1) % n : (pos + 1) % n;
    }
    SetFocus(order[next]->GetControl().FocusWindow());
}

ControlSite* Form::FocusTargetAfter(const ControlSite& site) const {
    std::vector<ControlSite*> order = TabOrder();
    for (ControlSite* s : order)
        if (s->TabIndex() > site.TabIndex()) return s;
    return order.empty() ? nullptr : order.front();
}

void Form::ReorderTabIndex(ControlSite& site, int index) {
    std::vector<ControlSite*> all;
    for (const auto& s : sites_)
        if (s.get() != &site) all.push_back(s.get());
    std::stable_sort(all.begin(), all.end(), [](auto* a, auto* b) { return a->TabIndex() < b->TabIndex(); });
    all.insert(all.begin() + std::min<size_t>(static_cast<size_t>(index), all.size()), &site);
    for (size_t i = 0; i < all.size(); ++i) all[i]->AssignTabIndex(static_cast<int>(i));
}

void Form::ValidateControls() {
    ControlSite* active = ActiveControl();
    if (!active) return;
    bool cancel = false;
    validating_ = true;
    try {
        active->Validate(cancel);
    } catch (...) {
        validating_ = false;
        throw;
    }
    validating_ = false;
    if (cancel) Raise(err::InvalidPropertyValue);
    // The focus move that usually follows (a click's activation) needs no second run.
    validated_ = active;
}

bool Form::BeforeFocusChange(HWND from, HWND to) {
    if (validating_ || eventsFrozen_) return true;
    ControlSite* source = SiteOfWindow(from);
    ControlSite* target = SiteOfWindow(to);
    if (target) lastFocus_ = to;
    bool alreadyValidated = source && source == std::exchange(validated_, nullptr);
    if (!source || !target || source == target || !target->CausesValidation() || alreadyValidated) return true;
    bool cancel = false;
    validating_ = true;
    try {
        source->Validate(cancel);
    } catch (const Error&) {
        cancel = true;  // a failing handler keeps the focus where it is, like a cancel
    }
    validating_ = false;
    if (cancel) lastFocus_ = from;
    return !cancel;
}

bool Form::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN) {
        switch (msg.wParam) {
        case VK_TAB: return HandleTab(msg);
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: return HandleArrow(msg);
        case VK_RETURN: return HandleReturnOrEscape(msg, true);
        case VK_ESCAPE: return HandleReturnOrEscape(msg, false);
        default: return false;
        }
    }
    if (msg.message == WM_SYSCHAR) return HandleMnemonic(static_cast<wchar_t>(std::towupper(static_cast<wint_t>(msg.wParam))), msg);
    if (msg.message == WM_CHAR) {
        // Plain letters act as access keys while a button has the focus, as in dialogs.
        HWND focus = GetFocus();
        if (focus && !(SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_HASSETSEL)) &&
            dynamic_cast<CommandButton*>(ActiveControl() ? &ActiveControl()->GetControl() : nullptr) && msg.wParam > L' ')
            return HandleMnemonic(static_cast<wchar_t>(std::towupper(static_cast<wint_t>(msg.wParam))), msg);
    }
    return false;
}

bool Form::HandleTab(MSG& msg) {
    int shift = KeyboardShift();
    if (shift & 6) return false;  // Ctrl+Tab and Alt+Tab are not ours
    // The focused control sees the key-down first (no character follows it), so a KeyDown
    // handler that moves the focus itself wins; only when it did not do the Tab move.
    HWND before = GetFocus();
    DispatchMessageW(&msg);
    if (GetFocus() == before && IsLoaded()) TabToNext(shift & 1);
    return true;
}

bool Form::HandleArrow(MSG& msg) {
    HWND focus = GetFocus();
    if (!focus || !SiteOfWindow(focus)) return false;
    LRESULT code = SendMessageW(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (code & (DLGC_WANTARROWS | DLGC_WANTALLKEYS)) return false;
    TabToNext(msg.wParam == VK_LEFT || msg.wParam == VK_UP);
    return true;
}

bool Form::HandleReturnOrEscape(MSG& msg, bool isReturn) {
    ControlSite* active = ActiveControl();
    long flags = ControlInfoFlags(active);
    if (flags & (isReturn ? 1 : 2)) return false;  // the control eats the key
    if (isReturn && active) {
        if (auto* focusedButton = dynamic_cast<CommandButton*>(&active->GetControl())) {
            focusedButton->Press();
            return true;
        }
    }
    for (const auto& s : sites_) {
        auto* button = dynamic_cast<CommandButton*>(&s->GetControl());
        if (!button || !(isReturn ? button->Default() : button->Cancel())) continue;
        if (!s->EffectivelyVisible() || !button->Enabled()) continue;
        button->Press();
        return true;
    }
    return false;
}

bool Form::HandleMnemonic(wchar_t key, const MSG& msg) {
    if (!key) return false;
    std::vector<ControlSite*> candidates;
    for (const auto& s : sites_)
        if (s->AccessKeys().find(key) != std::wstring::npos && s->EffectivelyVisible()) candidates.push_back(s.get());
    std::stable_sort(candidates.begin(), candidates.end(), [](auto* a, auto* b) { return a->TabIndex() < b->TabIndex(); });
    for (ControlSite* s : candidates) {
        Control& c = s->GetControl();
        HWND own = s->PlacedWindow();
        if (own && !IsWindowEnabled(own)) continue;
        if (auto* button = dynamic_cast<CommandButton*>(&c)) {
            s->SetFocus();
            button->Press();
            return true;
        }
        if (auto* box = dynamic_cast<CheckBox*>(&c)) {
            s->SetFocus();
            SendMessageW(box->hWnd(), BM_CLICK, 0, 0);
            return true;
        }
        bool handled = false;
        c.IOleControlVB_OnMnemonic(handled, msg.message, msg.wParam, msg.lParam, KeyboardShift());
        if (handled) return true;
        if (s->CanTakeFocus()) s->SetFocus();
        else if (ControlSite* next = FocusTargetAfter(*s)) next->SetFocus();
        return true;
    }
    return false;
}

}  // namespace host
