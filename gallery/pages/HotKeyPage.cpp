// Gallery page of HotKey: a field with a live read-out of Value, its modifiers and RawValue; one
// whose rules give a lone key Ctrl+Alt; one with a background colour of its own.
#include "controls/hotkey/HotKey.h"
#include "controls/label/LabelW.h"
#include "gallery/GalleryPage.h"

#include <commctrl.h>

#include <sstream>

namespace gallery {
namespace {

using controls::HotKey;

// "Ctrl+Alt" for the modifier flags, "无" for none.
std::wstring ModifierNames(long modifiers) {
    std::wstring names;
    auto add = [&](long flag, const wchar_t* name) {
        if (!(modifiers & flag)) return;
        if (!names.empty()) names += L'+';
        names += name;
    };
    add(HotKey::ModControl, L"Ctrl");
    add(HotKey::ModShift, L"Shift");
    add(HotKey::ModAlt, L"Alt");
    add(HotKey::ModExt, L"Ext");
    return names.empty() ? L"无" : names;
}

class HotKeyPage : public GalleryPage {
public:
    HotKeyPage() : GalleryPage(L"HotKey") {
        UseControl<HotKey>(L"HotKey");
        UseControl<controls::LabelW>(L"LabelW");
    }

protected:
    void Form_Load() override {
        GalleryPage::Form_Load();
        for (const wchar_t* name : kFields) LogStandardEvents(Field(name), name);
        HotKey& demo = Field(L"hkyDemo");
        demo.Change = [this] {
            Log(L"hkyDemo", L"Change");
            ShowReadout();
        };
        Field(L"hkyRules").SetRules(HotKey::CombNone, HotKey::ModControl | HotKey::ModAlt);
        Ctl<host::CommandButton>(L"cmdShiftA").Click = [this] {
            Field(L"hkyDemo").Value(HotKey::ModShift, 'A');
            ShowReadout();
        };
        Ctl<host::CommandButton>(L"cmdClear").Click = [this] {
            Field(L"hkyDemo").RawValue(0);
            ShowReadout();
        };
        Ctl<host::CommandButton>(L"cmdApplication").Click = [this] {
            long answer = Field(L"hkyDemo").SetApplicationHotKey();
            std::wostringstream line;
            line << L"SetApplicationHotKey → " << answer << L"，WM_GETHOTKEY = &H" << std::hex << std::uppercase
                 << SendMessageW(hWnd(), WM_GETHOTKEY, 0, 0);
            Log(L"hkyDemo", line.str());
        };
        Switch(L"chkEnabled", [this](bool on) { ForEachField([on](HotKey& h) { h.Enabled(on); }); });
        Switch(L"chkVisualStyles", [this](bool on) { ForEachField([on](HotKey& h) { h.VisualStyles(on); }); });
        Switch(L"chkMouseTrack", [this](bool on) { ForEachField([on](HotKey& h) { h.MouseTrack(on); }); });
        Choice(L"cmdBorderStyle", L"BorderStyle", {3, 0, 1, 2, 4},
               [this](long v) { ForEachField([v](HotKey& h) { h.BorderStyle(v); }); });
        Choice(L"cmdRules", L"Rules", {HotKey::CombNone, HotKey::CombShift, HotKey::CombControl, HotKey::CombAlt},
               [this](long v) { Field(L"hkyRules").SetRules(v, HotKey::ModControl | HotKey::ModAlt); });
        ShowReadout();
    }

private:
    static constexpr const wchar_t* kFields[] = {L"hkyDemo", L"hkyRules", L"hkyColor"};
    HotKey& Field(const wchar_t* name) const { return Ctl<HotKey>(name); }
    template <class F>
    void ForEachField(F f) const {
        for (const wchar_t* name : kFields) f(Field(name));
    }

    void ShowReadout() {
        long modifiers = 0;
        long value = Field(L"hkyDemo").Value(modifiers);
        std::wostringstream text;
        text << L"Value = " << value << L"，Modifiers = " << modifiers << L" (" << ModifierNames(modifiers)
             << L")，RawValue = &H" << std::hex << std::uppercase << Field(L"hkyDemo").RawValue();
        Ctl<controls::LabelW>(L"lblReadout").Caption(text.str());
    }
};

}  // namespace

GALLERY_PAGE(HotKeyPage, L"HotKey", L"组合键输入框：Value 与修饰键、RawValue、规则、窗口激活热键、自己的背景色。");

}  // namespace gallery
