// Events as typed callbacks. A control declares one member per event, by-reference arguments as
// references, and raises it through its site (RaiseEvent) so the host can hold events back while
// the form is loading:
//
//     host::Event<int& /*KeyCode*/, int /*Shift*/> KeyDown;
//     site.RaiseEvent(DISPID_KEYDOWN, KeyDown, keyCode, shift);   // keyCode comes back changed
//
// The form's handler is connected once, usually in Form_Load:
//
//     Ctl<TextBoxW>(L"txtMatch").KeyDown = [this](int& keyCode, int shift) { ... };
#pragma once

#include <functional>
#include <utility>

namespace host {

template <class... Args>
class Event {
public:
    using Handler = std::function<void(Args...)>;

    Event() = default;
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    Event& operator=(Handler h) {
        handler_ = std::move(h);
        return *this;
    }
    void Connect(Handler h) { handler_ = std::move(h); }
    void Disconnect() { handler_ = nullptr; }
    bool Connected() const { return static_cast<bool>(handler_); }

    // Calls the handler when one is connected. Exceptions of the handler pass to the caller.
    template <class... A>
    void operator()(A&&... args) const {
        if (handler_) handler_(std::forward<A>(args)...);
    }

private:
    Handler handler_;
};

// Standard dispatch identifiers of the events every control kind shares.
namespace dispid {
constexpr long Click = -600;
constexpr long DblClick = -601;
constexpr long KeyDown = -602;
constexpr long KeyPress = -603;
constexpr long KeyUp = -604;
constexpr long MouseDown = -605;
constexpr long MouseMove = -606;
constexpr long MouseUp = -607;
}  // namespace dispid

}  // namespace host
