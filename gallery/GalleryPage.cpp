// The shared part of every gallery page: the event log, switches, value choosers, the page list.
#include "gallery/GalleryPage.h"

#include "controls/listbox/ListBoxW.h"
#include "host/Error.h"
#include "host/Intrinsics.h"

#include <windows.h>

#include <algorithm>

namespace gallery {
namespace {

constexpr long kMaxLogLines = 300;

std::wstring ErrorText(const host::Error& e) {
    return L"错误 " + std::to_wstring(e.Number()) + L": " + e.Description();
}

}  // namespace

GalleryPage::GalleryPage(const wchar_t* resourceName)
    : Form(host::LoadDesignResource(GetModuleHandleW(nullptr), resourceName)) {
    UseControl<controls::ListBoxW>(L"ListBoxW");
}

// Unload here, not in the base destructor, so Form_Unload still sees this class.
GalleryPage::~GalleryPage() { Unload(); }

void GalleryPage::Form_Load() { ConnectLogButtons(); }

void GalleryPage::Form_Unload(int&) {}

controls::ListBoxW* GalleryPage::LogList() const {
    host::ControlSite* site = FindSite(L"lstLog");
    return site ? site->As<controls::ListBoxW>() : nullptr;
}

void GalleryPage::ConnectLogButtons() {
    if (host::ControlSite* site = FindSite(L"cmdClearLog"))
        if (auto* button = site->As<host::CommandButton>())
            button->Click = [this] {
                if (controls::ListBoxW* log = LogList()) log->Clear();
                lastLine_.clear();
                repeats_ = 1;
            };
}

void GalleryPage::Log(const std::wstring& source, const std::wstring& text) {
    controls::ListBoxW* log = LogList();
    if (!log) return;
    std::wstring line = source + L": " + text;
    long count = log->ListCount();
    if (line == lastLine_ && count > 0) {
        ++repeats_;
        log->List(count - 1, line + L"  (×" + std::to_wstring(repeats_) + L")");
    } else {
        lastLine_ = line;
        repeats_ = 1;
        if (count >= kMaxLogLines) log->RemoveItem(0);
        log->AddItem(line);
    }
    count = log->ListCount();
    log->TopIndex(std::max(0L, count - 1));
}

std::vector<std::wstring> GalleryPage::LogLines() const {
    std::vector<std::wstring> lines;
    if (controls::ListBoxW* log = LogList())
        for (long i = 0; i < log->ListCount(); ++i) lines.push_back(log->List(i));
    return lines;
}

void GalleryPage::Try(const std::wstring& source, const std::function<void()>& action) {
    try {
        action();
    } catch (const host::Error& e) {
        Log(source, ErrorText(e));
    }
}

void GalleryPage::Switch(const wchar_t* checkBoxName, std::function<void(bool)> apply) {
    auto& box = Ctl<host::CheckBox>(checkBoxName);
    std::wstring name = checkBoxName;
    box.Click = [this, &box, name, apply = std::move(apply)] {
        bool on = box.Value() == 1;
        try {
            apply(on);
        } catch (const host::Error& e) {
            Log(name, ErrorText(e));
            box.Value(on ? 0 : 1);
        }
    };
}

void GalleryPage::Choice(const wchar_t* buttonName, const std::wstring& label, std::vector<long> values,
                         std::function<void(long)> apply) {
    auto& button = Ctl<host::CommandButton>(buttonName);
    auto state = std::make_unique<ChoiceState>(ChoiceState{label, std::move(values), 0, std::move(apply)});
    ChoiceState* s = state.get();
    choices_.push_back(std::move(state));
    auto showCaption = [&button, s] { button.Caption(s->label + L": " + std::to_wstring(s->values[s->current])); };
    showCaption();
    std::wstring name = buttonName;
    button.Click = [this, s, name, showCaption] {
        size_t next = (s->current + 1) % s->values.size();
        try {
            s->apply(s->values[next]);
            s->current = next;
        } catch (const host::Error& e) {
            Log(name, ErrorText(e));
        }
        showCaption();
    };
}

// --- the list of pages ----------------------------------------------------------------------

std::vector<PageInfo>& Pages() {
    static std::vector<PageInfo> pages;
    return pages;
}

const PageInfo* FindPage(std::wstring_view name) {
    for (const PageInfo& p : Pages())
        if (_wcsicmp(p.name.c_str(), std::wstring(name).c_str()) == 0) return &p;
    return nullptr;
}

PageRegistration::PageRegistration(const wchar_t* name, const wchar_t* description,
                                   std::function<std::unique_ptr<GalleryPage>()> make) {
    auto& pages = Pages();
    auto at = std::find_if(pages.begin(), pages.end(), [&](const PageInfo& p) { return p.name > name; });
    pages.insert(at, PageInfo{name, description, std::move(make)});
}

}  // namespace gallery
