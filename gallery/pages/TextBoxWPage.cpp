// Gallery page of TextBoxW: single-line with a cue banner, password, digits only, multi-line;
// and the designer's property sheet on the text boxes of a form in design mode.
#include "controls/textbox/TextBoxW.h"
#include "gallery/GalleryPage.h"
#include "host/DesignData.h"

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
        Ctl<host::CommandButton>(L"cmdShowPropertiesSingle").Click = [this] { ShowDesignedProperties(L"txtDesignedSingle"); };
        Ctl<host::CommandButton>(L"cmdShowPropertiesMulti").Click = [this] { ShowDesignedProperties(L"txtDesignedMulti"); };
    }

    void Form_Unload(int& cancel) override {
        GalleryPage::Form_Unload(cancel);
        designed_.reset();
    }

private:
    // A form as a designer holds it (UserMode False), under the page, with the sheet over it.
    void ShowDesignedProperties(const wchar_t* boxName) {
        Try(L"属性页", [this, boxName] {
            if (!designed_ || !designed_->IsLoaded()) {
                designed_ = std::make_unique<host::Form>(host::ParseDesign(kDesignedForm));
                designed_->UserMode(false);
                designed_->Load();
                designed_->Ctl<controls::TextBoxW>(L"txtDesignedMulti").Text(L"多行文本框\r\n第二行");
                designed_->Move(Left(), Top() + Height());
            }
            designed_->Show();
            host::ControlSite& site = designed_->Site(boxName);
            bool applied = designed_->ShowPropertyPages({&site}, L"Text");
            // The log is one line an entry: line breaks show as ↵.
            std::wstring text = site.As<controls::TextBoxW>()->Text();
            for (size_t at; (at = text.find(L"\r\n")) != std::wstring::npos;) text.replace(at, 2, L"↵");
            Log(L"属性页", std::wstring(boxName) + (applied ? L" 已应用：" : L" 未更改：") + L"\"" + text + L"\"");
        });
    }

    static constexpr const wchar_t* kDesignedForm =
        L"Begin Form FrmDesigned\n Caption = \"设计中的窗体\"\n BorderStyle = 1\n ClientWidth = 6360\n"
        L" ClientHeight = 2400\n StartUpPosition = 0\n"
        L" Begin TextBoxW txtDesignedSingle\n  Text = \"单行文本框\"\n  Left = 120\n  Top = 120\n  Width = 6120\n"
        L"  Height = 315\n End\n"
        L" Begin TextBoxW txtDesignedMulti\n  MultiLine = True\n  ScrollBars = 2\n"
        L"  Left = 120\n  Top = 600\n  Width = 6120\n  Height = 1680\n End\nEnd\n";
    std::unique_ptr<host::Form> designed_;
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
