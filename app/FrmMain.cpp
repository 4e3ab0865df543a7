#include "app/FrmMain.h"

#include "app/Texts.h"
#include "controls/frame/FrameW.h"
#include "controls/listbox/ListBoxW.h"
#include "controls/textbox/TextBoxW.h"
#include "host/Application.h"
#include "host/Intrinsics.h"

#include <windows.h>

#include <vector>

namespace workbench {
namespace {

constexpr int kReturn = 13;
constexpr int kSeparator = 108;  // VK_SEPARATOR, the keypad's separator key
constexpr int kTab = 9;
constexpr int kLetterA = 65;
constexpr int kCtrl = 2;

bool IsEnterKey(int keyCode) { return keyCode == kReturn || keyCode == kSeparator; }

// Every member of a menu control array, wherever it sits in the menu tree.
void CollectMenuArray(host::MenuItem& menu, std::wstring_view name, std::vector<host::MenuItem*>& out) {
    for (const auto& item : menu.Items()) {
        if (item->Name() == name) out.push_back(item.get());
        CollectMenuArray(*item, name, out);
    }
}

}  // namespace

FrmMain::FrmMain() : Form(host::LoadDesignResource(GetModuleHandleW(nullptr), L"FRMMAIN")) {}

// Unload here, not in the base destructor, so Form_Unload still sees this class.
FrmMain::~FrmMain() { Unload(); }

// --- form events ------------------------------------------------------------------------

void FrmMain::Form_Initialize() {
    // A copy started while another runs leaves at once and silently; Main has already
    // brought the running window to the front.
    if (host::App().PrevInstance()) ExitProcess(0);
}

void FrmMain::Form_Load() {
    ConnectHandlers();
    designClientWidth_ = ScaleWidth();
    Width(NarrowWidth());
    PlaceUnderline(L"Line1", L"txtMatch");
    PlaceUnderline(L"Line2", L"txtReplace");
    objRegExp = std::make_unique<rx::RegExp>();
    fill_ = std::make_unique<ResultFill>(lstResults(), [this](bool again) { MatchesListed(again); });
    worker_ = std::make_unique<MatchWorker>([this](MatchOutcome outcome) { RealTimeRunFinished(std::move(outcome)); });
    sourceCopy_ = std::make_unique<SourceCopy>(txtSource(), editBuffers_, [this] { SourceCopied(); });
    copyPause_ = host::Timer(*this, CopyPauseMs, [this] {
        copyPause_.Enabled(false);
        if (Check2().Value() == 1) sourceCopy_->Start();
    });
    FillReferenceList();
}

void FrmMain::Form_Unload(int&) {
    // the run in flight is stopped and its thread ended before anything it could report to goes
    worker_.reset();
    fill_.reset();
    copyPause_.Enabled(false);
    sourceCopy_.reset();
    objMatch.reset();
    objMatches.reset();
    objRegExp.reset();
}

void FrmMain::ConnectHandlers() {
    txtMatch().KeyDown = [this](int& k, int s) { txtMatch_KeyDown(k, s); };
    txtMatch().Change = [this] { txtMatch_Change(); };
    txtSource().KeyDown = [this](int& k, int s) { txtSource_KeyDown(k, s); };
    txtSource().Change = [this] { txtSource_Change(); };
    txtReplace().KeyDown = [this](int& k, int s) { txtReplace_KeyDown(k, s); };
    lstResults().Click = [this] { lstResults_Click(); };
    Check1().Click = [this] { Check1_Click(); };
    Check2().Click = [this] { Check2_Click(); };
    Command2().Click = [this] { Command2_Click(); };
    Command3().Click = [this] { Command3_Click(); };
    Command4().Click = [this] { Command4_Click(); };
    Command1().MouseDown = [this](int b, int s, float x, float y) { Command1_MouseDown(b, s, x, y); };
    for (host::Label* label : Array<host::Label>(L"Label1"))
        label->Click = [this, i = label->Site().Index()] { Label1_Click(i); };
    std::vector<host::MenuItem*> presets;
    CollectMenuArray(Menu(L"mnuPopup"), L"mnu匹配选项", presets);
    for (host::MenuItem* item : presets)
        item->Click = [this](int index) { mnu匹配选项_Click(index); };
}

// The text boxes have no border; a grey line along the bottom edge is what shows them.
void FrmMain::PlaceUnderline(const wchar_t* lineName, const wchar_t* boxName) {
    host::Line& line = Ctl<host::Line>(lineName);
    controls::TextBoxW& box = Ctl<controls::TextBoxW>(boxName);
    double bottom = box.Top() + box.Height();
    line.X1(box.Left());
    line.Y1(bottom);
    line.Y2(bottom);
    line.X2(box.Left() + box.Width());
}

// --- keyboard ---------------------------------------------------------------------------
// The handlers only act; the key itself goes on to the text box as usual (one exception below).

void FrmMain::txtMatch_KeyDown(int& keyCode, int) {
    if (IsEnterKey(keyCode)) Command4_Click();
    else if (keyCode == kTab) txtSource().SetFocus();
}

void FrmMain::txtSource_KeyDown(int& keyCode, int shift) {
    if (keyCode == kLetterA && shift == kCtrl && !txtSource().Text().empty()) {
        txtSource().SelStart(0);
        txtSource().SelLength(static_cast<long>(txtSource().Text().size()));
    } else if (keyCode == kLetterA && (shift & kCtrl)) {
        // The edit window would select everything itself on any Ctrl+A, Shift or not; select-all
        // is for Ctrl alone, so the edit does not get this key.
        keyCode = 0;
    } else if (keyCode == kTab) {
        txtMatch().SetFocus();
    }
}

void FrmMain::txtReplace_KeyDown(int& keyCode, int) {
    if (IsEnterKey(keyCode)) Command3_Click();
}

// --- controls by name -------------------------------------------------------------------

controls::TextBoxW& FrmMain::txtMatch() const { return Ctl<controls::TextBoxW>(L"txtMatch"); }
controls::TextBoxW& FrmMain::txtSource() const { return Ctl<controls::TextBoxW>(L"txtSource"); }
controls::TextBoxW& FrmMain::txtReplace() const { return Ctl<controls::TextBoxW>(L"txtReplace"); }
controls::ListBoxW& FrmMain::lstResults() const { return Ctl<controls::ListBoxW>(L"lstResults"); }
controls::ListBoxW& FrmMain::ListBoxW1() const { return Ctl<controls::ListBoxW>(L"ListBoxW1"); }
controls::FrameW& FrmMain::FrameW1() const { return Ctl<controls::FrameW>(L"FrameW1"); }
host::CheckBox& FrmMain::Check1() const { return Ctl<host::CheckBox>(L"Check1"); }
host::CheckBox& FrmMain::Check2() const { return Ctl<host::CheckBox>(L"Check2"); }
host::CommandButton& FrmMain::Command1() const { return Ctl<host::CommandButton>(L"Command1"); }
host::CommandButton& FrmMain::Command2() const { return Ctl<host::CommandButton>(L"Command2"); }
host::CommandButton& FrmMain::Command3() const { return Ctl<host::CommandButton>(L"Command3"); }
host::CommandButton& FrmMain::Command4() const { return Ctl<host::CommandButton>(L"Command4"); }
host::Line& FrmMain::Line1() const { return Ctl<host::Line>(L"Line1"); }
host::Line& FrmMain::Line2() const { return Ctl<host::Line>(L"Line2"); }

}  // namespace workbench
