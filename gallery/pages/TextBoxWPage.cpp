// Gallery page of TextBoxW: single-line with a cue banner, password, digits only, multi-line.
#include "controls/textbox/TextBoxW.h"
#include "gallery/GalleryPage.h"

namespace gallery {
namespace {

class TextBoxWPage : public GalleryPage {
public:
    TextBoxWPage() : GalleryPage(L"TextBoxW") { UseControl<controls::TextBoxW>(L"TextBoxW"); }

protected:
    void Form_Load() override {
        GalleryPage::Form_Load();
        Box(L"txtMulti").Text(L"第一行\r\n第二行：多行文本框可以换行、滚动。\r\nThe third line is long enough "
                              L"to scroll to the right when word wrap is off.\r\n第四行\r\n第五行\r\n第六行\r\n第七行");
        for (const wchar_t* name : kBoxes) LogStandardEvents(Box(name), name);
        Switch(L"chkEnabled", [this](bool on) { ForEachBox([on](controls::TextBoxW& t) { t.Enabled(on); }); });
        Switch(L"chkLocked", [this](bool on) { ForEachBox([on](controls::TextBoxW& t) { t.Locked(on); }); });
        Switch(L"chkRightToLeft", [this](bool on) { ForEachBox([on](controls::TextBoxW& t) { t.RightToLeft(on); }); });
        Switch(L"chkVisualStyles",
               [this](bool on) { ForEachBox([on](controls::TextBoxW& t) { t.VisualStyles(on); }); });
        Switch(L"chkHideSelection",
               [this](bool on) { ForEachBox([on](controls::TextBoxW& t) { t.HideSelection(on); }); });
        Switch(L"chkAllowOverType",
               [this](bool on) { ForEachBox([on](controls::TextBoxW& t) { t.AllowOverType(on); }); });
        Switch(L"chkMouseTrack", [this](bool on) { ForEachBox([on](controls::TextBoxW& t) { t.MouseTrack(on); }); });
        Choice(L"cmdAlignment", L"Alignment", {0, 1, 2},
               [this](long v) { ForEachBox([v](controls::TextBoxW& t) { t.Alignment(v); }); });
        Choice(L"cmdBorderStyle", L"BorderStyle", {3, 0, 1, 2, 4},
               [this](long v) { ForEachBox([v](controls::TextBoxW& t) { t.BorderStyle(v); }); });
        Choice(L"cmdCharacterCasing", L"CharacterCasing", {0, 1, 2},
               [this](long v) { ForEachBox([v](controls::TextBoxW& t) { t.CharacterCasing(v); }); });
        Ctl<host::CommandButton>(L"cmdBalloon").Click = [this] {
            bool shown = Box(L"txtSingle").ShowBalloonTip(L"气球提示来自 ShowBalloonTip。", L"TextBoxW", 1);
            Log(L"txtSingle", shown ? L"ShowBalloonTip → True" : L"ShowBalloonTip → False");
        };
    }

private:
    static constexpr const wchar_t* kBoxes[] = {L"txtSingle", L"txtPassword", L"txtNumbers", L"txtMulti"};
    controls::TextBoxW& Box(const wchar_t* name) const { return Ctl<controls::TextBoxW>(name); }
    template <class F>
    void ForEachBox(F f) const {
        for (const wchar_t* name : kBoxes) f(Box(name));
    }
};

}  // namespace

GALLERY_PAGE(TextBoxWPage, L"TextBoxW", L"Unicode 文本框：提示文字、密码、只接受数字、多行与滚动条、气球提示。");

}  // namespace gallery
