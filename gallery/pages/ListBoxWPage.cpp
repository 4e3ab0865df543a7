// Gallery page of ListBoxW: a standard list, check boxes, option buttons and several columns.
#include "controls/listbox/ListBoxW.h"
#include "gallery/GalleryPage.h"
#include "host/DataObject.h"

#include <algorithm>

namespace gallery {
namespace {

class ListBoxWPage : public GalleryPage {
public:
    ListBoxWPage() : GalleryPage(L"ListBoxW") {}

protected:
    void Form_Load() override {
        GalleryPage::Form_Load();
        for (const wchar_t* fruit : {L"苹果", L"香蕉", L"樱桃", L"Date", L"Elderberry", L"无花果", L"葡萄", L"Honeydew",
                                     L"Kiwi", L"柠檬", L"Mango", L"橙子", L"Papaya", L"梨"})
            List(L"lstPlain").AddItem(fruit);
        for (const wchar_t* option : {L"忽略大小写", L"多行模式", L"全局匹配", L"实时匹配", L"显示行号"})
            List(L"lstChecks").AddItem(option);
        List(L"lstChecks").ItemChecked(1, true);
        for (const wchar_t* option : {L"UTF-8", L"UTF-16", L"GB18030"}) List(L"lstOptions").AddItem(option);
        List(L"lstOptions").OptionIndex(0);
        for (int i = 1; i <= 40; ++i) List(L"lstColumns").AddItem(L"项目 " + std::to_wstring(i));

        for (const wchar_t* name : kLists) {
            controls::ListBoxW& list = List(name);
            LogStandardEvents(list, name);
            LogEvent(list.ItemCheck, name, L"ItemCheck");
        }
        Switch(L"chkEnabled", [this](bool on) { ForEachList([on](controls::ListBoxW& l) { l.Enabled(on); }); });
        Switch(L"chkSorted", [this](bool on) { ForEachList([on](controls::ListBoxW& l) { l.Sorted(on); }); });
        Switch(L"chkRightToLeft", [this](bool on) { ForEachList([on](controls::ListBoxW& l) { l.RightToLeft(on); }); });
        Switch(L"chkVisualStyles",
               [this](bool on) { ForEachList([on](controls::ListBoxW& l) { l.VisualStyles(on); }); });
        Switch(L"chkMouseTrack", [this](bool on) { ForEachList([on](controls::ListBoxW& l) { l.MouseTrack(on); }); });
        Switch(L"chkAllowSelection",
               [this](bool on) { ForEachList([on](controls::ListBoxW& l) { l.AllowSelection(on); }); });
        Choice(L"cmdMultiSelect", L"MultiSelect", {0, 1, 2}, [this](long v) { List(L"lstPlain").MultiSelect(v); });
        Choice(L"cmdBorderStyle", L"BorderStyle", {3, 0, 1, 2, 4},
               [this](long v) { ForEachList([v](controls::ListBoxW& l) { l.BorderStyle(v); }); });
        Ctl<host::CommandButton>(L"cmdAddItem").Click = [this] {
            controls::ListBoxW& list = List(L"lstPlain");
            list.AddItem(L"新项目 " + std::to_wstring(++added_));
            list.ListIndex(list.NewIndex());
        };
        Ctl<host::CommandButton>(L"cmdRemoveItem").Click = [this] {
            controls::ListBoxW& list = List(L"lstPlain");
            Try(L"lstPlain", [&] {
                if (list.ListIndex() >= 0) list.RemoveItem(list.ListIndex());
            });
        };
        Ctl<host::CommandButton>(L"cmdClear").Click = [this] { List(L"lstPlain").Clear(); };
        // The plain list drags its selected items (automatic drag); the columns take them in,
        // scrolling by themselves while the pointer is near an edge.
        List(L"lstColumns").OLEDragDrop = [this](host::DataObject& data, long& effect, int, int, float, float) {
            if (!data.GetFormat(CF_UNICODETEXT)) return;
            host::Bytes b = data.GetData(CF_UNICODETEXT);
            std::wstring text(reinterpret_cast<const wchar_t*>(b.data()), b.size() / sizeof(wchar_t));
            text = text.substr(0, text.find(L'\0'));
            if (text.empty()) return;
            for (size_t start = 0; start <= text.size();) {
                size_t end = std::min(text.find(L"\r\n", start), text.size());
                List(L"lstColumns").AddItem(text.substr(start, end - start));
                start = end + 2;
            }
            Log(L"lstColumns", L"OLEDragDrop");
            effect = 1;
        };
    }

private:
    static constexpr const wchar_t* kLists[] = {L"lstPlain", L"lstChecks", L"lstOptions", L"lstColumns"};
    controls::ListBoxW& List(const wchar_t* name) const { return Ctl<controls::ListBoxW>(name); }
    template <class F>
    void ForEachList(F f) const {
        for (const wchar_t* name : kLists) f(List(name));
    }
    int added_ = 0;
};

}  // namespace

GALLERY_PAGE(ListBoxWPage, L"ListBoxW", L"Unicode 列表框：标准、复选框、单选按钮、多列；排序、多选与项目的增删。");

}  // namespace gallery
