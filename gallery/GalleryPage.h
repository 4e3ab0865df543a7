// GalleryPage: a form of the control gallery that shows one library control. A page is built
// from its own design data (pages/<Name>.frm) like the workbench's window, and finds three
// things there by name:
//
//   lstLog        ListBoxW   the events the page's controls raise, newest at the bottom
//   cmdClearLog   CommandButton (optional)  empties the log
//   chk...        CheckBox   live switches, connected with Switch(...)
//   cmd...        CommandButton  value choosers, connected with Choice(...)
//
// A page class derives from GalleryPage, connects its switches and logs its controls' events in
// Form_Load, and registers itself in its .cpp with GALLERY_PAGE (see gallery/README.md).
#pragma once

#include "host/ControlRegistry.h"
#include "host/DataObject.h"
#include "host/Event.h"
#include "host/Form.h"
#include "host/Intrinsics.h"

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace controls {
class ListBoxW;
}

namespace gallery {

class GalleryPage : public host::Form {
public:
    // Loads the design data of the resource with the page's name.
    explicit GalleryPage(const wchar_t* resourceName);
    ~GalleryPage() override;

    // The lines of the event log, oldest first (for the gallery's tests).
    std::vector<std::wstring> LogLines() const;
    // One line: "source: text". A line equal to the previous one is counted ("(×3)") instead of
    // repeated, so a mouse moving over a control does not flood the log.
    void Log(const std::wstring& source, const std::wstring& text);

    // Logs every standard event the control has (Click, DblClick, Change, KeyDown, KeyPress,
    // KeyUp, MouseDown, MouseMove, MouseUp, MouseEnter, MouseLeave, PreviewKeyDown, PreviewKeyUp,
    // Scroll, ContextMenu, the six OLE events), under the control's name. A page connects the
    // events particular to its control with LogEvent.
    template <class C>
    void LogStandardEvents(C& control, const std::wstring& name);
    // Logs one event with its arguments: "name: Event 65, 0".
    template <class... A>
    void LogEvent(host::Event<A...>& event, const std::wstring& name, const std::wstring& eventName);

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

    // A check box of the page that switches something on and off: apply(true) when it is
    // checked. The box starts as the design data set it; apply is not called at load. An error
    // of apply is logged and the box goes back.
    void Switch(const wchar_t* checkBoxName, std::function<void(bool)> apply);
    // A button that steps through values: its caption reads "label: value" and a click applies
    // the next value (after the last, the first). The first value is the current one.
    void Choice(const wchar_t* buttonName, const std::wstring& label, std::vector<long> values,
                std::function<void(long)> apply);
    // Logs an error of a page action (a property the control refused) instead of ending the run.
    void Try(const std::wstring& source, const std::function<void()>& action);

    // The page's control kinds must be known before Load: register them in the constructor.
    template <class C>
    static void UseControl(const wchar_t* kind) {
        host::RegisterControlKind(kind, [] { return std::make_unique<C>(); });
    }

private:
    void ConnectLogButtons();
    controls::ListBoxW* LogList() const;

    struct ChoiceState {
        std::wstring label;
        std::vector<long> values;
        size_t current = 0;
        std::function<void(long)> apply;
    };
    std::vector<std::unique_ptr<ChoiceState>> choices_;
    std::wstring lastLine_;
    int repeats_ = 1;
};

// --- the list of pages ----------------------------------------------------------------------

struct PageInfo {
    std::wstring name;         // the control's name, also the design resource's name
    std::wstring description;  // one line shown in the gallery's index
    std::function<std::unique_ptr<GalleryPage>()> make;
};

// Every registered page, in name order.
std::vector<PageInfo>& Pages();
const PageInfo* FindPage(std::wstring_view name);

struct PageRegistration {
    PageRegistration(const wchar_t* name, const wchar_t* description,
                     std::function<std::unique_ptr<GalleryPage>()> make);
};

// In a page's .cpp: GALLERY_PAGE(CheckBoxWPage, L"CheckBoxW", L"three-state check box ...");
#define GALLERY_PAGE(PageClass, name, description)                                  \
    static const ::gallery::PageRegistration PageClass##Registration(               \
        name, description, [] { return std::make_unique<PageClass>(); })

// --- event arguments as text ----------------------------------------------------------------

inline void AppendArg(std::wostringstream& out, long long v) { out << v; }
inline void AppendArg(std::wostringstream& out, double v) { out << v; }
inline void AppendArg(std::wostringstream& out, bool v) { out << (v ? L"True" : L"False"); }
inline void AppendArg(std::wostringstream& out, const std::wstring& v) { out << L'"' << v << L'"'; }
inline void AppendArg(std::wostringstream& out, const host::DataObject&) { out << L"Data"; }

template <class... A>
std::wstring FormatArgs(const A&... args) {
    std::wostringstream out;
    bool first = true;
    auto one = [&](const auto& a) {
        out << (first ? L" " : L", ");
        first = false;
        using T = std::decay_t<decltype(a)>;
        if constexpr (std::is_same_v<T, bool>) AppendArg(out, a);
        else if constexpr (std::is_integral_v<T>) AppendArg(out, static_cast<long long>(a));
        else if constexpr (std::is_floating_point_v<T>) AppendArg(out, static_cast<double>(a));
        else AppendArg(out, a);
    };
    (one(args), ...);
    (void)one;  // an event without arguments
    return out.str();
}

template <class... A>
void GalleryPage::LogEvent(host::Event<A...>& event, const std::wstring& name, const std::wstring& eventName) {
    event = [this, name, eventName](A... args) { Log(name, eventName + FormatArgs(args...)); };
}

template <class C>
void GalleryPage::LogStandardEvents(C& c, const std::wstring& name) {
#define GALLERY_LOG_IF_PRESENT(Member) \
    if constexpr (requires { c.Member; }) LogEvent(c.Member, name, L## #Member)
    GALLERY_LOG_IF_PRESENT(Click);
    GALLERY_LOG_IF_PRESENT(DblClick);
    GALLERY_LOG_IF_PRESENT(Change);
    GALLERY_LOG_IF_PRESENT(KeyDown);
    GALLERY_LOG_IF_PRESENT(KeyPress);
    GALLERY_LOG_IF_PRESENT(KeyUp);
    GALLERY_LOG_IF_PRESENT(MouseDown);
    GALLERY_LOG_IF_PRESENT(MouseMove);
    GALLERY_LOG_IF_PRESENT(MouseUp);
    GALLERY_LOG_IF_PRESENT(MouseEnter);
    GALLERY_LOG_IF_PRESENT(MouseLeave);
    GALLERY_LOG_IF_PRESENT(PreviewKeyDown);
    GALLERY_LOG_IF_PRESENT(PreviewKeyUp);
    GALLERY_LOG_IF_PRESENT(Scroll);
    GALLERY_LOG_IF_PRESENT(ContextMenu);
    GALLERY_LOG_IF_PRESENT(OLEStartDrag);
    GALLERY_LOG_IF_PRESENT(OLEDragOver);
    GALLERY_LOG_IF_PRESENT(OLEDragDrop);
    GALLERY_LOG_IF_PRESENT(OLECompleteDrag);
#undef GALLERY_LOG_IF_PRESENT
}

}  // namespace gallery
