// Gallery page of FrameW: themed, flat, transparent and borderless frames with controls inside.
#include "controls/frame/FrameW.h"
#include "controls/label/LabelW.h"
#include "controls/textbox/TextBoxW.h"
#include "gallery/GalleryPage.h"

namespace gallery {
namespace {

class FrameWPage : public GalleryPage {
public:
    FrameWPage() : GalleryPage(L"FrameW") {
        UseControl<controls::FrameW>(L"FrameW");
        UseControl<controls::LabelW>(L"LabelW");
        UseControl<controls::TextBoxW>(L"TextBoxW");
    }

protected:
    void Form_Load() override {
        GalleryPage::Form_Load();
        for (const wchar_t* name : kFrames) LogStandardEvents(Frame(name), name);
        Switch(L"chkEnabled", [this](bool on) { ForEachFrame([on](controls::FrameW& f) { f.Enabled(on); }); });
        Switch(L"chkVisualStyles",
               [this](bool on) { ForEachFrame([on](controls::FrameW& f) { f.VisualStyles(on); }); });
        Switch(L"chkRightToLeft", [this](bool on) { ForEachFrame([on](controls::FrameW& f) { f.RightToLeft(on); }); });
        Switch(L"chkTransparent", [this](bool on) { ForEachFrame([on](controls::FrameW& f) { f.Transparent(on); }); });
        Switch(L"chkMouseTrack", [this](bool on) { ForEachFrame([on](controls::FrameW& f) { f.MouseTrack(on); }); });
        Choice(L"cmdAlignment", L"Alignment", {0, 1, 2},
               [this](long v) { ForEachFrame([v](controls::FrameW& f) { f.Alignment(v); }); });
        Choice(L"cmdAppearance", L"Appearance", {1, 0},
               [this](long v) { ForEachFrame([v](controls::FrameW& f) { f.Appearance(static_cast<int>(v)); }); });
        Choice(L"cmdBorderStyle", L"BorderStyle", {1, 0},
               [this](long v) { ForEachFrame([v](controls::FrameW& f) { f.BorderStyle(static_cast<int>(v)); }); });
    }

private:
    static constexpr const wchar_t* kFrames[] = {L"fraThemed", L"fraFlat", L"fraTransparent", L"fraNoBorder"};
    controls::FrameW& Frame(const wchar_t* name) const { return Ctl<controls::FrameW>(name); }
    template <class F>
    void ForEachFrame(F f) const {
        for (const wchar_t* name : kFrames) f(Frame(name));
    }
};

}  // namespace

GALLERY_PAGE(FrameWPage, L"FrameW", L"Unicode 分组框：主题与经典外观、透明背景、无边框，里面放着别的控件。");

}  // namespace gallery
