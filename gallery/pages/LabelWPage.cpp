// Gallery page of LabelW: plain, mnemonic, wrapped, ellipsis, auto-sized and aligned labels.
#include "controls/label/LabelW.h"
#include "controls/textbox/TextBoxW.h"
#include "gallery/GalleryPage.h"

namespace gallery {
namespace {

class LabelWPage : public GalleryPage {
public:
    LabelWPage() : GalleryPage(L"LabelW") {
        UseControl<controls::LabelW>(L"LabelW");
        UseControl<controls::TextBoxW>(L"TextBoxW");
    }

protected:
    void Form_Load() override {
        GalleryPage::Form_Load();
        for (const wchar_t* name : kLabels) LogStandardEvents(Label(name), name);
        Switch(L"chkEnabled", [this](bool on) { ForEachLabel([on](controls::LabelW& l) { l.Enabled(on); }); });
        Switch(L"chkRightToLeft", [this](bool on) { ForEachLabel([on](controls::LabelW& l) { l.RightToLeft(on); }); });
        Switch(L"chkUseMnemonic", [this](bool on) { ForEachLabel([on](controls::LabelW& l) { l.UseMnemonic(on); }); });
        Switch(L"chkBackStyle", [this](bool on) { ForEachLabel([on](controls::LabelW& l) { l.BackStyle(on ? 1 : 0); }); });
        Switch(L"chkMouseTrack", [this](bool on) { ForEachLabel([on](controls::LabelW& l) { l.MouseTrack(on); }); });
        Choice(L"cmdAlignment", L"Alignment", {0, 1, 2},
               [this](long v) { ForEachLabel([v](controls::LabelW& l) { l.Alignment(v); }); });
        Choice(L"cmdVerticalAlignment", L"VerticalAlignment", {0, 1, 2},
               [this](long v) { ForEachLabel([v](controls::LabelW& l) { l.VerticalAlignment(v); }); });
        Choice(L"cmdEllipsisFormat", L"EllipsisFormat", {2, 0, 1, 3},
               [this](long v) { Label(L"lblEllipsis").EllipsisFormat(v); });
        Choice(L"cmdBorderStyle", L"BorderStyle", {1, 0},
               [this](long v) { ForEachLabel([v](controls::LabelW& l) { l.BorderStyle(v); }); });
    }

private:
    static constexpr const wchar_t* kLabels[] = {L"lblPlain", L"lblMnemonic", L"lblWrap",
                                                 L"lblEllipsis", L"lblAutoSize", L"lblBox"};
    controls::LabelW& Label(const wchar_t* name) const { return Ctl<controls::LabelW>(name); }
    template <class F>
    void ForEachLabel(F f) const {
        for (const wchar_t* name : kLabels) f(Label(name));
    }
};

}  // namespace

GALLERY_PAGE(LabelWPage, L"LabelW", L"无窗口的 Unicode 标签：助记键、自动换行、省略号、自动大小、垂直对齐与透明背景。");

}  // namespace gallery
